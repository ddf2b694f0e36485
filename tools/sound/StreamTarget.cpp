#include "tools/sound/StreamTarget.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

namespace serivane::tools {

namespace {

void putSize(std::string& header, std::size_t at, long long size) {
    const auto value = static_cast<std::uint32_t>(std::min<long long>(size, 0xFFFFFFFFLL));
    for (int i = 0; i < 4; ++i) header[at + i] = static_cast<char>(value >> (8 * i) & 0xFF);
}

} // namespace

bool StreamTarget::announce(long long dataBytes) {
    // The header ends with the "data" chunk's name and size; the RIFF size counts all but 8.
    const std::size_t size = held_.size();
    if (size < 16 || held_.compare(0, 4, "RIFF") != 0 || held_.compare(size - 8, 4, "data") != 0)
        return false;
    putSize(held_, 4, static_cast<long long>(size) - 8 + dataBytes);
    putSize(held_, size - 4, dataBytes);
    out_.write(held_.data(), static_cast<std::streamsize>(held_.size()));
    sent_ = static_cast<long long>(held_.size());
    held_.clear();
    streaming_ = true;
    return static_cast<bool>(out_);
}

sf_count_t StreamTarget::length(void* self) {
    auto& target = *static_cast<StreamTarget*>(self);
    return target.streaming_ ? target.sent_ : static_cast<sf_count_t>(target.held_.size());
}

sf_count_t StreamTarget::seek(sf_count_t offset, int whence, void* self) {
    auto& target = *static_cast<StreamTarget*>(self);
    const sf_count_t base = whence == SEEK_CUR   ? target.position_
                            : whence == SEEK_END ? length(self)
                                                 : 0;
    target.position_ = std::max<sf_count_t>(0, base + offset);
    return target.position_;
}

sf_count_t StreamTarget::read(void*, sf_count_t, void*) {
    return 0;
}

sf_count_t StreamTarget::write(const void* data, sf_count_t count, void* self) {
    auto& target = *static_cast<StreamTarget*>(self);
    const char* bytes = static_cast<const char*>(data);
    if (!target.streaming_) {
        const auto at = static_cast<std::size_t>(target.position_);
        if (target.held_.size() < at + static_cast<std::size_t>(count))
            target.held_.resize(at + static_cast<std::size_t>(count));
        std::copy(bytes, bytes + count, target.held_.begin() + static_cast<std::ptrdiff_t>(at));
    } else if (target.position_ == target.sent_) {
        if (!target.out_.write(bytes, static_cast<std::streamsize>(count))) return 0;
        target.sent_ += count;
    }
    target.position_ += count;
    return count;
}

sf_count_t StreamTarget::tell(void* self) {
    return static_cast<StreamTarget*>(self)->position_;
}

} // namespace serivane::tools
