// A stream of random processing: parameter changes with any normalised value (the program and
// bypass included), sample rates from 8 kHz to 384 kHz, blocks of 0 to 8192 frames in either
// sample size, transport jumps and stops. Every block must be finite and within the bound the
// parameters allow, and every parameter must stay in its range.
//
// Input: a sequence of steps, each led by a byte (mod 3):
//   0 block:       changes (u8 mod 7), each: id (u8 mod 25: 0-21, 22 program, 23 bypass,
//                  24 any u32 id), points (u8 mod 3 + 1), each: value, offset (i32);
//                  note (u8, odd: offset i32, pitch i16, velocity f32); frames (u16 mod 8193)
//   1 reconfigure: rate (u8, even: one of 13 common rates by u8, odd: 8 kHz + u32 share of
//                  376 kHz); max block (u16 mod 8192 + 1); 64-bit (u8, odd)
//   2 transport:   u8 mod 4: stop, play, record, or jump to a position (u8, odd: any i64,
//                  even: u32 mod 2^30)
// A value is a kind (u8 mod 4) then: 0 one of 9 special values (u8), 1 program slot k/149
// (u8 mod 150), 2 any double (f64), 3 a share of 0..1 (u32).

#include "AudioBlock.h"
#include "FuzzCheck.h"
#include "FuzzInstrument.h"
#include "FuzzReader.h"
#include "OutputBound.h"

#include "host/EventList.h"
#include "host/ParameterChanges.h"

#include <algorithm>
#include <limits>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

// Bounds the time one input takes: about 0.7 s of audio at 48 kHz.
constexpr int64 kFrameBudget = 1 << 15;
constexpr int32 kMaxBlock = 8192;
constexpr int kPresetSlots = 150;

double ReadValue(FuzzReader& input) {
    constexpr double kSpecial[] = {std::numeric_limits<double>::quiet_NaN(),
                                   std::numeric_limits<double>::infinity(),
                                   -std::numeric_limits<double>::infinity(),
                                   -0.25,
                                   1.25,
                                   0.0,
                                   1.0,
                                   1e-310,
                                   1.0 - 1e-16};
    switch (input.Pick(4)) {
    case 0:
        return kSpecial[input.Pick(std::size(kSpecial))];
    case 1:
        return input.Pick(kPresetSlots) / double(kPresetSlots - 1);
    case 2:
        return input.Read<double>();
    default:
        return input.Probability();
    }
}

double ReadSampleRate(FuzzReader& input) {
    constexpr double kCommon[] = {8000,  11025, 16000,  22050,  32000,  44100, 48000,
                                  88200, 96000, 176400, 192000, 352800, 384000};
    if (!input.Flag()) return kCommon[input.Pick(std::size(kCommon))];
    return 8000.0 + input.Probability() * 376000.0;
}

class ProcessSession {
public:
    ProcessSession() : changes_(64, 4), events_(8) {
        context_.sampleRate = instrument_.SampleRate();
        context_.tempo = 120.0;
        context_.timeSigNumerator = 4;
        context_.timeSigDenominator = 4;
    }

    int64 FramesLeft() const { return framesLeft_; }

    void Reconfigure(FuzzReader& input) {
        const double rate = ReadSampleRate(input);
        const int32 maxBlock = input.Pick(kMaxBlock) + 1;
        instrument_.Reconfigure(rate, maxBlock, input.Flag() ? kSample64 : kSample32);
        context_.sampleRate = rate;
    }

    void Transport(FuzzReader& input) {
        switch (input.Pick(4)) {
        case 0:
            context_.state = 0;
            break;
        case 1:
            context_.state = ProcessContext::kPlaying;
            break;
        case 2:
            context_.state = ProcessContext::kRecording;
            break;
        default:
            context_.projectTimeSamples =
                input.Flag() ? input.Read<int64>() : input.Read<uint32>() % (1 << 30);
            break;
        }
    }

    void Block(FuzzReader& input) {
        const int changes = input.Pick(7);
        for (int i = 0; i < changes; ++i) {
            const ParamID id = ReadParamId(input);
            const int points = input.Pick(3) + 1;
            for (int p = 0; p < points; ++p) {
                const double value = ReadValue(input);
                changes_.add(id, value, input.Read<int32>());
            }
        }
        if (input.Flag()) {
            const auto offset = input.Read<int32>();
            const auto pitch = input.Read<int16>();
            Event note = serivane::host::noteOn(offset, pitch, input.Read<float>());
            events_.addEvent(note);
        }
        Process(static_cast<int32>(std::min<int64>(input.Pick(kMaxBlock + 1), framesLeft_)));
    }

private:
    void Process(int32 frames) {
        AudioBlock block(frames, instrument_.SampleSize());
        ProcessData& data = block.Data();
        data.inputParameterChanges = &changes_;
        data.inputEvents = &events_;
        data.processContext = &context_;
        Require(instrument_.Plugin().process(data) == kResultOk, "process failed");
        const bool running =
            (context_.state & (ProcessContext::kPlaying | ProcessContext::kRecording)) != 0;
        block.RequireWithin(bound_.AfterBlock(instrument_.Plugin(), running, frames));
        RequireParametersInRange(instrument_.Plugin());
        changes_.clear();
        events_.clear();
        if (running && context_.projectTimeSamples < std::numeric_limits<int64>::max() - frames)
            context_.projectTimeSamples += frames;
        framesLeft_ -= std::max(frames, 1);
    }

    FuzzInstrument instrument_;
    serivane::host::ParameterChanges changes_;
    serivane::host::EventList events_;
    ProcessContext context_{};
    OutputBound bound_;
    int64 framesLeft_ = kFrameBudget;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzReader input({data, size});
    ProcessSession session;
    while (input.Remaining() > 0 && session.FramesLeft() > 0) {
        switch (input.Pick(3)) {
        case 0:
            session.Block(input);
            break;
        case 1:
            session.Reconfigure(input);
            break;
        default:
            session.Transport(input);
            break;
        }
    }
    return 0;
}
