#include "tools/commands/SnapshotCommand.h"
#include "tools/plugin/PluginSettings.h"

#include "host/AudioThread.h"
#include "host/win32/WindowsEditorFrame.h"

#include <chrono>

namespace serivane::tools {

using namespace std::chrono_literals;
using namespace Steinberg;

namespace {

// Time for the editor to paint, and to take in one click.
constexpr auto settleTime = 150ms;

// A click as the window system delivers it: press and release at a point of the editor's
// window, in its client coordinates.
void click(HWND frame, const EditorClick& c) {
    POINT point{c.x, c.y};
    HWND target = ChildWindowFromPoint(frame, point);
    if (!target) return;
    MapWindowPoints(frame, target, &point, 1);
    LPARAM where = MAKELPARAM(point.x, point.y);
    UINT down = c.right ? WM_RBUTTONDOWN : WM_LBUTTONDOWN;
    UINT up = c.right ? WM_RBUTTONUP : WM_LBUTTONUP;
    PostMessageW(target, down, c.right ? MK_RBUTTON : MK_LBUTTON, where);
    PostMessageW(target, up, 0, where);
}

} // namespace

bool photographEditor(host::Plugin& plugin, const SnapshotOptions& options,
                      host::WindowImage& image, std::string& error) {
    host::ProcessDriver driver(plugin, {48000.0, 512, Vst::kSample32, Vst::kRealtime});
    if (!driver.start(error)) return false;
    driver.transport().setPlaying(!options.stopped);
    if (!applyPresetAndSettings(plugin, driver, options.presets, options.settings, error))
        return false;
    host::AudioThread audio(driver);
    audio.start();
    IPtr<host::WindowsEditorFrame> frame = host::WindowsEditorFrame::create();
    bool opened = frame->open(plugin.controller(), error, options.scale);
    if (opened) {
        frame->runFor(settleTime);
        for (const EditorClick& c : options.clicks) {
            click(frame->window(), c);
            frame->runFor(settleTime);
        }
        frame->runFor(
            std::chrono::milliseconds(static_cast<long long>(options.seconds * 1000.0 + 0.5)));
        if (!frame->capture(image)) {
            error = "cannot read the editor window's pixels";
            opened = false;
        }
    }
    frame->close();
    audio.stop();
    if (opened && audio.failed()) {
        error = "the plug-in failed to process audio";
        return false;
    }
    return opened;
}

} // namespace serivane::tools
