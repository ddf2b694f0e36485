// Every control of the editor driven by real X input, as a person would use it, with the host
// watching the edits it is told of.
#include "EditorSession.h"

#include "engine/ParamIds.h"
#include "instrument/CLS_SERIVANE.h"
#include "resources/CursorHotspots.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace serivane::integration {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Kind = host::HandlerCall::Kind;
using host::XInput;

constexpr IBox kSweep{274, 92, 320, 138};
constexpr IBox kVersion{50, 12, 95, 30};
constexpr IBox kTitle{151, 6, 343, 53};
constexpr IBox kStatus{200, 58, 400, 76};

// The instrument as the bundle starts it, after its first block: where the graph handles lie.
const CLS_SERIVANE& startedInstrument() {
    static std::unique_ptr<CLS_SERIVANE, void (*)(CLS_SERIVANE*)> instrument(
        [] {
            auto* p = new CLS_SERIVANE();
            p->SetSampleRate(48000);
            for (int i = 0; i < kNumParams; ++i) p->OnParamChanged(i);
            std::vector<double> left(64), right(64);
            double* outputs[] = {left.data(), right.data()};
            p->RenderBlock(nullptr, outputs, 64);
            return p;
        }(),
        [](CLS_SERIVANE* p) { p->release(); });
    return *instrument;
}

class EditorLayoutWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string reason;
        if (!session.start(reason, false)) {
            if (!HasFailure()) GTEST_SKIP() << "no virtual X server: " << reason;
        }
    }

    XInput& input() { return session.input(); }
    void moveTo(int x, int y) { input().moveTo(session.window(), x, y); }
    void drag(int x, int y, int toX, int toY) {
        moveTo(x, y);
        input().press(XInput::leftButton);
        for (int step = 1; step <= 4; ++step)
            moveTo(x + (toX - x) * step / 4, y + (toY - y) * step / 4);
        input().release(XInput::leftButton);
    }
    void click(int x, int y, int button = XInput::leftButton) {
        moveTo(x, y);
        input().click(button);
    }

    std::vector<Kind> kinds(int param) const { return session.kindsFor(param); }
    std::size_t count(int param, Kind kind) const { return session.countOf(param, kind); }
    bool gestureEnded(int param) { return session.runUntilGestureEnds(param); }
    // One gesture: a begin, at least one perform, an end, and nothing else.
    void expectOneGesture(int param) {
        std::vector<Kind> calls = kinds(param);
        ASSERT_GE(calls.size(), 3u) << "parameter " << param;
        EXPECT_EQ(calls.front(), Kind::BeginEdit) << "parameter " << param;
        EXPECT_EQ(calls.back(), Kind::EndEdit) << "parameter " << param;
        for (std::size_t i = 1; i + 1 < calls.size(); ++i)
            EXPECT_EQ(calls[i], Kind::PerformEdit) << "parameter " << param;
    }
    double value(int param) {
        return session.plugin().normalizedValue(static_cast<unsigned>(param));
    }
    double plain(int param) {
        return session.plugin().toPlain(static_cast<unsigned>(param), value(param));
    }

    // Runs until the region looks different from `before`; false when it never does.
    bool changes(const host::WindowImage& before, const IBox& region) {
        return session.runUntil(
            [&] { return changedPixels(before, session.capture(), region) > 0; });
    }

    EditorSession session;
};

// Each standard control moves its parameter in the way its kind is used: knobs are dragged
// up, sliders dragged along their track, the button and the switch clicked.
TEST_F(EditorLayoutWindowTest, EveryStandardControlTellsTheHostOneGesture) {
    for (int param = kBinaural; param <= kFreqGraph; ++param) {
        const IBox r = EditorSession::controlRect(param);
        const double before = value(param);
        session.clearCalls();
        switch (param) {
        case kBinaural:
        case kLowFreq:
        case kHighFreq:
        case kRate:
        case kVolume:
            drag(centreX(r), centreY(r), centreX(r), centreY(r) - 24);
            break;
        case kLowLevel:
        case kMiddleLevel:
        case kHighLevel:
        case kWave:
            // From the end of the track away from the value to the other end.
            if (before > 0.5)
                drag(centreX(r), r.top + 8, centreX(r), r.bottom - 2);
            else
                drag(centreX(r), r.bottom - 8, centreX(r), r.top + 2);
            break;
        case kSpread:
        case kBinauralPan:
        case kTones:
            drag(r.left + 8, centreY(r), r.left + 8 + (value(param) > 0.5 ? 0 : r.W()), centreY(r));
            break;
        default:
            click(centreX(r), centreY(r));
            break;
        }
        ASSERT_TRUE(gestureEnded(param)) << "parameter " << param;
        expectOneGesture(param);
        EXPECT_NE(value(param), before) << "parameter " << param;
        session.run(50ms);
        for (int other = 0; other < kNumParams; ++other) {
            if (other == param) continue;
            EXPECT_TRUE(kinds(other).empty()) << param << " moved " << other;
        }
    }
}

