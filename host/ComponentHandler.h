#pragma once

#include "pluginterfaces/vst/ivstcontextmenu.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"

#include <mutex>
#include <vector>

namespace serivane::host {

// What a plug-in told the host through its component handler, in order of arrival.
struct HandlerCall {
    enum class Kind { BeginEdit, PerformEdit, EndEdit, Restart, ContextMenu };
    Kind kind;
    Steinberg::Vst::ParamID id = 0;
    Steinberg::Vst::ParamValue value = 0.0;
    Steinberg::int32 restartFlags = 0;
    Steinberg::UCoord x = 0; // where a context menu popped up, relative to the view
    Steinberg::UCoord y = 0;
};

// The component handler given to the plug-in: records every edit notification, restart request
// and context menu shown. The plug-in may call it from its editor thread, so the record is
// guarded.
class ComponentHandler : public Steinberg::Vst::IComponentHandler,
                         public Steinberg::Vst::IComponentHandler3 {
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
