#include "Instance.h"

#include "gui/IBitmapControl.h"
#include "gui/IButton.h"
#include "gui/IGraphics.h"
#include "gui/IKnobRotVal.h"
#include "gui/IResourceBitmap.h"
#include "gui/ISlider.h"
#include "gui/ISwitchLbl.h"
#include "gui/ITextControl.h"
#include "gui/IURLOpen.h"
#include "instrument/EditorLayout.h"
#include "instrument/GPHLFO.h"
#include "instrument/GRAPH.h"
#include "raster/Raster.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <typeinfo>

namespace {

IGraphics& EditorOf(CLS_SERIVANE& p) {
    return *dynamic_cast<IGraphics*>(p.Editor());
}

// The instrument at 48 kHz after its first block, its editor painted once.
struct OpenEditor {
    Instance plugin = MakeInstance();
    IGraphics& graphics = EditorOf(*plugin);

    OpenEditor() {
        plugin->SetSampleRate(48000);
        ApplyAllParameters(*plugin);
        Render(*plugin, 64);
        graphics.RedrawAll();
        graphics.OnTimerTick();
    }

    // A host change as a processing block applies it.
    void SetFromHost(int index, double normalized) {
        plugin->ParamAt(index)->SetFromNormalized(normalized);
        graphics.ShowParamInControls(index, normalized, true);
        plugin->OnParamChanged(index);
    }

    std::size_t Fingerprint(const IBox& box) const {
        std::size_t hash = 0;
        for (int y = box.top; y < box.bottom; ++y)
            for (int x = box.left; x < box.right; ++x)
                hash = hash * 31 + graphics.DrawRaster()->PixelAt(x, y);
        return hash;
    }
};

struct Place {
    const std::type_info& type;
    IBox box;
    int param;
};

} // namespace

TEST(EditorLayout, TwentyThreeControlsInDrawingOrderAtTheirPlaces) {
    auto p = MakeInstance();
    IGraphics& g = EditorOf(*p);
    const Place places[] = {
        {typeid(IBitmapControl), {0, 0, 600, 475}, -1},
        {typeid(ITextControl), {50, 12, 95, 30}, -1},
        {typeid(IURLOpen), {151, 6, 343, 53}, -1},
        {typeid(ITextControl), {200, 58, 400, 76}, -1},
        {typeid(ITextControl), {204, 172, 268, 190}, -1},
        {typeid(IKnobRotVal), {254, 196, 346, 290}, kBinaural},
        {typeid(IKnobRotVal), {133, 123, 197, 189}, kLowFreq},
        {typeid(IKnobRotVal), {403, 123, 467, 189}, kHighFreq},
        {typeid(IKnobRotVal), {87, 239, 135, 289}, kRate},
        {typeid(IKnobRotVal), {513, 239, 561, 289}, kVolume},
        {typeid(ISlider), {29, 135, 45, 193}, kLowLevel},
        {typeid(ISlider), {55, 135, 71, 193}, kMiddleLevel},
        {typeid(ISlider), {81, 135, 97, 193}, kHighLevel},
        {typeid(ISlider), {32, 198, 94, 214}, kSpread},
        {typeid(ISlider), {435, 225, 497, 241}, kBinauralPan},
        {typeid(ISlider), {435, 258, 497, 274}, kTones},
        {typeid(IBitmapControl), {498, 145, 552, 180}, -1},
        {typeid(ISliderImg), {556, 135, 572, 193}, kWave},
        {typeid(IButton), {144, 223, 176, 264}, kPlayAnyway},
        {typeid(GRAPH), {13, 294, 299, 442}, -1},
        {typeid(GRAPH), {303, 294, 589, 442}, -1},
        {typeid(GPHLFO), {274, 92, 320, 138}, -1},
        {typeid(ISwitchLbl), {202, 445, 280, 461}, kFreqGraph},
        {typeid(ITextControl), {204, 190, 268, 206}, -1},
    };
    ASSERT_EQ(g.ControlCount(), 24);
    for (int i = 0; i < g.ControlCount(); ++i) {
        const IControl& control = *g.ControlAtIndex(i);
        EXPECT_EQ(typeid(control), places[i].type) << "control " << i;
        EXPECT_EQ(control.Rect(), places[i].box) << "control " << i;
        EXPECT_EQ(control.ParamIndex(), places[i].param) << "control " << i;
    }
    EXPECT_EQ(g.Width(), 600);
    EXPECT_EQ(g.Height(), 475);
    EXPECT_EQ(g.FrameRate(), 24);
    EXPECT_EQ(g.AlwaysRedrawRect(), (IBox{13, 294, 589, 442}));
    EXPECT_TRUE(g.HandleMouseOver());
    EXPECT_STREQ(dynamic_cast<ITextControl*>(g.ControlAtIndex(1))->Text(), "v1.0 i");
    EXPECT_EQ(dynamic_cast<IURLOpen*>(g.ControlAtIndex(2))->Address(),
              "https://www.tolvane.com/Serivane");
}