TEST_F(EditorLayoutWindowTest, GraphHandlesAndPresetButtonsReachTheHost) {
    const EnvelopeGraphModel& volume = startedInstrument().VolumeGraph();
    const int pointX = volume.plotLeft + volume.Span(0).end;
    const int pointY = static_cast<int>(volume.InnerPointY(0) + 0.5f);
    const double xvol1 = plain(kXvol1);
    drag(pointX, pointY, pointX + 20, pointY);
    ASSERT_TRUE(gestureEnded(kXvol1));
    expectOneGesture(kXvol1);
    EXPECT_GT(plain(kXvol1), xvol1 + 3.0);
    // Dragged far to the left, the point stops 10 pixels from the start of the plot.
    const int width = volume.PlotWidth();
    const int movedX = volume.plotLeft + static_cast<int>(width * plain(kXvol1) / 100.0 + 0.5);
    session.clearCalls();
    drag(movedX, pointY, movedX - 200, pointY);
    ASSERT_TRUE(gestureEnded(kXvol1));
    EXPECT_NEAR(plain(kXvol1), 100.0 * 10 / width, 0.1);

    const EnvelopeGraphModel& freq = startedInstrument().FrequencyGraph();
    const int column = freq.HandleColumn(0);
    const int handleX = freq.plotLeft + column;
    const int handleY = static_cast<int>(freq.CurveY()[static_cast<std::size_t>(column)]);
    const double qfreq = plain(kQfreq);
    drag(handleX, handleY, handleX, handleY - 20);
    ASSERT_TRUE(gestureEnded(kQfreq));
    expectOneGesture(kQfreq);
    EXPECT_NE(plain(kQfreq), qfreq);

    // The volume graph's last preset: inner points at 0.15 and 0.85, alternating curvatures.
    session.clearCalls();
    const IBox& box = volume.Box();
    click(box.right - 12, box.top + 4 * 30 + 12);
    ASSERT_TRUE(gestureEnded(kXvol3));
    for (int param : {kXvol1, kXvol3, kQvol1, kQvol2, kQvol3, kQvol4})
        EXPECT_EQ(kinds(param),
                  (std::vector<Kind>{Kind::BeginEdit, Kind::PerformEdit, Kind::EndEdit}))
            << param;
    EXPECT_NEAR(plain(kXvol1), 15.0, 0.05);
    EXPECT_NEAR(plain(kXvol3), 85.0, 0.05);
    EXPECT_NEAR(plain(kQvol1), 24.0, 0.5);
    EXPECT_NEAR(plain(kQvol2), -24.0, 0.5);
}

TEST_F(EditorLayoutWindowTest, ASweepIndicatorClickSwapsTheRangeAndBothKnobsFollow) {
    const double low = plain(kLowFreq);
    const double high = plain(kHighFreq);
    const IBox lowKnob = EditorSession::controlRect(kLowFreq);
    const IBox highKnob = EditorSession::controlRect(kHighFreq);
    moveTo(centreX(kSweep), centreY(kSweep));
    session.run(100ms);
    // The sweep cursor points with the tip of its drawn arrow, not with the picture's centre.
    const XInput::Hotspot tip = input().cursorHotspot();
    if (tip.x >= 0) {
        EXPECT_EQ(tip.x, kAscendHotspot.x);
        EXPECT_EQ(tip.y, kAscendHotspot.y);
    }
    host::WindowImage before = session.capture();
    input().click(XInput::leftButton);
    ASSERT_TRUE(gestureEnded(kLowFreq));
    ASSERT_TRUE(gestureEnded(kHighFreq));
    EXPECT_NEAR(plain(kLowFreq), high, 0.05);
    EXPECT_NEAR(plain(kHighFreq), low, 0.05);
    EXPECT_TRUE(changes(before, lowKnob));
    EXPECT_TRUE(changes(before, highKnob));
}

