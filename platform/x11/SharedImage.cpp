#include "platform/x11/SharedImage.h"

#include <cstdlib>
#include <sys/ipc.h>
#include <sys/shm.h>
#include <xcb/shm.h>
#include <xcb/xcb.h>

namespace x11 {

std::unique_ptr<SharedImage> SharedImage::Attach(xcb_connection_t* connection, std::size_t bytes) {
    const xcb_query_extension_reply_t* extension = xcb_get_extension_data(connection, &xcb_shm_id);
    if (!extension || !extension->present || bytes == 0) return nullptr;
    const int id = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
    if (id < 0) return nullptr;
    void* memory = shmat(id, nullptr, 0);
    if (memory == reinterpret_cast<void*>(-1)) {
        shmctl(id, IPC_RMID, nullptr);
        return nullptr;
    }
    const std::uint32_t segment = xcb_generate_id(connection);
    xcb_generic_error_t* failure = xcb_request_check(
        connection, xcb_shm_attach_checked(connection, segment, static_cast<std::uint32_t>(id), 0));
    // Marked for removal now: the segment goes once both sides have let go of it.
    shmctl(id, IPC_RMID, nullptr);
    if (failure) {
        std::free(failure);
        shmdt(memory);
        return nullptr;
    }
    return std::unique_ptr<SharedImage>(new SharedImage(connection, segment, memory, bytes));
}

SharedImage::SharedImage(xcb_connection_t* connection, std::uint32_t segment, void* memory,
                         std::size_t size)
    : connection_(connection), segment_(segment), memory_(memory), size_(size) {}

SharedImage::~SharedImage() {
    xcb_shm_detach(connection_, segment_);
    // The server lets go of the segment before this process does.
    std::free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
    shmdt(memory_);
}

std::uint32_t* SharedImage::Pixels() {
    if (pending_) {
        xcb_get_input_focus_cookie_t cookie{pendingSequence_};
        std::free(xcb_get_input_focus_reply(connection_, cookie, nullptr));
        pending_ = false;
    }
    return static_cast<std::uint32_t*>(memory_);
}

void SharedImage::Put(std::uint32_t drawable, std::uint32_t gc, int x, int y, int width, int height,
                      std::uint8_t depth) {
    xcb_shm_put_image(connection_, drawable, gc, static_cast<std::uint16_t>(width),
                      static_cast<std::uint16_t>(height), 0, 0, static_cast<std::uint16_t>(width),
                      static_cast<std::uint16_t>(height), static_cast<std::int16_t>(x),
                      static_cast<std::int16_t>(y), depth, XCB_IMAGE_FORMAT_Z_PIXMAP, 0, segment_,
                      0);
    pendingSequence_ = xcb_get_input_focus(connection_).sequence;
    pending_ = true;
}

} // namespace x11
