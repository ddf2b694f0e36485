#pragma once

#include "pluginterfaces/base/ibstream.h"

#include <cstdint>
#include <span>
#include <vector>

// How a host's stream hands its bytes out: all that is asked for, or short pieces; reads that
// report an error although they delivered; seeks that fail.
struct StreamBehaviour {
    Steinberg::int32 piece = 0; // most bytes per read; 0 delivers all that is asked for
    bool errorAfterData = false;
    bool seekFails = false;
};

// Host-side streams live on the stack, so they keep no reference count.
class StackStream : public Steinberg::IBStream {
public:
    Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override;
    Steinberg::uint32 PLUGIN_API addRef() override { return 1; }
    Steinberg::uint32 PLUGIN_API release() override { return 1; }
    virtual ~StackStream() = default;
};

// A state as a host hands it to setState.
class ReadStream : public StackStream {
public:
    ReadStream(std::span<const uint8_t> bytes, StreamBehaviour behaviour)
        : bytes_(bytes), behaviour_(behaviour) {}

    Steinberg::tresult PLUGIN_API read(void* buffer, Steinberg::int32 numBytes,
                                       Steinberg::int32* numBytesRead) override;
    Steinberg::tresult PLUGIN_API write(void*, Steinberg::int32, Steinberg::int32*) override {
        return Steinberg::kNotImplemented;
    }
    Steinberg::tresult PLUGIN_API seek(Steinberg::int64 pos, Steinberg::int32 mode,
                                       Steinberg::int64* result) override;
    Steinberg::tresult PLUGIN_API tell(Steinberg::int64* pos) override;

private:
    std::span<const uint8_t> bytes_;
    StreamBehaviour behaviour_;
    Steinberg::int64 cursor_ = 0;
};

// Collects what getState writes.
class WriteStream : public StackStream {
public:
    Steinberg::tresult PLUGIN_API read(void*, Steinberg::int32, Steinberg::int32*) override {
        return Steinberg::kNotImplemented;
    }
    Steinberg::tresult PLUGIN_API write(void* buffer, Steinberg::int32 numBytes,
                                        Steinberg::int32* numBytesWritten) override;
    Steinberg::tresult PLUGIN_API seek(Steinberg::int64, Steinberg::int32,
                                       Steinberg::int64*) override {
        return Steinberg::kNotImplemented;
    }
    Steinberg::tresult PLUGIN_API tell(Steinberg::int64* pos) override;

    const std::vector<uint8_t>& Bytes() const { return bytes_; }

private:
    std::vector<uint8_t> bytes_;
};
