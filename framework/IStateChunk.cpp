#include "framework/IStateChunk.h"

#include <cstring>
#include <new>

bool IStateChunk::PutBytes(const void* data, int32_t size) {
    if (size <= 0) return size == 0;
    const size_t needed = bytes_.size() + static_cast<size_t>(size);
    try {
        if (needed > bytes_.capacity())
            bytes_.reserve((needed + kReserveStep - 1) / kReserveStep * kReserveStep);
        const auto* first = static_cast<const uint8_t*>(data);
        bytes_.insert(bytes_.end(), first, first + size);
    } catch (const std::bad_alloc&) {
        bytes_.clear();
        return false;
    }
    return true;
}

bool IStateChunk::GetDouble(int32_t pos, double* value) const {
    if (pos < 0 || static_cast<size_t>(pos) + sizeof(double) > bytes_.size()) return false;
    std::memcpy(value, bytes_.data() + pos, sizeof(double));
    return true;
}
