#pragma once

#include "pluginterfaces/vst/vsttypes.h"

#include <string>

// Texts cross the VST3 boundary as UTF-16 and live in the plug-in as 8-bit ASCII. The SDK's own
// string helpers are not used for this: their wide number formatting is broken on Linux.

// Copies text into out (capacity elements, terminator included), truncating as needed.
void AsciiToUtf16(const char* text, Steinberg::Vst::TChar* out, int capacity);
// Reads at most maxLength characters; anything outside ASCII becomes '?'.
std::string Utf16ToAscii(const Steinberg::Vst::TChar* text, int maxLength);
