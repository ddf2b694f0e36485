#include "instrument/StatusLine.h"

#include "gui/ITextControl.h"

void StatusLine::SetText(const char* text) {
    if (ITextControl* control = control_.load(std::memory_order_acquire)) control->SetText(text);
}

void StatusLine::Show(const char* text, uint32_t nowMs) {
    SetText(text);
    const uint32_t deadline = nowMs + kShowMs;
    // 0 means no deadline, so a deadline that wraps onto it moves by a millisecond.
    deadline_.store(deadline ? deadline : 1, std::memory_order_release);
}

void StatusLine::Expire(uint32_t nowMs) {
    uint32_t deadline = deadline_.load(std::memory_order_acquire);
    if (deadline == 0 || static_cast<int32_t>(nowMs - deadline) <= 0) return;
    if (deadline_.compare_exchange_strong(deadline, 0, std::memory_order_acq_rel)) SetText("");
}

std::string StatusLine::Text() const {
    const ITextControl* control = control_.load(std::memory_order_acquire);
    return control ? control->TextCopy() : std::string();
}
