#include "FuzzStreams.h"

#include <algorithm>
#include <cstring>

using namespace Steinberg;

tresult PLUGIN_API StackStream::queryInterface(const TUID iid, void** obj) {
    if (FUnknownPrivate::iidEqual(iid, IBStream::iid) ||
        FUnknownPrivate::iidEqual(iid, FUnknown::iid)) {
        *obj = static_cast<IBStream*>(this);
        return kResultOk;
    }
    *obj = nullptr;
    return kNoInterface;
}

tresult PLUGIN_API ReadStream::read(void* buffer, int32 numBytes, int32* numBytesRead) {
    if (numBytesRead) *numBytesRead = 0;
    if (!buffer || numBytes < 0) return kInvalidArgument;
    const auto size = static_cast<int64>(bytes_.size());
    int64 n = std::clamp<int64>(size - cursor_, 0, numBytes);
    if (behaviour_.piece > 0) n = std::min<int64>(n, behaviour_.piece);
    if (n > 0) std::memcpy(buffer, bytes_.data() + cursor_, static_cast<size_t>(n));
    cursor_ += n;
    if (numBytesRead) *numBytesRead = static_cast<int32>(n);
    if (n > 0 && behaviour_.errorAfterData) return kResultFalse;
    return n > 0 || numBytes == 0 ? kResultOk : kResultFalse;
}

tresult PLUGIN_API ReadStream::seek(int64 pos, int32 mode, int64* result) {
    if (behaviour_.seekFails) return kResultFalse;
    const int64 base = mode == kIBSeekCur ? cursor_ : mode == kIBSeekEnd ? bytes_.size() : 0;
    if (pos < -base) return kInvalidArgument;
    cursor_ = base + pos;
    if (result) *result = cursor_;
    return kResultOk;
}

tresult PLUGIN_API ReadStream::tell(int64* pos) {
    if (!pos) return kInvalidArgument;
    *pos = cursor_;
    return kResultOk;
}

tresult PLUGIN_API WriteStream::write(void* buffer, int32 numBytes, int32* numBytesWritten) {
    if (numBytesWritten) *numBytesWritten = 0;
    if (!buffer || numBytes < 0) return kInvalidArgument;
    const auto* bytes = static_cast<const uint8_t*>(buffer);
    bytes_.insert(bytes_.end(), bytes, bytes + numBytes);
    if (numBytesWritten) *numBytesWritten = numBytes;
    return kResultOk;
}

tresult PLUGIN_API WriteStream::tell(int64* pos) {
    if (!pos) return kInvalidArgument;
    *pos = static_cast<int64>(bytes_.size());
    return kResultOk;
}
