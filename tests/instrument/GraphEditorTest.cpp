#include "EditorSession.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

using Edits = std::vector<std::string>;

constexpr uint32_t kBlack = 0xFF000000u;
constexpr uint32_t kToneDot = 0xFF0064E6u;
constexpr uint32_t kHandle = 0xFF00E65Au;

bool IsCurveGrey(uint32_t pixel) {
    return Red(pixel) == Green(pixel) && Green(pixel) == Blue(pixel) && Red(pixel) >= 100;
}

int Round(float v) {
    return static_cast<int>(std::lround(v));
}

// Where inner point i of the volume graph is drawn.
std::pair<int, int> InnerPointCentre(const EnvelopeGraphModel& g, int i) {
    return {g.plotLeft + g.Span(i).end - 1, Round(g.InnerPointY(i))};
}

// Whether column x lies within the dark ring of one of the graph's handles.
bool UnderAHandle(const EnvelopeGraphModel& g, int x) {
    constexpr int kReach = 7;
    for (int i = 0; i < g.Envelope().count; ++i) {
        if (std::abs(x - (g.plotLeft + g.HandleColumn(i))) <= kReach) return true;
        if (std::abs(x - (g.plotLeft + g.Span(i).end - 1)) <= kReach) return true;
    }
    return false;
}

// How many separate runs of columns of the plot hold a tone dot's centre colour.
int ToneDotGroups(EditorSession& s, const EnvelopeGraphModel& g) {
    int groups = 0;
    bool inGroup = false;
    for (int x = g.plotLeft - 4; x <= g.plotRight + 4; ++x) {
        bool found = false;
        for (int y = g.plotTop - 4; y <= g.plotBottom + 4 && !found; ++y)
            found = s.Pixel(x, y) == kToneDot;
        if (found && !inGroup) ++groups;
        inGroup = found;
    }
    return groups;
}

