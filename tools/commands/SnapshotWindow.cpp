#include "tools/commands/LiveEditor.h"
#include "tools/commands/SnapshotCommand.h"

#include "host/VirtualDisplay.h"
#include "host/XInput.h"

#include <chrono>

namespace serivane::tools {

using namespace std::chrono_literals;

namespace {

// The screen of a virtual display started for a snapshot; larger than any editor we open, so
// that the pointer, which starts in its middle, rests outside the editor.
constexpr int screenWidth = 1280;
constexpr int screenHeight = 1024;

// Time for the editor to paint, and to take in one click.
constexpr auto settleTime = 150ms;

bool click(host::EditorFrame& frame, const std::vector<EditorClick>& clicks, std::string& error) {
    if (clicks.empty()) return true;
    std::unique_ptr<host::XInput> input = host::XInput::connect();
    if (!input) {
        error = "the X server offers no XTest extension for clicks";
        return false;
    }
    frame.loop().runFor(settleTime);
    for (const EditorClick& c : clicks) {
        input->moveTo(frame.window(), c.x, c.y);
        input->click(c.right ? host::XInput::rightButton : host::XInput::leftButton);
        frame.loop().runFor(settleTime);
    }
    return true;
}

} // namespace

bool photographEditor(host::Plugin& plugin, const SnapshotOptions& options,
                      host::WindowImage& image, std::string& error) {
    host::VirtualDisplay display;
    if (!host::displayReachable() && !display.start(screenWidth, screenHeight, error)) {
        error = "no X display and " + error;
        return false;
    }
    LiveEditor editor;
    if (!editor.open(plugin,
                     {options.presets,
                      options.settings,
                      !options.stopped,
                      LiveSound::Silent,
                      {},
                      {},
                      options.scale},
                     error) ||
        !click(editor.frame(), options.clicks, error))
        return false;
    editor.frame().loop().runFor(
        std::chrono::milliseconds(static_cast<long long>(options.seconds * 1000.0 + 0.5)));
    if (!editor.frame().capture(image)) {
        error = "cannot read the editor window's pixels";
        return false;
    }
    return editor.close(error);
}

} // namespace serivane::tools
