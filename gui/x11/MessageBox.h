#pragma once

#include "gui/GuiTypes.h"

#include <string>

// A message drawn in the middle of the editor window, with an OK button or Yes and No. While it
// shows, the editor takes no other input.
class MessageBox {
public:
    enum class Buttons { Ok, YesNo };
    enum class Answer { Pending, Ok, Yes, No };

    static constexpr int kButtonWidth = 64;
    static constexpr int kButtonHeight = 22;
    static constexpr int kPadding = 12;
    static constexpr int kLineHeight = 16;

    // textWidth is the drawn width of the longer of title and text.
    MessageBox(std::string title, std::string text, Buttons buttons, int textWidth, int windowWidth,
               int windowHeight);

    const std::string& Title() const { return title_; }
    const std::string& Text() const { return text_; }
    Buttons GetButtons() const { return buttons_; }
    const IBox& Rect() const { return rect_; }
    // The first button (OK or Yes), and No.
    IBox ButtonRect(int index) const;
    Answer GetAnswer() const { return answer_; }

    void Press(int x, int y);
    // Enter answers OK or Yes, Escape answers OK or No; Y and N answer a question.
    void Key(std::uint32_t keysym);

private:
    std::string title_;
    std::string text_;
    Buttons buttons_;
    IBox rect_;
    Answer answer_ = Answer::Pending;
};
