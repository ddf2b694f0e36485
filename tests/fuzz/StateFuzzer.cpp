// setState with arbitrary bytes from an awkward stream, then the round trip of what getState
// gives back, into the same instance and into a fresh one.
//
// Input: host named "WaveLab" (u8, odd), most bytes per read (u8 mod 201, 0 for all asked),
// reads that report an error after delivering (u8, odd), failing seeks (u8, odd), then the
// state bytes.

#include "AudioBlock.h"
#include "FuzzCheck.h"
#include "FuzzInstrument.h"
#include "FuzzReader.h"
#include "FuzzStreams.h"
#include "OutputBound.h"

#include <cstring>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

void RequireStateInRange(CLS_SERIVANE& plugin, const std::vector<uint8_t>& state) {
    Require(state.size() == sizeof(double) * kNumParams, "getState wrote %zu bytes", state.size());
    for (int i = 0; i < kNumParams; ++i) {
        double value = 0.0;
        std::memcpy(&value, state.data() + sizeof(double) * i, sizeof value);
        Require(value == plugin.ParamAt(i)->Value(), "stored value %d is %g, the parameter %g", i,
                value, plugin.ParamAt(i)->Value());
    }
}

void Restore(FuzzInstrument& instrument, const std::vector<uint8_t>& state) {
    ReadStream stream(state, {});
    instrument.Component().setState(&stream);
}

// Whatever the state set, a block of sound stays within what the parameters allow.
void RequireSoundWithinBound(FuzzInstrument& instrument) {
    ProcessContext context{};
    context.state = ProcessContext::kPlaying;
    context.sampleRate = instrument.SampleRate();
    AudioBlock block(256, instrument.SampleSize());
    block.Data().processContext = &context;
    Require(instrument.Plugin().process(block.Data()) == kResultOk, "process failed");
    OutputBound bound;
    block.RequireWithin(bound.AfterBlock(instrument.Plugin(), true, 256));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzReader input({data, size});
    const bool waveLab = input.Flag();
    StreamBehaviour behaviour;
    behaviour.piece = input.Pick(201);
    behaviour.errorAfterData = input.Flag();
    behaviour.seekFails = input.Flag();
    const std::span<const uint8_t> bytes = input.Rest();

    FuzzInstrument instrument(waveLab ? "WaveLab Pro" : "Fuzz Host");
    ReadStream stream(bytes, behaviour);
    instrument.Component().setState(&stream);
    RequireParametersInRange(instrument.Plugin());
    const std::vector<uint8_t> state = instrument.SavedState();
    RequireStateInRange(instrument.Plugin(), state);

    Restore(instrument, state);
    Require(instrument.SavedState() == state, "restoring a saved state changed it");
    FuzzInstrument fresh;
    Restore(fresh, state);
    Require(fresh.SavedState() == state, "a fresh instance restored the state differently");

    RequireSoundWithinBound(instrument);
    RequireParametersInRange(instrument.Plugin());
    return 0;
}
