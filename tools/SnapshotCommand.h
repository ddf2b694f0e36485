#pragma once

#include "tools/Arguments.h"
#include "tools/Console.h"

namespace serivane::tools {

int runSnapshot(const SnapshotOptions& options, const Console& console);

} // namespace serivane::tools
