#pragma once

#include "gui/EditState.h"
#include "gui/GuiTypes.h"
#include "gui/ITextStyle.h"

#include <cstdint>
#include <string>
#include <vector>

// The value box the window draws inside itself in place of a native edit box or drop-down
// list: its rectangle, its text or choices, and how keys and presses move its state.
class ValueEntryBox {
public:
    enum class Kind { Edit, DropDown };

    static constexpr int kRowHeight = 18;
    static constexpr std::size_t kMaxText = 1000;

    // An edit box with all of text selected.
    static ValueEntryBox Edit(const IBox& rect, std::string text, const ITextStyle& style,
                              bool readOnly, bool password);
    // A drop-down list of items; selected is -1 when none is.
    static ValueEntryBox DropDown(const IBox& rect, std::vector<std::string> items, int selected,
                                  const ITextStyle& style);

    Kind GetKind() const { return kind_; }
    const IBox& Rect() const { return rect_; }
    // The part of the rectangle that is drawn: a drop-down shows its choice row and the list.
    IBox DrawnRect() const;
    EditState State() const { return state_; }
    void SetState(EditState state) { state_ = state; }
    const ITextStyle& Style() const { return style_; }

    // Keys by X key symbol; every key counts as typing unless it commits or cancels.
    void Key(std::uint32_t keysym);
    // A press inside the drawn box: places the caret, or picks the choice under it.
    void Press(int x, int y);
    // The pointer over a drop-down highlights the choice under it.
    bool Hover(int x, int y);

    // The text to apply on commit: the edit text, or the chosen entry (empty when none).
    std::string CommittedText() const;
    // What the box shows: the text, masked for a password box.
    std::string ShownText() const;
    bool AllSelected() const { return allSelected_; }
    std::size_t Caret() const { return caret_; }
    const std::vector<std::string>& Items() const { return items_; }
    int Selected() const { return selected_; }
    int Highlighted() const { return highlighted_; }
    IBox ChoiceRowRect() const;
    IBox ItemRect(int index) const;

private:
    ValueEntryBox(Kind kind, const IBox& rect, const ITextStyle& style);

    void EditKey(std::uint32_t keysym);
    void ListKey(std::uint32_t keysym);
    void Insert(char c);
    int ItemAt(int x, int y) const;

    Kind kind_;
    IBox rect_;
    ITextStyle style_;
    EditState state_ = EditState::Editing;
    std::string text_;
    bool allSelected_ = false;
    std::size_t caret_ = 0;
    bool readOnly_ = false;
    bool password_ = false;
    std::vector<std::string> items_;
    int selected_ = -1;
    int highlighted_ = -1;
};
