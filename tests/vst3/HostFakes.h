#pragma once

#include "pluginterfaces/base/ibstream.h"
#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "pluginterfaces/vst/ivstevents.h"
#include "pluginterfaces/vst/ivsthostapplication.h"
#include "pluginterfaces/vst/ivstparameterchanges.h"

#include <cstring>
#include <string>
#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;

// Host-side objects handed to the plug-in. They live on the stack, so reference counts are not
// kept; queryInterface answers only the object's own interface.
template <typename Interface> class HostObject : public Interface {
public:
    tresult PLUGIN_API queryInterface(const TUID iid, void** obj) override {
        const bool own = FUnknownPrivate::iidEqual(iid, Interface::iid);
        *obj = own ? static_cast<Interface*>(this) : nullptr;
        return own ? kResultOk : kNoInterface;
    }
    uint32 PLUGIN_API addRef() override { return 1; }
    uint32 PLUGIN_API release() override { return 1; }
};

struct FakeQueue : HostObject<IParamValueQueue> {
    FakeQueue(ParamID id, std::vector<double> values) : id(id), values(std::move(values)) {}
    ParamID PLUGIN_API getParameterId() override { return id; }
    int32 PLUGIN_API getPointCount() override { return static_cast<int32>(values.size()); }
    tresult PLUGIN_API getPoint(int32 index, int32& offset, ParamValue& value) override {
        if (index < 0 || index >= getPointCount()) return kResultFalse;
        offset = index;
        value = values[static_cast<size_t>(index)];
        return kResultOk;
    }
    tresult PLUGIN_API addPoint(int32, ParamValue, int32&) override { return kResultFalse; }
    ParamID id;
    std::vector<double> values;
};

struct FakeChanges : HostObject<IParameterChanges> {
    int32 PLUGIN_API getParameterCount() override { return static_cast<int32>(queues.size()); }
    IParamValueQueue* PLUGIN_API getParameterData(int32 index) override {
        return &queues.at(static_cast<size_t>(index));
    }
    IParamValueQueue* PLUGIN_API addParameterData(const ParamID&, int32&) override {
        return nullptr;
    }
    std::vector<FakeQueue> queues;
};

struct FakeEvents : HostObject<IEventList> {
    int32 PLUGIN_API getEventCount() override { return static_cast<int32>(events.size()); }
    tresult PLUGIN_API getEvent(int32 index, Event& e) override {
        e = events.at(static_cast<size_t>(index));
        return kResultOk;
    }
    tresult PLUGIN_API addEvent(Event&) override { return kResultFalse; }
    std::vector<Event> events;
};

struct FakeHost : HostObject<IHostApplication> {
    explicit FakeHost(std::u16string name) : name(std::move(name)) {}
    tresult PLUGIN_API getName(String128 text) override {
        std::memcpy(text, name.c_str(), (name.size() + 1) * sizeof(char16_t));
        return kResultOk;
    }
    tresult PLUGIN_API createInstance(TUID, TUID, void**) override { return kNotImplemented; }
    std::u16string name;
};

// Records the plug-in's calls, one letter each: b(egin), p(erform), e(nd) of an edit.
struct FakeHandler : HostObject<IComponentHandler> {
    tresult PLUGIN_API beginEdit(ParamID id) override { return Record('b', id); }
    tresult PLUGIN_API performEdit(ParamID id, ParamValue) override { return Record('p', id); }
    tresult PLUGIN_API endEdit(ParamID id) override { return Record('e', id); }
    tresult PLUGIN_API restartComponent(int32 flags) override {
        restartFlags = flags;
        return kResultOk;
    }
    tresult Record(char call, ParamID id) {
        calls += call + std::to_string(id);
        return kResultOk;
    }
    std::string calls;
    int32 restartFlags = 0;
};

// A stream that never ends; every read delivers 0x7F bytes and answers readResult.
struct EndlessStream : HostObject<IBStream> {
    explicit EndlessStream(tresult readResult) : readResult(readResult) {}
    tresult PLUGIN_API read(void* buffer, int32 size, int32* got) override {
        std::memset(buffer, 0x7F, static_cast<size_t>(size));
        delivered += size;
        if (got) *got = size;
        return readResult;
    }
    tresult PLUGIN_API write(void*, int32, int32*) override { return kResultFalse; }
    tresult PLUGIN_API seek(int64, int32, int64*) override { return kResultOk; }
    tresult PLUGIN_API tell(int64*) override { return kResultOk; }
    tresult readResult;
    int64 delivered = 0;
};

// One stereo output block in the host's sample format, prefilled with 7.
template <typename Sample> struct Block {
    explicit Block(int frames) : left(static_cast<size_t>(frames), 7), right(left) {
        if constexpr (sizeof(Sample) == 4)
            bus.channelBuffers32 = channels;
        else
            bus.channelBuffers64 = channels;
        bus.numChannels = 2;
        data.symbolicSampleSize = sizeof(Sample) == 4 ? kSample32 : kSample64;
        data.numSamples = frames;
        data.numOutputs = 1;
        data.outputs = &bus;
    }
    // Left carries the running sample count from 0 on, right its negation.
    bool IsRamp() const {
        for (size_t i = 0; i < left.size(); ++i)
            if (left[i] != static_cast<Sample>(i) || right[i] != -static_cast<Sample>(i))
                return false;
        return true;
    }
    std::vector<Sample> left, right;
    Sample* channels[2] = {left.data(), right.data()};
    AudioBusBuffers bus{};
    ProcessData data{};
};
