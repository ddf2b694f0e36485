#include "host/ProcessDriver.h"

#include <algorithm>

namespace serivane::host {

using namespace Steinberg;

namespace {

std::vector<int32> channelCounts(const std::vector<BusDescription>& buses) {
    std::vector<int32> counts;
    for (const BusDescription& bus : buses) counts.push_back(bus.channelCount);
    return counts;
}

int32 sum(const std::vector<int32>& counts) {
    int32 total = 0;
    for (int32 c : counts) total += c;
    return total;
}

} // namespace

ProcessDriver::ProcessDriver(Plugin& plugin, const ProcessConfig& config)
    : plugin_(plugin), config_(config), transport_(config.sampleRate),
      inputChanges_(queueCapacity, pointCapacity), outputChanges_(queueCapacity, pointCapacity),
      events_(eventCapacity), outputEvents_(eventCapacity),
      inputBusChannels_(channelCounts(plugin.buses(Vst::kAudio, Vst::kInput))),
      outputBusChannels_(channelCounts(plugin.buses(Vst::kAudio, Vst::kOutput))),
      inputChannels_(sum(inputBusChannels_)), outputChannels_(sum(outputBusChannels_)),
      inputBuses_(inputBusChannels_.size()), outputBuses_(outputBusChannels_.size()) {
    auto silentSamples = static_cast<std::size_t>(std::max<int32>(inputChannels_, 1)) *
                         static_cast<std::size_t>(std::max<int32>(config.maxBlock, 1));
    auto pointers = static_cast<std::size_t>(inputChannels_ + outputChannels_);
    if (config.symbolicSampleSize == Vst::kSample64) {
        silence64_.resize(silentSamples);
        pointers64_.resize(pointers);
    } else {
        silence32_.resize(silentSamples);
        pointers32_.resize(pointers);
    }
}

ProcessDriver::~ProcessDriver() {
    plugin_.stopProcessing();
}

bool ProcessDriver::start(std::string& error) {
    Vst::ProcessSetup setup{config_.processMode, config_.symbolicSampleSize, config_.maxBlock,
                            config_.sampleRate};
    return plugin_.startProcessing(setup, error);
}

bool ProcessDriver::process(float* const* outputs, int32 frames) {
    return run(outputs, 0, frames);
}

bool ProcessDriver::process(double* const* outputs, int32 frames) {
    return run(outputs, 0, frames);
}

bool ProcessDriver::flush() {
    if (config_.symbolicSampleSize == Vst::kSample64) return run<double>(nullptr, 0, 0);
    return run<float>(nullptr, 0, 0);
}

bool ProcessDriver::render(float* const* outputs, int64 frames) {
    return renderAll(outputs, frames);
}

bool ProcessDriver::render(double* const* outputs, int64 frames) {
    return renderAll(outputs, frames);
}

template <typename Sample> bool ProcessDriver::renderAll(Sample* const* outputs, int64 frames) {
    for (int64 done = 0; done < frames;) {
        auto block = static_cast<int32>(std::min<int64>(config_.maxBlock, frames - done));
        if (!run(outputs, done, block)) return false;
        done += block;
    }
    return true;
}

template <typename Sample>
bool ProcessDriver::run(Sample* const* outputs, int64 offset, int32 frames) {
    constexpr int32 size = sizeof(Sample) == sizeof(double) ? Vst::kSample64 : Vst::kSample32;
    if (!plugin_.isProcessing() || size != config_.symbolicSampleSize || frames < 0 ||
        frames > config_.maxBlock || (outputs == nullptr && frames > 0))
        return false;
    bindBuses(outputs, offset, frames);
    outputChanges_.clear();
    outputEvents_.clear();
    Vst::ProcessData data;
    data.processMode = config_.processMode;
    data.symbolicSampleSize = config_.symbolicSampleSize;
    data.numSamples = frames;
    data.numInputs = static_cast<int32>(inputBuses_.size());
    data.numOutputs = static_cast<int32>(outputBuses_.size());
    data.inputs = inputBuses_.empty() ? nullptr : inputBuses_.data();
    data.outputs = outputBuses_.empty() ? nullptr : outputBuses_.data();
    data.inputParameterChanges = &inputChanges_;
    data.outputParameterChanges = &outputChanges_;
    data.inputEvents = &events_;
    data.outputEvents = &outputEvents_;
    data.processContext = transport_.contextForBlock();
    bool ok = plugin_.processor()->process(data) == kResultOk;
    inputChanges_.clear();
    events_.clear();
    transport_.advance(frames);
    return ok;
}

// Inputs read silence; outputs write into the caller's buffers from `offset` on. A block of no
// frames gets valid pointers into the silence so that no plug-in sees a null channel.
template <typename Sample>
void ProcessDriver::bindBuses(Sample* const* outputs, int64 offset, int32 frames) {
    std::vector<Sample>* silence;
    std::vector<Sample*>* pointers;
    if constexpr (sizeof(Sample) == sizeof(double)) {
        silence = &silence64_;
        pointers = &pointers64_;
    } else {
        silence = &silence32_;
        pointers = &pointers32_;
    }
    // Only the inputs' part is read as silence; the rest stands in for a block of no frames.
    const auto heard = static_cast<std::size_t>(inputChannels_) *
                       static_cast<std::size_t>(std::max<int32>(config_.maxBlock, 0));
    std::fill_n(silence->begin(), std::min(heard, silence->size()), Sample(0));
    // The buses take consecutive runs of the pointer array: the inputs' channels, then the
    // outputs'. They are set again on each call since the plug-in may have written over them.
    Sample** channels = pointers->data();
    auto bind = [&channels](std::vector<Vst::AudioBusBuffers>& buses,
                            const std::vector<int32>& counts) {
        for (std::size_t b = 0; b < buses.size(); ++b) {
            buses[b].numChannels = counts[b];
            buses[b].silenceFlags = 0;
            if constexpr (sizeof(Sample) == sizeof(double))
                buses[b].channelBuffers64 = channels;
            else
                buses[b].channelBuffers32 = channels;
            channels += counts[b];
        }
    };
    bind(inputBuses_, inputBusChannels_);
    bind(outputBuses_, outputBusChannels_);
    Sample** in = pointers->data();
    for (int32 c = 0; c < inputChannels_; ++c)
        in[c] = silence->data() + static_cast<std::size_t>(c) * config_.maxBlock;
    Sample** out = in + inputChannels_;
    for (int32 c = 0; c < outputChannels_; ++c)
        out[c] = frames > 0 ? outputs[c] + offset : silence->data();
}

} // namespace serivane::host
