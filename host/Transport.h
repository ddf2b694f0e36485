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

    Steinberg::Vst::ProcessContext context_{};
};

} // namespace serivane::host
