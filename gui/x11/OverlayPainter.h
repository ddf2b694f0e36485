#pragma once

#include "gui/GuiTypes.h"
#include "gui/ITextStyle.h"

#include <cstdint>
#include <string>

class MessageBox;
class ValueEntryBox;
typedef struct _cairo cairo_t;

// Draws what the window shows over the editor's raster, the boxes a native platform would
// provide: the value box, the tooltip and the message box. Each draws into a 0xAARRGGBB buffer
// of the window's size, clipped to the rectangle being presented.
class OverlayPainter {
public:
    OverlayPainter(std::uint32_t* pixels, int width, int height, int strideBytes, const IBox& clip);
    ~OverlayPainter();
    OverlayPainter(const OverlayPainter&) = delete;
    OverlayPainter& operator=(const OverlayPainter&) = delete;

    void PaintEntryBox(const ValueEntryBox& box);
    void PaintTooltip(const IBox& rect, const char* text);
    void PaintMessage(const MessageBox& message);

    // The drawn width of text in the tooltip and message face.
    static int TextWidth(const char* text);
    // The tooltip box for text with the pointer at (x, y), kept inside the window.
    static IBox TooltipRect(const char* text, int x, int y, int windowWidth, int windowHeight);

private:
    void SelectFont(const ITextStyle& style);
    void Text(const std::string& text, const IBox& rect, ITextAlign align, double r, double g,
              double b);

    struct _cairo_surface* surface_;
    cairo_t* cr_;
};
