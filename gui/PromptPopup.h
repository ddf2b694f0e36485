#pragma once

#include "gui/IPopupList.h"

#include <string>
#include <vector>

class IGraphics;

// The list of a parameter's display texts drawn inside the editor when an enumerated control
// is right-clicked: rows in one or more columns, the current value and the item under the
// pointer highlighted, a scroll bar when there are more items than rows. A left click on an
// item sets the owner's parameter, tells the owner and closes the list.
class PromptPopup : public IPopupList {
public:
    // Longest item text kept.
    static constexpr std::size_t kItemCapacity = 31;

    PromptPopup(IEffectBase& plug, int x, int y, int minColumnWidth, int columns,
                const IPopupStyle& look);

    // Appends a choice; the list grows to show it.
    void AddItem(const char* text) override;
    // Selects the parameter's current value, scrolls it into the middle and shows the list.
    void OpenFor(int paramIndex, IControl* owner) override;

    void MouseDown(int x, int y, const IMouseState& mods) override;
    void MouseUp(int x, int y, const IMouseState& mods) override;
    void MouseDrag(int x, int y, int dx, int dy, const IMouseState& mods) override;
    void MouseWheel(int x, int y, const IMouseState& mods, int steps) override;
    void MouseOver(int x, int y, const IMouseState& mods) override;
    void MouseOut() override;
    bool Draw(IGraphics& graphics) override;

    int ItemCount() const { return static_cast<int>(items_.size()); }
    // The item showing the current value, -1 for none.
    int Selected() const { return selected_; }
    // The item under the pointer relative to the first one shown; -1 on the scroll bar's
    // thumb or beyond the items, -2 for none.
    int HoverItem() const { return hoverItem_; }
    // The first item shown, as of the last painting.
    int FirstVisible() const { return firstVisible_; }
    // The scroll bar's thumb; empty when every item fits.
    IBox ThumbRect() const;

private:
    bool HasScrollBar() const { return thumbHeight_ > 0; }
    int RowsNeeded() const;
    // How far the thumb can move.
    int ThumbRange() const;
    void MoveThumb(int position);
    void CentreSelection();
    // True when k, counted from the first item shown, is an item on screen.
    bool Shown(int k) const;
    IBox Cell(int k) const;
    // Sets the owner's parameter to the item, tells the owner and closes the list, which
    // destroys it.
    void Choose(int index);

    int columnWidth_;
    int hoverItem_ = -2;
    int visibleCapacity_;
    int firstVisible_ = 0;
    int thumbPos_ = 0;
    int thumbHeight_ = 0;
    bool thumbDragging_ = false;
    std::vector<std::string> items_;
    ITextStyle itemStyle_;
    ITextStyle selectedStyle_;
    IArgb background_;
    IArgb frame_;
    int selected_ = -1;
    int rowHeight_;
    int visibleRows_;
    int columns_;
};

// Makes right clicks on enumerated controls of the editor open a PromptPopup in the editor's
// popup style.
void UsePromptPopup(IGraphics& graphics);
