#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace serivane::tools {

// The slot of the preset `choice` names among `names`: a slot number; else a name equal to it
// (the same case first, then any case); else the one name that contains it, in any case
// ("schumann resonance (7.83" or "7.83"). None with `error` set when no name or several fit,
// the message then listing the candidates.
std::optional<std::size_t> choosePreset(const std::vector<std::string>& names,
                                        const std::string& choice, std::string& error);

} // namespace serivane::tools
