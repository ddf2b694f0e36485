#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>

// A text any thread may replace while another reads it, without allocation and without a
// writer ever waiting: a sequence lock over a fixed buffer of atomic words. A write that meets
// another thread's write in progress gives way to it, as if it had come just before it; a
// reader copies again when a write overtook its copy.
class ISharedText {
public:
    // Bytes including the terminating NUL; longer texts are cut.
    static constexpr std::size_t kCapacity = 1024;

    explicit ISharedText(const char* text = "");
    ISharedText(const ISharedText&) = delete;
    ISharedText& operator=(const ISharedText&) = delete;

    // Stores the text (null counts as empty). True when the stored text changed.
    bool Set(const char* text);
    // Copies the text into out (kCapacity bytes) and answers the version copied.
    std::uint64_t Copy(char* out) const;
    // Grows with every change of the text; odd while a write is under way.
    std::uint64_t Version() const { return sequence_.load(std::memory_order_acquire); }

private:
    static constexpr std::size_t kWordBytes = sizeof(std::uint64_t);
    static constexpr std::size_t kWords = kCapacity / kWordBytes;

    std::array<std::atomic<std::uint64_t>, kWords> words_{};
    std::atomic<std::uint64_t> sequence_{0};
};
