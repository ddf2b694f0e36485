#include "tools/Usage.h"

namespace serivane::tools {

const char* generalUsage() {
    return R"(Usage: serivane COMMAND [OPTIONS]

The Serivane binaural-beat instrument without a DAW: loads the VST3 bundle
through its exported entry points, as any host does.

Commands:
  info      show the plug-in's identity, buses, parameters and presets
  render    render the instrument offline to a WAV or FLAC file
  snapshot  open the editor and save a picture of it as PNG
  edit      open the editor in a window to play with the instrument

Run "serivane COMMAND --help" for the options of a command.
)";
}

const char* infoUsage() {
    return R"(Usage: serivane info [--json] [--bundle PATH]

Shows the class identity, buses, parameters (id, title, unit, range, default,
steps, display of the default) and the program list of the plug-in.

Options:
  --json           print one JSON object with "class", "buses", "parameters"
                   and "programs"
  --bundle PATH    the .vst3 bundle folder or the library inside it
                   (default: ~/.vst3/Serivane.vst3 when installed, otherwise
                   the bundle of the build tree)
  -h, --help       show this help
)";
}

const char* renderUsage() {
    return R"(Usage: serivane render [OPTIONS] OUT.wav|OUT.flac

Renders the instrument offline with the transport playing and writes the
result to OUT; the file type follows the extension. A failed or interrupted
render (Ctrl-C, SIGTERM) leaves no file behind and an existing OUT as it was.

Options:
  --preset NAME|SLOT     start from a factory preset, by name or slot number
  --set "NAME=VALUE"     set a parameter, in its own units ("Binaural=7.83")
                         or by its display text ("Wave=Gold. Square");
                         repeatable, applied after the preset
  --seconds S            length in seconds, rounded to the nearest frame
                         (default 60)
  --sample-rate R        sample rate in Hz (default 48000)
  --block N              frames per process block (default 512)
  --precision 32|64      floating-point precision of processing (default 32)
  --format pcm16|pcm24|float
                         sample format of the file (default pcm24; FLAC takes
                         pcm16 or pcm24 only)
  --fade-in S            fade in over the first S seconds, equal power
                         (default 0: none)
  --fade-out S           fade out over the last S seconds; both fades
                         together fit into the render (default 0: none)
  --mix FILE             lay a mono or stereo recording (WAV, FLAC, Ogg
                         Vorbis) under the tones: looped with a short
                         crossfade, converted to the render's rate, a mono
                         one to both ears
  --mix-level DB         the recording's level, from -120 to 24 dB (default
                         -12); a render that peaks above full scale is
                         reported with a warning, not limited
  --bundle PATH          the .vst3 bundle folder or the library inside it
  -h, --help             show this help
)";
}

const char* snapshotUsage() {
    return R"(Usage: serivane snapshot [OPTIONS] OUT.png

Opens the instrument's editor in a window of our own host, as a DAW does,
lets audio play for a while so that moving parts move, and writes the
window's pixels to OUT.png. Uses the X server named by $DISPLAY; without one
it starts a virtual X server (Xvfb) for the snapshot and stops it again.

Options:
  --preset NAME|SLOT     start from a factory preset, by name or slot number
  --set "NAME=VALUE"     set a parameter, in its own units or by its display
                         text; repeatable, applied after the preset
  --seconds S            how long audio runs before the picture is taken
                         (default 1)
  --stopped              keep the host's transport stopped, so that nothing
                         moves and the same settings give the same picture
  --click X,Y            click into the editor at (X, Y) of its pixels once
                         it shows; repeatable, in order
  --right-click X,Y      the same with the right button (opens the list of
                         choices of an enumerated control)
  --bundle PATH          the .vst3 bundle folder or the library inside it
  -h, --help             show this help
)";
}

const char* editUsage() {
    return R"(Usage: serivane edit [OPTIONS]

Opens the instrument's editor in a window of our own host on the X server
named by $DISPLAY, with the host's transport running, until the window is
closed (or Ctrl-C). No sound is played yet.

Options:
  --preset NAME|SLOT     start from a factory preset, by name or slot number
  --set "NAME=VALUE"     set a parameter, in its own units or by its display
                         text; repeatable, applied after the preset
  --bundle PATH          the .vst3 bundle folder or the library inside it
  -h, --help             show this help
)";
}

} // namespace serivane::tools
