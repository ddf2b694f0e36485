#include "gui/x11/OverlayPainter.h"
#include "gui/x11/MessageBox.h"
#include "gui/x11/ValueEntryBox.h"

#include <algorithm>
#include <cairo.h>
#include <cmath>

namespace {

constexpr int kTooltipPadding = 4;
constexpr int kTooltipOffset = 18;

// The face of tooltips and message boxes.
ITextStyle SystemStyle() {
    ITextStyle style;
    style.size = 13;
    return style;
}

void Rectangle(cairo_t* cr, const IBox& r) {
    cairo_rectangle(cr, r.left, r.top, r.W(), r.H());
}

void Frame(cairo_t* cr, const IBox& r) {
    cairo_rectangle(cr, r.left + 0.5, r.top + 0.5, r.W() - 1, r.H() - 1);
    cairo_set_line_width(cr, 1.0);
    cairo_stroke(cr);
}

} // namespace

OverlayPainter::OverlayPainter(std::uint32_t* pixels, int width, int height, int strideBytes,
                               const IBox& clip)
    : surface_(cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(pixels),
                                                   CAIRO_FORMAT_ARGB32, width, height,
                                                   strideBytes)),
      cr_(cairo_create(surface_)) {
    Rectangle(cr_, clip);
    cairo_clip(cr_);
}

OverlayPainter::~OverlayPainter() {
    cairo_destroy(cr_);
    cairo_surface_flush(surface_);
    cairo_surface_destroy(surface_);
}

void OverlayPainter::SelectFont(const ITextStyle& style) {
    cairo_select_font_face(
        cr_, style.face.c_str(),
        (style.style & kTextItalic) ? CAIRO_FONT_SLANT_ITALIC : CAIRO_FONT_SLANT_NORMAL,
        (style.style & kTextBold) ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr_, std::max(1, style.size));
}

void OverlayPainter::Text(const std::string& text, const IBox& rect, ITextAlign align, double r,
                          double g, double b) {
    cairo_font_extents_t font;
    cairo_font_extents(cr_, &font);
    cairo_text_extents_t extents;
    cairo_text_extents(cr_, text.c_str(), &extents);
    double x = rect.left + 2;
    if (align == ITextAlign::Centre) x = (rect.left + rect.right - extents.x_advance) / 2.0;
    if (align == ITextAlign::Right) x = rect.right - 2 - extents.x_advance;
    double y = (rect.top + rect.bottom) / 2.0 + (font.ascent - font.descent) / 2.0;
    cairo_save(cr_);
    Rectangle(cr_, rect);
    cairo_clip(cr_);
    cairo_set_source_rgb(cr_, r, g, b);
    cairo_move_to(cr_, x, y);
    cairo_show_text(cr_, text.c_str());
    cairo_restore(cr_);
}

