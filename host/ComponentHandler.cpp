#include "host/ComponentHandler.h"

namespace serivane::host {

using namespace Steinberg;

IMPLEMENT_FUNKNOWN_METHODS(ComponentHandler, Vst::IComponentHandler, Vst::IComponentHandler::iid)

ComponentHandler::ComponentHandler(){FUNKNOWN_CTOR}

tresult PLUGIN_API ComponentHandler::beginEdit(Vst::ParamID id) {
    return record({HandlerCall::Kind::BeginEdit, id});
}

tresult PLUGIN_API ComponentHandler::performEdit(Vst::ParamID id, Vst::ParamValue value) {
    return record({HandlerCall::Kind::PerformEdit, id, value});
}

tresult PLUGIN_API ComponentHandler::endEdit(Vst::ParamID id) {
    return record({HandlerCall::Kind::EndEdit, id});
}

tresult PLUGIN_API ComponentHandler::restartComponent(int32 flags) {
    return record({HandlerCall::Kind::Restart, 0, 0.0, flags});
}

std::vector<HandlerCall> ComponentHandler::calls() const {
    std::lock_guard lock(mutex_);
    return calls_;
}

void ComponentHandler::clear() {
    std::lock_guard lock(mutex_);
    calls_.clear();
}

tresult ComponentHandler::record(const HandlerCall& call) {
    std::lock_guard lock(mutex_);
    calls_.push_back(call);
    return kResultOk;
}

} // namespace serivane::host
