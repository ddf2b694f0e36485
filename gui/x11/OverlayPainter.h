#pragma once

#include "gui/GuiTypes.h"
#include "gui/ITextStyle.h"
#include "raster/Types.h"

#include <string>

class MessageBox;
class ValueEntryBox;
namespace raster {
class Raster;
}

// Draws what the window shows over the editor's raster, the boxes a native platform would
// provide: the value box, the tooltip and the message box. It draws through the drawing layer
// with the fonts of the process-wide font cache.
class OverlayPainter {
public:
    explicit OverlayPainter(raster::Raster& target) : target_(target) {}

    void PaintEntryBox(const ValueEntryBox& box);
    void PaintTooltip(const IBox& rect, const char* text);
    void PaintMessage(const MessageBox& message);

    // The drawn width of text in the tooltip and message face.
    static int TextWidth(const char* text);
    // The tooltip box for text with the pointer at (x, y), kept inside the window.
    static IBox TooltipRect(const char* text, int x, int y, int windowWidth, int windowHeight);

private:
    void PaintEditBox(const ValueEntryBox& box);
    void PaintDropDown(const ValueEntryBox& box);
    void Fill(const IBox& rect, raster::Argb colour);
    void Frame(const IBox& rect, raster::Argb colour);
    // One line centred vertically in rect; answers the x where the text starts.
    int Text(const ITextStyle& style, const std::string& text, const IBox& rect,
             raster::Argb colour);

    raster::Raster& target_;
};
