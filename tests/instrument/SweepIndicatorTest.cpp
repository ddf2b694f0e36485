#include "EditorSession.h"

#include "resources/CursorHotspots.h"

#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

using Edits = std::vector<std::string>;
constexpr IBox kSweep = EditorSession::kSweepBox;

double KnobValue(EditorSession& s, int paramIndex) {
    for (int i = 0; i < s.Graphics().ControlCount(); ++i) {
        const IControl* control = s.Graphics().ControlAtIndex(i);
        if (control->ParamIndex() == paramIndex) return control->Value();
    }
    return -1.0;
}

// The brightest pixel of the indicator's dot column between its top and bottom.
int BrightestDot(EditorSession& s) {
    int brightest = 0;
    for (int y = kSweep.top; y < kSweep.bottom; ++y)
        brightest = std::max(brightest, Red(s.Pixel(297, y)));
    return brightest;
}

} // namespace

TEST(SweepIndicator, AClickSwapsTheRangeEndsAndBothKnobsFollow) {
    EditorSession s;
    CLS_SERIVANE& p = s.Plugin();
    s.Hover(297, 110);
    s.Hover(298, 111);
    EXPECT_EQ(p.StatusText(), "Change to descendent frequencies");
    EXPECT_EQ(s.Window().resourceCursor, kCursorDescend);
    EXPECT_EQ(s.Window().resourceCursorsSet, 1) << "set once while the pointer moves over it";
    const double lowKnob = KnobValue(s, kLowFreq);
    const double highKnob = KnobValue(s, kHighFreq);

    s.ForgetHostCalls();
    s.Click(297, 110);
    s.Click(297, 112);
    EXPECT_EQ(s.Window().cursor, ICursor::Arrow);
    EXPECT_TRUE(s.Sweep().SwapRequested());
    EXPECT_EQ(p.ParamAt(kLowFreq)->Value(), 10.0) << "the swap waits for the drawing pass";
    s.Tick();
    EXPECT_FALSE(s.Sweep().SwapRequested());
    EXPECT_EQ(p.ParamAt(kLowFreq)->Value(), 1500.0);
    EXPECT_EQ(p.ParamAt(kHighFreq)->Value(), 10.0) << "two clicks, one swap";
    EXPECT_EQ(s.HostEdits(), (Edits{"b1", "b2", "p1", "p2", "e1", "e2"}));
    EXPECT_FLOAT_EQ(p.Engine().Settings().lowHz, 1500.0f);
    EXPECT_FLOAT_EQ(p.Engine().Settings().highHz, 10.0f);
    EXPECT_GT(p.Engine().Voices().bank.rates[0][0].low, p.Engine().Voices().bank.rates[0][0].high);

    s.Tick();
    EXPECT_DOUBLE_EQ(KnobValue(s, kLowFreq), highKnob);
    EXPECT_DOUBLE_EQ(KnobValue(s, kHighFreq), lowKnob);
    EXPECT_FALSE(p.FrequencyGraph().Ascending());

    s.Hover(297, 111);
    EXPECT_EQ(p.StatusText(), "Change to ascendent frequencies");
    EXPECT_EQ(s.Window().resourceCursor, kCursorAscend);
    s.Hover(150, 30);
    EXPECT_EQ(s.Window().cursor, ICursor::Arrow);
    EXPECT_EQ(s.Window().resourceCursor, 0);

    // The host setting a value back is applied: the swap went through the change handler.
    s.SetFromHost(kLowFreq, 10);
    EXPECT_FLOAT_EQ(p.Engine().Settings().lowHz, 10.0f);
}

TEST(SweepIndicator, ShowsADotPerToneFadingNearTheLowerEnd) {
    EditorSession s;
    s.SetFromHost(kTones, 1);
    s.SetFromHost(kQfreq, 0);
    s.SetFromHost(kRate, 1);
    s.Tick();
    s.SetFromHost(kPlayAnyway, 1);
    s.RenderBlock();
    s.Tick();
    EXPECT_LE(BrightestDot(s), 2) << "the one tone starts at the lower end, where it is invisible";

    // A quarter of a one-second linear sweep later the dot is a quarter up, at full weight.
    for (int i = 0; i < 12000 / 64; ++i) s.RenderBlock();
    s.Tick();
    const int upper = BrightestDot(s);
    EXPECT_GT(upper, 120);
    EXPECT_LT(upper, 170) << "drawn at 60 %";
    for (int y = kSweep.top; y < kSweep.bottom; ++y) EXPECT_EQ(s.Pixel(290, y), 0xFF000000u);
}

// The audio thread renders and takes host changes while the editor draws and is dragged about;
// the graphs and the indicator read the engine only under the plug-in mutex.
TEST(SweepIndicator, EditorAndAudioThreadShareTheEngine) {
    EditorSession s;
    CLS_SERIVANE& p = s.Plugin();
    s.SetFromHost(kPlayAnyway, 1);
    std::atomic<bool> done{false};
    std::thread audio([&] {
        for (int i = 0; !done; ++i) {
            std::lock_guard lock(p.Mutex());
            p.ParamAt(kQvol2)->SetClamped(i % 50 - 25);
            p.OnParamChanged(kQvol2);
            p.ParamAt(kTones)->SetClamped(1 + i % 16);
            p.OnParamChanged(kTones);
            Render(p, 64);
        }
    });
    const EnvelopeGraphModel& volume = p.VolumeGraph();
    for (int i = 0; i < 40; ++i) {
        s.Hover(297, 100);
        s.Click(297, 100);
        s.Tick();
        s.Hover(volume.Box().right - 5, volume.Box().top + 40);
        s.Click(volume.Box().right - 5, volume.Box().top + 40);
        s.Press(volume.plotLeft + 122, volume.plotTop + 2);
        s.DragTo(volume.plotLeft + 118 + i % 9, volume.plotTop + 2);
        s.Release(volume.plotLeft + 118, volume.plotTop + 2);
        s.Tick();
    }
    done = true;
    audio.join();
    s.RenderBlock();
    std::lock_guard lock(p.Mutex());
    for (int t = 0; t < kMaxTones; ++t)
        EXPECT_EQ(p.Engine().Voices().volEnvelopes[t].innerPoints[1],
                  volume.Envelope().innerPoints[1]);
}
