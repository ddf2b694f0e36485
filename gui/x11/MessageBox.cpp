#include "gui/x11/MessageBox.h"

#include <algorithm>

MessageBox::MessageBox(std::string title, std::string text, Buttons buttons, int textWidth,
                       int windowWidth, int windowHeight)
    : title_(std::move(title)), text_(std::move(text)), buttons_(buttons) {
    int buttonsWidth = buttons_ == Buttons::Ok ? kButtonWidth : 2 * kButtonWidth + kPadding;
    int width = std::max(textWidth, buttonsWidth) + 2 * kPadding;
    int lines = title_.empty() ? 1 : 2;
    int height = kPadding + lines * kLineHeight + kPadding + kButtonHeight + kPadding;
    int left = std::max(0, (windowWidth - width) / 2);
    int top = std::max(0, (windowHeight - height) / 2);
    rect_ = {left, top, left + width, top + height};
}

IBox MessageBox::ButtonRect(int index) const {
    int count = buttons_ == Buttons::Ok ? 1 : 2;
    int total = count * kButtonWidth + (count - 1) * kPadding;
    int left = (rect_.left + rect_.right - total) / 2 + index * (kButtonWidth + kPadding);
    int top = rect_.bottom - kPadding - kButtonHeight;
    return {left, top, left + kButtonWidth, top + kButtonHeight};
}

void MessageBox::Press(int x, int y) {
    int count = buttons_ == Buttons::Ok ? 1 : 2;
    for (int i = 0; i < count; ++i) {
        IBox b = ButtonRect(i);
        if (x < b.left || x >= b.right || y < b.top || y >= b.bottom) continue;
        if (buttons_ == Buttons::Ok)
            answer_ = Answer::Ok;
        else
            answer_ = i == 0 ? Answer::Yes : Answer::No;
    }
}

void MessageBox::Key(std::uint32_t keysym) {
    constexpr std::uint32_t kReturn = 0xFF0D, kKeypadEnter = 0xFF8D, kEscape = 0xFF1B;
    bool enter = keysym == kReturn || keysym == kKeypadEnter;
    if (buttons_ == Buttons::Ok) {
        if (enter || keysym == kEscape) answer_ = Answer::Ok;
        return;
    }
    if (enter || keysym == 'y' || keysym == 'Y') answer_ = Answer::Yes;
    if (keysym == kEscape || keysym == 'n' || keysym == 'N') answer_ = Answer::No;
}
