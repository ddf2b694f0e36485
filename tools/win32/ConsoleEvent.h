#pragma once

#include <windows.h>

namespace serivane::tools {

// The console handler an InterruptionGuard installs; Windows calls it on a thread of its own.
// Ctrl+C and Ctrl+Break ask the job to stop at its next safe point. After a close, log-off or
// shutdown event Windows ends the process as soon as the handler returns, so for those it also
// waits, a few seconds at most, for the guard to end: by then the job has cleaned up.
BOOL WINAPI answerConsoleEvent(DWORD event);

} // namespace serivane::tools
