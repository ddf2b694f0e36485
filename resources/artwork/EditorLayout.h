#pragma once

// Where the editor places its controls, in editor pixels: the artwork draws around them.
namespace artwork::layout {

struct Box {
    int left;
    int top;
    int right;
    int bottom;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    double CentreX() const { return (left + right) * 0.5; }
    double CentreY() const { return (top + bottom) * 0.5; }
};

struct KnobPlace {
    int x;
    int y;
    int size; // width and height of one half of the split knob picture
};

inline constexpr int kWidth = 600;
inline constexpr int kHeight = 475;

inline constexpr Box kVersion{50, 12, 95, 30};
inline constexpr Box kTitle{151, 6, 343, 53};
inline constexpr Box kStatus{200, 58, 400, 76};
inline constexpr Box kBand{204, 172, 268, 190};
inline constexpr Box kBeat{204, 190, 268, 206};
inline constexpr Box kSweep{274, 92, 320, 138};

inline constexpr KnobPlace kBinaural{300, 242, 92};
inline constexpr KnobPlace kLowFreq{165, 155, 64};
inline constexpr KnobPlace kHighFreq{435, 155, 64};
inline constexpr KnobPlace kRate{111, 263, 48};
inline constexpr KnobPlace kVolume{537, 263, 48};

// Slider boxes; handles are 16 x 16 and tracks 58 (vertical) or 62 (horizontal) pixels long.
inline constexpr int kHandle = 16;
inline constexpr Box kLowSlider{29, 135, 45, 193};
inline constexpr Box kMidSlider{55, 135, 71, 193};
inline constexpr Box kHighSlider{81, 135, 97, 193};
inline constexpr Box kWaveSlider{556, 135, 572, 193};
inline constexpr Box kSpreadSlider{32, 198, 94, 214};
inline constexpr Box kPanSlider{435, 225, 497, 241};
inline constexpr Box kTonesSlider{435, 258, 497, 274};

inline constexpr Box kWavePicture{498, 145, 552, 180};
inline constexpr Box kPlayButton{144, 223, 176, 264};
inline constexpr Box kGraphSwitch{202, 445, 280, 461};
inline constexpr int kSwitchWidth = 57;
inline constexpr int kSwitchHeight = 16;

inline constexpr Box kFreqGraph{13, 294, 299, 442};
inline constexpr Box kVolumeGraph{303, 294, 589, 442};

// The curve's area inside a graph box.
constexpr Box PlotOf(const Box& graph) {
    return {graph.left + 6, graph.top + 7, graph.right - 36, graph.bottom - 7};
}

// Preset button b of a graph, where its hover mark lands: 27 x 27 at the right edge, 30 apart.
inline constexpr int kPresetSize = 27;
constexpr Box PresetFaceOf(const Box& graph, int b) {
    return {graph.right - kPresetSize, graph.top + 30 * b, graph.right,
            graph.top + 30 * b + kPresetSize};
}

} // namespace artwork::layout
