#pragma once

#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "pluginterfaces/vst/ivstunits.h"

#include <mutex>
#include <thread>
#include <vector>

namespace serivane::host {

// What a plug-in told the host through its component or unit handler, in order of arrival.
struct HandlerCall {
    enum class Kind { BeginEdit, PerformEdit, EndEdit, Restart, ProgramListChange, UnitSelection };
    Kind kind;
    Steinberg::Vst::ParamID id = 0; // parameter, program list or unit
    Steinberg::Vst::ParamValue value = 0.0;
    Steinberg::int32 restartFlags = 0;
    Steinberg::int32 programIndex = 0;
    std::thread::id thread = std::this_thread::get_id(); // the thread the plug-in called from
};

// The component handler given to the plug-in, also its unit handler: records every edit
// notification, restart request and program-list change. The plug-in may call it from its
// editor thread, so the record is guarded.
class ComponentHandler : public Steinberg::Vst::IComponentHandler,
                         public Steinberg::Vst::IUnitHandler {
public:
    ComponentHandler();
    virtual ~ComponentHandler() = default;

    Steinberg::tresult PLUGIN_API beginEdit(Steinberg::Vst::ParamID id) override;
    Steinberg::tresult PLUGIN_API performEdit(Steinberg::Vst::ParamID id,
                                              Steinberg::Vst::ParamValue value) override;
    Steinberg::tresult PLUGIN_API endEdit(Steinberg::Vst::ParamID id) override;
    Steinberg::tresult PLUGIN_API restartComponent(Steinberg::int32 flags) override;

    Steinberg::tresult PLUGIN_API notifyUnitSelection(Steinberg::Vst::UnitID unitId) override;
    Steinberg::tresult PLUGIN_API notifyProgramListChange(Steinberg::Vst::ProgramListID listId,
                                                          Steinberg::int32 programIndex) override;

    std::vector<HandlerCall> calls() const;
    void clear();

    DECLARE_FUNKNOWN_METHODS

private:
    Steinberg::tresult record(const HandlerCall& call);

    mutable std::mutex mutex_;
    std::vector<HandlerCall> calls_;
};

} // namespace serivane::host
