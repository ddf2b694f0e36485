#include "platform/x11/X11Window.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <xcb/render.h>
#include <xcb/xcb.h>

namespace x11 {

namespace {

constexpr std::uint32_t kEventMask = XCB_EVENT_MASK_EXPOSURE | XCB_EVENT_MASK_BUTTON_PRESS |
                                     XCB_EVENT_MASK_BUTTON_RELEASE | XCB_EVENT_MASK_POINTER_MOTION |
                                     XCB_EVENT_MASK_KEY_PRESS | XCB_EVENT_MASK_LEAVE_WINDOW |
                                     XCB_EVENT_MASK_FOCUS_CHANGE;

// Glyphs of the X cursor font for the system cursors, in SystemCursor order.
constexpr std::uint16_t kCursorGlyphs[3] = {68, 116, 108};

// Frees a reply or error of xcb when it goes out of scope.
template <typename T> struct Owned {
    T* p;
    ~Owned() { std::free(p); }
    T* operator->() const { return p; }
    explicit operator bool() const { return p != nullptr; }
};

Modifiers ModifiersOf(std::uint16_t state) {
    Modifiers mods;
    mods.shift = (state & XCB_MOD_MASK_SHIFT) != 0;
    mods.ctrl = (state & XCB_MOD_MASK_CONTROL) != 0;
    mods.alt = (state & XCB_MOD_MASK_1) != 0;
    mods.left = (state & XCB_BUTTON_MASK_1) != 0;
    mods.right = (state & XCB_BUTTON_MASK_3) != 0;
    return mods;
}

Button ButtonOf(xcb_button_t detail) {
    switch (detail) {
    case 1:
        return Button::Left;
    case 2:
        return Button::Middle;
    case 3:
        return Button::Right;
    case 4:
        return Button::WheelUp;
    case 5:
        return Button::WheelDown;
    default:
        return Button::Other;
    }
}

// A press or release changes the button state only after the event: fold it in.
Modifiers WithButton(Modifiers mods, Button button, bool down) {
    if (button == Button::Left) mods.left = down;
    if (button == Button::Right) mods.right = down;
    return mods;
}

bool TrueColour24(xcb_connection_t* connection, const xcb_screen_t* screen) {
    const xcb_setup_t* setup = xcb_get_setup(connection);
    if (setup->image_byte_order != XCB_IMAGE_ORDER_LSB_FIRST || screen->root_depth != 24)
        return false;
    bool pixels32 = false;
    for (auto it = xcb_setup_pixmap_formats_iterator(setup); it.rem > 0; xcb_format_next(&it)) {
        if (it.data->depth == 24) pixels32 = it.data->bits_per_pixel == 32;
    }
    for (auto d = xcb_screen_allowed_depths_iterator(screen); d.rem > 0; xcb_depth_next(&d)) {
        for (auto v = xcb_depth_visuals_iterator(d.data); v.rem > 0; xcb_visualtype_next(&v)) {
            if (v.data->visual_id != screen->root_visual) continue;
            return pixels32 && v.data->_class == XCB_VISUAL_CLASS_TRUE_COLOR &&
                   v.data->red_mask == 0xFF0000 && v.data->green_mask == 0xFF00 &&
                   v.data->blue_mask == 0xFF;
        }
    }
    return false;
}

xcb_render_pictformat_t Argb32Format(xcb_connection_t* connection) {
    Owned<xcb_render_query_pict_formats_reply_t> reply{xcb_render_query_pict_formats_reply(
        connection, xcb_render_query_pict_formats(connection), nullptr)};
    if (!reply) return 0;
    auto it = xcb_render_query_pict_formats_formats_iterator(reply.p);
    for (; it.rem > 0; xcb_render_pictforminfo_next(&it)) {
        const xcb_render_pictforminfo_t& f = *it.data;
        if (f.type == XCB_RENDER_PICT_TYPE_DIRECT && f.depth == 32 && f.direct.alpha_shift == 24 &&
            f.direct.alpha_mask == 0xFF && f.direct.red_shift == 16 && f.direct.green_shift == 8 &&
            f.direct.blue_shift == 0)
            return f.id;
    }
    return 0;
}

} // namespace

std::unique_ptr<Window> Window::Create(std::uint32_t parent, int x, int y, int width, int height,
                                       IWindowListener& listener, std::string& error) {
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        xcb_disconnect(connection);
        error = "cannot connect to the X server";
        return nullptr;
    }
    std::unique_ptr<Window> window(new Window(connection, listener));
    if (!window->Open(parent, x, y, width, height, error)) return nullptr;
    return window;
}

