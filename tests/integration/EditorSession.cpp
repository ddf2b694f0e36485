#include "EditorSession.h"

#include "BundleSession.h"
#include <algorithm>

#include "gui/IControl.h"
#include "gui/IGraphics.h"
#include "instrument/CLS_SERIVANE.h"

#include <gtest/gtest.h>

namespace serivane::integration {

using namespace Steinberg;

EditorSession::~EditorSession() {
    if (frame_) frame_->close();
    if (audio_) audio_->stop();
    frame_ = nullptr;
    driver_.reset();
    plugin_.reset();
}

bool EditorSession::start(std::string& skipReason, bool transportRunning) {
    if (!display_.start(1024, 768, skipReason)) return false;
    plugin_ = instantiate();
    if (!plugin_) return false;
    driver_ = std::make_unique<host::ProcessDriver>(
        *plugin_, host::ProcessConfig{48000.0, 256, Vst::kSample32, Vst::kRealtime});
    std::string error;
    if (!driver_->start(error)) {
        ADD_FAILURE() << error;
        return false;
    }
    driver_->transport().setPlaying(transportRunning);
    audio_ = std::make_unique<host::AudioThread>(*driver_);
    audio_->start();
    frame_ = host::EditorFrame::create(error);
    if (!frame_ || !frame_->open(plugin_->controller(), error)) {
        ADD_FAILURE() << error;
        return false;
    }
    input_ = host::XInput::connect();
    if (!input_) {
        ADD_FAILURE() << "no XTest on the virtual X server";
        return false;
    }
    run(std::chrono::milliseconds(150));
    clearCalls();
    return true;
}

std::vector<host::HandlerCall> EditorSession::callsFor(Vst::ParamID id) const {
    std::vector<host::HandlerCall> calls;
    for (const host::HandlerCall& call : plugin_->handler().calls()) {
        if (call.id == id && call.kind != host::HandlerCall::Kind::Restart) calls.push_back(call);
    }
    return calls;
}

std::vector<host::HandlerCall::Kind> EditorSession::kindsFor(int param) const {
    std::vector<host::HandlerCall::Kind> kinds;
    for (const host::HandlerCall& call : callsFor(static_cast<Vst::ParamID>(param)))
        kinds.push_back(call.kind);
    return kinds;
}

std::size_t EditorSession::countOf(int param, host::HandlerCall::Kind kind) const {
    std::vector<host::HandlerCall::Kind> kinds = kindsFor(param);
    return static_cast<std::size_t>(std::count(kinds.begin(), kinds.end(), kind));
}

bool EditorSession::runUntilGestureEnds(int param) {
    return runUntil([&] {
        std::size_t ends = countOf(param, host::HandlerCall::Kind::EndEdit);
        return ends > 0 && ends == countOf(param, host::HandlerCall::Kind::BeginEdit);
    });
}

namespace {

// The editor as the bundle builds it, laid out once for the rectangles.
const IGraphics& layout() {
    static std::unique_ptr<CLS_SERIVANE, void (*)(CLS_SERIVANE*)> instrument(
        new CLS_SERIVANE(), [](CLS_SERIVANE* p) { p->release(); });
    return *dynamic_cast<const IGraphics*>(instrument->Editor());
}

} // namespace

IBox EditorSession::controlRect(int paramIndex) {
    const IGraphics& graphics = layout();
    for (int i = 0; i < graphics.ControlCount(); ++i) {
        const IControl* control = graphics.ControlAtIndex(i);
        if (control->ParamIndex() == paramIndex) return control->Rect();
    }
    ADD_FAILURE() << "no control for parameter " << paramIndex;
    return {};
}

IBox EditorSession::controlRectAt(int controlIndex) {
    const IControl* control = layout().ControlAtIndex(controlIndex);
    if (!control) ADD_FAILURE() << "no control " << controlIndex;
    return control ? control->Rect() : IBox{};
}

host::WindowImage EditorSession::capture() {
    host::WindowImage image;
    EXPECT_TRUE(frame_->capture(image));
    return image;
}

int changedPixels(const host::WindowImage& a, const host::WindowImage& b, const IBox& rect) {
    int changed = 0;
    for (int y = rect.top; y < rect.bottom && y < a.height && y < b.height; ++y) {
        for (int x = rect.left; x < rect.right && x < a.width && x < b.width; ++x) {
            std::size_t i = static_cast<std::size_t>(y * a.width + x);
            if (a.pixels[i] != b.pixels[i]) ++changed;
        }
    }
    return changed;
}

} // namespace serivane::integration
