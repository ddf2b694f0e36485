#pragma once

#include "tools/Arguments.h"
#include "tools/Console.h"

namespace serivane::tools {

int runRender(const RenderOptions& options, const Console& console);

} // namespace serivane::tools
