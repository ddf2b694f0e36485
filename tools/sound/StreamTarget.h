#pragma once

#include <ostream>
#include <sndfile.h>
#include <string>

namespace serivane::tools {

// A stream (standard output) as the file libsndfile writes a WAV into. WAV states its length in
// its header, which libsndfile fills in by rewriting the header at the end, and a pipe cannot go
// back: so the header is held until `announce` has it state the length the render will have
// (at most 4 GiB, which stands for "until the stream ends" beyond), then sent with everything
// after it. Later rewrites of bytes already sent are dropped.
class StreamTarget {
public:
    explicit StreamTarget(std::ostream& out) : out_(out) {}
    StreamTarget(const StreamTarget&) = delete;
    StreamTarget& operator=(const StreamTarget&) = delete;

    SF_VIRTUAL_IO* io() { return &io_; }

    // Has the header of a WAV just opened on io() state `dataBytes` of samples, and sends it;
    // false when the header is not a plain WAV's or the stream fails.
    bool announce(long long dataBytes);

private:
    static sf_count_t length(void* self);
    static sf_count_t seek(sf_count_t offset, int whence, void* self);
    static sf_count_t read(void* data, sf_count_t count, void* self);
    static sf_count_t write(const void* data, sf_count_t count, void* self);
    static sf_count_t tell(void* self);

    std::ostream& out_;
    SF_VIRTUAL_IO io_{&length, &seek, &read, &write, &tell};
    std::string held_;       // the header, until announced
    bool streaming_ = false; // the header went out; bytes now go straight to the stream
    long long position_ = 0; // where libsndfile reads or writes next
    long long sent_ = 0;     // bytes on the stream
};

} // namespace serivane::tools
