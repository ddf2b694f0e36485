#include "host/ComponentHandler.h"

namespace serivane::host {

using namespace Steinberg;

IMPLEMENT_REFCOUNT(ComponentHandler)

tresult PLUGIN_API ComponentHandler::queryInterface(const TUID iid, void** obj) {
    QUERY_INTERFACE(iid, obj, FUnknown::iid, Vst::IComponentHandler)
    QUERY_INTERFACE(iid, obj, Vst::IComponentHandler::iid, Vst::IComponentHandler)
    QUERY_INTERFACE(iid, obj, Vst::IUnitHandler::iid, Vst::IUnitHandler)
    *obj = nullptr;
    return kNoInterface;
}

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

tresult PLUGIN_API ComponentHandler::notifyUnitSelection(Vst::UnitID unitId) {
    return record({HandlerCall::Kind::UnitSelection, static_cast<Vst::ParamID>(unitId)});
}

tresult PLUGIN_API ComponentHandler::notifyProgramListChange(Vst::ProgramListID listId,
                                                             int32 programIndex) {
    return record({HandlerCall::Kind::ProgramListChange, static_cast<Vst::ParamID>(listId), 0.0, 0,
                   programIndex});
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
