#include "instrument/EditorLayout.h"

#include "engine/ParamIds.h"
#include "gui/IBitmapControl.h"
#include "gui/IButton.h"
#include "gui/IGraphics.h"
#include "gui/IKnobRotVal.h"
#include "gui/ISlider.h"
#include "gui/ISwitchLbl.h"
#include "gui/ITextControl.h"
#include "gui/IURLOpen.h"
#include "gui/PromptPopup.h"
#include "instrument/CLS_SERIVANE.h"
#include "instrument/GPHLFO.h"
#include "instrument/GRAPH.h"

namespace {

enum Picture : int {
    kBackground = 100,
    kPlayButton = 101,
    kGraphSwitch = 102,
    kBigKnob = 103,
    kMidKnob = 104,
    kSmallKnob = 105,
    kHorizontalHandle = 107,
    kVerticalHandle = 108,
    kWaves = 109,
};

constexpr IArgb kBarColour{255, 66, 110, 170};
constexpr int kVerticalTrack = 58;
constexpr int kHorizontalTrack = 62;
constexpr float kSliderHover = 0.2f;
constexpr IBox kSweepBox{274, 92, 320, 138};
// Under the band label, right-aligned with it; it reaches into the empty corner of the
// "Binaural" knob's box, where it takes no clicks.
constexpr IBox kBeatBox{204, 190, 268, 206};

const ITextStyle& VersionStyle() {
    static const ITextStyle style("Verdana", 13, {100, 255, 255, 255}, 0, ITextAlign::Left);
    return style;
}

const ITextStyle& StatusStyle() {
    static const ITextStyle style("Arial", 14, {160, 255, 255, 255}, 0, ITextAlign::Centre);
    return style;
}

const ITextStyle& BandStyle() {
    static const ITextStyle style("Arial", 15, {200, 255, 255, 255}, 0, ITextAlign::Right);
    return style;
}

const ITextStyle& BeatStyle() {
    static const ITextStyle style("Arial", 13, {230, 200, 228, 255}, 0, ITextAlign::Right);
    return style;
}

// Of no size: the knobs, sliders and the switch draw no value label and keep no room for one.
const ITextStyle& ControlStyle() {
    static const ITextStyle style("Arial", 0, {255, 0, 0, 0}, 0, ITextAlign::Centre);
    return style;
}

// A split knob picture: the fixed right half, carrying the cache id of the turning left half.
IBitmapRef KnobPicture(IGraphics& graphics, int resource, const char* name) {
    IBitmapRef picture = graphics.LoadBitmap(resource, name);
    graphics.SplitBitmap(picture, 0.5);
    return picture;
}

class Builder {
public:
    explicit Builder(CLS_SERIVANE& instrument)
        : instrument_(instrument),
          graphics_(std::make_unique<IGraphics>(instrument, SerivaneEditor::kWidth,
                                                SerivaneEditor::kHeight, 0)) {}

    SerivaneEditor Build() {
        SerivaneEditor editor;
        graphics_->AddBackground(kBackground, "img/bg.png");
        Text({50, 12, 95, 30}, VersionStyle(), EditorVersionText(instrument_).c_str());
        Add(std::make_unique<IURLOpen>(instrument_, IBox{151, 6, 343, 53}, SerivaneEditor::kSite));
        editor.statusLine = Text({200, 58, 400, 76}, StatusStyle(), "");
        editor.bandLabel = Text({204, 172, 268, 190}, BandStyle(), "");
        Knobs();
        Sliders();
        editor.wavePicture = Add(std::make_unique<IBitmapControl>(
            instrument_, 498, 145, graphics_->LoadBitmap(kWaves, "img/waves.png", 7),
            IBlendMode::Alpha, IBitmapLayout::Stacked));
        Add(std::make_unique<ISliderImg>(instrument_, kWave, IBox{556, 135, 572, 193},
                                         VerticalHandle(), ControlStyle(), kVerticalTrack,
                                         IAxis::Vertical, kSliderHover));
        Add(std::make_unique<IButton>(instrument_, kPlayAnyway, 144, 223,
                                      graphics_->LoadBitmap(kPlayButton, "img/but_play.png"),
                                      0.1f));
        Add(std::make_unique<GRAPH>(instrument_, EnvelopeKind::Frequency));
        Add(std::make_unique<GRAPH>(instrument_, EnvelopeKind::Volume));
        Add(std::make_unique<GPHLFO>(instrument_, kSweepBox));
        Add(std::make_unique<ISwitchLbl>(instrument_, kFreqGraph, 202, 445,
                                         graphics_->LoadBitmap(kGraphSwitch, "img/gph_show.png", 2),
                                         ControlStyle(), 0, 78, IBitmapLayout::Stacked,
                                         kSliderHover));
        editor.beatLabel = Text(kBeatBox, BeatStyle(), "");
        editor.beatLabel->SetTargetRect({});
        graphics_->SetAlwaysRedrawRect(SerivaneEditor::kGraphsBox);
        UsePromptPopup(*graphics_);
        editor.graphics = std::move(graphics_);
        return editor;
    }

private:
    int Add(std::unique_ptr<IControl> control) { return graphics_->AddControl(std::move(control)); }

