#pragma once

// The loaded library that this code belongs to, recorded when the host loads it so that its
// resources can be found later.
void RecordModuleHandle(void* loaderHandle);
// The handle the host's loader gave (null when it gave none).
void* ModuleHandle();
// The library's file, empty until recorded.
const char* ModulePath();
