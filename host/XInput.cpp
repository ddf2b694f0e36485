#include "host/XInput.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xfixes.h>
#include <X11/keysym.h>

namespace serivane::host {

std::unique_ptr<XInput> XInput::connect() {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return nullptr;
    int event, error, major, minor;
    if (!XTestQueryExtension(display, &event, &error, &major, &minor)) {
        XCloseDisplay(display);
        return nullptr;
    }
    return std::unique_ptr<XInput>(new XInput(display));
}

XInput::~XInput() {
    XCloseDisplay(display_);
}

void XInput::moveTo(std::uint32_t window, int x, int y) {
    int rootX = 0, rootY = 0;
    ::Window child;
    XTranslateCoordinates(display_, window, DefaultRootWindow(display_), x, y, &rootX, &rootY,
                          &child);
    XTestFakeMotionEvent(display_, -1, rootX, rootY, CurrentTime);
    sync();
}

void XInput::press(int button) {
    XTestFakeButtonEvent(display_, static_cast<unsigned>(button), True, CurrentTime);
    sync();
}

void XInput::release(int button) {
    XTestFakeButtonEvent(display_, static_cast<unsigned>(button), False, CurrentTime);
    sync();
}

void XInput::click(int button) {
    press(button);
    release(button);
}

void XInput::key(std::uint32_t keysym) {
    KeyCode code = XKeysymToKeycode(display_, keysym);
    if (code == 0) return;
    XTestFakeKeyEvent(display_, code, True, CurrentTime);
    XTestFakeKeyEvent(display_, code, False, CurrentTime);
    sync();
}

void XInput::type(const std::string& text) {
    for (char c : text) {
        std::uint32_t keysym = static_cast<unsigned char>(c);
        if (c == '.') keysym = XK_period;
        if (c == '-') keysym = XK_minus;
        if (c == ' ') keysym = XK_space;
        key(keysym);
    }
}

XInput::Hotspot XInput::cursorHotspot() {
    int eventBase = 0;
    int errorBase = 0;
    if (!XFixesQueryExtension(display_, &eventBase, &errorBase)) return {};
    XFixesCursorImage* image = XFixesGetCursorImage(display_);
    if (!image) return {};
    Hotspot hotspot{image->xhot, image->yhot};
    XFree(image);
    return hotspot;
}

void XInput::sync() {
    XSync(display_, False);
}

std::uint32_t XInput::findWindow(const std::string& name) {
    ::Window root = 0, parent = 0;
    ::Window* children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display_, DefaultRootWindow(display_), &root, &parent, &children, &count))
        return 0;
    std::uint32_t found = 0;
    for (unsigned i = 0; i < count && found == 0; ++i) {
        char* title = nullptr;
        if (XFetchName(display_, children[i], &title) && title) {
            if (name == title) found = static_cast<std::uint32_t>(children[i]);
            XFree(title);
        }
    }
    if (children) XFree(children);
    return found;
}

void XInput::requestClose(std::uint32_t window) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display_, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display_, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display_, window, False, NoEventMask, &event);
    sync();
}

} // namespace serivane::host