    ITextControl* Text(const IBox& box, const ITextStyle& style, const char* text) {
        auto control = std::make_unique<ITextControl>(instrument_, box, style, text);
        ITextControl* added = control.get();
        Add(std::move(control));
        return added;
    }

    void Knobs() {
        IKnobRotValSettings settings;
        settings.labelGap = 2;
        settings.sweepDegrees = 300;
        settings.gearing = 4.0;
        settings.width = 0;
        settings.drag = IAxis::Vertical;
        settings.hoverAmount = 0.1f;
        settings.showUnit = true;
        settings.stepCount = 0;
        Knob(kBinaural, 300, 242, KnobPicture(*graphics_, kBigKnob, "img/knob.png"), settings);
        settings.hoverAmount = 0.15f;
        const IBitmapRef mid = KnobPicture(*graphics_, kMidKnob, "img/knob2.png");
        Knob(kLowFreq, 165, 155, mid, settings);
        Knob(kHighFreq, 435, 155, mid, settings);
        const IBitmapRef small = KnobPicture(*graphics_, kSmallKnob, "img/knob3.png");
        Knob(kRate, 111, 263, small, settings);
        Knob(kVolume, 537, 263, small, settings);
    }

    void Knob(int param, int x, int y, const IBitmapRef& picture,
              const IKnobRotValSettings& settings) {
        Add(std::make_unique<IKnobRotVal>(instrument_, param, x, y, picture, ControlStyle(),
                                          settings));
    }

    void Sliders() {
        const ISliderBar level{kBarColour, 2, 1, true};
        for (const auto& [param, box] : {std::pair{kLowLevel, IBox{29, 135, 45, 193}},
                                         std::pair{kMiddleLevel, IBox{55, 135, 71, 193}},
                                         std::pair{kHighLevel, IBox{81, 135, 97, 193}}})
            Add(std::make_unique<ISlider>(instrument_, param, box, VerticalHandle(), ControlStyle(),
                                          level, kVerticalTrack, IAxis::Vertical, kSliderHover));
        const ISliderBar amount{kBarColour, 0, 1, false};
        const IBitmapRef handle = graphics_->LoadBitmap(kHorizontalHandle, "img/slider.png");
        for (const auto& [param, box] : {std::pair{kSpread, IBox{32, 198, 94, 214}},
                                         std::pair{kBinauralPan, IBox{435, 225, 497, 241}},
                                         std::pair{kTones, IBox{435, 258, 497, 274}}})
            Add(std::make_unique<ISlider>(instrument_, param, box, handle, ControlStyle(), amount,
                                          kHorizontalTrack, IAxis::Horizontal, kSliderHover));
    }

    IBitmapRef VerticalHandle() {
        return graphics_->LoadBitmap(kVerticalHandle, "img/slider_vert.png");
    }

    CLS_SERIVANE& instrument_;
    std::unique_ptr<IGraphics> graphics_;
};

} // namespace

SerivaneEditor BuildSerivaneEditor(CLS_SERIVANE& instrument) {
    return Builder(instrument).Build();
}

std::string EditorVersionText(const CLS_SERIVANE& instrument) {
    std::string text = instrument.GetEffectVersionText();
    if (!text.empty()) text.pop_back();
    if (instrument.InputChannelCount() != 2) text += " i";
    return text;
}
