#pragma once

#include "tools/Arguments.h"
#include "tools/Console.h"
#include "tools/InfoReport.h"

#include <string>

namespace serivane::tools {

int runInfo(const InfoOptions& options, const Console& console);

std::string infoText(const PluginReport& report);
std::string infoJson(const PluginReport& report);

} // namespace serivane::tools