Window::Window(xcb_connection_t* connection, IWindowListener& listener)
    : connection_(connection), listener_(listener) {}

Window::~Window() {
    shared_.reset();
    FreeImageCursor();
    for (std::uint32_t cursor : systemCursors_) {
        if (cursor) xcb_free_cursor(connection_, cursor);
    }
    if (cursorFont_) xcb_close_font(connection_, cursorFont_);
    if (gc_) xcb_free_gc(connection_, gc_);
    if (window_) xcb_destroy_window(connection_, window_);
    xcb_flush(connection_);
    xcb_disconnect(connection_);
}

bool Window::Open(std::uint32_t parent, int x, int y, int width, int height, std::string& error) {
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data;
    if (!TrueColour24(connection_, screen)) {
        error = "the X screen does not show 24-bit true colour";
        return false;
    }
    depth_ = screen->root_depth;
    window_ = xcb_generate_id(connection_);
    // No background: every pixel comes from the editor's raster, so nothing flickers.
    std::uint32_t values[] = {XCB_BACK_PIXMAP_NONE, 0, kEventMask, screen->default_colormap};
    xcb_void_cookie_t created = xcb_create_window_checked(
        connection_, depth_, window_, parent, static_cast<std::int16_t>(x),
        static_cast<std::int16_t>(y), static_cast<std::uint16_t>(width),
        static_cast<std::uint16_t>(height), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual,
        XCB_CW_BACK_PIXMAP | XCB_CW_BORDER_PIXEL | XCB_CW_EVENT_MASK | XCB_CW_COLORMAP, values);
    if (Owned<xcb_generic_error_t> failure{xcb_request_check(connection_, created)}) {
        window_ = 0;
        error = "cannot create a window inside the host's window";
        return false;
    }
    gc_ = xcb_generate_id(connection_);
    std::uint32_t noExposures = 0;
    xcb_create_gc(connection_, gc_, window_, XCB_GC_GRAPHICS_EXPOSURES, &noExposures);
    maxRequestBytes_ = static_cast<std::size_t>(xcb_get_maximum_request_length(connection_)) * 4;
    xcb_map_window(connection_, window_);
    TakeFocus();
    Flush();
    return true;
}

int Window::Descriptor() const {
    return xcb_get_file_descriptor(connection_);
}

void Window::LoadKeyboardMap() {
    const xcb_setup_t* setup = xcb_get_setup(connection_);
    firstKeycode_ = setup->min_keycode;
    auto count = static_cast<std::uint8_t>(setup->max_keycode - setup->min_keycode + 1);
    Owned<xcb_get_keyboard_mapping_reply_t> reply{xcb_get_keyboard_mapping_reply(
        connection_, xcb_get_keyboard_mapping(connection_, firstKeycode_, count), nullptr)};
    if (!reply) return;
    keysymsPerKeycode_ = reply->keysyms_per_keycode;
    const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(reply.p);
    keysyms_.assign(syms, syms + xcb_get_keyboard_mapping_keysyms_length(reply.p));
}

std::uint32_t Window::KeySym(std::uint8_t keycode, std::uint16_t state) {
    // Fetched on the first key: opening the window waits for one reply less.
    if (keysymsPerKeycode_ == 0) LoadKeyboardMap();
    if (keycode < firstKeycode_ || keysymsPerKeycode_ == 0) return 0;
    std::size_t base = static_cast<std::size_t>(keycode - firstKeycode_) *
                       static_cast<std::size_t>(keysymsPerKeycode_);
    if (base >= keysyms_.size()) return 0;
    std::uint32_t lower = keysyms_[base];
    std::uint32_t upper = keysymsPerKeycode_ > 1 ? keysyms_[base + 1] : 0;
    if (upper == 0) upper = lower;
    bool shifted = (state & XCB_MOD_MASK_SHIFT) != 0;
    // Caps Lock shifts letters only.
    bool caps = (state & XCB_MOD_MASK_LOCK) != 0 && lower >= 'a' && lower <= 'z';
    return shifted != caps ? upper : lower;
}

