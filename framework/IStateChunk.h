#pragma once

#include <cstdint>
#include <vector>

// A growable byte buffer holding an encoded state: native little-endian values, no header.
class IStateChunk {
public:
    static constexpr int32_t kReserveStep = 4096;

    bool PutBytes(const void* data, int32_t size);
    bool PutDouble(double value) { return PutBytes(&value, sizeof value); }
    // Reads the double at pos; false when fewer than 8 bytes remain there.
    bool GetDouble(int32_t pos, double* value) const;

    int32_t Size() const { return static_cast<int32_t>(bytes_.size()); }
    const uint8_t* Data() const { return bytes_.data(); }
    void Clear() { bytes_.clear(); }

private:
    std::vector<uint8_t> bytes_;
};