void OverlayPainter::PaintEntryBox(const ValueEntryBox& box) {
    SelectFont(box.Style());
    if (box.GetKind() == ValueEntryBox::Kind::Edit) {
        const IBox& r = box.Rect();
        cairo_set_source_rgb(cr_, 1, 1, 1);
        Rectangle(cr_, r);
        cairo_fill(cr_);
        std::string shown = box.ShownText();
        if (box.AllSelected()) {
            cairo_text_extents_t extents;
            cairo_text_extents(cr_, shown.c_str(), &extents);
            double width = std::min<double>(extents.x_advance + 2, r.W() - 2);
            double left = box.Style().align == ITextAlign::Left    ? r.left + 1
                          : box.Style().align == ITextAlign::Right ? r.right - 1 - width
                                                                   : (r.left + r.right - width) / 2;
            cairo_set_source_rgb(cr_, 0.2, 0.4, 0.8);
            cairo_rectangle(cr_, left, r.top + 1, width, r.H() - 2);
            cairo_fill(cr_);
            Text(shown, r, box.Style().align, 1, 1, 1);
        } else {
            Text(shown, r, box.Style().align, 0, 0, 0);
            // The caret after the text up to it.
            cairo_text_extents_t all, head;
            cairo_text_extents(cr_, shown.c_str(), &all);
            cairo_text_extents(cr_, shown.substr(0, box.Caret()).c_str(), &head);
            double start = r.left + 2;
            if (box.Style().align == ITextAlign::Centre)
                start = (r.left + r.right - all.x_advance) / 2.0;
            if (box.Style().align == ITextAlign::Right) start = r.right - 2 - all.x_advance;
            double x = std::floor(start + head.x_advance) + 0.5;
            cairo_set_source_rgb(cr_, 0, 0, 0);
            cairo_move_to(cr_, x, r.top + 2);
            cairo_line_to(cr_, x, r.bottom - 2);
            cairo_set_line_width(cr_, 1.0);
            cairo_stroke(cr_);
        }
        cairo_set_source_rgb(cr_, 0.3, 0.3, 0.3);
        Frame(cr_, r);
        return;
    }
    IBox drawn = box.DrawnRect();
    cairo_set_source_rgb(cr_, 1, 1, 1);
    Rectangle(cr_, drawn);
    cairo_fill(cr_);
    IBox row = box.ChoiceRowRect();
    cairo_set_source_rgb(cr_, 0.9, 0.9, 0.9);
    Rectangle(cr_, row);
    cairo_fill(cr_);
    std::string current = box.Selected() >= 0 ? box.Items()[box.Selected()] : std::string();
    Text(current, {row.left + 2, row.top, row.right - 16, row.bottom}, ITextAlign::Left, 0, 0, 0);
    // The drop arrow.
    cairo_set_source_rgb(cr_, 0.2, 0.2, 0.2);
    double ax = row.right - 9, ay = (row.top + row.bottom) / 2.0;
    cairo_move_to(cr_, ax - 4, ay - 2);
    cairo_line_to(cr_, ax + 4, ay - 2);
    cairo_line_to(cr_, ax, ay + 3);
    cairo_close_path(cr_);
    cairo_fill(cr_);
    for (int i = 0; i < static_cast<int>(box.Items().size()); ++i) {
        IBox item = box.ItemRect(i);
        if (item.bottom > drawn.bottom) break;
        bool lit = i == box.Highlighted();
        if (lit) {
            cairo_set_source_rgb(cr_, 0.2, 0.4, 0.8);
            Rectangle(cr_, item);
            cairo_fill(cr_);
        }
        Text(box.Items()[static_cast<std::size_t>(i)], item, ITextAlign::Left, lit ? 1 : 0,
             lit ? 1 : 0, lit ? 1 : 0);
    }
    cairo_set_source_rgb(cr_, 0.3, 0.3, 0.3);
    Frame(cr_, drawn);
}

void OverlayPainter::PaintTooltip(const IBox& rect, const char* text) {
    SelectFont(SystemStyle());
    cairo_set_source_rgb(cr_, 1.0, 1.0, 0.88);
    Rectangle(cr_, rect);
    cairo_fill(cr_);
    cairo_set_source_rgb(cr_, 0.4, 0.4, 0.4);
    Frame(cr_, rect);
    Text(text, {rect.left + kTooltipPadding - 2, rect.top, rect.right, rect.bottom},
         ITextAlign::Left, 0, 0, 0);
}

void OverlayPainter::PaintMessage(const MessageBox& message) {
    SelectFont(SystemStyle());
    const IBox& r = message.Rect();
    cairo_set_source_rgb(cr_, 0.94, 0.94, 0.94);
    Rectangle(cr_, r);
    cairo_fill(cr_);
    cairo_set_source_rgb(cr_, 0.2, 0.2, 0.2);
    Frame(cr_, r);
    int top = r.top + MessageBox::kPadding;
    IBox line{r.left + MessageBox::kPadding, top, r.right - MessageBox::kPadding,
              top + MessageBox::kLineHeight};
    if (!message.Title().empty()) {
        cairo_select_font_face(cr_, "Arial", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
        Text(message.Title(), line, ITextAlign::Left, 0, 0, 0);
        SelectFont(SystemStyle());
        line.top += MessageBox::kLineHeight;
        line.bottom += MessageBox::kLineHeight;
    }
    Text(message.Text(), line, ITextAlign::Left, 0, 0, 0);
    bool question = message.GetButtons() == MessageBox::Buttons::YesNo;
    for (int i = 0; i < (question ? 2 : 1); ++i) {
        IBox b = message.ButtonRect(i);
        cairo_set_source_rgb(cr_, 0.85, 0.85, 0.85);
        Rectangle(cr_, b);
        cairo_fill(cr_);
        cairo_set_source_rgb(cr_, 0.35, 0.35, 0.35);
        Frame(cr_, b);
        Text(question ? (i == 0 ? "Yes" : "No") : "OK", b, ITextAlign::Centre, 0, 0, 0);
    }
}

int OverlayPainter::TextWidth(const char* text) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
    cairo_t* cr = cairo_create(surface);
    ITextStyle style = SystemStyle();
    cairo_select_font_face(cr, style.face.c_str(), CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
    cairo_set_font_size(cr, style.size);
    cairo_text_extents_t extents;
    cairo_text_extents(cr, text, &extents);
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    return static_cast<int>(std::ceil(extents.x_advance));
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