// The distance from (x, y) to the polyline of the curve.
double DistanceToCurve(const EnvelopeGraphModel& g, int x, int y) {
    double nearest = 1e9;
    double ax = g.plotLeft;
    double ay = g.ScreenY(g.Envelope().start);
    for (int c = 0; c < g.PlotWidth(); ++c) {
        const double bx = g.plotLeft + c + 1.0;
        const double by = std::trunc(g.CurveY()[c]);
        const double dx = bx - ax;
        const double dy = by - ay;
        const double t =
            std::clamp(((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
        nearest = std::min(nearest, std::hypot(x - (ax + t * dx), y - (ay + t * dy)));
        ax = bx;
        ay = by;
    }
    return nearest;
}

// Envelope automation played back one step a block, with `afterBlock` run after each block:
// the samples of both ears.
std::vector<double> RenderEnvelopeAutomation(CLS_SERIVANE& p,
                                             const std::function<void()>& afterBlock) {
    SetParam(p, kPlayAnyway, 1);
    std::vector<double> samples;
    for (int i = 0; i < 100; ++i) {
        SetParam(p, kQvol2, -24 + 0.84 * i);
        SetParam(p, kXvol1, 25 + 0.15 * i);
        SetParam(p, kQfreq, 18 - 0.5 * i);
        const std::vector<double> block = Render(p, 256);
        samples.insert(samples.end(), block.begin(), block.end());
        afterBlock();
    }
    return samples;
}

} // namespace

TEST(GraphEditor, EnvelopeAutomationSoundsTheSameWhetherOrNotTheEditorPaints) {
    Instance closed = MakeInstance();
    closed->SetSampleRate(48000);
    ApplyAllParameters(*closed);
    Render(*closed, 64);
    const std::vector<double> reference = RenderEnvelopeAutomation(*closed, [] {});
    EditorSession painting;
    EXPECT_TRUE(RenderEnvelopeAutomation(painting.Plugin(), [&] { painting.Tick(); }) == reference);
    EditorSession idle;
    EXPECT_TRUE(RenderEnvelopeAutomation(idle.Plugin(), [] {}) == reference);
}

TEST(GraphEditor, DrawsFromTheParametersBeforeTheFirstBlockWhichPlaysTheShape) {
    EditorSession s(false);
    const EnvelopeGraphModel& volume = s.Model(EnvelopeKind::Volume);
    const auto [x, y] = InnerPointCentre(volume, 0);
    EXPECT_EQ(s.Pixel(x, y), kHandle);
    EXPECT_GE(ToneDotGroups(s, volume), 5) << "the tones where the first block puts them";

    s.SetFromHost(kQvol2, 60);
    EXPECT_EQ(volume.ChangeCode(), volume.WholeShape()) << "no engine to take it yet";
    const std::vector<float> before = volume.CurveY();
    s.Tick();
    EXPECT_NE(volume.CurveY(), before);
    s.RenderBlock();
    EXPECT_FLOAT_EQ(s.Plugin().Engine().Voices().volEnvelopes[3].curvatures[1], 10.0f);
    EXPECT_EQ(volume.ChangeCode(), EnvelopeGraphModel::kNone);
}

TEST(GraphEditor, PresetButtonsReshapeTheCurvesAndTheSound) {
    EditorSession s;
    const EnvelopeGraphModel& volume = s.Model(EnvelopeKind::Volume);
    const IBox box = volume.Box();
    EXPECT_EQ(s.Pixel(box.right - 26, box.top + 4 * 30 + 13), kBlack);
    s.Hover(box.right - 10, box.top + 4 * 30 + 10);
    EXPECT_EQ(s.Graph(EnvelopeKind::Volume).HoveredPreset(), 4);
    EXPECT_EQ(s.Plugin().StatusText(), "Volume envelope preset");
    s.Tick();
    EXPECT_NE(s.Pixel(box.right - 26, box.top + 4 * 30 + 13), kBlack) << "the hover mark";

    s.ForgetHostCalls();
    s.Click(box.right - 10, box.top + 4 * 30 + 10);
    EXPECT_EQ(s.Graph(EnvelopeKind::Volume).HoveredPreset(), -1);
    EXPECT_EQ(s.HostEdits(),
              (Edits{"b19", "p19", "e19", "b21", "p21", "e21", "b15", "p15", "e15", "b16", "p16",
                     "e16", "b17", "p17", "e17", "b18", "p18", "e18"}));
    EXPECT_NEAR(s.Plugin().ParamAt(kXvol1)->Value(), 15.0, 1e-4);
    EXPECT_NEAR(s.Plugin().ParamAt(kXvol3)->Value(), 85.0, 1e-4);
    EXPECT_EQ(s.Plugin().ParamAt(kQvol2)->Value(), -24.0);
    EXPECT_EQ(s.Plugin().StatusText(), "Volume envelope preset") << "no status text of its own";

    const std::vector<float> before = volume.CurveY();
    s.Tick();
    EXPECT_NE(volume.CurveY(), before);
    s.RenderBlock();
    for (int t = 0; t < kMaxTones; ++t) {
        EXPECT_FLOAT_EQ(s.Plugin().Engine().Voices().volEnvelopes[t].innerPoints[0], 0.15f);
        EXPECT_FLOAT_EQ(s.Plugin().Engine().Voices().volEnvelopes[t].innerPoints[2], 0.85f);
    }

    const EnvelopeGraphModel& freq = s.Model(EnvelopeKind::Frequency);
    s.Hover(freq.Box().right - 5, freq.Box().top + 2);
    EXPECT_EQ(s.Plugin().StatusText(), "Freq envelope preset");
    s.Click(freq.Box().right - 5, freq.Box().top + 2);
    s.RenderBlock();
    EXPECT_FLOAT_EQ(s.Plugin().Engine().Voices().freqEnvelopes[9].curvatures[0], -6.0f);

    // Above the first button there is none.
    s.ForgetHostCalls();
    s.Hover(freq.Box().right - 5, freq.Box().top);
    EXPECT_EQ(s.Graph(EnvelopeKind::Frequency).HoveredPreset(), -1);
    s.Click(freq.Box().right - 5, freq.Box().top);
    EXPECT_TRUE(s.HostEdits().empty());
    EXPECT_EQ(s.Plugin().ParamAt(kQfreq)->Value(), -36.0);
}

TEST(GraphEditor, DraggingAnInnerPointIsOneGestureAndStopsTenPixelsShort) {
    EditorSession s;
    const EnvelopeGraphModel& volume = s.Model(EnvelopeKind::Volume);
    auto [x, y] = InnerPointCentre(volume, 0);
    ++x; // hit-tested at the point's column
    s.Hover(x, y);
    EXPECT_EQ(s.Plugin().StatusText(), "Change volume envelope points");
    s.ForgetHostCalls();
    s.Press(x, y);
    EXPECT_EQ(s.Window().cursor, ICursor::ResizeHorizontal);
    EXPECT_EQ(s.Graph(EnvelopeKind::Volume).DraggedElement(), 1);
    s.DragTo(x - 30, y + 40);
    s.DragTo(x - 300, y);
    s.Release(x - 300, y);
    EXPECT_EQ(s.Window().cursor, ICursor::Arrow);
    EXPECT_EQ(s.HostEdits(), (Edits{"b19", "p19", "p19", "e19"}));
    EXPECT_NEAR(s.Plugin().ParamAt(kXvol1)->Value(), 1000.0 / volume.PlotWidth(), 1e-4);

    s.Tick();
    s.RenderBlock();
    EXPECT_FLOAT_EQ(s.Plugin().Engine().Voices().volEnvelopes[0].innerPoints[0], 10.0f / 244);
    EXPECT_EQ(volume.Span(0).end, 10);

    // The graph's own value counts as the parameter's: the host setting it back is applied.
    s.SetFromHost(kXvol1, 25);
    EXPECT_FLOAT_EQ(volume.Envelope().innerPoints[0], 0.25f);
}

TEST(GraphEditor, TheDescendingFrequencyGraphIsDrawnUpsideDown) {
    for (const bool descending : {false, true}) {
        EditorSession s;
        const EnvelopeGraphModel& freq = s.Model(EnvelopeKind::Frequency);
        if (descending) {
            s.SetFromHost(kLowFreq, 1500);
            s.SetFromHost(kHighFreq, 10);
        }
        s.Tick();
        EXPECT_EQ(freq.Ascending(), !descending);
        const int left = freq.plotLeft;
        const int top = freq.plotTop;
        const int bottom = freq.plotBottom;
        const int height = bottom - top;
        // The start marker: at the bottom left going up, at the top left coming down.
        EXPECT_TRUE(IsCurveGrey(s.Pixel(left, descending ? top + 4 : bottom - 4))) << descending;
        EXPECT_EQ(s.Pixel(left, descending ? bottom - 4 : top + 4), kBlack) << descending;
        const int c = 100;
        const double v = freq.CurveValues()[c];
        EXPECT_NEAR(freq.CurveY()[c], descending ? top + height * v : bottom - height * v, 1e-3);
        EXPECT_EQ(freq.CurveY().back(), descending ? bottom : top);

        // Dragging the handle down moves it down on screen either way.
        const int mid = freq.HandleColumn(0);
        const int handleY = Round(freq.CurveY()[mid]);
        s.Hover(left + mid, handleY);
        EXPECT_EQ(s.Plugin().StatusText(), "Change freq envelope point");
        s.Press(left + mid, handleY);
        EXPECT_EQ(s.Window().cursor, ICursor::ResizeVertical);
        for (int i = 1; i <= 10; ++i) s.DragTo(left + mid, handleY + i);
        s.Release(left + mid, handleY + 10);
        s.Tick();
        s.RenderBlock();
        EXPECT_GT(freq.CurveY()[mid], handleY + 3) << descending;
        EXPECT_FLOAT_EQ(s.Plugin().Engine().Voices().freqEnvelopes[0].curvatures[0],
                        freq.Envelope().curvatures[0]);

        // The first preset button bends the curve the same way on screen too.
        s.Click(freq.Box().right - 5, freq.Box().top + 2);
        EXPECT_EQ(s.Plugin().ParamAt(kQfreq)->Value(), descending ? 36.0 : -36.0);
    }
}

TEST(GraphEditor, ShowsTheCurveAndSixteenToneDotsOnIt) {
    EditorSession s;
    s.SetFromHost(kTones, 16);
    s.Tick();
    for (const EnvelopeKind kind : {EnvelopeKind::Frequency, EnvelopeKind::Volume}) {
        const EnvelopeGraphModel& g = s.Model(kind);
        // Every vertex of the curve is drawn, in its grey where no dot or handle covers it.
        int grey = 0;
        int open = 0;
        for (int c = 1; c <= g.PlotWidth(); ++c) {
            if (UnderAHandle(g, g.plotLeft + c)) continue;
            ++open;
            const uint32_t pixel = s.Pixel(g.plotLeft + c, static_cast<int>(g.CurveY()[c - 1]));
            grey += IsCurveGrey(pixel);
            EXPECT_GE(std::max({Red(pixel), Green(pixel), Blue(pixel)}), 150)
                << "column " << c << std::hex << " " << pixel;
        }
        EXPECT_GT(grey, open / 3);

        // Some dots pass under the handles.
        EXPECT_GE(ToneDotGroups(s, g), 8);
        for (int y = g.plotTop - 4; y <= g.plotBottom + 4; ++y)
            for (int x = g.plotLeft - 4; x <= g.plotRight + 4; ++x) {
                if (s.Pixel(x, y) == kToneDot) {
                    ASSERT_LE(DistanceToCurve(g, x, y), 5.0);
                }
            }
    }
}

TEST(GraphEditor, HandlesAreFilledAndTheHoveredOneIsARing) {
    // Seven tones leave the inner points uncovered by tone dots.
    EditorSession s;
    const EnvelopeGraphModel& volume = s.Model(EnvelopeKind::Volume);
    int filled = 0;
    for (int i = 0; i < 3; ++i) {
        const auto [x, y] = InnerPointCentre(volume, i);
        filled += s.Pixel(x, y) == kHandle;
    }
    EXPECT_EQ(filled, 3);
    const auto [x, y] = InnerPointCentre(volume, 1);
    s.Hover(x + 1, y);
    EXPECT_EQ(s.Graph(EnvelopeKind::Volume).HoveredElement(), 3);
    s.Tick();
    EXPECT_NE(s.Pixel(x, y), kHandle);
    EXPECT_EQ(s.Pixel(x, y - 2), kBlack) << "inside the ring";
    const uint32_t ring = s.Pixel(x, y - 5);
    EXPECT_TRUE(Green(ring) > 100 && Red(ring) < 40) << std::hex << ring;
    s.Graphics().DispatchMouseOut();
    s.Tick();
    EXPECT_EQ(s.Graph(EnvelopeKind::Volume).HoveredElement(), -1);
}

TEST(GraphEditor, HandlesStayWholeAboveSixteenToneDots) {
    EditorSession s;
    s.SetFromHost(kTones, 16);
    s.Tick();
    for (const EnvelopeKind kind : {EnvelopeKind::Frequency, EnvelopeKind::Volume}) {
        const EnvelopeGraphModel& g = s.Model(kind);
        std::vector<std::pair<int, int>> centres;
        for (int i = 0; i < g.Envelope().count; ++i) {
            const int column = g.HandleColumn(i);
            centres.emplace_back(g.plotLeft + column, static_cast<int>(g.CurveY()[column]));
            if (i + 1 < g.Envelope().count) centres.push_back(InnerPointCentre(g, i));
        }
        // The handle's colour at and right around each centre.
        for (const auto& [x, y] : centres) {
            for (const auto& [dx, dy] : {std::pair{0, 0}, {-1, 0}, {1, 0}, {0, -1}, {0, 1}})
                EXPECT_EQ(s.Pixel(x + dx, y + dy), kHandle)
                    << int(kind) << " at " << x + dx << ", " << y + dy;
        }
    }
}

TEST(GraphEditor, RealFreqShowsABarPerToneUnderTheCurve) {
    EditorSession s;
    const EnvelopeGraphModel& freq = s.Model(EnvelopeKind::Frequency);
    const int band = freq.plotBottom + 4;
    s.Tick();
    EXPECT_EQ(s.Pixel(freq.plotLeft + 50, band), kBlack);

    s.SetFromHost(kFreqGraph, 1);
    s.SetFromHost(kSpread, 100);
    s.SetFromHost(kTones, 4);
    s.Tick();
    // Four adjacent bands of 61 columns, each faint with brighter edges between them.
    const uint32_t inside = s.Pixel(freq.plotLeft + 30, band);
    EXPECT_TRUE(Red(inside) > 10 && Red(inside) < 60) << std::hex << inside;
    EXPECT_GT(Red(s.Pixel(freq.plotLeft + 61, band)), Red(inside) + 40);
    EXPECT_EQ(s.Pixel(freq.plotLeft + 30, freq.Box().bottom + 1), kBlack);

    // Low and high together leave no span: no bars, the dots placed by position.
    s.SetFromHost(kHighFreq, 10);
    s.Tick();
    EXPECT_EQ(s.Pixel(freq.plotLeft + 30, band), kBlack);
}