TEST_F(EditorLayoutWindowTest, ThePopupListOpensScrollsChoosesAndCloses) {
    const IBox slider = EditorSession::controlRect(kWave);
    moveTo(centreX(slider), centreY(slider));
    session.run(150ms);
    const host::WindowImage closed = session.capture();
    input().click(XInput::rightButton);
    host::WindowImage open;
    ASSERT_TRUE(session.runUntil([&] {
        open = session.capture();
        return changedPixels(closed, open, {0, 0, 600, 475}) > 500;
    }));
    // The list is where the picture changed.
    IBox list{600, 475, 0, 0};
    for (int y = 0; y < 475; ++y)
        for (int x = 0; x < 600; ++x)
            if (changedPixels(closed, open, {x, y, x + 1, y + 1}) > 0)
                list = {std::min(list.left, x), std::min(list.top, y), std::max(list.right, x + 1),
                        std::max(list.bottom, y + 1)};
    ASSERT_GT(list.W(), 60);
    ASSERT_GT(list.H(), 60);
    // The right click on the slider is an empty gesture: nothing is set.
    session.run(100ms);
    EXPECT_EQ(count(kWave, Kind::PerformEdit), 0u);
    EXPECT_EQ(count(kWave, Kind::BeginEdit), count(kWave, Kind::EndEdit));
    session.clearCalls();

    // Five rows of seven waves: scrolling to the end shows the last one in the bottom row.
    moveTo(list.left + 30, centreY(list));
    for (int i = 0; i < 10; ++i) input().click(XInput::wheelDown);
    EXPECT_TRUE(changes(open, {list.left, list.top, list.right - 16, list.bottom}))
        << "the rows move";
    moveTo(list.left + 30, list.bottom - 8);
    session.run(100ms);

    input().click(XInput::leftButton);
    ASSERT_TRUE(gestureEnded(kWave));
    EXPECT_EQ(kinds(kWave), (std::vector<Kind>{Kind::BeginEdit, Kind::PerformEdit, Kind::EndEdit}));
    EXPECT_EQ(plain(kWave), 6.0) << "Gold. Square";

    // Closed: the area it covered left of the waveform controls shows the editor again.
    const IBox uncovered{list.left, list.top, std::min(list.right, 490), list.bottom};
    EXPECT_TRUE(
        session.runUntil([&] { return changedPixels(closed, session.capture(), uncovered) == 0; }));
}

TEST_F(EditorLayoutWindowTest, TheTitleOpensTheInstrumentsPage) {
    const fs::path folder = fs::temp_directory_path() / "serivane-url-opener";
    fs::create_directories(folder);
    const fs::path opened = folder / "opened.txt";
    fs::remove(opened);
    {
        std::ofstream script(folder / "xdg-open");
        script << "#!/bin/sh\nprintf '%s' \"$1\" > '" << opened.string() << "'\n";
    }
    fs::permissions(folder / "xdg-open", fs::perms::owner_all);
    const std::string path = std::getenv("PATH") ? std::getenv("PATH") : "";
    setenv("PATH", (folder.string() + ":" + path).c_str(), 1);
    click(centreX(kTitle), centreY(kTitle));
    const bool done =
        session.runUntil([&] { return fs::exists(opened) && fs::file_size(opened) > 0; });
    setenv("PATH", path.c_str(), 1);
    ASSERT_TRUE(done);
    std::ifstream in(opened);
    std::string address;
    std::getline(in, address);
    EXPECT_EQ(address, "https://www.tolvane.com/Serivane");
    session.run(100ms);
    for (int param = 0; param < kNumParams; ++param) EXPECT_TRUE(kinds(param).empty()) << param;
    fs::remove_all(folder);
}

// Automation from the host reaches the editor through the audio thread; the transport is
// stopped and nothing plays, so only the parameter's own control (or graph) can change the
// picture there.
TEST_F(EditorLayoutWindowTest, HostAutomationOfEveryParameterMovesItsControl) {
    const IBox freqGraph{13, 294, 299, 442};
    const IBox volumeGraph{303, 294, 589, 442};
    // "Play Anyway" comes last: from then on the tones move.
    std::vector<int> order;
    for (int param = 0; param < kNumParams; ++param)
        if (param != kPlayAnyway) order.push_back(param);
    order.push_back(kPlayAnyway);
    for (int param : order) {
        IBox region = param == kQfreq  ? freqGraph
                      : param > kQfreq ? volumeGraph
                                       : EditorSession::controlRect(param);
        session.run(100ms);
        host::WindowImage before = session.capture();
        ASSERT_TRUE(session.audio().queueChange(static_cast<unsigned>(param),
                                                value(param) > 0.5 ? 0.0 : 1.0));
        EXPECT_TRUE(changes(before, region)) << "parameter " << param;
    }
}

TEST_F(EditorLayoutWindowTest, HoverTextsGoToTheStatusLine) {
    moveTo(centreX(kVersion), centreY(kVersion));
    session.run(100ms);
    const host::WindowImage quiet = session.capture();
    const IBox knob = EditorSession::controlRect(kVolume);
    moveTo(centreX(knob), centreY(knob));
    EXPECT_TRUE(changes(quiet, kStatus)) << "the hovered knob describes its value";
    EXPECT_TRUE(changes(quiet, knob)) << "and lights up";
}

} // namespace
} // namespace serivane::integration
