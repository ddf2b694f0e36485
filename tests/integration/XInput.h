#pragma once

#include <cstdint>
#include <memory>
#include <string>

typedef struct _XDisplay Display;

namespace serivane::integration {

// Real input for a window on the X server named by $DISPLAY, made with the XTest extension:
// the server delivers it as if a person moved the mouse and typed.
class XInput {
public:
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

private:
    explicit XInput(Display* display) : display_(display) {}

    Display* display_;
};

} // namespace serivane::integration
