#include "gui/ISharedText.h"

#include <algorithm>
#include <cstring>
#include <thread>

namespace {

constexpr std::size_t kWordBytes = sizeof(std::uint64_t);

// Word `index` of a text of `length` bytes followed by its NUL, zero-padded.
std::uint64_t PackWord(const char* text, std::size_t length, std::size_t index) {
    char bytes[kWordBytes] = {};
    const std::size_t start = index * kWordBytes;
    if (start < length) std::memcpy(bytes, text + start, std::min(kWordBytes, length - start));
    std::uint64_t word;
    std::memcpy(&word, bytes, kWordBytes);
    return word;
}

bool HoldsNul(std::uint64_t word) {
    char bytes[kWordBytes];
    std::memcpy(bytes, &word, kWordBytes);
    return std::memchr(bytes, 0, kWordBytes) != nullptr;
}

} // namespace

ISharedText::ISharedText(const char* text) {
    Set(text);
}

bool ISharedText::Set(const char* text) {
    if (!text) text = "";
    const std::size_t length = strnlen(text, kCapacity - 1);
    const std::size_t used = length / kWordBytes + 1;
    std::uint64_t sequence = sequence_.load(std::memory_order_relaxed);
    // An odd sequence or a lost race means another write is under way: this one gives way.
    if ((sequence & 1) != 0 ||
        !sequence_.compare_exchange_strong(sequence, sequence + 1, std::memory_order_acquire,
                                           std::memory_order_relaxed))
        return false;
    bool same = true;
    for (std::size_t i = 0; i < used && same; ++i)
        same = words_[i].load(std::memory_order_relaxed) == PackWord(text, length, i);
    if (same) {
        sequence_.store(sequence, std::memory_order_release);
        return false;
    }
    for (std::size_t i = 0; i < used; ++i)
        words_[i].store(PackWord(text, length, i), std::memory_order_release);
    sequence_.store(sequence + 2, std::memory_order_release);
    return true;
}

std::uint64_t ISharedText::Copy(char* out) const {
    for (;;) {
        const std::uint64_t before = sequence_.load(std::memory_order_acquire);
        if ((before & 1) != 0) {
            std::this_thread::yield();
            continue;
        }
        // Acquire loads: a word from a newer write makes that write's start visible to the
        // check below, and the check cannot move above them.
        for (std::size_t i = 0; i < kWords; ++i) {
            const std::uint64_t word = words_[i].load(std::memory_order_acquire);
            std::memcpy(out + i * kWordBytes, &word, kWordBytes);
            if (HoldsNul(word)) break;
        }
        out[kCapacity - 1] = '\0';
        if (sequence_.load(std::memory_order_relaxed) == before) return before;
    }
}
