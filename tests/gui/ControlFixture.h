#pragma once

#include "raster/Raster.h"
#include "raster/Shapes.h"
#include "tests/gui/GuiFakes.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <utility>
#include <vector>

// An editor of the layout's size with hover handling on, a fake window and bitmaps made in
// memory, for driving the standard controls through the graphics context.
struct ControlFixture : ::testing::Test {
    static constexpr raster::Argb kWhite = raster::PackArgb(255, 255, 255, 255);

    GuiTestEffect plug;
    FakeWindow window;
    IGraphics graphics{plug, 600, 475};
    std::vector<std::unique_ptr<raster::Raster>> rasters;

    void SetUp() override {
        graphics.PrepareDraw();
        graphics.AttachWindow(window);
        graphics.SetHandleMouseOver(true);
    }

    // A strip of frames stacked downwards, frame i filled with colours[i] (the last colour
    // for the rest).
    IBitmapRef Bitmap(int width, int height, int frames = 1,
                      std::initializer_list<raster::Argb> colours = {kWhite}) {
        auto made = std::make_unique<raster::Raster>(width, height);
        const raster::Argb* colour = colours.begin();
        for (int i = 0; i < frames; ++i) {
            const raster::Rect band{0, height * i / frames, width, height * (i + 1) / frames};
            raster::FillRect(*made, band, *colour, {raster::BlendMode::Copy, 1.0f});
            if (colour + 1 != colours.end()) ++colour;
        }
        rasters.push_back(std::move(made));
        return {rasters.back().get(), width, height, frames, 0};
    }

    template <class Control, class... Args> Control& Add(Args&&... args) {
        auto control = std::make_unique<Control>(plug, std::forward<Args>(args)...);
        Control& added = *control;
        graphics.AddControl(std::move(control));
        return added;
    }

    // Clears the raster and paints every control.
    void Paint() {
        graphics.DrawRaster()->Clear(0);
        graphics.DrawDirty({0, 0, 600, 475});
    }
    uint32_t Pixel(int x, int y) const { return graphics.DrawRaster()->PixelAt(x, y); }
    static int Alpha(uint32_t pixel) { return static_cast<int>(pixel >> 24); }

    void Click(int x, int y, IMouseState mods = {.left = true}) {
        graphics.DispatchMouseDown(x, y, mods);
        graphics.DispatchMouseUp(x, y, {});
    }
    double Normalized(int paramIndex) const { return plug.ParamAt(paramIndex)->NormalizedValue(); }
};

// The pixels of box in the graphics context's raster, row by row.
inline std::vector<uint32_t> PixelsIn(const IGraphics& graphics, const IBox& box) {
    std::vector<uint32_t> pixels;
    for (int y = box.top; y < box.bottom; ++y)
        for (int x = box.left; x < box.right; ++x)
            pixels.push_back(graphics.DrawRaster()->PixelAt(x, y));
    return pixels;
}

// A label style of the given size; the controls centre it themselves.
inline ITextStyle LabelStyle(int size) {
    return ITextStyle("Arial", size, {255, 255, 255, 255});
}
