#include "host/HostContext.h"

#include "pluginterfaces/base/ustring.h"

namespace serivane::host {

Steinberg::tresult PLUGIN_API HostContext::getName(Steinberg::Vst::String128 text) {
    Steinberg::UString(text, 128).fromAscii(name);
    return Steinberg::kResultOk;
}

} // namespace serivane::host
