#pragma once

#include "gui/GuiTypes.h"
#include "host/AudioThread.h"
#include "host/EditorFrame.h"
#include "host/VirtualDisplay.h"
#include "host/XInput.h"

#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace serivane::integration {

// The bundle's editor open in our host's window on a virtual X server of its own, with audio
// processed on a thread of its own and real input at hand, as a person at a DAW would have it.
class EditorSession {
public:
    EditorSession() = default;
    ~EditorSession();

    // False with `skipReason` set when no virtual X server can be started; fails the test when
    // anything after that goes wrong. With the transport stopped nothing in the editor moves.
    bool start(std::string& skipReason, bool transportRunning = true);

    host::Plugin& plugin() { return *plugin_; }
    host::EditorFrame& frame() { return *frame_; }
    host::AudioThread& audio() { return *audio_; }
    host::XInput& input() { return *input_; }
    std::uint32_t window() const { return frame_->window(); }

    // Runs the host's loop, so the editor reads its input and paints.
    void run(std::chrono::milliseconds duration) { frame_->loop().runFor(duration); }
    // Runs the host's loop until done() holds, for at most a few seconds; answers done().
    template <typename Done> bool runUntil(Done done) {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!done() && std::chrono::steady_clock::now() < deadline)
            frame_->loop().runOnce(std::chrono::steady_clock::now() +
                                   std::chrono::milliseconds(10));
        return done();
    }
    // The edit notifications the plug-in sent for one parameter, in order.
    std::vector<host::HandlerCall> callsFor(Steinberg::Vst::ParamID id) const;
    std::vector<host::HandlerCall::Kind> kindsFor(int param) const;
    std::size_t countOf(int param, host::HandlerCall::Kind kind) const;
    // Runs until the parameter's gesture has ended as often as it began, at least once.
    bool runUntilGestureEnds(int param);
    void clearCalls() { plugin_->handler().clear(); }

    // Where the editor puts the control of a parameter, and its control of a list index.
    static IBox controlRect(int paramIndex);
    static IBox controlRectAt(int controlIndex);
    host::WindowImage capture();

private:
    host::VirtualDisplay display_;
    std::shared_ptr<host::Module> module_;
    std::unique_ptr<host::Plugin> plugin_;
    std::unique_ptr<host::ProcessDriver> driver_;
    std::unique_ptr<host::AudioThread> audio_;
    Steinberg::IPtr<host::EditorFrame> frame_;
    std::unique_ptr<host::XInput> input_;
};

inline int centreX(const IBox& r) {
    return (r.left + r.right) / 2;
}
inline int centreY(const IBox& r) {
    return (r.top + r.bottom) / 2;
}

// Pixels that differ between two captures inside a rectangle.
int changedPixels(const host::WindowImage& a, const host::WindowImage& b, const IBox& rect);

} // namespace serivane::integration
