#pragma once

namespace serivane::tools {

// Counts the calling thread's operator new calls while switched on (the test binary replaces
// the global operator new and delete; the plug-in's calls resolve to them as well).
void countHeapCalls(bool on);
int heapCalls();

} // namespace serivane::tools
