#include "host/Transport.h"

#include <cmath>
#include <limits>

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
    updateQuartersPerBar();
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
    updateQuartersPerBar();
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

namespace {

// The smallest position in quarters whose bar index, as floor(quarters / quartersPerBar), is at
// least `index`. Rounded division is monotonic, so every position from there up to the next
// bar's start gets the same index; the search steps by single units in the last place around
// the exact product, where rounding can move the boundary.
double BarStart(double index, double quartersPerBar) {
    constexpr double down = -std::numeric_limits<double>::infinity();
    constexpr double up = std::numeric_limits<double>::infinity();
    double quarters = index * quartersPerBar;
    while (std::floor(std::nextafter(quarters, down) / quartersPerBar) >= index)
        quarters = std::nextafter(quarters, down);
    while (std::floor(quarters / quartersPerBar) < index) quarters = std::nextafter(quarters, up);
    return quarters;
}

} // namespace

void Transport::updateQuartersPerBar() {
    quartersPerBar_ = 4.0 * context_.timeSigNumerator / context_.timeSigDenominator;
    barFrom_ = 0.0;
    barUntil_ = 0.0;
}

// Positions are derived from the sample position each time so that they never drift. The bar
// start is worked out again only when the position leaves the bar it was last found in, with
// the same result as dividing each time.
void Transport::updateMusicalPosition() {
    const double quarters = static_cast<double>(context_.projectTimeSamples) / context_.sampleRate *
                            context_.tempo / 60.0;
    context_.projectTimeMusic = quarters;
    if (!(quarters > 0.0 && quarters >= barFrom_ && quarters < barUntil_)) findBar(quarters);
    context_.barPositionMusic = barStart_;
}

void Transport::findBar(double quarters) {
    const double index = std::floor(quarters / quartersPerBar_);
    barStart_ = index * quartersPerBar_;
    barFrom_ = 0.0;
    barUntil_ = 0.0;
    if (quarters > 0.0 && std::isfinite(index) && quartersPerBar_ > 0.0 &&
        std::isfinite(quartersPerBar_)) {
        barFrom_ = BarStart(index, quartersPerBar_);
        barUntil_ = BarStart(index + 1.0, quartersPerBar_);
    }
}

} // namespace serivane::host
