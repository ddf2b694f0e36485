#pragma once

#include "tools/commands/SessionOptions.h"
#include "tools/program/Automation.h"
#include "tools/session/SessionShaping.h"
#include "tools/sound/SoundBuffer.h"

#include <cstdint>
#include <optional>

namespace serivane::tools {

// The stage a session's sound passes after the instrument: the fades over `totalFrames`
// (SessionFades::openEnded for a session without a known end), the mix recording, whose
// samples it takes from `mix`, and the noise bed, their levels and the noise's colour moved by
// the program's steps in `automation` (when there is one).
SessionShaping sessionStage(const SessionOptions& session, std::optional<SoundBuffer>& mix,
                            const Automation* automation, int sampleRate, std::int64_t totalFrames);

// Whether the session asks for anything beyond the instrument's own sound.
bool shapesSession(const SessionOptions& session, const std::optional<SoundBuffer>& mix,
                   const Automation* automation);

} // namespace serivane::tools
