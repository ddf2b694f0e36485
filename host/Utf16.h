#pragma once

#include "pluginterfaces/base/ftypes.h"

#include <string>

namespace serivane::host {

// Converts a zero-terminated UTF-16 text of at most `capacity` units to UTF-8.
std::string toUtf8(const Steinberg::char16* text, std::size_t capacity);

// Converts a fixed-size 8-bit text field that may lack its terminating zero.
std::string fromField(const char* field, std::size_t capacity);

} // namespace serivane::host
