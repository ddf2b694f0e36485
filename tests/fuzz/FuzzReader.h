#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <type_traits>

// Reads a fuzz input from the front, field after field in little-endian order, so that seed
// inputs can be written by hand (or with Python's struct module). Past the end every field
// reads as zero.
class FuzzReader {
public:
    explicit FuzzReader(std::span<const uint8_t> bytes) : bytes_(bytes) {}

    size_t Remaining() const { return bytes_.size() - position_; }

    template <typename T> T Read() {
        static_assert(std::is_trivially_copyable_v<T>);
        T value{};
        const size_t n = sizeof(T) < Remaining() ? sizeof(T) : Remaining();
        std::memcpy(&value, bytes_.data() + position_, n);
        position_ += n;
        return value;
    }

    uint8_t Byte() { return Read<uint8_t>(); }
    bool Flag() { return (Byte() & 1) != 0; }

    // One byte picks among up to 256 choices, two bytes among more.
    int Pick(int count) {
        return count <= 256 ? Byte() % count : static_cast<int>(Read<uint16_t>() % count);
    }

    // 0 to 1, both ends included.
    double Probability() { return Read<uint32_t>() / 4294967295.0; }

    std::span<const uint8_t> Rest() {
        const std::span<const uint8_t> rest = bytes_.subspan(position_);
        position_ = bytes_.size();
        return rest;
    }

private:
    std::span<const uint8_t> bytes_;
    size_t position_ = 0;
};
