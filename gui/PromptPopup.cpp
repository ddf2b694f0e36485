#include "gui/PromptPopup.h"

#include "framework/IEffectBase.h"
#include "gui/IGraphics.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr int kInset = 4;
constexpr int kScrollbarWidth = 9;
constexpr int kInitialRows = 5;
constexpr int kRadius = 4;
constexpr int kThumbRadius = 3;
constexpr int kAllCorners = 4;
// The base control opens lists of one column at least this wide.
constexpr int kDefaultColumnWidth = 70;

IArgb WithAlpha(IArgb colour, int alpha) {
    colour.a = std::clamp(alpha, 0, 255);
    return colour;
}

} // namespace

PromptPopup::PromptPopup(IEffectBase& plug, int x, int y, int minColumnWidth, int columns,
                         const IPopupStyle& look)
    : IPopupList(plug, {x, y, x + std::max(10, minColumnWidth), y + 30}),
      columnWidth_(minColumnWidth), itemStyle_(look.text), selectedStyle_(look.text),
      background_(look.background), frame_(look.frame), rowHeight_(std::max(1, look.text.size + 6)),
      visibleRows_(kInitialRows), columns_(std::max(1, columns)) {
    selectedStyle_.colour.a = std::min(255, itemStyle_.colour.a + 55);
    visibleCapacity_ = columns_ * visibleRows_;
}

int PromptPopup::RowsNeeded() const {
    return (ItemCount() + columns_ - 1) / columns_;
}

int PromptPopup::ThumbRange() const {
    return Rect().H() - thumbHeight_ - 2;
}

IBox PromptPopup::ThumbRect() const {
    if (!HasScrollBar()) return {};
    const IBox& r = Rect();
    const int top = r.top + thumbPos_ + 1;
    return {r.right - kScrollbarWidth - 2, top, r.right - 1, top + thumbHeight_};
}

void PromptPopup::AddItem(const char* text) {
    const std::string item(text ? text : "", 0, kItemCapacity);
    const int perChar = std::max(itemStyle_.size - 8, 5);
    columnWidth_ =
        std::max(columnWidth_, static_cast<int>(item.size()) * perChar + 2 * kInset + 20);
    const int before = ItemCount();
    items_.push_back(item);
    if (before == 9 || before == 19 || before == 29 || before == 39) ++visibleRows_;
    visibleCapacity_ = columns_ * visibleRows_;

    const int count = ItemCount();
    int height = RowsNeeded() * rowHeight_;
    int extraWidth = kInset;
    thumbHeight_ = 0;
    if (visibleCapacity_ < count) {
        const double full = rowHeight_ * visibleRows_;
        const double least = 1.5 * rowHeight_;
        thumbHeight_ =
            4 * visibleRows_ < count
                ? static_cast<int>(least)
                : static_cast<int>((least - full) * (count - visibleRows_) / (3.0 * visibleRows_) +
                                   full);
        height = static_cast<int>(full);
        extraWidth = kInset + kScrollbarWidth + 2;
    }
    const IBox& r = Rect();
    const IBox grown{r.left, r.top, r.left + columnWidth_ * columns_ + extraWidth, r.top + height};
    SetRect(grown);
    SetTargetRect(grown);
    MoveThumb(thumbPos_);
}

void PromptPopup::OpenFor(int paramIndex, IControl* owner) {
    if (const IParamModel* param = Plug().ParamAt(paramIndex))
        selected_ = RoundHalfAway(param->Value());
    if (HasScrollBar()) CentreSelection();
    SetOwner(owner);
    SetHidden(false);
}

void PromptPopup::CentreSelection() {
    const int row = selected_ / columns_;
    const int half = (visibleRows_ + 1) / 2;
    const int lastTop = RowsNeeded() - visibleRows_;
    const int target = std::clamp(row + 1 - half, 0, std::max(0, lastTop));
    if (lastTop <= 0) return;
    MoveThumb(RoundHalfAway(static_cast<double>(ThumbRange()) * target / lastTop));
}

void PromptPopup::MoveThumb(int position) {
    thumbPos_ = std::clamp(position, 0, std::max(0, ThumbRange()));
}

bool PromptPopup::Shown(int k) const {
    return k >= 0 && k < visibleCapacity_ && firstVisible_ + k < ItemCount();
}

IBox PromptPopup::Cell(int k) const {
    const IBox& r = Rect();
    const int column = k % columns_;
    const int row = k / columns_;
    return {r.left + columnWidth_ * column + kInset, r.top + rowHeight_ * row + 1,
            r.left + columnWidth_ * (column + 1), r.top + rowHeight_ * (row + 1) - 1};
}

void PromptPopup::MouseOver(int x, int y, const IMouseState&) {
    const IBox& r = Rect();
    const IBox thumb = ThumbRect();
    int hover = -2;
    if (HasScrollBar() && thumb.Contains(x, y)) {
        hover = -1;
    } else if (!HasScrollBar() || x < thumb.left || x > thumb.right) {
        const int row = static_cast<int>(std::floor(static_cast<double>(y - r.top) / rowHeight_));
        int column = 0;
        if (columns_ > 1) {
            const double across = x - (r.left + RoundHalfAway(kInset / 2.0));
            column =
                std::clamp(static_cast<int>(std::floor(across / columnWidth_)), 0, columns_ - 1);
        }
        const int k = row * columns_ + column;
        hover = row >= 0 && Shown(k) ? k : -1;
    }
    if (hover == hoverItem_) return;
    hoverItem_ = hover;
    MarkDirty(true);
}

