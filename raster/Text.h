#pragma once

#include <string>
#include <string_view>

namespace raster {

// The text as UTF-8: valid UTF-8 is kept, anything else is read as Latin-1.
std::string TextAsUtf8(std::string_view text);

} // namespace raster
