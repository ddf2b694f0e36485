#pragma once

#include "tools/program/ProgramScript.h"

#include <string>

namespace serivane::tools {

// Where a program stands at a moment of playback, for a live line: the step in force and the
// next change, each as its time and what its line says.
class ProgramGuide {
public:
    explicit ProgramGuide(const ProgramScript& script) : script_(script) {}

    // The glide running at `seconds` (the latest to start), otherwise the last step begun;
    // empty before the first step.
    std::string current(double seconds) const;

    // The first step after `seconds`; empty when none is left.
    std::string next(double seconds) const;

private:
    const ProgramScript& script_;
};

} // namespace serivane::tools
