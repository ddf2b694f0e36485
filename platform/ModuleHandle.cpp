#include "platform/ModuleHandle.h"

#include <dlfcn.h>
#include <mutex>
#include <string>

namespace {
std::mutex gModuleMutex;
void* gLoaderHandle = nullptr;
std::string gModulePath;
} // namespace

// Keeps the first handle a loader gave; the path comes from the address of this very function,
// which lies in the library whatever the handle, and once found it stays.
void RecordModuleHandle(void* loaderHandle) {
    std::lock_guard lock(gModuleMutex);
    if (!gLoaderHandle) gLoaderHandle = loaderHandle;
    if (!gModulePath.empty()) return;
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&RecordModuleHandle), &info) && info.dli_fname)
        gModulePath = info.dli_fname;
}

void* ModuleHandle() {
    std::lock_guard lock(gModuleMutex);
    return gLoaderHandle;
}

const char* ModulePath() {
    std::lock_guard lock(gModuleMutex);
    return gModulePath.c_str();
}
