#include "Instance.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <mutex>
#include <random>

namespace {

// A running instance whose graphs have been recomputed once, as the first block does.
struct GraphModel : ::testing::Test {
    Instance p = MakeInstance();

    void SetUp() override {
        p->SetSampleRate(48000);
        ApplyAllParameters(*p);
        Render(*p, 64);
        p->OnEditorOpen();
    }
    EnvelopeGraphModel& Graph(EnvelopeKind kind) { return p->Graph(kind); }
    EnvelopeGraphModel& Volume() { return Graph(EnvelopeKind::Volume); }
    EnvelopeGraphModel& Frequency() { return Graph(EnvelopeKind::Frequency); }
    void Push(EnvelopeKind kind) {
        std::lock_guard lock(p->Mutex());
        ASSERT_TRUE(p->PushGraph(kind));
    }
    // Inner point k in plot pixels.
    double PointX(int k) {
        return Volume().PlotWidth() * double(Volume().Envelope().innerPoints[k]);
    }
};

// y lies within the curve's span over columns c - 2 to c + 2, give or take a quarter pixel
// (the last columns have fewer neighbours).
bool NearColumn(float y, const std::vector<float>& curve, int c) {
    const size_t first = static_cast<size_t>(std::max(c - 2, 0));
    const size_t last = std::min(static_cast<size_t>(c) + 2, curve.size() - 1);
    const auto [low, high] = std::minmax_element(curve.begin() + first, curve.begin() + last + 1);
    return y >= *low - 0.25f && y <= *high + 0.25f;
}

} // namespace

TEST_F(GraphModel, InnerPointsKeepTenPixelsFromTheirNeighboursAndTheEnds) {
    EnvelopeGraphModel& graph = Volume();
    const double width = graph.PlotWidth();
    ASSERT_EQ(width, 244);

    GraphParamWrites writes = graph.DragInnerPoint(0, -1000);
    EXPECT_NEAR(PointX(0), 10.0, 1e-4);
    ASSERT_EQ(writes.count, 1);
    EXPECT_EQ(writes.items[0].index, kXvol1);
    EXPECT_NEAR(writes.items[0].value, 1000.0 / width, 1e-4);

    graph.DragInnerPoint(0, 1000);
    EXPECT_NEAR(PointX(0), PointX(1) - 10.0, 1e-4);
    graph.DragInnerPoint(2, 1000);
    EXPECT_NEAR(PointX(2), width - 10.0, 1e-4);
    Push(EnvelopeKind::Volume);
    writes = graph.DragInnerPoint(1, -1000);
    EXPECT_NEAR(PointX(1), PointX(0) + 10.0, 1e-4);
    EXPECT_EQ(writes.items[0].index, kXvol2);
    EXPECT_EQ(graph.ChangeCode(), 3) << "only the columns around inner point 1";

    // However the points are pushed about, the gaps hold.
    std::mt19937 random(7);
    std::uniform_int_distribution<int> point(0, 2), step(-40, 40);
    for (int i = 0; i < 2000; ++i) {
        graph.DragInnerPoint(point(random), step(random));
        EXPECT_GE(PointX(0), 10.0 - 1e-3);
        EXPECT_GE(PointX(1) - PointX(0), 10.0 - 1e-3);
        EXPECT_GE(PointX(2) - PointX(1), 10.0 - 1e-3);
        EXPECT_LE(PointX(2), width - 10.0 + 1e-3);
    }
    EXPECT_TRUE(graph.DragInnerPoint(3, 5).count == 0 &&
                Frequency().DragInnerPoint(0, 5).count == 0)
        << "no such inner point";
}

TEST_F(GraphModel, CurvatureDragsStopJustBelowFifteen) {
    for (const int direction : {1, -1}) {
        EnvelopeGraphModel& graph = Frequency();
        GraphParamWrite last;
        for (int i = 0; i < 500; ++i) {
            const GraphParamWrites writes = graph.DragCurvature(0, 3 * direction);
            if (writes.count == 1) last = writes.items[0];
        }
        const float curvature = graph.Envelope().curvatures[0];
        EXPECT_GT(curvature * direction, 14.0f);
        EXPECT_LT(curvature * direction, 15.0f);
        EXPECT_EQ(last.index, kQfreq);
        EXPECT_NEAR(last.value, curvature * 6.0, 1e-3);
        EXPECT_LT(std::abs(last.value), 90.0);
    }

    // On the volume graph each segment's own parameter, the curve following the pointer.
    EnvelopeGraphModel& volume = Volume();
    const float rising = volume.Envelope().curvatures[0];
    const float falling = volume.Envelope().curvatures[2];
    GraphParamWrites writes = volume.DragCurvature(0, 4);
    EXPECT_EQ(writes.items[0].index, kQvol1);
    EXPECT_GT(volume.Envelope().curvatures[0], rising);
    writes = volume.DragCurvature(2, 4);
    EXPECT_EQ(writes.items[0].index, kQvol3);
    EXPECT_LT(volume.Envelope().curvatures[2], falling);
    EXPECT_EQ(volume.ChangeCode(), volume.WholeShape()) << "two segments changed";
}