void PromptPopup::MouseOut() {
    hoverItem_ = -2;
    MarkDirty(true);
}

void PromptPopup::MouseDown(int x, int y, const IMouseState& mods) {
    if (HasScrollBar()) {
        const IBox thumb = ThumbRect();
        if (x >= thumb.left && x <= thumb.right) {
            if (!mods.right) {
                thumbDragging_ = true;
                // A press on the track brings the thumb's middle to the pointer.
                if (!thumb.Contains(x, y))
                    MoveThumb(y - Rect().top - RoundHalfAway(thumbHeight_ / 2.0));
            }
            MarkDirty(true);
            return;
        }
    }
    if (mods.right || hoverItem_ < 0 || firstVisible_ + hoverItem_ >= ItemCount()) return;
    Choose(firstVisible_ + hoverItem_);
}

void PromptPopup::Choose(int index) {
    selected_ = index;
    if (IControl* owner = Owner()) {
        const int paramIndex = owner->ParamIndex();
        if (const IParamModel* param = Plug().ParamAt(paramIndex)) {
            Plug().BeginParamEdit(paramIndex);
            owner->ValueFromUser(param->ToNormalized(index));
            Plug().EndParamEdit(paramIndex);
        }
        owner->PopupResult(items_[static_cast<size_t>(index)].c_str(), index);
    }
    if (IGraphics* graphics = Graphics()) {
        graphics->ReleaseCapture();
        graphics->ForgetMouseOver();
        graphics->ClosePopup(true);
    }
}

void PromptPopup::MouseUp(int, int, const IMouseState&) {
    thumbDragging_ = false;
    MarkDirty(true);
}

void PromptPopup::MouseDrag(int, int, int, int dy, const IMouseState&) {
    if (thumbDragging_) MoveThumb(thumbPos_ + dy);
    MarkDirty(true);
}

void PromptPopup::MouseWheel(int, int, const IMouseState&, int steps) {
    if (HasScrollBar()) MoveThumb(thumbPos_ - 3 * steps);
    MarkDirty(true);
}

bool PromptPopup::Draw(IGraphics& graphics) {
    const IBox& r = Rect();
    if (HasScrollBar()) {
        const int range = ThumbRange();
        const int lastTop = RowsNeeded() - visibleRows_;
        firstVisible_ =
            range > 0 ? columns_ * RoundHalfAway(static_cast<double>(lastTop) * thumbPos_ / range)
                      : 0;
    }
    graphics.FillRoundedBox(background_, r, kRadius, kAllCorners, nullptr, true);

    const IArgb separator = WithAlpha(frame_, static_cast<int>(frame_.a * 0.6));
    for (int i = 1; i < columns_; ++i) {
        const float x = static_cast<float>(r.left + i * columnWidth_ + (kInset * 0.5 - 0.5));
        graphics.DrawLine(separator, x, static_cast<float>(r.top + kInset), x,
                          static_cast<float>(r.bottom - kInset), nullptr, true);
    }

    const int selectedShown = selected_ - firstVisible_;
    if (selected_ >= 0 && Shown(selectedShown)) {
        const IBox cell = Cell(selectedShown);
        graphics.OutlineRoundedBox(frame_, cell, kRadius, nullptr, true);
        graphics.FillRoundedBox(frame_, cell, kRadius, kAllCorners, nullptr, true);
    }
    if (Shown(hoverItem_) && hoverItem_ != selectedShown)
        graphics.FillRoundedBox(frame_, Cell(hoverItem_), kRadius, kAllCorners, nullptr, true);

    const int end = std::min(ItemCount(), firstVisible_ + visibleCapacity_);
    const int textDrop = RoundHalfAway(kInset * 0.75);
    for (int i = firstVisible_; i < end; ++i) {
        const int k = i - firstVisible_;
        const int column = k % columns_;
        const int row = k / columns_;
        const IBox box{r.left + column * columnWidth_ + 2 * kInset,
                       r.top + row * rowHeight_ + textDrop, r.left + (column + 1) * columnWidth_,
                       r.top + rowHeight_ * (row + 1)};
        graphics.DrawText(i == selected_ ? selectedStyle_ : itemStyle_,
                          items_[static_cast<size_t>(i)].c_str(), box);
    }

    if (HasScrollBar()) {
        const IBox thumb = ThumbRect();
        graphics.FillRoundedBox(WithAlpha(frame_, frame_.a - 20),
                                {thumb.left - 1, r.top, thumb.right + 1, r.bottom}, kRadius,
                                kAllCorners, nullptr, true);
        const bool lit = hoverItem_ == -1 && !thumbDragging_;
        graphics.FillRoundedBox(lit ? WithAlpha(frame_, frame_.a + 20) : frame_, thumb,
                                kThumbRadius, kAllCorners, nullptr, true);
    }
    return true;
}

void UsePromptPopup(IGraphics& graphics) {
    graphics.SetPopupListFactory([&graphics](IEffectBase& plug, int x, int y) {
        return std::make_unique<PromptPopup>(plug, x, y, kDefaultColumnWidth, 1,
                                             graphics.PopupStyle());
    });
}
