#pragma once

#include "tools/Command.h"
#include "tools/commands/AnalysisPlan.h"

#include <functional>
#include <string>

namespace serivane::tools {

// Analysis windows, in seconds.
inline constexpr double minWindowSeconds = 0.25;
inline constexpr double maxWindowSeconds = 3600.0;

struct AnalyzeOptions {
    std::string input;
    double windowSeconds = 0.0; // 0: chosen from the file's length
    bool json = false;
    std::string plot; // a PNG to draw, or empty
    PlanSource plan;  // the program the file plays, or none
};

// `serivane analyze`: measures each ear's frequency, the beat between them and the level of a
// sound file, window by window and in total; optionally draws them as a PNG.
class AnalyzeCommand : public Command {
public:
    std::string_view name() const override { return "analyze"; }
    std::string_view summary() const override {
        return "measure a sound file's binaural beat, ears' frequencies and level";
    }
    std::string_view usage() const override;
    void define(CLI::App& app) override;
    void check() override;
    std::string refuse(const std::string& word) const override;
    int run(const Console& console) override;

    const AnalyzeOptions& options() const { return options_; }

private:
    AnalyzeOptions options_;
};

// Prints the analysis summary of a file just rendered (`serivane render --analyze`), with how
// closely it follows the program it was rendered from, when there was one; draws it as `plot`
// unless that is empty. Once `interrupted` answers true it stops, failing without a word.
int printRenderAnalysis(const std::string& path, const PlanSource& plan, const std::string& plot,
                        const std::function<bool()>& interrupted, const Console& console);

} // namespace serivane::tools
