#pragma once

#include <span>

// A named binaural frequency, offered as a factory preset.
struct LibraryEntry {
    const char* name;
    double binauralHz;
    int wave = 0;
};

std::span<const LibraryEntry> FrequencyLibrary();
