// The functions a VST3 host looks up in the loaded library; everything else in it is hidden.
#include "instrument/SerivaneFactory.h"
#include "platform/ModuleHandle.h"
#include "vst3/PluginFactory.h"

extern "C" {

SMTG_EXPORT_SYMBOL Steinberg::IPluginFactory* PLUGIN_API GetPluginFactory() {
    return PluginFactory::Shared(&CreateSerivaneFactory);
}

// The entry pair Windows hosts call; a host that calls only these still gets the module recorded.
SMTG_EXPORT_SYMBOL bool InitDll() {
    RecordModuleHandle(nullptr);
    return true;
}

SMTG_EXPORT_SYMBOL bool ExitDll() {
    return true;
}
}
