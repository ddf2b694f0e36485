#include "tools/commands/PlayCommand.h"

namespace serivane::tools {

void PlayCommand::define(CLI::App& app) {
    addBundle(app, options_.bundle);
    addPresets(app, options_.presets);
    addSettings(app, options_.settings);
    addText(app, "--program", options_.program);
    seconds_ = addSeconds(app, options_.seconds);
    addSessionOptions(app, options_.session);
    addText(app, "--device", options_.device);
}

void PlayCommand::check() {
    options_.secondsGiven = seconds_->count() > 0;
    bool lengthKnown = options_.secondsGiven || !options_.program.empty();
    if (options_.session.fadeOut > 0.0 && !lengthKnown)
        throw UsageError("--fade-out needs --seconds or --program: a playback until Ctrl-C ends "
                         "with a short fade of its own");
    // Checked again at the device's rate once the length is known, a program's among them.
    checkSessionOptions(options_.session, options_.secondsGiven ? options_.seconds : 2 * maxSeconds,
                        48000, "playback");
    checkNoiseOptions(options_.session, !options_.program.empty());
}

} // namespace serivane::tools
