#pragma once

#include "pluginterfaces/vst/ivstparameterchanges.h"

#include <vector>

namespace serivane::host {

// The points of one parameter within a block, kept in order of sample offset. Storage is
// reserved up front so that filling and reading a queue never allocates.
class ParamValueQueue : public Steinberg::Vst::IParamValueQueue {
public:
    explicit ParamValueQueue(Steinberg::int32 capacity);
    virtual ~ParamValueQueue() = default;

    void reset(Steinberg::Vst::ParamID id);

    Steinberg::Vst::ParamID PLUGIN_API getParameterId() override { return id_; }
    Steinberg::int32 PLUGIN_API getPointCount() override;
    Steinberg::tresult PLUGIN_API getPoint(Steinberg::int32 index, Steinberg::int32& sampleOffset,
                                           Steinberg::Vst::ParamValue& value) override;
    Steinberg::tresult PLUGIN_API addPoint(Steinberg::int32 sampleOffset,
                                           Steinberg::Vst::ParamValue value,
                                           Steinberg::int32& index) override;

    // The host owns these objects; the plug-in only borrows them during a block.
    Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override;
    Steinberg::uint32 PLUGIN_API addRef() override { return 1; }
    Steinberg::uint32 PLUGIN_API release() override { return 1; }

private:
    struct Point {
        Steinberg::int32 offset;
        Steinberg::Vst::ParamValue value;
    };

    Steinberg::Vst::ParamID id_ = 0;
    std::vector<Point> points_;
};

// The parameter changes of one block: at most one queue per parameter id, in the order the
// parameters were first added.
class ParameterChanges : public Steinberg::Vst::IParameterChanges {
public:
    ParameterChanges(Steinberg::int32 queueCapacity, Steinberg::int32 pointCapacity);
    virtual ~ParameterChanges() = default;

    void clear() { used_ = 0; }

    // Queues one value at a sample offset; false when the capacity is exhausted.
    bool add(Steinberg::Vst::ParamID id, Steinberg::Vst::ParamValue value,
             Steinberg::int32 sampleOffset = 0);

    Steinberg::int32 PLUGIN_API getParameterCount() override { return used_; }
    Steinberg::Vst::IParamValueQueue* PLUGIN_API getParameterData(Steinberg::int32 index) override;
    Steinberg::Vst::IParamValueQueue* PLUGIN_API addParameterData(const Steinberg::Vst::ParamID& id,
                                                                  Steinberg::int32& index) override;

    Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override;
    Steinberg::uint32 PLUGIN_API addRef() override { return 1; }
    Steinberg::uint32 PLUGIN_API release() override { return 1; }

private:
    std::vector<ParamValueQueue> queues_;
    Steinberg::int32 used_ = 0;
};

} // namespace serivane::host
