#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

struct xcb_connection_t;

namespace x11 {

// A block of memory shared with the X server (the MIT-SHM extension), through which images
// reach a window without passing through the socket: the fast way on a local server.
class SharedImage {
public:
    // A block of at least `bytes`; null when the server offers no shared memory or cannot
    // attach this process's (a remote server), so that the caller sends images over the socket.
    static std::unique_ptr<SharedImage> Attach(xcb_connection_t* connection, std::size_t bytes);
    ~SharedImage();
    SharedImage(const SharedImage&) = delete;
    SharedImage& operator=(const SharedImage&) = delete;

    std::size_t Size() const { return size_; }
    // Where to write the next image, rows packed; waits until the server has read the last one.
    std::uint32_t* Pixels();
    // Puts the width x height image at the start of the block into the drawable at (x, y).
    void Put(std::uint32_t drawable, std::uint32_t gc, int x, int y, int width, int height,
             std::uint8_t depth);

private:
    SharedImage(xcb_connection_t* connection, std::uint32_t segment, void* memory,
                std::size_t size);

    xcb_connection_t* connection_;
    std::uint32_t segment_;
    void* memory_;
    std::size_t size_;
    // A round trip asked for after the last put: its answer means the server is done reading.
    unsigned int pendingSequence_ = 0;
    bool pending_ = false;
};

} // namespace x11
