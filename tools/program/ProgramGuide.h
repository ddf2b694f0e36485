#pragma once

#include "tools/program/ProgramScript.h"

#include <string>
#include <vector>

namespace serivane::tools {

// Where a program stands at a moment of playback. A step is every line that starts at one
// time; a closing "end" is no step of its own.
struct ProgramPlace {
    int step = 0; // from 1; 0 before the first step
    int steps = 0;
    std::string label;      // the step's comment, or else what its first line says
    std::string next;       // the next change ("Binaural → 4 Hz"); empty when none is left
    double untilNext = 0.0; // seconds
};

// Tells the live line of a playing program which step sounds and what comes next.
class ProgramGuide {
public:
    explicit ProgramGuide(const ProgramScript& script);

    ProgramPlace at(double seconds) const;

    // `step 3/7 "descend to theta"  next: Binaural → 4 Hz in 2:10`.
    std::string text(double seconds) const;

private:
    struct Step {
        double time;
        std::vector<ScriptStep> lines;
    };

    std::vector<Step> steps_;
    int counted_ = 0; // the steps but a closing "end"
};

} // namespace serivane::tools