// A partial recompute redraws only the columns an edit touched; they must join up with the rest
// as a recompute of the whole shape would draw them. Segments last whole steps, so a whole
// recompute can run up to a column behind or ahead for each segment before the edited part.
TEST_F(GraphModel, PartialRecomputesDrawTheCurveOfAWholeOne) {
    EnvelopeGraphModel& volume = Volume();
    const struct {
        bool point;
        int k;
        int amount;
    } edits[] = {{true, 0, 17}, {false, 1, -9}, {true, 2, -30}, {false, 3, 12},
                 {true, 1, 25}, {false, 0, 7},  {true, 0, -60}, {false, 2, -15}};
    for (const auto& edit : edits) {
        if (edit.point)
            volume.DragInnerPoint(edit.k, edit.amount);
        else
            volume.DragCurvature(edit.k, edit.amount);
        Push(EnvelopeKind::Volume);
        const std::vector<float> partial = volume.CurveY();
        volume.SetChangeCode(volume.WholeShape());
        Push(EnvelopeKind::Volume);
        for (int c = 0; c < volume.PlotWidth(); ++c)
            ASSERT_TRUE(NearColumn(partial[c], volume.CurveY(), c)) << "column " << c;
    }
    // And the engine has the edited shape in every tone.
    for (int t = 0; t < kMaxTones; ++t) {
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(p->Engine().Voices().volEnvelopes[t].curvatures[i],
                      volume.Envelope().curvatures[i]);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(p->Engine().Voices().volEnvelopes[t].innerPoints[i],
                      volume.Envelope().innerPoints[i]);
    }
}

TEST_F(GraphModel, HandlesAreHitWithinFivePixels) {
    EnvelopeGraphModel& volume = Volume();
    const int left = volume.plotLeft;
    // Inner point 0 at column 61, at half height; the handle of segment 1 halfway to point 1.
    const int pointY = static_cast<int>(volume.InnerPointY(0));
    EXPECT_EQ(volume.ElementAt(left + 61, pointY), 1);
    EXPECT_EQ(volume.ElementAt(left + 66, pointY - 5), 1);
    EXPECT_EQ(volume.ElementAt(left + 67, pointY), EnvelopeGraphModel::kNone);
    const int mid = volume.HandleColumn(1);
    EXPECT_EQ(mid, 92);
    const int handleY = static_cast<int>(volume.CurveY()[mid]);
    EXPECT_EQ(volume.ElementAt(left + mid + 5, handleY), 2);
    EXPECT_EQ(volume.ElementAt(left + mid, handleY + 7), EnvelopeGraphModel::kNone);

    // The preset column: nothing above the first button, the last one down to the bottom.
    const IBox& box = volume.Box();
    EXPECT_TRUE(volume.InPresetColumn(box.right - 30) && volume.InPresetColumn(box.right));
    EXPECT_FALSE(volume.InPresetColumn(box.right - 31));
    EXPECT_EQ(volume.PresetAt(box.top), EnvelopeGraphModel::kNone);
    EXPECT_EQ(volume.PresetAt(box.top + 1), 0);
    EXPECT_EQ(volume.PresetAt(box.top + 31), 1);
    EXPECT_EQ(volume.PresetAt(box.bottom), 4);

    // Squeezed by automation, a segment keeps a handle that can be hit and bent.
    SetParam(*p, kXvol2, 25);
    Push(EnvelopeKind::Volume);
    EXPECT_EQ(volume.Span(1).start, volume.Span(1).end);
    const int squeezed = volume.HandleColumn(1);
    EXPECT_EQ(volume.ElementAt(left + squeezed, static_cast<int>(volume.CurveY()[squeezed])), 2);
    EXPECT_EQ(volume.DragCurvature(1, 3).count, 1);
    EXPECT_TRUE(std::isfinite(volume.Envelope().curvatures[1]));
}
