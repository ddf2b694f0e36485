#include "vst3/Utf16Text.h"

using Steinberg::Vst::TChar;

void AsciiToUtf16(const char* text, TChar* out, int capacity) {
    if (!out || capacity <= 0) return;
    int n = 0;
    for (; text && text[n] && n < capacity - 1; ++n)
        out[n] = static_cast<TChar>(static_cast<unsigned char>(text[n]));
    out[n] = 0;
}

std::string Utf16ToAscii(const TChar* text, int maxLength) {
    std::string ascii;
    for (int n = 0; text && text[n] && n < maxLength; ++n)
        ascii.push_back(text[n] < 0x80 ? static_cast<char>(text[n]) : '?');
    return ascii;
}
