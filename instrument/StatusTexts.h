#pragma once

#include <cstddef>

class IEffectBase;
class ToneEngine;

// Writes the status-line text describing the parameter's new state into `text`; parameters
// without a description give the empty text.
void FormatStatusText(int index, const ToneEngine& engine, const IEffectBase& plugin, char* text,
                      size_t capacity);

// The beat as the editor shows it under the band name: "7.83 Hz".
void FormatBeatText(float hz, char* text, size_t capacity);