void Window::ProcessEvents() {
    while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
        Dispatch(event);
        std::free(event);
    }
}

void Window::Dispatch(const void* raw) {
    const auto* event = static_cast<const xcb_generic_event_t*>(raw);
    switch (event->response_type & 0x7F) {
    case XCB_BUTTON_PRESS: {
        const auto* e = static_cast<const xcb_button_press_event_t*>(raw);
        Button button = ButtonOf(e->detail);
        listener_.OnButtonPress(button, e->event_x, e->event_y,
                                WithButton(ModifiersOf(e->state), button, true), e->time);
        break;
    }
    case XCB_BUTTON_RELEASE: {
        const auto* e = static_cast<const xcb_button_release_event_t*>(raw);
        Button button = ButtonOf(e->detail);
        listener_.OnButtonRelease(button, e->event_x, e->event_y,
                                  WithButton(ModifiersOf(e->state), button, false));
        break;
    }
    case XCB_MOTION_NOTIFY: {
        const auto* e = static_cast<const xcb_motion_notify_event_t*>(raw);
        listener_.OnMotion(e->event_x, e->event_y, ModifiersOf(e->state));
        break;
    }
    case XCB_KEY_PRESS: {
        const auto* e = static_cast<const xcb_key_press_event_t*>(raw);
        listener_.OnKeyPress(KeySym(e->detail, e->state), e->event_x, e->event_y,
                             ModifiersOf(e->state));
        break;
    }
    case XCB_LEAVE_NOTIFY: {
        const auto* e = static_cast<const xcb_leave_notify_event_t*>(raw);
        if (e->mode == XCB_NOTIFY_MODE_NORMAL) listener_.OnLeave();
        break;
    }
    case XCB_EXPOSE: {
        const auto* e = static_cast<const xcb_expose_event_t*>(raw);
        listener_.OnExpose(e->x, e->y, e->width, e->height);
        break;
    }
    case XCB_FOCUS_IN:
    case XCB_FOCUS_OUT: {
        const auto* e = static_cast<const xcb_focus_in_event_t*>(raw);
        if (e->mode == XCB_NOTIFY_MODE_NORMAL && e->detail != XCB_NOTIFY_DETAIL_POINTER)
            listener_.OnFocus((event->response_type & 0x7F) == XCB_FOCUS_IN);
        break;
    }
    default:
        break;
    }
}

void Window::Present(const std::uint32_t* pixels, int strideBytes, int x, int y, int width,
                     int height) {
    if (width <= 0 || height <= 0) return;
    auto rowBytes = static_cast<std::size_t>(width) * 4;
    const auto* base = reinterpret_cast<const std::uint8_t*>(pixels);
    if (SharedImage* shared = SharedFor(rowBytes * static_cast<std::size_t>(height))) {
        auto* target = reinterpret_cast<std::uint8_t*>(shared->Pixels());
        for (int r = 0; r < height; ++r)
            std::memcpy(target + static_cast<std::size_t>(r) * rowBytes,
                        base + static_cast<std::ptrdiff_t>(y + r) * strideBytes +
                            static_cast<std::ptrdiff_t>(x) * 4,
                        rowBytes);
        shared->Put(window_, gc_, x, y, width, height, depth_);
        return;
    }
    // A request carries a 24-byte header; the rows go in bands that fit the server's limit.
    int rowsPerBand = static_cast<int>(
        std::max<std::size_t>(1, (std::max<std::size_t>(maxRequestBytes_, 4096) - 32) / rowBytes));
    rowsPerBand = std::min(rowsPerBand, height);
    band_.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(rowsPerBand));
    for (int top = 0; top < height; top += rowsPerBand) {
        int rows = std::min(rowsPerBand, height - top);
        for (int r = 0; r < rows; ++r) {
            const std::uint8_t* src = base +
                                      static_cast<std::ptrdiff_t>(y + top + r) * strideBytes +
                                      static_cast<std::ptrdiff_t>(x) * 4;
            std::memcpy(band_.data() +
                            static_cast<std::size_t>(r) * static_cast<std::size_t>(width),
                        src, rowBytes);
        }
        xcb_put_image(connection_, XCB_IMAGE_FORMAT_Z_PIXMAP, window_, gc_,
                      static_cast<std::uint16_t>(width), static_cast<std::uint16_t>(rows),
                      static_cast<std::int16_t>(x), static_cast<std::int16_t>(y + top), 0, depth_,
                      static_cast<std::uint32_t>(rowBytes * static_cast<std::size_t>(rows)),
                      reinterpret_cast<const std::uint8_t*>(band_.data()));
    }
}

