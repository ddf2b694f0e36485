#include "gui/x11/ValueEntryBox.h"

#include <algorithm>

namespace {

// X key symbols the box reacts to.
constexpr std::uint32_t kBackSpace = 0xFF08;
constexpr std::uint32_t kTab = 0xFF09;
constexpr std::uint32_t kReturn = 0xFF0D;
constexpr std::uint32_t kEscape = 0xFF1B;
constexpr std::uint32_t kHome = 0xFF50;
constexpr std::uint32_t kLeft = 0xFF51;
constexpr std::uint32_t kUp = 0xFF52;
constexpr std::uint32_t kRight = 0xFF53;
constexpr std::uint32_t kDown = 0xFF54;
constexpr std::uint32_t kEnd = 0xFF57;
constexpr std::uint32_t kKeypadEnter = 0xFF8D;
constexpr std::uint32_t kDelete = 0xFFFF;
// Keypad digits, point and minus arrive as their own symbols.
constexpr std::uint32_t kKeypad0 = 0xFFB0;
constexpr std::uint32_t kKeypad9 = 0xFFB9;
constexpr std::uint32_t kKeypadDecimal = 0xFFAE;
constexpr std::uint32_t kKeypadSubtract = 0xFFAD;

bool IsEnter(std::uint32_t keysym) {
    return keysym == kReturn || keysym == kKeypadEnter;
}

// The printable character of a key symbol, or 0.
char Printable(std::uint32_t keysym) {
    if (keysym >= 0x20 && keysym <= 0x7E) return static_cast<char>(keysym);
    if (keysym >= kKeypad0 && keysym <= kKeypad9) return static_cast<char>('0' + keysym - kKeypad0);
    if (keysym == kKeypadDecimal) return '.';
    if (keysym == kKeypadSubtract) return '-';
    return 0;
}

} // namespace

ValueEntryBox::ValueEntryBox(Kind kind, const IBox& rect, const ITextStyle& style)
    : kind_(kind), rect_(rect), style_(style) {}

ValueEntryBox ValueEntryBox::Edit(const IBox& rect, std::string text, const ITextStyle& style,
                                  bool readOnly, bool password) {
    ValueEntryBox box(Kind::Edit, rect, style);
    if (text.size() > kMaxText) text.resize(kMaxText);
    box.text_ = std::move(text);
    box.allSelected_ = !box.text_.empty();
    box.caret_ = box.text_.size();
    box.readOnly_ = readOnly;
    box.password_ = password;
    return box;
}

ValueEntryBox ValueEntryBox::DropDown(const IBox& rect, std::vector<std::string> items,
                                      int selected, const ITextStyle& style) {
    ValueEntryBox box(Kind::DropDown, rect, style);
    box.items_ = std::move(items);
    box.selected_ = selected >= 0 && selected < static_cast<int>(box.items_.size()) ? selected : -1;
    box.highlighted_ = box.selected_;
    return box;
}

IBox ValueEntryBox::DrawnRect() const {
    if (kind_ == Kind::Edit) return rect_;
    int listHeight = kRowHeight * (1 + static_cast<int>(items_.size())) + 2;
    return {rect_.left, rect_.top, rect_.right, rect_.top + std::min(rect_.H(), listHeight)};
}

IBox ValueEntryBox::ChoiceRowRect() const {
    return {rect_.left, rect_.top, rect_.right, rect_.top + kRowHeight};
}

IBox ValueEntryBox::ItemRect(int index) const {
    int top = rect_.top + kRowHeight * (index + 1) + 1;
    return {rect_.left + 1, top, rect_.right - 1, top + kRowHeight};
}

void ValueEntryBox::Key(std::uint32_t keysym) {
    if (keysym == kEscape) {
        state_ = EditState::Cancel;
        return;
    }
    if (kind_ == Kind::Edit)
        EditKey(keysym);
    else
        ListKey(keysym);
}

void ValueEntryBox::EditKey(std::uint32_t keysym) {
    if (IsEnter(keysym)) {
        allSelected_ = false;
        state_ = EditState::Commit;
        return;
    }
    state_ = EditState::Editing;
    if (keysym == kLeft || keysym == kHome) {
        caret_ = keysym == kHome || allSelected_ ? 0 : caret_ - (caret_ > 0 ? 1 : 0);
        allSelected_ = false;
    } else if (keysym == kRight || keysym == kEnd) {
        caret_ = keysym == kEnd || allSelected_ ? text_.size() : std::min(caret_ + 1, text_.size());
        allSelected_ = false;
    } else if (readOnly_ || keysym == kTab) {
        return;
    } else if (keysym == kBackSpace || keysym == kDelete) {
        if (allSelected_) {
            text_.clear();
            caret_ = 0;
        } else if (keysym == kBackSpace && caret_ > 0) {
            text_.erase(--caret_, 1);
        } else if (keysym == kDelete && caret_ < text_.size()) {
            text_.erase(caret_, 1);
        }
        allSelected_ = false;
    } else if (char c = Printable(keysym)) {
        Insert(c);
    }
}

void ValueEntryBox::Insert(char c) {
    if (allSelected_) {
        text_.clear();
        caret_ = 0;
        allSelected_ = false;
    }
    if (text_.size() >= kMaxText) return;
    text_.insert(caret_++, 1, c);
}

void ValueEntryBox::ListKey(std::uint32_t keysym) {
    int count = static_cast<int>(items_.size());
    if (IsEnter(keysym)) {
        state_ = selected_ >= 0 ? EditState::Commit : EditState::Cancel;
        return;
    }
    if ((keysym == kUp || keysym == kDown) && count > 0) {
        int step = keysym == kUp ? -1 : 1;
        int next = selected_ < 0 ? (step > 0 ? 0 : count - 1) : selected_ + step;
        if (next >= 0 && next < count && next != selected_) {
            // A new choice is a selection change, which commits as a native list does.
            selected_ = highlighted_ = next;
            state_ = EditState::Commit;
            return;
        }
    }
    state_ = EditState::Editing;
}

int ValueEntryBox::ItemAt(int x, int y) const {
    for (int i = 0; i < static_cast<int>(items_.size()); ++i) {
        IBox row = ItemRect(i);
        if (row.bottom > rect_.bottom) break;
        if (x >= row.left && x < row.right && y >= row.top && y < row.bottom) return i;
    }
    return -1;
}

void ValueEntryBox::Press(int x, int y) {
    if (kind_ == Kind::Edit) {
        allSelected_ = false;
        caret_ = text_.size();
        state_ = EditState::Editing;
        return;
    }
    int item = ItemAt(x, y);
    if (item < 0) return;
    selected_ = highlighted_ = item;
    state_ = EditState::Commit;
}

bool ValueEntryBox::Hover(int x, int y) {
    if (kind_ != Kind::DropDown) return false;
    int item = ItemAt(x, y);
    if (item < 0 || item == highlighted_) return false;
    highlighted_ = item;
    return true;
}

std::string ValueEntryBox::CommittedText() const {
    if (kind_ == Kind::Edit) return text_;
    return selected_ >= 0 ? items_[static_cast<std::size_t>(selected_)] : std::string();
}

std::string ValueEntryBox::ShownText() const {
    return password_ ? std::string(text_.size(), '*') : text_;
}
