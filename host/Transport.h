#pragma once

#include "pluginterfaces/vst/ivstprocesscontext.h"

namespace serivane::host {

// The host's transport as the plug-in sees it in every block: playing flag, tempo, time
// signature and positions. The project position moves only while playing; the continuous
// position moves with every block.
class Transport {
public:
    explicit Transport(double sampleRate);

    void setPlaying(bool playing);
    void setTempo(double beatsPerMinute);
    void setTimeSignature(Steinberg::int32 numerator, Steinberg::int32 denominator);
    void locate(Steinberg::int64 samplePosition);

    bool playing() const;
    const Steinberg::Vst::ProcessContext& context() const { return context_; }
    Steinberg::Vst::ProcessContext* contextForBlock() { return &context_; }

    void advance(Steinberg::int32 frames);

private:
    void updateMusicalPosition();
    void updateQuartersPerBar();
    void findBar(double quarters);

    Steinberg::Vst::ProcessContext context_{};
    double quartersPerBar_ = 4.0;
    // The project positions in quarters, [barFrom_, barUntil_), that fall into the bar that
    // starts at barStart_; empty until a bar is found.
    double barStart_ = 0.0;
    double barFrom_ = 0.0;
    double barUntil_ = 0.0;
};

} // namespace serivane::host
