#include "platform/ModuleHandle.h"
#include "platform/win32/WideText.h"

#include <windows.h>

#include <mutex>
#include <string>

namespace {
std::mutex gModuleMutex;
HMODULE gModule = nullptr;
std::string gModulePath;

// The module that holds this code: the plug-in library, or the program it is linked into.
HMODULE OwnModule() {
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                           GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&OwnModule), &module);
    return module;
}

std::string PathOf(HMODULE module) {
    wchar_t wide[MAX_PATH];
    DWORD length = GetModuleFileNameW(module, wide, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return {};
    return Narrowed({wide, length});
}
} // namespace

// The loader calls this first when it maps the library; the handle it gives is the module.
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) RecordModuleHandle(instance);
    return TRUE;
}

// Keeps the first handle recorded; a call without one (InitDll) records the module holding
// this code.
void RecordModuleHandle(void* loaderHandle) {
    std::lock_guard lock(gModuleMutex);
    if (!gModule) gModule = loaderHandle ? static_cast<HMODULE>(loaderHandle) : OwnModule();
    if (gModulePath.empty()) gModulePath = PathOf(gModule);
}

void* ModuleHandle() {
    std::lock_guard lock(gModuleMutex);
    return gModule;
}

const char* ModulePath() {
    std::lock_guard lock(gModuleMutex);
    return gModulePath.c_str();
}
