#include "gui/x11/OverlayPainter.h"
#include "gui/IFontCache.h"
#include "gui/x11/MessageBox.h"
#include "gui/x11/ValueEntryBox.h"

#include "raster/Font.h"
#include "raster/Raster.h"
#include "raster/Shapes.h"

#include <algorithm>

namespace {

constexpr int kTooltipPadding = 4;
constexpr int kTooltipOffset = 18;

constexpr raster::Argb kWhite = 0xFFFFFFFF;
constexpr raster::Argb kBlack = 0xFF000000;
constexpr raster::Argb kSelection = 0xFF3366CC;
constexpr raster::Argb kBorder = 0xFF4D4D4D;
constexpr raster::Argb kChoiceRow = 0xFFE6E6E6;
constexpr raster::Argb kTooltip = 0xFFFFFFE0;
constexpr raster::Argb kPanel = 0xFFF0F0F0;
constexpr raster::Argb kButton = 0xFFD9D9D9;

// The face of tooltips and message boxes.
ITextStyle SystemStyle(bool bold = false) {
    ITextStyle style;
    style.size = 14;
    style.style = bold ? kTextBold : 0;
    return style;
}

raster::Font* FontOf(const ITextStyle& style) {
    ITextStyle copy = style;
    copy.font = nullptr;
    return IFontCache::Instance().FontFor(copy);
}

raster::Rect RectOf(const IBox& box) {
    return {box.left, box.top, box.right, box.bottom};
}

} // namespace

void OverlayPainter::Fill(const IBox& rect, raster::Argb colour) {
    raster::FillRect(target_, RectOf(rect), colour);
}

void OverlayPainter::Frame(const IBox& r, raster::Argb colour) {
    Fill({r.left, r.top, r.right, r.top + 1}, colour);
    Fill({r.left, r.bottom - 1, r.right, r.bottom}, colour);
    Fill({r.left, r.top, r.left + 1, r.bottom}, colour);
    Fill({r.right - 1, r.top, r.right, r.bottom}, colour);
}

int OverlayPainter::Text(const ITextStyle& style, const std::string& text, const IBox& rect,
                         raster::Argb colour) {
    raster::Font* font = FontOf(style);
    if (!font) return rect.left;
    raster::TextSize size = font->Measure(text);
    int left = rect.left + 2;
    if (style.align == ITextAlign::Centre) left = (rect.left + rect.right - size.width) / 2;
    if (style.align == ITextAlign::Right) left = rect.right - 2 - size.width;
    int top = (rect.top + rect.bottom - size.height) / 2;
    raster::TextOptions options;
    options.clip = true;
    font->Draw(target_, text, {left, top, std::max(left, rect.right), top + size.height}, colour,
               options);
    return left;
}

void OverlayPainter::PaintEntryBox(const ValueEntryBox& box) {
    if (box.GetKind() == ValueEntryBox::Kind::Edit)
        PaintEditBox(box);
    else
        PaintDropDown(box);
}

void OverlayPainter::PaintEditBox(const ValueEntryBox& box) {
    const IBox& r = box.Rect();
    Fill(r, kWhite);
    std::string shown = box.ShownText();
    raster::Font* font = FontOf(box.Style());
    int width = font ? font->Measure(shown).width : 0;
    IBox inner{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
    if (box.AllSelected()) {
        int left = box.Style().align == ITextAlign::Left    ? r.left + 1
                   : box.Style().align == ITextAlign::Right ? r.right - 3 - width
                                                            : (r.left + r.right - width) / 2 - 1;
        Fill({std::max(inner.left, left), inner.top, std::min(inner.right, left + width + 2),
              inner.bottom},
             kSelection);
        Text(box.Style(), shown, r, kWhite);
    } else {
        int start = Text(box.Style(), shown, r, kBlack);
        int head = font ? font->Measure(shown.substr(0, box.Caret())).width : 0;
        int x = std::clamp(start + head, inner.left, inner.right - 1);
        Fill({x, r.top + 2, x + 1, r.bottom - 2}, kBlack);
    }
    Frame(r, kBorder);
}

void OverlayPainter::PaintDropDown(const ValueEntryBox& box) {
    IBox drawn = box.DrawnRect();
    Fill(drawn, kWhite);
    IBox row = box.ChoiceRowRect();
    Fill(row, kChoiceRow);
    std::string current =
        box.Selected() >= 0 ? box.Items()[static_cast<std::size_t>(box.Selected())] : std::string();
    ITextStyle style = box.Style();
    style.align = ITextAlign::Left;
    Text(style, current, {row.left + 2, row.top, row.right - 16, row.bottom}, kBlack);
    // The drop arrow: rows of a small triangle pointing down.
    int ax = row.right - 9, ay = (row.top + row.bottom) / 2 - 2;
    for (int i = 0; i < 4; ++i) Fill({ax - 4 + i, ay + i, ax + 5 - i, ay + i + 1}, kBorder);
    for (int i = 0; i < static_cast<int>(box.Items().size()); ++i) {
        IBox item = box.ItemRect(i);
        if (item.bottom > drawn.bottom) break;
        bool lit = i == box.Highlighted();
        if (lit) Fill(item, kSelection);
        Text(style, box.Items()[static_cast<std::size_t>(i)], item, lit ? kWhite : kBlack);
    }
    Frame(drawn, kBorder);
}

void OverlayPainter::PaintTooltip(const IBox& rect, const char* text) {
    Fill(rect, kTooltip);
    Frame(rect, kBorder);
    Text(SystemStyle(), text, {rect.left + kTooltipPadding - 2, rect.top, rect.right, rect.bottom},
         kBlack);
}

void OverlayPainter::PaintMessage(const MessageBox& message) {
    const IBox& r = message.Rect();
    Fill(r, kPanel);
    Frame(r, kBorder);
    int top = r.top + MessageBox::kPadding;
    IBox line{r.left + MessageBox::kPadding, top, r.right - MessageBox::kPadding,
              top + MessageBox::kLineHeight};
    if (!message.Title().empty()) {
        Text(SystemStyle(true), message.Title(), line, kBlack);
        line.top += MessageBox::kLineHeight;
        line.bottom += MessageBox::kLineHeight;
    }
    Text(SystemStyle(), message.Text(), line, kBlack);
    bool question = message.GetButtons() == MessageBox::Buttons::YesNo;
    ITextStyle label = SystemStyle();
    label.align = ITextAlign::Centre;
    for (int i = 0; i < (question ? 2 : 1); ++i) {
        IBox b = message.ButtonRect(i);
        Fill(b, kButton);
        Frame(b, kBorder);
        Text(label, question ? (i == 0 ? "Yes" : "No") : "OK", b, kBlack);
    }
}

int OverlayPainter::TextWidth(const char* text) {
    raster::Font* font = FontOf(SystemStyle(true));
    return font ? font->Measure(text).width : 0;
}

IBox OverlayPainter::TooltipRect(const char* text, int x, int y, int windowWidth,
                                 int windowHeight) {
    int width = TextWidth(text) + 2 * kTooltipPadding;
    int height = MessageBox::kLineHeight + kTooltipPadding;
    int left = std::clamp(x, 0, std::max(0, windowWidth - width));
    int top = y + kTooltipOffset;
    if (top + height > windowHeight) top = std::max(0, y - height - 4);
    return {left, top, left + width, top + height};
}
