#include "AudioThreadWatch.h"

#include "host/ComponentHandler.h"
#include "host/HostContext.h"
#include "host/ParameterChanges.h"
#include "instrument/CLS_SERIVANE.h"

#include <gtest/gtest.h>

#include <mutex>
#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

constexpr int32 kMaxFrames = 8192;

// The instrument as a host runs it, with a component handler that takes notifications. Setup
// calls come from the test's thread as from a host's; only process calls are watched.
class RealtimeSession {
public:
    RealtimeSession() : plugin_(new CLS_SERIVANE(), false), changes_(64, 4) {
        plugin_->initialize(static_cast<IHostApplication*>(&host_));
        plugin_->setComponentHandler(handler_);
        plugin_->activateBus(kAudio, kOutput, 0, true);
        context_.sampleRate = 48000.0;
        context_.tempo = 120.0;
        context_.state = ProcessContext::kPlaying;
        for (auto& channel : single_) channel.resize(kMaxFrames);
        for (auto& channel : double_) channel.resize(kMaxFrames);
    }

    ~RealtimeSession() {
        plugin_->setActive(false);
        plugin_->terminate();
    }

    const void* PluginMutex() { return plugin_->Mutex().native_handle(); }

    void Setup(double sampleRate, int32 maxBlock, int32 sampleSize) {
        plugin_->setActive(false);
        ProcessSetup setup{kRealtime, sampleSize, maxBlock, sampleRate};
        plugin_->setupProcessing(setup);
        plugin_->setActive(true);
        sampleSize_ = sampleSize;
        context_.sampleRate = sampleRate;
    }

    void Change(ParamID id, double value) { changes_.add(id, value); }
    void SetTransport(uint32 state, int64 position) {
        context_.state = state;
        context_.projectTimeSamples = position;
    }

    void Process(int32 frames) {
        float* single[] = {single_[0].data(), single_[1].data()};
        double* doubles[] = {double_[0].data(), double_[1].data()};
        AudioBusBuffers bus{};
        bus.numChannels = 2;
        if (sampleSize_ == kSample32)
            bus.channelBuffers32 = single;
        else
            bus.channelBuffers64 = doubles;
        ProcessData data{};
        data.processMode = kRealtime;
        data.symbolicSampleSize = sampleSize_;
        data.numSamples = frames;
        data.numOutputs = 1;
        data.outputs = &bus;
        data.inputParameterChanges = &changes_;
        data.processContext = &context_;
        plugin_->process(data);
        changes_.clear();
        context_.projectTimeSamples += frames;
    }

private:
    serivane::host::HostContext host_;
    IPtr<serivane::host::ComponentHandler> handler_{new serivane::host::ComponentHandler(), false};
    IPtr<CLS_SERIVANE> plugin_;
    serivane::host::ParameterChanges changes_;
    ProcessContext context_{};
    int32 sampleSize_ = kSample32;
    std::vector<float> single_[2];
    std::vector<double> double_[2];
};

// A block per parameter and value, with the values that move the engine most.
void ChangeEveryParameter(RealtimeSession& session, WatchCounts& counts, const void* mutex) {
    for (ParamID id = 0; id < kNumParams; ++id) {
        for (double value : {1.0, 0.0, 0.37}) {
            session.Change(id, value);
            AudioThreadWatch watch(counts, mutex);
            session.Process(256);
        }
    }
}

} // namespace

TEST(RealtimeSafety, TheWatchSeesAllocationsAndLocksOfItsOwnThreadOnly) {
    std::recursive_mutex allowed;
    std::mutex other;
    WatchCounts counts;
    {
        AudioThreadWatch watch(counts, allowed.native_handle());
        int* volatile single = new int(1);
        delete single;
        std::vector<double> grown(100);
        { std::lock_guard lock(allowed); }
        { std::lock_guard lock(other); }
    }
    int* volatile outside = new int(2);
    delete outside;
    EXPECT_EQ(counts.allocations, 2);
    EXPECT_EQ(counts.frees, 2);
    EXPECT_EQ(counts.allowedLocks, 1);
    EXPECT_EQ(counts.foreignLocks, 1);
}

// After the first block the audio thread neither allocates nor frees, and takes no lock but
// the plug-in mutex: across parameter changes, every program, bypass, transport moves, sample
// rates from 8 kHz to 384 kHz, both sample sizes and blocks longer than the prepared size.
TEST(RealtimeSafety, ProcessAllocatesNothingAndLocksOnlyThePluginMutexAfterTheFirstBlock) {
    RealtimeSession session;
    const void* mutex = session.PluginMutex();
    session.Setup(48000.0, 1024, kSample32);
    session.Process(512);

    WatchCounts counts;
    ChangeEveryParameter(session, counts, mutex);
    for (int slot = 0; slot < 150; ++slot) {
        session.Change(IEffectVST3::kProgramParamId, slot / 149.0);
        AudioThreadWatch watch(counts, mutex);
        session.Process(128);
    }
    for (double bypass : {1.0, 0.0}) {
        session.Change(IEffectVST3::kBypassParamId, bypass);
        AudioThreadWatch watch(counts, mutex);
        session.Process(128);
    }
    for (auto [state, position] : {std::pair<uint32, int64>{0, 0},
                                   {ProcessContext::kPlaying, 960000},
                                   {ProcessContext::kRecording, -5},
                                   {ProcessContext::kPlaying, 0}}) {
        session.SetTransport(state, position);
        AudioThreadWatch watch(counts, mutex);
        session.Process(512);
    }
    int32 sampleSize = kSample64;
    for (double rate : {8000.0, 44100.0, 96000.0, 384000.0}) {
        session.Setup(rate, 512, sampleSize);
        sampleSize = sampleSize == kSample64 ? kSample32 : kSample64;
        {
            AudioThreadWatch watch(counts, mutex);
            session.Process(512);
            session.Process(kMaxFrames);
        }
        ChangeEveryParameter(session, counts, mutex);
    }

    EXPECT_EQ(counts.allocations, 0);
    EXPECT_EQ(counts.frees, 0);
    EXPECT_EQ(counts.foreignLocks, 0);
    EXPECT_GT(counts.allowedLocks, 0);
}
