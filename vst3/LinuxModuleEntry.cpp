// The entry points Linux hosts call besides GetPluginFactory, InitDll and ExitDll.
#include "platform/ModuleHandle.h"

#include "pluginterfaces/base/fplatform.h"

extern "C" {

// Called by Linux hosts right after loading, with the loader's handle of the library.
SMTG_EXPORT_SYMBOL bool ModuleEntry(void* sharedLibraryHandle) {
    RecordModuleHandle(sharedLibraryHandle);
    return true;
}

SMTG_EXPORT_SYMBOL bool ModuleExit() {
    return true;
}
}
