#pragma once

#include "pluginterfaces/vst/ivstcontextmenu.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "pluginterfaces/vst/ivstunits.h"

#include <mutex>
#include <thread>
#include <vector>

namespace serivane::host {

// What a plug-in told the host through its component or unit handler, in order of arrival.
struct HandlerCall {
    enum class Kind {
        BeginEdit,
        PerformEdit,
        EndEdit,
        Restart,
        ProgramListChange,
        UnitSelection,
        ContextMenu
    };
    Kind kind;
    Steinberg::Vst::ParamID id = 0; // parameter, program list or unit
    Steinberg::Vst::ParamValue value = 0.0;
    Steinberg::int32 restartFlags = 0;
    Steinberg::int32 programIndex = 0;
    Steinberg::UCoord x = 0; // where a context menu popped up, relative to the view
    Steinberg::UCoord y = 0;
    std::thread::id thread = std::this_thread::get_id(); // the thread the plug-in called from
};

// The component handler given to the plug-in, also its unit handler: records every edit
// notification, restart request, program-list change and context menu shown. The plug-in may
// call it from its editor thread, so the record is guarded.
class ComponentHandler : public Steinberg::Vst::IComponentHandler,
                         public Steinberg::Vst::IComponentHandler3,
                         public Steinberg::Vst::IUnitHandler {
public:
    ComponentHandler();
    virtual ~ComponentHandler() = default;

    Steinberg::tresult PLUGIN_API beginEdit(Steinberg::Vst::ParamID id) override;
    Steinberg::tresult PLUGIN_API performEdit(Steinberg::Vst::ParamID id,
                                              Steinberg::Vst::ParamValue value) override;
    Steinberg::tresult PLUGIN_API endEdit(Steinberg::Vst::ParamID id) override;
    Steinberg::tresult PLUGIN_API restartComponent(Steinberg::int32 flags) override;
    // A menu without items of its own whose popup is recorded with the parameter it was made for.
    Steinberg::Vst::IContextMenu* PLUGIN_API
    createContextMenu(Steinberg::IPlugView* view, const Steinberg::Vst::ParamID* id) override;

    Steinberg::tresult PLUGIN_API notifyUnitSelection(Steinberg::Vst::UnitID unitId) override;
    Steinberg::tresult PLUGIN_API notifyProgramListChange(Steinberg::Vst::ProgramListID listId,
                                                          Steinberg::int32 programIndex) override;

    std::vector<HandlerCall> calls() const;
    void clear();

    // Appends one call to the record.
    Steinberg::tresult record(const HandlerCall& call);

    DECLARE_FUNKNOWN_METHODS

private:
    mutable std::mutex mutex_;
    std::vector<HandlerCall> calls_;
};

} // namespace serivane::host
