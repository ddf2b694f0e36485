#include "host/ParameterChanges.h"

#include <algorithm>

namespace serivane::host {

using namespace Steinberg;

namespace {

template <typename Interface> tresult answer(Interface* self, const TUID iid, void** obj) {
    if (FUnknownPrivate::iidEqual(iid, FUnknown::iid) ||
        FUnknownPrivate::iidEqual(iid, Interface::iid)) {
        *obj = self;
        return kResultOk;
    }
    *obj = nullptr;
    return kNoInterface;
}

} // namespace

ParamValueQueue::ParamValueQueue(int32 capacity) {
    points_.reserve(static_cast<std::size_t>(capacity));
}

void ParamValueQueue::reset(Vst::ParamID id) {
    id_ = id;
    points_.clear();
}

int32 PLUGIN_API ParamValueQueue::getPointCount() {
    return static_cast<int32>(points_.size());
}

tresult PLUGIN_API ParamValueQueue::getPoint(int32 index, int32& sampleOffset,
                                             Vst::ParamValue& value) {
    if (index < 0 || index >= getPointCount()) return kResultFalse;
    sampleOffset = points_[static_cast<std::size_t>(index)].offset;
    value = points_[static_cast<std::size_t>(index)].value;
    return kResultOk;
}

tresult PLUGIN_API ParamValueQueue::addPoint(int32 sampleOffset, Vst::ParamValue value,
                                             int32& index) {
    auto at = std::lower_bound(points_.begin(), points_.end(), sampleOffset,
                               [](const Point& p, int32 offset) { return p.offset < offset; });
    index = static_cast<int32>(at - points_.begin());
    if (at != points_.end() && at->offset == sampleOffset) {
        at->value = value;
        return kResultOk;
    }
    if (points_.size() == points_.capacity()) return kResultFalse;
    points_.insert(at, {sampleOffset, value});
    return kResultOk;
}

tresult PLUGIN_API ParamValueQueue::queryInterface(const TUID iid, void** obj) {
    return answer<Vst::IParamValueQueue>(this, iid, obj);
}

ParameterChanges::ParameterChanges(int32 queueCapacity, int32 pointCapacity) {
    queues_.reserve(static_cast<std::size_t>(queueCapacity));
    for (int32 i = 0; i < queueCapacity; ++i) queues_.emplace_back(pointCapacity);
}

bool ParameterChanges::add(Vst::ParamID id, Vst::ParamValue value, int32 sampleOffset) {
    int32 index = 0;
    Vst::IParamValueQueue* queue = addParameterData(id, index);
    return queue != nullptr && queue->addPoint(sampleOffset, value, index) == kResultOk;
}

Vst::IParamValueQueue* PLUGIN_API ParameterChanges::getParameterData(int32 index) {
    if (index < 0 || index >= used_) return nullptr;
    return &queues_[static_cast<std::size_t>(index)];
}

Vst::IParamValueQueue* PLUGIN_API ParameterChanges::addParameterData(const Vst::ParamID& id,
                                                                     int32& index) {
    for (index = 0; index < used_; ++index) {
        if (queues_[static_cast<std::size_t>(index)].getParameterId() == id)
            return &queues_[static_cast<std::size_t>(index)];
    }
    if (used_ == static_cast<int32>(queues_.size())) return nullptr;
    index = used_++;
    queues_[static_cast<std::size_t>(index)].reset(id);
    return &queues_[static_cast<std::size_t>(index)];
}

tresult PLUGIN_API ParameterChanges::queryInterface(const TUID iid, void** obj) {
    return answer<Vst::IParameterChanges>(this, iid, obj);
}

} // namespace serivane::host
