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
Picture Draw(std::string file, int width, int height, DrawFunction draw, int scale = 1) {
    Picture picture{std::move(file), std::make_unique<Canvas>(width, height, scale)};
    draw(*picture.canvas);
    return picture;
}

Picture Knob(const std::string& folder, const char* name, int size, int scale) {
    return Draw(
        folder + name, 2 * size, size, [size](Canvas& canvas) { DrawKnobStrip(canvas, size); },
        scale);
}

// Resources 100 to 109 at the scale, their files in the folder.
void DrawBitmaps(std::vector<Picture>& pictures, const std::string& folder, int scale) {
    pictures.push_back(
        Draw(folder + "bg.png", layout::kWidth, layout::kHeight, DrawBackground, scale));
    pictures.push_back(Draw(
        folder + "but_play.png", 32, 41,
        [](Canvas& canvas) { DrawPlayButton(canvas.Context(), 0, 0, ButtonLight::On); }, scale));
    pictures.push_back(Draw(folder + "gph_show.png", layout::kSwitchWidth,
                            2 * layout::kSwitchHeight, DrawGraphSwitch, scale));
    pictures.push_back(Knob(folder, "knob.png", layout::kBinaural.size, scale));
    pictures.push_back(Knob(folder, "knob2.png", layout::kLowFreq.size, scale));
    pictures.push_back(Knob(folder, "knob3.png", layout::kRate.size, scale));
    pictures.push_back(Draw(folder + "preset.png", layout::kPresetSize, layout::kPresetSize,
                            DrawPresetHover, scale));
    pictures.push_back(Draw(
        folder + "slider.png", layout::kHandle, layout::kHandle,
        [](Canvas& c) { DrawSliderHandle(c, HandleAxis::Horizontal); }, scale));
    pictures.push_back(Draw(
        folder + "slider_vert.png", layout::kHandle, layout::kHandle,
        [](Canvas& c) { DrawSliderHandle(c, HandleAxis::Vertical); }, scale));
    pictures.push_back(Draw(folder + "waves.png", kWaveFrameWidth, kWaveCount * kWaveFrameHeight,
                            DrawWaveStrip, scale));
}

} // namespace

std::vector<Picture> DrawAllPictures() {
    std::vector<Picture> pictures;
    DrawBitmaps(pictures, "img/", 1);
    pictures.push_back(Draw("cursors/ascend.png", kCursorSize, kCursorSize,
                            [](Canvas& c) { DrawSweepCursor(c, SweepDirection::Ascend); }));
    pictures.push_back(Draw("cursors/descend.png", kCursorSize, kCursorSize,
                            [](Canvas& c) { DrawSweepCursor(c, SweepDirection::Descend); }));
    return pictures;
}

std::vector<Picture> DrawDensePictures(int scale) {
    std::vector<Picture> pictures;
    DrawBitmaps(pictures, "img@" + std::to_string(scale) + "x/", scale);
    return pictures;
}

const Canvas* FindPicture(const std::vector<Picture>& pictures, const std::string& file) {
    for (const Picture& p : pictures) {
        if (p.file == file) return p.canvas.get();
    }
    return nullptr;
}

} // namespace artwork
