#include "host/EditorFrame.h"

#include "pluginterfaces/gui/iplugviewcontentscalesupport.h"

#include <cstdlib>
#include <cstring>
#include <xcb/xcb.h>

namespace serivane::host {

using namespace Steinberg;

namespace {

template <typename Reply> struct Freed {
    Reply* reply;
    ~Freed() { std::free(reply); }
};

// The bits per pixel the server uses for images of a depth; 0 when it has no such format.
int bitsPerPixel(xcb_connection_t* connection, std::uint8_t depth) {
    const xcb_setup_t* setup = xcb_get_setup(connection);
    xcb_format_iterator_t it = xcb_setup_pixmap_formats_iterator(setup);
    for (; it.rem > 0; xcb_format_next(&it)) {
        if (it.data->depth == depth) return it.data->bits_per_pixel;
    }
    return 0;
}

} // namespace

// Reads the frame's own events whenever its connection has data.
class EditorFrame::ConnectionHandler : public Linux::IEventHandler {
public:
    explicit ConnectionHandler(EditorFrame& frame) : frame_(frame) { FUNKNOWN_CTOR }
    virtual ~ConnectionHandler() { FUNKNOWN_DTOR }

    void PLUGIN_API onFDIsSet(Linux::FileDescriptor) override { frame_.drainEvents(); }

    DECLARE_FUNKNOWN_METHODS

private:
    EditorFrame& frame_;
};

IMPLEMENT_FUNKNOWN_METHODS(EditorFrame::ConnectionHandler, Linux::IEventHandler,
                           Linux::IEventHandler::iid)

IPtr<EditorFrame> EditorFrame::create(std::string& error) {
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        xcb_disconnect(connection);
        const char* display = std::getenv("DISPLAY");
        error =
            std::string("cannot connect to the X server ") + (display ? display : "(no DISPLAY)");
        return nullptr;
    }
    return owned(new EditorFrame(connection));
}

EditorFrame::EditorFrame(xcb_connection_t* connection)
    : connection_(connection), connectionHandler_(owned(new ConnectionHandler(*this))) {
    loop_.addHandler(connectionHandler_, xcb_get_file_descriptor(connection_));
    protocolsAtom_ = internAtom("WM_PROTOCOLS");
    deleteWindowAtom_ = internAtom("WM_DELETE_WINDOW");
}

std::uint32_t EditorFrame::internAtom(const char* name) const {
    Freed<xcb_intern_atom_reply_t> reply{xcb_intern_atom_reply(
        connection_,
        xcb_intern_atom(connection_, 0, static_cast<std::uint16_t>(std::strlen(name)), name),
        nullptr)};
    return reply.reply ? reply.reply->atom : 0;
}

EditorFrame::~EditorFrame() {
    close();
    loop_.removeHandler(connectionHandler_);
    xcb_disconnect(connection_);
}

uint32 PLUGIN_API EditorFrame::addRef() {
    return ++references_;
}

uint32 PLUGIN_API EditorFrame::release() {
    uint32 left = --references_;
    if (left == 0) delete this;
    return left;
}

tresult PLUGIN_API EditorFrame::queryInterface(const TUID iid, void** obj) {
    QUERY_INTERFACE(iid, obj, FUnknown::iid, IPlugFrame)
    QUERY_INTERFACE(iid, obj, IPlugFrame::iid, IPlugFrame)
    QUERY_INTERFACE(iid, obj, Linux::IRunLoop::iid, Linux::IRunLoop)
    *obj = nullptr;
    return kNoInterface;
}

bool EditorFrame::open(Vst::IEditController* controller, std::string& error, double contentScale) {
    close();
    closeRequested_ = false;
    IPtr<IPlugView> view = owned(controller->createView(Vst::ViewType::kEditor));
    if (!view) {
        error = "the plug-in has no editor";
        return false;
    }
    if (view->isPlatformTypeSupported(kPlatformTypeX11EmbedWindowID) != kResultTrue) {
        error = "the plug-in's editor does not embed in an X11 window";
        return false;
    }
    view->setFrame(this);
    if (contentScale > 0.0 && !scaleView(view, contentScale)) {
        view->setFrame(nullptr);
        error = "the plug-in's editor takes no content scale";
        return false;
    }
    ViewRect rect;
    if (view->getSize(&rect) != kResultOk || rect.getWidth() <= 0 || rect.getHeight() <= 0) {
        view->setFrame(nullptr);
        error = "the plug-in's editor reports no size";
        return false;
    }
    if (!createWindow(rect.getWidth(), rect.getHeight())) {
        view->setFrame(nullptr);
        error = "cannot create the editor window";
        return false;
    }
    size_ = rect;
    void* parent = reinterpret_cast<void*>(static_cast<std::uintptr_t>(window_));
    if (view->attached(parent, kPlatformTypeX11EmbedWindowID) != kResultOk) {
        view->setFrame(nullptr);
        destroyWindow();
        error = "the plug-in's editor failed to attach";
        return false;
    }
    view_ = view;
    sync();
    return true;
}

bool EditorFrame::scaleView(IPlugView* view, double factor) {
    FUnknownPtr<IPlugViewContentScaleSupport> scaling(view);
    return scaling && scaling->setContentScaleFactor(static_cast<float>(factor)) == kResultTrue;
}

