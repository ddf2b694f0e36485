#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>

class ITextControl;

// The editor's status line: a text control that empties itself some seconds after the last
// write. The audio thread (expiry, change descriptions) and the editor thread (hover hints)
// write it without a common lock; the control's text takes writes from any thread.
class StatusLine {
public:
    static constexpr uint32_t kShowMs = 9000;
    // Longest text written, terminating NUL included.
    static constexpr size_t kCapacity = 64;

    // The control the line writes into; null until the editor is built.
    void SetControl(ITextControl* control) { control_.store(control, std::memory_order_release); }

    // Shows a text and restarts the expiry deadline.
    void Show(const char* text, uint32_t nowMs);
    // Writes the text without touching the deadline.
    void SetText(const char* text);
    // Empties the line once its deadline has passed; called at the start of each audio block.
    void Expire(uint32_t nowMs);

    std::string Text() const;
    uint32_t Deadline() const { return deadline_.load(std::memory_order_acquire); }

private:
    std::atomic<ITextControl*> control_{nullptr};
    std::atomic<uint32_t> deadline_{0};
};
