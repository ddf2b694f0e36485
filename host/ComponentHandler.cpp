#include "host/ComponentHandler.h"

namespace serivane::host {

using namespace Steinberg;

namespace {

// The host's context menu for one parameter: it has no items and records where it popped up.
class ContextMenu : public Vst::IContextMenu {
public:
    ContextMenu(IPtr<ComponentHandler> handler, Vst::ParamID id)
        : handler_(std::move(handler)), id_(id) {
        FUNKNOWN_CTOR
    }
    virtual ~ContextMenu(){FUNKNOWN_DTOR}

    int32 PLUGIN_API getItemCount() override {
        return 0;
    }
    tresult PLUGIN_API getItem(int32, Item&, Vst::IContextMenuTarget**) override {
        return kResultFalse;
    }
    tresult PLUGIN_API addItem(const Item&, Vst::IContextMenuTarget*) override { return kResultOk; }
    tresult PLUGIN_API removeItem(const Item&, Vst::IContextMenuTarget*) override {
        return kResultOk;
    }
    tresult PLUGIN_API popup(UCoord x, UCoord y) override {
        return handler_->record({HandlerCall::Kind::ContextMenu, id_, 0.0, 0, 0, x, y});
    }

    DECLARE_FUNKNOWN_METHODS

private:
    IPtr<ComponentHandler> handler_;
    Vst::ParamID id_;
};

IMPLEMENT_FUNKNOWN_METHODS(ContextMenu, Vst::IContextMenu, Vst::IContextMenu::iid)

} // namespace

IMPLEMENT_REFCOUNT(ComponentHandler)

tresult PLUGIN_API ComponentHandler::queryInterface(const TUID iid, void** obj) {
    QUERY_INTERFACE(iid, obj, FUnknown::iid, Vst::IComponentHandler)
    QUERY_INTERFACE(iid, obj, Vst::IComponentHandler::iid, Vst::IComponentHandler)
    QUERY_INTERFACE(iid, obj, Vst::IUnitHandler::iid, Vst::IUnitHandler)
    QUERY_INTERFACE(iid, obj, Vst::IComponentHandler3::iid, Vst::IComponentHandler3)
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

Vst::IContextMenu* PLUGIN_API ComponentHandler::createContextMenu(IPlugView* view,
                                                                  const Vst::ParamID* id) {
    if (!view) return nullptr;
    return new ContextMenu(IPtr<ComponentHandler>(this), id ? *id : 0);
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
