#pragma once

#include "host/WindowImage.h"

#include "pluginterfaces/gui/iplugview.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"

#include <windows.h>

#include <atomic>
#include <chrono>
#include <string>

namespace serivane::host {

// A top-level Win32 window that embeds a plug-in's editor the way a Windows DAW does: it asks
// the controller for the "editor" view and attaches it to the window by its HWND. The editor's
// messages and timer run while the owning thread pumps messages (runFor).
class WindowsEditorFrame : public Steinberg::IPlugFrame {
public:
    static Steinberg::IPtr<WindowsEditorFrame> create();

    // Creates the view, sizes the window to it and attaches it; false with `error` set when the
    // controller offers no HWND editor. A content scale above 0 is given to the view first, as a
    // host on a high-density screen does; 0 gives none.
    bool open(Steinberg::Vst::IEditController* controller, std::string& error,
              double contentScale = 0.0);
    // Removes the view and releases it; the window is destroyed.
    void close();
    // Dispatches the thread's messages for the duration.
    void runFor(std::chrono::milliseconds duration);

    HWND window() const { return window_; }
    // The window's client area as painted, editor included.
    bool capture(WindowImage& image) const;

    // IPlugFrame
    Steinberg::tresult PLUGIN_API resizeView(Steinberg::IPlugView* view,
                                             Steinberg::ViewRect* newSize) override;
    Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override;
    Steinberg::uint32 PLUGIN_API addRef() override;
    Steinberg::uint32 PLUGIN_API release() override;

private:
    WindowsEditorFrame() = default;
    virtual ~WindowsEditorFrame();

    bool createWindow(int width, int height);

    std::atomic<Steinberg::uint32> references_{1};
    HWND window_ = nullptr;
    Steinberg::ViewRect size_;
    Steinberg::IPtr<Steinberg::IPlugView> view_;
};

} // namespace serivane::host