TEST(EditorLayout, TheStatusLineAndBandLabelAreTheirTextControls) {
    OpenEditor e;
    const auto& status = *dynamic_cast<ITextControl*>(e.graphics.ControlAtIndex(3));
    const auto& band = *dynamic_cast<ITextControl*>(e.graphics.ControlAtIndex(4));
    const IBox statusBox = status.Rect();
    const std::size_t before = e.Fingerprint(statusBox);
    SetParam(*e.plugin, kBinaural, 13.99);
    EXPECT_STREQ(status.Text(), "Binaural: 13.99Hz");
    EXPECT_STREQ(band.Text(), "ALPHA");
    EXPECT_EQ(e.plugin->StatusText(), "Binaural: 13.99Hz");
    EXPECT_EQ(e.plugin->BandText(), "ALPHA");
    e.graphics.OnTimerTick();
    EXPECT_NE(e.Fingerprint(statusBox), before) << "the new text is painted on the next tick";
    SetParam(*e.plugin, kQvol2, 10);
    EXPECT_STREQ(status.Text(), "");
}

TEST(EditorLayout, TheBeatShowsUnderTheBandNameFollowingTheHostAndTakesNoClicks) {
    OpenEditor e;
    const IControl& beat = *e.graphics.ControlAtIndex(23);
    const std::size_t before = e.Fingerprint(beat.Rect());
    SetParam(*e.plugin, kBinaural, 7.83);
    EXPECT_EQ(e.plugin->BeatText(), "7.83 Hz");
    e.graphics.OnTimerTick();
    EXPECT_NE(e.Fingerprint(beat.Rect()), before);
    SetParam(*e.plugin, kBinaural, 440);
    EXPECT_EQ(e.plugin->BeatText(), "440.00 Hz");
    // Its box reaches into the "Binaural" knob's, which keeps every click there.
    EXPECT_EQ(e.graphics.ControlAt(260, 200), 5);
}

TEST(EditorLayout, TheWaveformPictureShowsTheChosenWave) {
    OpenEditor e;
    const IControl& picture = *e.graphics.ControlAtIndex(16);
    const std::size_t sine = e.Fingerprint(picture.Rect());
    e.SetFromHost(kWave, 1.0);
    EXPECT_DOUBLE_EQ(picture.Value(), 0.0) << "shown on the window thread's next tick";
    e.graphics.OnTimerTick();
    EXPECT_DOUBLE_EQ(picture.Value(), 1.0) << "Gold. Square, the seventh frame";
    EXPECT_NE(e.Fingerprint(picture.Rect()), sine);
    e.SetFromHost(kWave, 0.0);
    e.graphics.OnTimerTick();
    EXPECT_EQ(e.Fingerprint(picture.Rect()), sine);
}

