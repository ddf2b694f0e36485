#include "host/Transport.h"

#include <cmath>

namespace serivane::host {

using namespace Steinberg;
using Context = Vst::ProcessContext;

Transport::Transport(double sampleRate) {
    context_.sampleRate = sampleRate;
    context_.state = Context::kTempoValid | Context::kTimeSigValid |
                     Context::kProjectTimeMusicValid | Context::kBarPositionValid |
                     Context::kContTimeValid;
    context_.tempo = 120.0;
    context_.timeSigNumerator = 4;
    context_.timeSigDenominator = 4;
}

void Transport::setPlaying(bool playing) {
    if (playing)
        context_.state |= Context::kPlaying;
    else
        context_.state &= ~static_cast<uint32>(Context::kPlaying);
}

void Transport::setTempo(double beatsPerMinute) {
    context_.tempo = beatsPerMinute;
    updateMusicalPosition();
}

void Transport::setTimeSignature(int32 numerator, int32 denominator) {
    context_.timeSigNumerator = numerator;
    context_.timeSigDenominator = denominator;
    updateMusicalPosition();
}

void Transport::locate(int64 samplePosition) {
    context_.projectTimeSamples = samplePosition;
    updateMusicalPosition();
}

bool Transport::playing() const {
    return (context_.state & Context::kPlaying) != 0;
}

void Transport::advance(int32 frames) {
    context_.continousTimeSamples += frames;
    if (playing()) locate(context_.projectTimeSamples + frames);
}

// Positions are derived from the sample position each time so that they never drift.
void Transport::updateMusicalPosition() {
    double quarters = static_cast<double>(context_.projectTimeSamples) / context_.sampleRate *
                      context_.tempo / 60.0;
    double quartersPerBar = 4.0 * context_.timeSigNumerator / context_.timeSigDenominator;
    context_.projectTimeMusic = quarters;
    context_.barPositionMusic = std::floor(quarters / quartersPerBar) * quartersPerBar;
}

} // namespace serivane::host
