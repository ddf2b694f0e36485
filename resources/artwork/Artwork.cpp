#include "resources/artwork/Artwork.h"

#include "resources/CursorHotspots.h"
#include "resources/artwork/Background.h"
#include "resources/artwork/Cursors.h"
#include "resources/artwork/EditorLayout.h"
#include "resources/artwork/Knobs.h"
#include "resources/artwork/SmallControls.h"
#include "resources/artwork/Waves.h"

namespace artwork {
namespace {

template <class DrawFunction>
Picture Draw(std::string file, int width, int height, DrawFunction draw) {
    Picture picture{std::move(file), std::make_unique<Canvas>(width, height)};
    draw(*picture.canvas);
    return picture;
}

Picture Knob(std::string file, int size) {
    return Draw(std::move(file), 2 * size, size,
                [size](Canvas& canvas) { DrawKnobStrip(canvas, size); });
}

} // namespace

std::vector<Picture> DrawAllPictures() {
    std::vector<Picture> pictures;
    pictures.push_back(Draw("img/bg.png", layout::kWidth, layout::kHeight, DrawBackground));
    pictures.push_back(Draw("img/but_play.png", 32, 41, [](Canvas& canvas) {
        DrawPlayButton(canvas.Context(), 0, 0, ButtonLight::On);
    }));
    pictures.push_back(
        Draw("img/gph_show.png", layout::kSwitchWidth, 2 * layout::kSwitchHeight, DrawGraphSwitch));
    pictures.push_back(Knob("img/knob.png", layout::kBinaural.size));
    pictures.push_back(Knob("img/knob2.png", layout::kLowFreq.size));
    pictures.push_back(Knob("img/knob3.png", layout::kRate.size));
    pictures.push_back(
        Draw("img/preset.png", layout::kPresetSize, layout::kPresetSize, DrawPresetHover));
    pictures.push_back(Draw("img/slider.png", layout::kHandle, layout::kHandle,
                            [](Canvas& c) { DrawSliderHandle(c, HandleAxis::Horizontal); }));
    pictures.push_back(Draw("img/slider_vert.png", layout::kHandle, layout::kHandle,
                            [](Canvas& c) { DrawSliderHandle(c, HandleAxis::Vertical); }));
    pictures.push_back(
        Draw("img/waves.png", kWaveFrameWidth, kWaveCount * kWaveFrameHeight, DrawWaveStrip));
    pictures.push_back(Draw("cursors/ascend.png", kCursorSize, kCursorSize,
                            [](Canvas& c) { DrawSweepCursor(c, SweepDirection::Ascend); }));
    pictures.push_back(Draw("cursors/descend.png", kCursorSize, kCursorSize,
                            [](Canvas& c) { DrawSweepCursor(c, SweepDirection::Descend); }));
    return pictures;
}

const Canvas* FindPicture(const std::vector<Picture>& pictures, const std::string& file) {
    for (const Picture& p : pictures) {
        if (p.file == file) return p.canvas.get();
    }
    return nullptr;
}

} // namespace artwork
