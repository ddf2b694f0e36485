#pragma once

#include <cstdint>
#include <memory>
#include <string>

typedef struct _XDisplay Display;

namespace serivane::host {

// Real input for windows on the X server named by $DISPLAY, made with the XTest extension: the
// server delivers it as if a person moved the mouse, typed, or used the window manager.
class XInput {
public:
    static constexpr int leftButton = 1;
    static constexpr int rightButton = 3;
    static constexpr int wheelUp = 4;
    static constexpr int wheelDown = 5;

    // Null when the server cannot be reached or has no XTest.
    static std::unique_ptr<XInput> connect();
    ~XInput();
    XInput(const XInput&) = delete;
    XInput& operator=(const XInput&) = delete;

    // Moves the pointer to (x, y) in the given window's coordinates.
    void moveTo(std::uint32_t window, int x, int y);
    void press(int button);
    void release(int button);
    void click(int button);
    // Presses and releases the key of an X key symbol.
    void key(std::uint32_t keysym);
    // Types letters, digits, '.', '-' and spaces.
    void type(const std::string& text);
    // Waits until the server has handled everything sent.
    void sync();

    // The pointer's tip within the cursor now shown, as the server sees it (XFixes); (-1, -1)
    // when the server cannot tell.
    struct Hotspot {
        int x = -1;
        int y = -1;
    };
    Hotspot cursorHotspot();

    // The first top-level window with this name; 0 when there is none.
    std::uint32_t findWindow(const std::string& name);
    // Asks the window to close, as a window manager's close button does.
    void requestClose(std::uint32_t window);

private:
    explicit XInput(Display* display) : display_(display) {}

    Display* display_;
};

} // namespace serivane::host
