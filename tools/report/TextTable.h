#pragma once

#include <string>
#include <vector>

namespace serivane::tools {

using TextRow = std::vector<std::string>;

// Left-aligned columns two blanks apart, each as wide as its widest cell; every line starts
// with `indent` and ends in a newline.
std::string textTable(const std::vector<TextRow>& rows, const std::string& indent);

} // namespace serivane::tools
