#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <string>

// A short text written from the audio thread and the editor thread without a common lock. It
// lives in a ring of atomic buffers: writers never wait, readers retry when a write overtook them.
class SharedText {
public:
    static constexpr size_t kCapacity = 64;

    void SetText(const char* text);
    std::string Text() const;

private:
    static constexpr size_t kSlots = 8;
    using Buffer = std::array<std::atomic<char>, kCapacity>;

    std::array<Buffer, kSlots> slots_{};
    std::atomic<uint64_t> writes_{0};
    std::atomic<uint64_t> published_{0};
};

// The editor's status line: a text that empties itself some seconds after the last write.
class StatusLine {
public:
    static constexpr uint32_t kShowMs = 9000;

    // Shows a text and restarts the expiry deadline.
    void Show(const char* text, uint32_t nowMs);
    // Writes the text without touching the deadline.
    void SetText(const char* text) { text_.SetText(text); }
    // Empties the line once its deadline has passed; called at the start of each audio block.
    void Expire(uint32_t nowMs);

    std::string Text() const { return text_.Text(); }
    uint32_t Deadline() const { return deadline_.load(std::memory_order_acquire); }

private:
    SharedText text_;
    std::atomic<uint32_t> deadline_{0};
};
