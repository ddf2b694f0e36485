#include "instrument/StatusLine.h"

void SharedText::SetText(const char* text) {
    const uint64_t ticket = writes_.fetch_add(1, std::memory_order_acq_rel) + 1;
    Buffer& slot = slots_[ticket % kSlots];
    size_t i = 0;
    for (; text && text[i] && i + 1 < kCapacity; ++i)
        slot[i].store(text[i], std::memory_order_release);
    slot[i].store('\0', std::memory_order_release);
    // Publish the newest ticket only; a slower older writer must not win.
    uint64_t seen = published_.load(std::memory_order_relaxed);
    while (seen < ticket &&
           !published_.compare_exchange_weak(seen, ticket, std::memory_order_release)) {
    }
}

void StatusLine::Show(const char* text, uint32_t nowMs) {
    SetText(text);
    const uint32_t deadline = nowMs + kShowMs;
    deadline_.store(deadline ? deadline : 1, std::memory_order_release);
}

void StatusLine::Expire(uint32_t nowMs) {
    uint32_t deadline = deadline_.load(std::memory_order_acquire);
    if (deadline == 0 || static_cast<int32_t>(nowMs - deadline) <= 0) return;
    if (deadline_.compare_exchange_strong(deadline, 0, std::memory_order_acq_rel)) SetText("");
}

std::string SharedText::Text() const {
    for (;;) {
        const uint64_t ticket = published_.load(std::memory_order_acquire);
        if (ticket == 0) return {};
        const Buffer& slot = slots_[ticket % kSlots];
        std::string text;
        for (size_t i = 0; i < kCapacity; ++i) {
            // Reading a character of a newer writer makes its claim on the ring visible to the
            // wrap-around check below.
            const char c = slot[i].load(std::memory_order_acquire);
            if (!c) break;
            text += c;
        }
        // The copy is good unless the ring wrapped around onto this slot meanwhile.
        if (writes_.load(std::memory_order_acquire) < ticket + kSlots) return text;
    }
}
