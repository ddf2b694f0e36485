#include "vst3/IEffectVST3.h"

#include "pluginterfaces/vst/ivstevents.h"
#include "pluginterfaces/vst/ivstparameterchanges.h"

#include <algorithm>
#include <cmath>
#include <cstring>

// The audio block: parameter changes, MIDI, then the audio itself, all under the plug-in mutex.
// Nothing here allocates, and nothing the host passes is trusted to be well formed.

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

// A bus can take part when it brings a buffer for each of the channels it would fill.
template <typename Sample> bool HasBuffers(Sample** buffers, int channels) {
    if (!buffers) return false;
    for (int c = 0; c < channels; ++c)
        if (!buffers[c]) return false;
    return true;
}

bool HasBuffers(const AudioBusBuffers& bus, int channels, bool single) {
    return single ? HasBuffers(bus.channelBuffers32, channels)
                  : HasBuffers(bus.channelBuffers64, channels);
}

// The host's buffers moved on to the piece of the block that starts at offset; the first piece
// takes them as they are.
template <typename Sample>
Sample** Shifted(Sample** buffers, int channels, int offset, std::vector<Sample*>& piece) {
    if (offset == 0) return buffers;
    for (int c = 0; c < channels; ++c) piece[static_cast<size_t>(c)] = buffers[c] + offset;
    return piece.data();
}

bool BusActive(const BusList& buses, int index) {
    return index < static_cast<int>(buses.size()) && buses[static_cast<size_t>(index)]->isActive();
}

} // namespace

tresult PLUGIN_API IEffectVST3::process(ProcessData& data) {
    std::lock_guard lock(Mutex());
    if (data.processContext) processContext_ = *data.processContext;
    ApplyParameterChanges(data.inputParameterChanges);
    if (ReceivesMidi()) PassMidiEvents(data.inputEvents);
    const bool known = data.symbolicSampleSize == kSample32 || data.symbolicSampleSize == kSample64;
    if (known && data.numSamples >= 0) ProcessAudio(data);
    return kResultOk;
}

// Only the last point of each queue counts: the value the parameter holds at the block's end.
void IEffectVST3::ApplyParameterChanges(IParameterChanges* changes) {
    if (!changes) return;
    const int32 count = changes->getParameterCount();
    for (int32 i = 0; i < count; ++i) {
        IParamValueQueue* queue = changes->getParameterData(i);
        if (!queue) continue;
        const int32 points = queue->getPointCount();
        int32 offset = 0;
        ParamValue value = 0.0;
        if (points <= 0 || queue->getPoint(points - 1, offset, value) != kResultOk) continue;
        ApplyParameterChange(queue->getParameterId(), value);
    }
}

void IEffectVST3::ApplyParameterChange(ParamID id, double value) {
    if (std::isnan(value)) return;
    value = std::clamp(value, 0.0, 1.0);
    if (id == kBypassParamId) {
        SetBypassed(value > 0.5);
    } else if (id == kProgramParamId) {
        LoadPreset(ProgramIndexFor(value));
    } else if (id < static_cast<ParamID>(ParamCount())) {
        const int index = static_cast<int>(id);
        ParamAt(index)->SetFromNormalized(value);
        if (Editor()) Editor()->ShowParamInControls(index, value, true);
        OnParamChanged(index);
    }
}

void IEffectVST3::PassMidiEvents(IEventList* events) {
    if (!events) return;
    const int32 count = events->getEventCount();
    for (int32 i = 0; i < count; ++i) {
        Event event{};
        if (events->getEvent(i, event) != kResultOk) continue;
        IMidiMessage message{};
        message.offset = event.sampleOffset;
        if (event.type == Event::kNoteOnEvent) {
            const float velocity = std::clamp(event.noteOn.velocity, 0.0f, 1.0f);
            message.status = static_cast<uint8_t>(0x90 | (event.noteOn.channel & 0x0F));
            message.data1 = static_cast<uint8_t>(std::clamp<int>(event.noteOn.pitch, 0, 127));
            message.data2 = static_cast<uint8_t>(std::isnan(velocity) ? 0.0f : velocity * 127.0f);
        } else if (event.type == Event::kNoteOffEvent) {
            message.status = static_cast<uint8_t>(0x80 | (event.noteOff.channel & 0x0F));
            message.data1 = static_cast<uint8_t>(std::clamp<int>(event.noteOff.pitch, 0, 127));
        } else {
            continue;
        }
        OnMidiMessage(message);
    }
}

