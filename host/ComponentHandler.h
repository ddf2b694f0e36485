#pragma once

#include "pluginterfaces/vst/ivsteditcontroller.h"

#include <mutex>
#include <vector>

namespace serivane::host {

// What a plug-in told the host through its component handler, in order of arrival.
struct HandlerCall {
    enum class Kind { BeginEdit, PerformEdit, EndEdit, Restart };
    Kind kind;
    Steinberg::Vst::ParamID id = 0;
    Steinberg::Vst::ParamValue value = 0.0;
    Steinberg::int32 restartFlags = 0;
};

// The component handler given to the plug-in: records every edit notification and restart
// request. The plug-in may call it from its editor thread, so the record is guarded.
class ComponentHandler : public Steinberg::Vst::IComponentHandler {
public:
    ComponentHandler();
    virtual ~ComponentHandler() = default;

    Steinberg::tresult PLUGIN_API beginEdit(Steinberg::Vst::ParamID id) override;
    Steinberg::tresult PLUGIN_API performEdit(Steinberg::Vst::ParamID id,
                                              Steinberg::Vst::ParamValue value) override;
    Steinberg::tresult PLUGIN_API endEdit(Steinberg::Vst::ParamID id) override;
    Steinberg::tresult PLUGIN_API restartComponent(Steinberg::int32 flags) override;

    std::vector<HandlerCall> calls() const;
    void clear();

    DECLARE_FUNKNOWN_METHODS

private:
    Steinberg::tresult record(const HandlerCall& call);

    mutable std::mutex mutex_;
    std::vector<HandlerCall> calls_;
};

} // namespace serivane::host
