#pragma once

#include "public.sdk/source/vst/hosting/hostclasses.h"

namespace serivane::host {

// The host application a plug-in sees in initialize: it answers our name and creates the
// messages and attribute lists that connection points exchange.
class HostContext : public Steinberg::Vst::HostApplication {
public:
    static constexpr const char* name = "Serivane Host";

    Steinberg::tresult PLUGIN_API getName(Steinberg::Vst::String128 text) override;
};

} // namespace serivane::host
