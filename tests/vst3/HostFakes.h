#pragma once

#include "pluginterfaces/base/ibstream.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "pluginterfaces/vst/ivstevents.h"
#include "pluginterfaces/vst/ivsthostapplication.h"
#include "pluginterfaces/vst/ivstparameterchanges.h"

#include <cstring>
#include <string>
#include <utility>
#include <vector>

// Host-side objects the tests hand to the plug-in. They live on the stack, so reference counts
// are not kept; queryInterface answers only the object's own interface.
template <typename Interface> class HostObject : public Interface {
public:
    Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override {
        if (Steinberg::FUnknownPrivate::iidEqual(iid, Interface::iid)) {
            *obj = static_cast<Interface*>(this);
            return Steinberg::kResultOk;
        }
        *obj = nullptr;
        return Steinberg::kNoInterface;
    }
    Steinberg::uint32 PLUGIN_API addRef() override { return 1; }
    Steinberg::uint32 PLUGIN_API release() override { return 1; }
};

class FakeQueue : public HostObject<Steinberg::Vst::IParamValueQueue> {
public:
    FakeQueue(Steinberg::Vst::ParamID id, std::vector<double> values)
        : id_(id), values_(std::move(values)) {}
    Steinberg::Vst::ParamID PLUGIN_API getParameterId() override { return id_; }
    Steinberg::int32 PLUGIN_API getPointCount() override {
        return static_cast<Steinberg::int32>(values_.size());
    }
    Steinberg::tresult PLUGIN_API getPoint(Steinberg::int32 index, Steinberg::int32& offset,
                                           Steinberg::Vst::ParamValue& value) override {
        if (index < 0 || index >= getPointCount()) return Steinberg::kResultFalse;
        offset = index;
        value = values_[static_cast<size_t>(index)];
        return Steinberg::kResultOk;
    }
    Steinberg::tresult PLUGIN_API addPoint(Steinberg::int32, Steinberg::Vst::ParamValue,
                                           Steinberg::int32&) override {
        return Steinberg::kResultFalse;
    }

private:
    Steinberg::Vst::ParamID id_;
    std::vector<double> values_;
};

class FakeChanges : public HostObject<Steinberg::Vst::IParameterChanges> {
public:
    void Add(Steinberg::Vst::ParamID id, std::vector<double> values) {
        queues_.emplace_back(id, std::move(values));
    }
    Steinberg::int32 PLUGIN_API getParameterCount() override {
        return static_cast<Steinberg::int32>(queues_.size());
    }
    Steinberg::Vst::IParamValueQueue* PLUGIN_API getParameterData(Steinberg::int32 index) override {
        return index >= 0 && index < getParameterCount() ? &queues_[static_cast<size_t>(index)]
                                                         : nullptr;
    }
    Steinberg::Vst::IParamValueQueue* PLUGIN_API addParameterData(const Steinberg::Vst::ParamID&,
                                                                  Steinberg::int32&) override {
        return nullptr;
    }

private:
    std::vector<FakeQueue> queues_;
};

class FakeEvents : public HostObject<Steinberg::Vst::IEventList> {
public:
    std::vector<Steinberg::Vst::Event> events;
    Steinberg::int32 PLUGIN_API getEventCount() override {
        return static_cast<Steinberg::int32>(events.size());
    }
    Steinberg::tresult PLUGIN_API getEvent(Steinberg::int32 index,
                                           Steinberg::Vst::Event& e) override {
        if (index < 0 || index >= getEventCount()) return Steinberg::kResultFalse;
        e = events[static_cast<size_t>(index)];
        return Steinberg::kResultOk;
    }
    Steinberg::tresult PLUGIN_API addEvent(Steinberg::Vst::Event&) override {
        return Steinberg::kResultFalse;
    }
};

class FakeHost : public HostObject<Steinberg::Vst::IHostApplication> {
public:
    explicit FakeHost(const char16_t* name) : name_(name) {}
    Steinberg::tresult PLUGIN_API getName(Steinberg::Vst::String128 name) override {
        std::u16string text(name_);
        std::memcpy(name, text.c_str(), (text.size() + 1) * sizeof(char16_t));
        return Steinberg::kResultOk;
    }
    Steinberg::tresult PLUGIN_API createInstance(Steinberg::TUID, Steinberg::TUID,
                                                 void**) override {
        return Steinberg::kNotImplemented;
    }

private:
    const char16_t* name_;
};

// Records what the plug-in tells the host, one letter per call: b(egin), p(erform), e(nd).
class FakeHandler : public HostObject<Steinberg::Vst::IComponentHandler> {
public:
    std::string calls;
    std::vector<Steinberg::Vst::ParamID> ids;
    double lastValue = -1.0;
    Steinberg::int32 restartFlags = 0;

    Steinberg::tresult PLUGIN_API beginEdit(Steinberg::Vst::ParamID id) override {
        return Record('b', id);
    }
    Steinberg::tresult PLUGIN_API performEdit(Steinberg::Vst::ParamID id,
                                              Steinberg::Vst::ParamValue value) override {
        lastValue = value;
        return Record('p', id);
    }
    Steinberg::tresult PLUGIN_API endEdit(Steinberg::Vst::ParamID id) override {
        return Record('e', id);
    }
    Steinberg::tresult PLUGIN_API restartComponent(Steinberg::int32 flags) override {
        restartFlags = flags;
        return Steinberg::kResultOk;
    }

private:
    Steinberg::tresult Record(char call, Steinberg::Vst::ParamID id) {
        calls.push_back(call);
        ids.push_back(id);
        return Steinberg::kResultOk;
    }
};

// A stream that never ends, or one that reports an error on every read while delivering bytes.
class FakeStream : public HostObject<Steinberg::IBStream> {
public:
    explicit FakeStream(Steinberg::tresult readResult) : readResult_(readResult) {}
    Steinberg::int64 delivered = 0;

    Steinberg::tresult PLUGIN_API read(void* buffer, Steinberg::int32 numBytes,
                                       Steinberg::int32* numBytesRead) override {
        std::memset(buffer, 0x7F, static_cast<size_t>(numBytes));
        delivered += numBytes;
        if (numBytesRead) *numBytesRead = numBytes;
        return readResult_;
    }
    Steinberg::tresult PLUGIN_API write(void*, Steinberg::int32, Steinberg::int32*) override {
        return Steinberg::kResultFalse;
    }
    Steinberg::tresult PLUGIN_API seek(Steinberg::int64, Steinberg::int32,
                                       Steinberg::int64*) override {
        return Steinberg::kResultOk;
    }
    Steinberg::tresult PLUGIN_API tell(Steinberg::int64*) override { return Steinberg::kResultOk; }

private:
    Steinberg::tresult readResult_;
};
