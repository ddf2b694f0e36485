#include "Instance.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

// An instrument whose host reports a fixed position and transport state.
class PlacedInstrument : public CLS_SERIVANE {
public:
    int32_t position = 0;
    bool playing = true;

    int32_t HostSamplePosition() override { return position; }
    int GetTransportState() const override {
        return playing ? kTransportPlaying : kTransportStopped;
    }
};

// Every sounding tone's pitch in Hz against its own pitch where its envelope stands. 64 frames
// move no pitch by more than a fraction of a hertz.
void ExpectOwnPitch(const ToneEngine& engine, bool rendered) {
    const ToneVoices& voices = engine.Voices();
    const double hz = engine.SampleRate() / voices.bank.period;
    for (int i = 0; i < engine.Settings().toneCount; ++i) {
        for (int e = 0; e < kEars; ++e) {
            const ToneIncrement& rate = voices.bank.rates[e][i];
            const double own = (rate.span * voices.freqEnvelopes[i].value + rate.low) * hz;
            EXPECT_NEAR(voices.rateFades[e][i].from * hz, own, 1.0) << "tone " << i;
            if (rendered) {
                EXPECT_NEAR(rate.value * hz, own, 1.0) << "tone " << i;
            }
        }
    }
}

// {host position, transport running}. Far from 0 the tones' places differ from the provisional
// ones around tone 0's unplaced envelope, which must not become a glide.
class FirstBlock : public testing::TestWithParam<std::tuple<int32_t, bool>> {};

TEST_P(FirstBlock, StartsEveryToneAtItsOwnPitchAtTheHostPosition) {
    const auto [position, playing] = GetParam();
    std::unique_ptr<PlacedInstrument, ReleaseInstance> p(new PlacedInstrument);
    p->position = position;
    p->playing = playing;
    p->SetSampleRate(48000);
    ApplyAllParameters(*p);
    Render(*p, 64);
    ExpectOwnPitch(p->Engine(), playing);
    p->playing = true;
    Render(*p, 64);
    ExpectOwnPitch(p->Engine(), true);
}

INSTANTIATE_TEST_SUITE_P(ChangeHandling, FirstBlock,
                         testing::Combine(testing::Values(0, 960000), testing::Bool()));

} // namespace
