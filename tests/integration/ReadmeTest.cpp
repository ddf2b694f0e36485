// The README's table of parameters states the instrument's own ranges, choices and defaults.
#include "BundleSession.h"
#include "tools/plugin/InfoReport.h"
#include "tools/report/NumberText.h"

#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <regex>

namespace serivane::integration {
namespace {

struct Row {
    std::string title;
    std::string range;
    std::string defaultText;
};

// "| 0 | Binaural | what it does | 0.01 to 2000 Hz | 11.00 Hz |", by id.
std::map<Steinberg::Vst::ParamID, Row> readmeRows() {
    std::ifstream in(SERIVANE_README);
    const std::regex row(R"(^\| (\d+) \| ([^|]+) \| [^|]+ \| ([^|]+) \| ([^|]+) \|$)");
    std::map<Steinberg::Vst::ParamID, Row> rows;
    for (std::string line; std::getline(in, line);) {
        std::smatch m;
        if (std::regex_match(line, m, row))
            rows[static_cast<Steinberg::Vst::ParamID>(std::stoul(m[1]))] = {m[2], m[3], m[4]};
    }
    return rows;
}

std::string withUnits(const std::string& text, const std::string& units) {
    return units.empty() ? text : text + " " + units;
}

std::string joined(const std::vector<std::string>& texts) {
    std::string out;
    for (const std::string& text : texts) out += (out.empty() ? "" : ", ") + text;
    return out;
}

TEST(Readme, TheParameterTableMatchesWhatThePluginReports) {
    auto plugin = instantiate();
    ASSERT_NE(plugin, nullptr);
    const tools::PluginReport report = tools::collectReport(*plugin, "");
    std::map<Steinberg::Vst::ParamID, Row> rows = readmeRows();
    std::size_t checked = 0;
    for (const tools::ParameterReport& p : report.parameters) {
        const host::ParameterDescription& d = p.description;
        if ((d.flags & Steinberg::Vst::ParameterInfo::kIsProgramChange) != 0) continue;
        ASSERT_TRUE(rows.count(d.id)) << "no row for " << d.title;
        const Row& row = rows[d.id];
        EXPECT_EQ(row.title, d.title);
        const std::string range = p.choices.empty()
                                      ? withUnits(tools::significant(p.minimum, 6) + " to " +
                                                      tools::significant(p.maximum, 6),
                                                  d.units)
                                      : joined(p.choices);
        EXPECT_EQ(row.range, range) << d.title;
        EXPECT_EQ(row.defaultText, withUnits(p.defaultDisplay.value_or(""), d.units)) << d.title;
        ++checked;
    }
    EXPECT_EQ(checked, 22u);
    EXPECT_EQ(rows.size(), 22u);
}

} // namespace
} // namespace serivane::integration
