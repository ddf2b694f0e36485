#pragma once

#include "platform/x11/SharedImage.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct xcb_connection_t;

namespace x11 {

enum class Button { Left, Middle, Right, WheelUp, WheelDown, Other };
enum class SystemCursor { Arrow, ResizeVertical, ResizeHorizontal };

// Buttons held and modifier keys down at the time of an event.
struct Modifiers {
    bool left = false;
    bool right = false;
    bool shift = false;
    bool ctrl = false;
    bool alt = false;
};

// Receives a window's input in window coordinates, on the thread that reads its events.
class IWindowListener {
public:
    virtual void OnButtonPress(Button button, int x, int y, const Modifiers& mods,
                               std::uint32_t timeMs) = 0;
    virtual void OnButtonRelease(Button button, int x, int y, const Modifiers& mods) = 0;
    virtual void OnMotion(int x, int y, const Modifiers& mods) = 0;
    // keysym is the X key symbol of the key with the shift level applied.
    virtual void OnKeyPress(std::uint32_t keysym, int x, int y, const Modifiers& mods) = 0;
    virtual void OnLeave() = 0;
    virtual void OnExpose(int x, int y, int width, int height) = 0;
    virtual void OnFocus(bool gained) = 0;

protected:
    ~IWindowListener() = default;
};

// An X11 child window on a connection of its own: created inside a host's window, it reads its
// events when its descriptor is readable, shows 32-bit pixels, sets its pointer shape and takes
// the keyboard focus. Nothing here blocks on more than a round trip to the server.
class Window {
public:
    // A mapped child of parent at (x, y); null with `error` set when the server cannot be
    // reached, the parent does not exist or the screen does not show 24-bit true colour.
    static std::unique_ptr<Window> Create(std::uint32_t parent, int x, int y, int width, int height,
                                          IWindowListener& listener, std::string& error);
    ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    int Descriptor() const;
    std::uint32_t Id() const { return window_; }
    // Reads every queued event and hands it to the listener.
    void ProcessEvents();
    // Copies a rectangle of a 0xAARRGGBB image (rows strideBytes apart, same coordinates as
    // the window) into the window: through shared memory where the server offers it, otherwise
    // over the socket.
    void Present(const std::uint32_t* pixels, int strideBytes, int x, int y, int width, int height);
    void Flush();
    void SetCursor(SystemCursor cursor);
    // A cursor from premultiplied 0xAARRGGBB pixels; false when the server cannot make one.
    bool SetImageCursor(const std::uint32_t* pixels, int width, int height, int hotX, int hotY);
    void Resize(int width, int height);
    void TakeFocus();

private:
    Window(xcb_connection_t* connection, IWindowListener& listener);

    bool Open(std::uint32_t parent, int x, int y, int width, int height, std::string& error);
    void LoadKeyboardMap();
    std::uint32_t KeySym(std::uint8_t keycode, std::uint16_t state);
    void Dispatch(const void* event);
    void FreeImageCursor();
    // The shared block, large enough for `bytes`; null once the server has refused one.
    SharedImage* SharedFor(std::size_t bytes);

    xcb_connection_t* connection_;
    IWindowListener& listener_;
    std::uint32_t window_ = 0;
    std::uint32_t gc_ = 0;
    std::uint8_t depth_ = 24;
    std::uint32_t cursorFont_ = 0;
    std::uint32_t systemCursors_[3] = {0, 0, 0};
    std::uint32_t imageCursor_ = 0;
    std::uint8_t firstKeycode_ = 0;
    int keysymsPerKeycode_ = 0;
    std::vector<std::uint32_t> keysyms_;
    std::size_t maxRequestBytes_ = 0;
    std::vector<std::uint32_t> band_;
    std::unique_ptr<SharedImage> shared_;
    bool sharedRefused_ = false;
};

} // namespace x11