bool EditorFrame::setContentScale(double factor) {
    return view_ && scaleView(view_.get(), factor);
}

void EditorFrame::close() {
    if (view_) {
        view_->removed();
        view_->setFrame(nullptr);
        view_ = nullptr;
    }
    destroyWindow();
}

bool EditorFrame::createWindow(int width, int height) {
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data;
    window_ = xcb_generate_id(connection_);
    std::uint32_t values[] = {screen->black_pixel, XCB_EVENT_MASK_STRUCTURE_NOTIFY};
    xcb_void_cookie_t cookie = xcb_create_window_checked(
        connection_, XCB_COPY_FROM_PARENT, window_, screen->root, 0, 0,
        static_cast<std::uint16_t>(width), static_cast<std::uint16_t>(height), 0,
        XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, XCB_CW_BACK_PIXEL | XCB_CW_EVENT_MASK,
        values);
    if (xcb_generic_error_t* failure = xcb_request_check(connection_, cookie)) {
        std::free(failure);
        window_ = 0;
        return false;
    }
    const char title[] = "Serivane";
    xcb_change_property(connection_, XCB_PROP_MODE_REPLACE, window_, XCB_ATOM_WM_NAME,
                        XCB_ATOM_STRING, 8, sizeof title - 1, title);
    // The window manager's close button sends a message instead of destroying the window.
    if (protocolsAtom_ != 0 && deleteWindowAtom_ != 0)
        xcb_change_property(connection_, XCB_PROP_MODE_REPLACE, window_, protocolsAtom_,
                            XCB_ATOM_ATOM, 32, 1, &deleteWindowAtom_);
    xcb_map_window(connection_, window_);
    sync();
    return true;
}

void EditorFrame::destroyWindow() {
    if (window_ == 0) return;
    xcb_destroy_window(connection_, window_);
    window_ = 0;
    sync();
}

void EditorFrame::drainEvents() {
    while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
        const std::uint8_t type = event->response_type & 0x7F;
        if (type == XCB_CLIENT_MESSAGE) {
            const auto* message = reinterpret_cast<const xcb_client_message_event_t*>(event);
            if (message->window == window_ && message->type == protocolsAtom_ &&
                message->data.data32[0] == deleteWindowAtom_)
                closeRequested_ = true;
        } else if (type == XCB_DESTROY_NOTIFY) {
            // Destroyed by someone else (our own close forgets the window first).
            const auto* destroyed = reinterpret_cast<const xcb_destroy_notify_event_t*>(event);
            if (window_ != 0 && destroyed->window == window_) closeRequested_ = true;
        }
        std::free(event);
    }
}

void EditorFrame::sync() const {
    std::free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
}

bool EditorFrame::capture(WindowImage& image) const {
    if (window_ == 0) return false;
    int width = size_.getWidth();
    int height = size_.getHeight();
    Freed<xcb_get_image_reply_t> reply{xcb_get_image_reply(
        connection_,
        xcb_get_image(connection_, XCB_IMAGE_FORMAT_Z_PIXMAP, window_, 0, 0,
                      static_cast<std::uint16_t>(width), static_cast<std::uint16_t>(height), ~0u),
        nullptr)};
    if (!reply.reply || bitsPerPixel(connection_, reply.reply->depth) != 32) return false;
    auto length = static_cast<std::size_t>(xcb_get_image_data_length(reply.reply));
    if (length < static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4)
        return false;
    image.width = width;
    image.height = height;
    image.pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    std::memcpy(image.pixels.data(), xcb_get_image_data(reply.reply), image.pixels.size() * 4);
    for (std::uint32_t& pixel : image.pixels) pixel |= 0xFF000000u;
    return true;
}

tresult PLUGIN_API EditorFrame::resizeView(IPlugView* view, ViewRect* newSize) {
    if (!view || !newSize || view != view_.get()) return kInvalidArgument;
    ++resizeRequests_;
    if (window_ != 0) {
        std::uint32_t values[] = {static_cast<std::uint32_t>(newSize->getWidth()),
                                  static_cast<std::uint32_t>(newSize->getHeight())};
        xcb_configure_window(connection_, window_,
                             XCB_CONFIG_WINDOW_WIDTH | XCB_CONFIG_WINDOW_HEIGHT, values);
        sync();
    }
    size_ = *newSize;
    view->onSize(newSize);
    return kResultTrue;
}

tresult PLUGIN_API EditorFrame::registerEventHandler(Linux::IEventHandler* handler,
                                                     Linux::FileDescriptor fd) {
    return loop_.addHandler(handler, fd) ? kResultTrue : kInvalidArgument;
}

tresult PLUGIN_API EditorFrame::unregisterEventHandler(Linux::IEventHandler* handler) {
    return loop_.removeHandler(handler) ? kResultTrue : kInvalidArgument;
}

tresult PLUGIN_API EditorFrame::registerTimer(Linux::ITimerHandler* handler,
                                              Linux::TimerInterval milliseconds) {
    auto interval = std::chrono::milliseconds(static_cast<long long>(milliseconds));
    return loop_.addTimer(handler, interval) ? kResultTrue : kInvalidArgument;
}

tresult PLUGIN_API EditorFrame::unregisterTimer(Linux::ITimerHandler* handler) {
    return loop_.removeTimer(handler) ? kResultTrue : kInvalidArgument;
}

} // namespace serivane::host
