// The README's table of parameters states the instrument's own ranges, choices and defaults, and
// its examples of the tool print what it prints.
#include "BundleSession.h"
#include "ToolRun.h"
#include "tools/plugin/InfoReport.h"
#include "tools/report/NumberText.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <regex>
#include <sstream>

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

std::vector<std::string> readmeLines() {
    std::ifstream in(SERIVANE_README);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// The words of a command line as a shell splits them: on spaces, with double quotes kept whole.
std::vector<std::string> shellWords(const std::string& line) {
    std::vector<std::string> words;
    std::string word;
    bool quoted = false, started = false;
    for (char c : line) {
        if (c == '"') {
            quoted = !quoted;
            started = true;
        } else if (c == ' ' && !quoted) {
            if (started) words.push_back(word);
            word.clear();
            started = false;
        } else {
            word += c;
            started = true;
        }
    }
    if (started) words.push_back(word);
    return words;
}

// Whether `line` holds the shown line, where "..." stands for anything.
bool shows(const std::string& line, const std::string& shown) {
    std::size_t at = 0;
    std::size_t from = 0;
    for (std::size_t dots; (dots = shown.find("...", from)) != std::string::npos; from = dots + 3) {
        at = line.find(shown.substr(from, dots - from), at);
        if (at == std::string::npos || (from == 0 && at != 0)) return false;
        at += dots - from;
    }
    const std::string tail = shown.substr(from);
    return from == 0 ? line == shown
                     : line.size() >= at + tail.size() &&
                           line.compare(line.size() - tail.size(), tail.size(), tail) == 0;
}

// Whether line `j` still belongs to the output shown under an example: indented, or blank with
// indented output after it.
bool inExample(const std::vector<std::string>& lines, std::size_t j) {
    const auto output = [&](std::size_t k) {
        return lines[k].starts_with("    ") && !lines[k].starts_with("    $ ");
    };
    return output(j) || (lines[j].empty() && j + 1 < lines.size() && output(j + 1));
}

// An example's shown lines, "..." alone skipping any number, are lines of the output in order.
::testing::AssertionResult printsAsShown(const std::string& output,
                                         const std::vector<std::string>& shown) {
    std::vector<std::string> lines;
    std::istringstream in(output);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    std::size_t next = 0;
    for (const std::string& want : shown) {
        if (want == "...") continue;
        while (next < lines.size() && !shows(lines[next], want)) ++next;
        if (next == lines.size())
            return ::testing::AssertionFailure() << "no line shows \"" << want << "\" in\n"
                                                 << output;
        ++next;
    }
    return ::testing::AssertionSuccess();
}

// Every "$ serivane …" example the README shows with its output runs as written, after the
// programs it names ("`descent.txt`:" and the block below it) are written out. The commands
// that need a sound device or a display are left to their own tests.
TEST(Readme, TheToolsExamplesPrintWhatTheyShow) {
    ScratchFolder folder("serivane-readme");
    const std::filesystem::path home = std::filesystem::current_path();
    std::filesystem::current_path(folder.path());
    const std::vector<std::string> lines = readmeLines();
    const std::regex namesFile(R"(`([\w-]+\.txt)`:$)");
    const std::vector<std::string> live = {"play", "edit", "devices", "snapshot"};
    std::size_t ran = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::smatch m;
        if (std::regex_search(lines[i], m, namesFile) && i + 2 < lines.size()) {
            std::ofstream file(m[1].str());
            for (std::size_t j = i + 2; j < lines.size() && lines[j].starts_with("    "); ++j)
                file << lines[j].substr(4) << '\n';
            continue;
        }
        if (!lines[i].starts_with("    $ serivane ")) continue;
        std::vector<std::string> words = shellWords(lines[i].substr(15));
        std::vector<std::string> shown;
        for (std::size_t j = i + 1; j < lines.size() && inExample(lines, j); ++j)
            shown.push_back(lines[j].empty() ? "" : lines[j].substr(4));
        if (std::find(live.begin(), live.end(), words.front()) != live.end()) continue;
        const Outcome outcome = runTool(words);
        EXPECT_EQ(outcome.code, 0) << lines[i] << "\n" << outcome.err;
        EXPECT_TRUE(printsAsShown(outcome.out + outcome.err, shown)) << lines[i];
        ++ran;
    }
    std::filesystem::current_path(home);
    EXPECT_GE(ran, 4u);
}

} // namespace
} // namespace serivane::integration
