#include "tools/report/TextTable.h"

#include <algorithm>

namespace serivane::tools {

std::string textTable(const std::vector<TextRow>& rows, const std::string& indent) {
    std::vector<std::size_t> widths;
    for (const TextRow& row : rows) {
        widths.resize(std::max(widths.size(), row.size()));
        for (std::size_t c = 0; c < row.size(); ++c) widths[c] = std::max(widths[c], row[c].size());
    }
    std::string out;
    for (const TextRow& row : rows) {
        std::string line = indent;
        for (std::size_t c = 0; c < row.size(); ++c) {
            line += row[c];
            if (c + 1 < row.size()) line.append(widths[c] - row[c].size() + 2, ' ');
        }
        out += line + '\n';
    }
    return out;
}

} // namespace serivane::tools
