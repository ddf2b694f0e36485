// A host that opens the editor before it processes any audio (its audio engine off, a plug-in
// browser's preview): the editor shows and edits the envelopes from the parameters, and the
// first block plays what was set there.
#include "BundleSession.h"

#include "engine/ParamIds.h"
#include "host/EditorFrame.h"
#include "host/VirtualDisplay.h"
#include "host/XInput.h"
#include "instrument/CLS_SERIVANE.h"

#include <algorithm>
#include <chrono>
#include <gtest/gtest.h>

namespace serivane::integration {
namespace {

using namespace std::chrono_literals;
using Kind = host::HandlerCall::Kind;
using host::XInput;

constexpr IBox kSweep{274, 92, 320, 138};

// The instrument before any block, its graphs brought up to date: where the handles lie.
const CLS_SERIVANE& restingInstrument() {
    static std::unique_ptr<CLS_SERIVANE, void (*)(CLS_SERIVANE*)> instrument(
        [] {
            auto* p = new CLS_SERIVANE();
            for (int i = 0; i < kNumParams; ++i) p->OnParamChanged(i);
            p->RefreshGraph(EnvelopeKind::Frequency);
            p->RefreshGraph(EnvelopeKind::Volume);
            return p;
        }(),
        [](CLS_SERIVANE* p) { p->release(); });
    return *instrument;
}

std::uint32_t pixelAt(const host::WindowImage& image, int x, int y) {
    return image.pixels[static_cast<std::size_t>(y * image.width + x)];
}

// The green of the graphs' handles, drawn opaque at their centres.
bool isHandle(std::uint32_t pixel) {
    return (pixel >> 8 & 0xFF) > 180 && (pixel >> 16 & 0xFF) < 60;
}

bool gestureEnded(host::Plugin& plugin, int param) {
    int begins = 0;
    int ends = 0;
    for (const host::HandlerCall& call : plugin.handler().calls()) {
        if (call.id != static_cast<Steinberg::Vst::ParamID>(param)) continue;
        begins += call.kind == Kind::BeginEdit;
        ends += call.kind == Kind::EndEdit;
    }
    return ends > 0 && ends == begins;
}

TEST(EditorBeforeAudio, DrawsAndEditsTheEnvelopesAndTheFirstBlockPlaysThem) {
    host::VirtualDisplay display;
    std::string error;
    if (!display.start(1024, 768, error)) GTEST_SKIP() << "no virtual X server: " << error;
    std::unique_ptr<host::Plugin> plugin = instantiate();
    ASSERT_NE(plugin, nullptr);
    Steinberg::IPtr<host::EditorFrame> frame = host::EditorFrame::create(error);
    ASSERT_TRUE(frame && frame->open(plugin->controller(), error)) << error;
    std::unique_ptr<XInput> input = XInput::connect();
    ASSERT_NE(input, nullptr);
    frame->loop().runFor(200ms);

    const EnvelopeGraphModel& freq = restingInstrument().FrequencyGraph();
    const EnvelopeGraphModel& volume = restingInstrument().VolumeGraph();
    const int column = freq.HandleColumn(0);
    const int handleX = freq.plotLeft + column;
    const int handleY = static_cast<int>(freq.CurveY()[static_cast<std::size_t>(column)]);
    const int pointX = volume.plotLeft + volume.Span(0).end - 1;
    const int pointY = static_cast<int>(volume.InnerPointY(0) + 0.5f);
    host::WindowImage before;
    ASSERT_TRUE(frame->capture(before));
    EXPECT_TRUE(isHandle(pixelAt(before, handleX, handleY)))
        << std::hex << pixelAt(before, handleX, handleY);
    EXPECT_TRUE(isHandle(pixelAt(before, pointX, pointY)))
        << std::hex << pixelAt(before, pointX, pointY);
    int brightest = 0;
    for (int y = kSweep.top; y < kSweep.bottom; ++y)
        brightest = std::max(brightest, static_cast<int>(pixelAt(before, 297, y) >> 16 & 0xFF));
    EXPECT_GT(brightest, 100) << "the sweep indicator shows the tones";

    // The frequency handle dragged down: the host hears of it and the curve follows.
    const auto runUntil = [&](auto done) {
        const auto deadline = std::chrono::steady_clock::now() + 5s;
        while (!done() && std::chrono::steady_clock::now() < deadline)
            frame->loop().runOnce(std::chrono::steady_clock::now() + 10ms);
        return done();
    };
    input->moveTo(frame->window(), handleX, handleY);
    input->press(XInput::leftButton);
    for (int step = 1; step <= 4; ++step)
        input->moveTo(frame->window(), handleX, handleY + 5 * step);
    input->release(XInput::leftButton);
    ASSERT_TRUE(runUntil([&] { return gestureEnded(*plugin, kQfreq); }));
    host::WindowImage dragged;
    ASSERT_TRUE(runUntil(
        [&] { return frame->capture(dragged) && !isHandle(pixelAt(dragged, handleX, handleY)); }));

    // Preset buttons of both graphs: shapes a host can set exactly as well.
    input->moveTo(frame->window(), freq.Box().right - 12, freq.Box().top + 12);
    input->click(XInput::leftButton);
    ASSERT_TRUE(runUntil([&] { return gestureEnded(*plugin, kQfreq); }));
    input->moveTo(frame->window(), volume.Box().right - 12, volume.Box().top + 4 * 30 + 12);
    input->click(XInput::leftButton);
    ASSERT_TRUE(runUntil([&] { return gestureEnded(*plugin, kXvol3); }));
    EXPECT_NEAR(plainValue(*plugin, "Qfreq"), -36.0, 0.5);
    EXPECT_NEAR(plainValue(*plugin, "Xvol1"), 15.0, 0.05);
    EXPECT_NEAR(plainValue(*plugin, "Xvol3"), 85.0, 0.05);

    const Stereo edited = render(*plugin, {});
    std::unique_ptr<host::Plugin> hosted = instantiate();
    ASSERT_NE(hosted, nullptr);
    RenderRequest settings;
    settings.settings = {setting(*hosted, "Qfreq", "-36"), setting(*hosted, "Xvol1", "15"),
                         setting(*hosted, "Xvol3", "85")};
    const Stereo set = render(*hosted, settings);
    EXPECT_TRUE(edited.left == set.left && edited.right == set.right)
        << "the first block plays the shape set in the editor";
    std::unique_ptr<host::Plugin> untouched = instantiate();
    ASSERT_NE(untouched, nullptr);
    EXPECT_FALSE(render(*untouched, {}).left == edited.left);
    frame->close();
}

} // namespace
} // namespace serivane::integration