// Every parameter with a standard control: a host change moves the control and repaints it
// with the next tick, and no other bound control.
TEST(EditorLayout, HostChangesMoveTheirControlOnTheNextTick) {
    OpenEditor e;
    for (int param = kBinaural; param <= kFreqGraph; ++param) {
        const IControl* control = nullptr;
        for (int i = 0; i < e.graphics.ControlCount(); ++i)
            if (e.graphics.ControlAtIndex(i)->ParamIndex() == param)
                control = e.graphics.ControlAtIndex(i);
        ASSERT_NE(control, nullptr) << param;
        const double target = control->Value() > 0.5 ? 0.0 : 1.0;
        const std::size_t before = e.Fingerprint(control->Rect());
        e.SetFromHost(param, target);
        e.graphics.OnTimerTick();
        EXPECT_DOUBLE_EQ(control->Value(), target) << param;
        EXPECT_NE(e.Fingerprint(control->Rect()), before) << param;
    }
}

// The envelope parameters have no control of their own: their graph shows them.
TEST(EditorLayout, EnvelopeParametersReshapeTheirGraphOnTheNextTick) {
    OpenEditor e;
    const IBox freq = e.graphics.ControlAtIndex(19)->Rect();
    const IBox volume = e.graphics.ControlAtIndex(20)->Rect();
    for (int param = kQfreq; param <= kXvol3; ++param) {
        const IBox& box = param == kQfreq ? freq : volume;
        const IBox& other = param == kQfreq ? volume : freq;
        // Nothing renders between these ticks, so the tone dots stay where they are.
        e.graphics.OnTimerTick();
        const std::size_t before = e.Fingerprint(box);
        const std::size_t otherBefore = e.Fingerprint(other);
        e.SetFromHost(param, e.plugin->ParamAt(param)->NormalizedValue() > 0.5 ? 0.1 : 0.9);
        e.graphics.OnTimerTick();
        EXPECT_NE(e.Fingerprint(box), before) << param;
        EXPECT_EQ(e.Fingerprint(other), otherBefore) << param;
    }
}

TEST(EditorLayout, ReplacingTheEditorLeavesTheInstrumentWritingNowhere) {
    OpenEditor e;
    e.plugin->AttachEditor(std::make_unique<IGraphics>(*e.plugin, 10, 10));
    SetParam(*e.plugin, kBinaural, 20);
    SetParam(*e.plugin, kWave, 3);
    EXPECT_EQ(e.plugin->StatusText(), "");
    EXPECT_EQ(e.plugin->BandText(), "");
    EXPECT_EQ(e.plugin->BeatText(), "");
}

// At a scale the editor keeps its layout and draws every picture from the denser set: the
// background at 2x is the 2x picture pixel for pixel, not the 1x one enlarged.
TEST(EditorLayout, AtAScaleTheEditorDrawsItsDensePictures) {
    EXPECT_EQ(IGraphics::SupportedScale(1.3), 1.25);
    EXPECT_EQ(IGraphics::SupportedScale(2.2), 2.0);
    EXPECT_EQ(IGraphics::SupportedScale(9.0), 3.0);
    EXPECT_EQ(IGraphics::SupportedScale(0.0), 1.0);
    EXPECT_EQ(IGraphics::SupportedScale(std::nan("")), 1.0);

    OpenEditor e;
    EXPECT_TRUE(e.graphics.SetScale(1.5));
    EXPECT_EQ(e.graphics.DrawRaster()->Width(), 900);
    EXPECT_EQ(e.graphics.DrawRaster()->Height(), 713);
    EXPECT_TRUE(e.graphics.SetScale(2.0));
    EXPECT_FALSE(e.graphics.SetScale(2.1));
    e.graphics.OnTimerTick();
    EXPECT_EQ(e.graphics.Width(), 600);
    EXPECT_EQ(e.graphics.DrawRaster()->Width(), 1200);
    EXPECT_EQ(e.graphics.DrawRaster()->Height(), 950);

    const std::unique_ptr<raster::Raster> dense = LoadResourceBitmap(ScaledResourceId(100, 2));
    ASSERT_TRUE(dense);
    // The title, which no control covers.
    int differing = 0;
    for (int y = 2 * 8; y < 2 * 50; ++y)
        for (int x = 2 * 160; x < 2 * 340; ++x)
            differing += e.graphics.DrawRaster()->PixelAt(x, y) != dense->PixelAt(x, y);
    EXPECT_EQ(differing, 0);
}