// A block longer than the prepared size is rendered piece by piece, each piece reading and
// writing the host's buffers at its own offset. A block of no frames still reaches the render
// hook once, which keeps the instrument's per-block bookkeeping running.
void IEffectVST3::ProcessAudio(ProcessData& data) {
    const bool single = data.symbolicSampleSize == kSample32;
    ConnectBuses(data, single);
    if (BlockSize() <= 0) {
        SilenceOutputs(data, single);
        return;
    }
    int done = 0;
    do {
        const int frames = std::min(BlockSize(), data.numSamples - done);
        BindBuses(data, done, frames, single);
        if (single)
            Bypassed() ? BypassBuffers32(frames) : RenderBuffers32(frames);
        else
            Bypassed() ? BypassBuffers64(frames) : RenderBuffers64(frames);
        done += frames;
    } while (done < data.numSamples);
}

// Channels of active buses that bring their buffers are connected, bus after bus; every other
// channel renders into its own scratch buffer, so no channel keeps a previous block's pointer.
// A disconnected channel already points at its scratch buffer, so only channels whose state
// changes are touched: usually none.
void IEffectVST3::ConnectBuses(const ProcessData& data, bool single) {
    auto connectInputs = [this](int first, int count, bool connected) {
        for (int i = first; i < first + count; ++i)
            if (InputConnected(i) != connected)
                return SetInputConnections(i, first + count - i, connected);
    };
    auto connectOutputs = [this](int first, int count, bool connected) {
        for (int i = first; i < first + count; ++i)
            if (OutputConnected(i) != connected)
                return SetOutputConnections(i, first + count - i, connected);
    };
    const int32 numInputs = data.inputs ? data.numInputs : 0;
    int c = 0;
    for (int32 b = 0; b < numInputs && c < InputChannelCount(); ++b) {
        const int k = std::max(0, data.inputs[b].numChannels);
        const int used = std::min(k, InputChannelCount() - c);
        connectInputs(c, used,
                      BusActive(audioInputs, b) && HasBuffers(data.inputs[b], used, single));
        c += used;
    }
    connectInputs(c, InputChannelCount() - c, false);
    const int32 numOutputs = data.outputs ? data.numOutputs : 0;
    c = 0;
    for (int32 b = 0; b < numOutputs && c < OutputChannelCount(); ++b) {
        const int k = std::max(0, data.outputs[b].numChannels);
        const int used = std::min(k, OutputChannelCount() - c);
        connectOutputs(c, used,
                       BusActive(audioOutputs, b) && HasBuffers(data.outputs[b], used, single));
        c += used;
    }
    connectOutputs(c, OutputChannelCount() - c, false);
}

// The buses ConnectBuses connected are the ones that bring buffers.
void IEffectVST3::BindBuses(const ProcessData& data, int offset, int frames, bool single) {
    const int32 numInputs = data.inputs ? data.numInputs : 0;
    for (int32 b = 0, c = 0; b < numInputs && c < InputChannelCount(); ++b) {
        const AudioBusBuffers& bus = data.inputs[b];
        const int used = std::min(std::max(0, bus.numChannels), InputChannelCount() - c);
        if (used > 0 && InputConnected(c)) {
            if (single)
                BindInputBuffers(c, used, Shifted(bus.channelBuffers32, used, offset, piece32_),
                                 frames);
            else
                BindInputBuffers(c, used, Shifted(bus.channelBuffers64, used, offset, piece64_),
                                 frames);
        }
        c += used;
    }
    const int32 numOutputs = data.outputs ? data.numOutputs : 0;
    for (int32 b = 0, c = 0; b < numOutputs && c < OutputChannelCount(); ++b) {
        const AudioBusBuffers& bus = data.outputs[b];
        const int used = std::min(std::max(0, bus.numChannels), OutputChannelCount() - c);
        if (used > 0 && OutputConnected(c)) {
            if (single)
                BindOutputBuffers(c, used, Shifted(bus.channelBuffers32, used, offset, piece32_),
                                  frames);
            else
                BindOutputBuffers(c, used, Shifted(bus.channelBuffers64, used, offset, piece64_),
                                  frames);
        }
        c += used;
    }
}

// Before processing was set up nothing can render; the host still gets silence, not garbage.
void IEffectVST3::SilenceOutputs(const ProcessData& data, bool single) {
    const int32 numOutputs = data.outputs ? data.numOutputs : 0;
    const auto frames = static_cast<size_t>(data.numSamples);
    for (int32 b = 0; b < numOutputs; ++b) {
        const AudioBusBuffers& bus = data.outputs[b];
        const int channels = std::max(0, bus.numChannels);
        if (!HasBuffers(bus, channels, single)) continue;
        for (int c = 0; c < channels; ++c) {
            if (single)
                std::memset(bus.channelBuffers32[c], 0, frames * sizeof(Sample32));
            else
                std::memset(bus.channelBuffers64[c], 0, frames * sizeof(Sample64));
        }
    }
}
