#pragma once

#include "tools/Arguments.h"
#include "tools/Console.h"

namespace serivane::tools {

// Opens the editor in a window of our host, with the transport running, until the window is
// closed or a signal asks the tool to stop.
int runEdit(const EditOptions& options, const Console& console);

} // namespace serivane::tools