SharedImage* Window::SharedFor(std::size_t bytes) {
    if (sharedRefused_) return nullptr;
    if (shared_ && shared_->Size() >= bytes) return shared_.get();
    // Grows in whole megabytes, so a window that grows a little does not attach anew each time.
    constexpr std::size_t kStep = std::size_t{1} << 20;
    shared_.reset();
    shared_ = SharedImage::Attach(connection_, (bytes + kStep - 1) / kStep * kStep);
    sharedRefused_ = !shared_;
    return shared_.get();
}

void Window::Flush() {
    xcb_flush(connection_);
}

void Window::SetCursor(SystemCursor cursor) {
    auto index = static_cast<std::size_t>(cursor);
    // The server loads the cursor font on first use, which is slow: only when a cursor is set.
    if (cursorFont_ == 0) {
        cursorFont_ = xcb_generate_id(connection_);
        xcb_open_font(connection_, cursorFont_, 6, "cursor");
    }
    if (systemCursors_[index] == 0) {
        systemCursors_[index] = xcb_generate_id(connection_);
        std::uint16_t glyph = kCursorGlyphs[index];
        xcb_create_glyph_cursor(connection_, systemCursors_[index], cursorFont_, cursorFont_, glyph,
                                static_cast<std::uint16_t>(glyph + 1), 0, 0, 0, 0xFFFF, 0xFFFF,
                                0xFFFF);
    }
    xcb_change_window_attributes(connection_, window_, XCB_CW_CURSOR, &systemCursors_[index]);
    FreeImageCursor();
    Flush();
}

bool Window::SetImageCursor(const std::uint32_t* pixels, int width, int height, int hotX,
                            int hotY) {
    xcb_render_pictformat_t format = Argb32Format(connection_);
    if (format == 0 || width <= 0 || height <= 0) return false;
    xcb_pixmap_t pixmap = xcb_generate_id(connection_);
    xcb_create_pixmap(connection_, 32, pixmap, window_, static_cast<std::uint16_t>(width),
                      static_cast<std::uint16_t>(height));
    xcb_gcontext_t gc = xcb_generate_id(connection_);
    xcb_create_gc(connection_, gc, pixmap, 0, nullptr);
    xcb_put_image(connection_, XCB_IMAGE_FORMAT_Z_PIXMAP, pixmap, gc,
                  static_cast<std::uint16_t>(width), static_cast<std::uint16_t>(height), 0, 0, 0,
                  32, static_cast<std::uint32_t>(width * height * 4),
                  reinterpret_cast<const std::uint8_t*>(pixels));
    xcb_render_picture_t picture = xcb_generate_id(connection_);
    xcb_render_create_picture(connection_, picture, pixmap, format, 0, nullptr);
    xcb_cursor_t cursor = xcb_generate_id(connection_);
    xcb_render_create_cursor(connection_, cursor, picture, static_cast<std::uint16_t>(hotX),
                             static_cast<std::uint16_t>(hotY));
    xcb_render_free_picture(connection_, picture);
    xcb_free_gc(connection_, gc);
    xcb_free_pixmap(connection_, pixmap);
    xcb_change_window_attributes(connection_, window_, XCB_CW_CURSOR, &cursor);
    FreeImageCursor();
    imageCursor_ = cursor;
    Flush();
    return true;
}

void Window::FreeImageCursor() {
    if (imageCursor_ == 0) return;
    xcb_free_cursor(connection_, imageCursor_);
    imageCursor_ = 0;
}

void Window::Resize(int width, int height) {
    std::uint32_t values[] = {static_cast<std::uint32_t>(width),
                              static_cast<std::uint32_t>(height)};
    xcb_configure_window(connection_, window_, XCB_CONFIG_WINDOW_WIDTH | XCB_CONFIG_WINDOW_HEIGHT,
                         values);
    Flush();
}

void Window::TakeFocus() {
    xcb_set_input_focus(connection_, XCB_INPUT_FOCUS_PARENT, window_, XCB_CURRENT_TIME);
}

} // namespace x11
