#include "framework/IEffectBase.h"

#include <algorithm>

// Channel connections and host buffers. A channel's entry in the pointer arrays is what
// RenderBlock sees: a host buffer, or the channel's scratch buffer.

bool IEffectBase::AcceptsChannels(int inputs, int outputs) const {
    return std::any_of(channelIO_.begin(), channelIO_.end(), [&](const IChannelIO& io) {
        return (inputs < 0 || io.inputs == inputs) && (outputs < 0 || io.outputs == outputs);
    });
}

void IEffectBase::SetInputConnections(int first, int count, bool connected) {
    const int last = std::min(first + count, InputChannelCount());
    for (int i = std::max(0, first); i < last; ++i) {
        inputs_[i].connected = connected;
        if (!connected) *inputs_[i].source = inputs_[i].scratch.data();
    }
}

void IEffectBase::SetOutputConnections(int first, int count, bool connected) {
    const int last = std::min(first + count, OutputChannelCount());
    for (int i = std::max(0, first); i < last; ++i) {
        outputs_[i].connected = connected;
        if (!connected) {
            *outputs_[i].destination = outputs_[i].scratch.data();
            outputs_[i].singleDestination = nullptr;
        }
    }
}

void IEffectBase::BindInputBuffers(int first, int count, float** buffers, int frames) {
    const int last = std::min(first + count, InputChannelCount());
    int next = 0;
    for (int i = std::max(0, first); i < last; ++i) {
        IInputChannel& channel = inputs_[i];
        if (!channel.connected) continue;
        const float* host = buffers[next++];
        const int n = std::min(frames, static_cast<int>(channel.scratch.size()));
        std::copy(host, host + std::max(0, n), channel.scratch.begin());
        *channel.source = channel.scratch.data();
    }
}

void IEffectBase::BindInputBuffers(int first, int count, double** buffers, int) {
    const int last = std::min(first + count, InputChannelCount());
    int next = 0;
    for (int i = std::max(0, first); i < last; ++i)
        if (inputs_[i].connected) *inputs_[i].source = buffers[next++];
}

void IEffectBase::BindOutputBuffers(int first, int count, float** buffers, int) {
    const int last = std::min(first + count, OutputChannelCount());
    int next = 0;
    for (int i = std::max(0, first); i < last; ++i) {
        IOutputChannel& channel = outputs_[i];
        if (!channel.connected) continue;
        *channel.destination = channel.scratch.data();
        channel.singleDestination = buffers[next++];
    }
}

void IEffectBase::BindOutputBuffers(int first, int count, double** buffers, int) {
    const int last = std::min(first + count, OutputChannelCount());
    int next = 0;
    for (int i = std::max(0, first); i < last; ++i)
        if (outputs_[i].connected) *outputs_[i].destination = buffers[next++];
}

namespace {

[[gnu::always_inline]] inline void ToSingle(const double* source, int frames, float* destination) {
    for (int i = 0; i < frames; ++i) destination[i] = static_cast<float>(source[i]);
}

#if defined(__x86_64__)
// Each sample rounds alike at any vector width, so the widest the processor runs converts.
[[gnu::target("avx2")]] void ToSingleAvx2(const double* source, int frames, float* destination) {
    ToSingle(source, frames, destination);
}

bool HasAvx2() {
    static const bool available = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2") != 0;
    }();
    return available;
}
#endif

} // namespace

void IEffectBase::ConvertToSingle(int frames) {
    for (IOutputChannel& channel : outputs_) {
        if (!channel.connected || !channel.singleDestination) continue;
#if defined(__x86_64__)
        if (HasAvx2()) {
            ToSingleAvx2(*channel.destination, frames, channel.singleDestination);
            continue;
        }
#endif
        ToSingle(*channel.destination, frames, channel.singleDestination);
    }
}

void IEffectBase::RenderBuffers32(int frames) {
    frames = std::clamp(frames, 0, blockSize_);
    if (renderEnabled_)
        RenderBlock(inputPointers_.empty() ? nullptr : inputPointers_.data(),
                    outputPointers_.empty() ? nullptr : outputPointers_.data(), frames);
    ConvertToSingle(frames);
}

void IEffectBase::RenderBuffers64(int frames) {
    frames = std::clamp(frames, 0, blockSize_);
    if (renderEnabled_)
        RenderBlock(inputPointers_.empty() ? nullptr : inputPointers_.data(),
                    outputPointers_.empty() ? nullptr : outputPointers_.data(), frames);
}

void IEffectBase::BypassBuffers32(int frames) {
    frames = std::clamp(frames, 0, blockSize_);
    DefaultRenderBlock(inputPointers_.data(), outputPointers_.data(), frames);
    ConvertToSingle(frames);
}

void IEffectBase::BypassBuffers64(int frames) {
    DefaultRenderBlock(inputPointers_.data(), outputPointers_.data(),
                       std::clamp(frames, 0, blockSize_));
}

void IEffectBase::DefaultRenderBlock(double** inputs, double** outputs, int frames) {
    const int through = std::min(InputChannelCount(), OutputChannelCount());
    for (int c = 0; c < OutputChannelCount(); ++c) {
        if (c < through)
            std::copy(inputs[c], inputs[c] + frames, outputs[c]);
        else
            std::fill(outputs[c], outputs[c] + frames, 0.0);
    }
}

void IEffectBase::SetBlockSize(int frames) {
    frames = std::max(0, frames);
    if (frames != blockSize_) {
        for (IInputChannel& channel : inputs_) channel.scratch.assign(frames, 0.0);
        for (IOutputChannel& channel : outputs_) channel.scratch.assign(frames, 0.0);
        // Unconnected channels point at their scratch buffers, which have just moved.
        for (IInputChannel& channel : inputs_)
            if (!channel.connected) *channel.source = channel.scratch.data();
        for (IOutputChannel& channel : outputs_)
            if (!channel.connected) *channel.destination = channel.scratch.data();
    }
    blockSize_ = frames;
}

void IEffectBase::ClearScratchBuffers() {
    for (IInputChannel& channel : inputs_)
        std::fill(channel.scratch.begin(), channel.scratch.end(), 0.0);
    for (IOutputChannel& channel : outputs_)
        std::fill(channel.scratch.begin(), channel.scratch.end(), 0.0);
}
