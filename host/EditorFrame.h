#pragma once

#include "host/EventLoop.h"
#include "host/WindowImage.h"

#include "pluginterfaces/gui/iplugview.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

struct xcb_connection_t;

namespace serivane::host {

// A top-level X11 window that embeds a plug-in's editor the way a DAW does: it asks the
// controller for the "editor" view, attaches it to the window by its X11 id, and offers the view
// the plug-in frame and the host's run loop, on which the editor's descriptor handlers and timers
// run. Everything happens on the thread that owns the frame and runs its loop.
class EditorFrame : public Steinberg::IPlugFrame, public Steinberg::Linux::IRunLoop {
public:
    // Connects to the X server named by $DISPLAY; null with `error` set when that fails.
    static Steinberg::IPtr<EditorFrame> create(std::string& error);

    // Creates the view, sizes the window to it and attaches it; false with `error` set when the
    // controller offers no X11 editor. A content scale above 0 is given to the view first, as a
    // host on a high-density screen does; 0 gives none.
    bool open(Steinberg::Vst::IEditController* controller, std::string& error,
              double contentScale = 0.0);
    // Gives the open view a new content scale; false when it takes none.
    bool setContentScale(double factor);
    // Removes the view and releases it; the window is destroyed.
    void close();
    bool isOpen() const { return view_ != nullptr; }
    // The user asked the window manager to close the window since it was opened.
    // Reads events a reply wait may have queued without the connection turning readable again.
    bool closeRequested() {
        drainEvents();
        return closeRequested_;
    }

    EventLoop& loop() { return loop_; }
    std::uint32_t window() const { return window_; }
    Steinberg::ViewRect size() const { return size_; }
    Steinberg::IPlugView* view() const { return view_.get(); }
    int resizeRequests() const { return resizeRequests_; }

    // The window's pixels as the X server holds them, editor included.
    bool capture(WindowImage& image) const;

    // IPlugFrame
    Steinberg::tresult PLUGIN_API resizeView(Steinberg::IPlugView* view,
                                             Steinberg::ViewRect* newSize) override;

    // Linux::IRunLoop
    Steinberg::tresult PLUGIN_API registerEventHandler(
        Steinberg::Linux::IEventHandler* handler, Steinberg::Linux::FileDescriptor fd) override;
    Steinberg::tresult PLUGIN_API
    unregisterEventHandler(Steinberg::Linux::IEventHandler* handler) override;
    Steinberg::tresult PLUGIN_API
    registerTimer(Steinberg::Linux::ITimerHandler* handler,
                  Steinberg::Linux::TimerInterval milliseconds) override;
    Steinberg::tresult PLUGIN_API
    unregisterTimer(Steinberg::Linux::ITimerHandler* handler) override;

    Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override;
    Steinberg::uint32 PLUGIN_API addRef() override;
    Steinberg::uint32 PLUGIN_API release() override;

private:
    class ConnectionHandler;

    explicit EditorFrame(xcb_connection_t* connection);
    virtual ~EditorFrame();

    static bool scaleView(Steinberg::IPlugView* view, double factor);
    bool createWindow(int width, int height);
    std::uint32_t internAtom(const char* name) const;
    void destroyWindow();
    void drainEvents();
    void sync() const;

    std::atomic<Steinberg::uint32> references_{1};
    xcb_connection_t* connection_;
    Steinberg::IPtr<Steinberg::Linux::IEventHandler> connectionHandler_;
    EventLoop loop_;
    std::uint32_t window_ = 0;
    Steinberg::ViewRect size_;
    Steinberg::IPtr<Steinberg::IPlugView> view_;
    int resizeRequests_ = 0;
    std::uint32_t protocolsAtom_ = 0;
    std::uint32_t deleteWindowAtom_ = 0;
    bool closeRequested_ = false;
};

} // namespace serivane::host
