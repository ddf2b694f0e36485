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
  analyze   measure the binaural beat, the ears' frequencies and the level
            of a sound file

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
  --analyze              measure the written file as "serivane analyze" does
                         and print its summary
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

const char* analyzeUsage() {
    return R"(Usage: serivane analyze [OPTIONS] FILE.wav|FILE.flac

Measures a mono or stereo sound file window by window and as a whole: each
ear's dominant frequency, the binaural beat (the rate at which the phase
difference of the two ears turns; positive when the right ear is higher,
negative when the left is), its band as the instrument names it, how steady
it is (strength 0 to 1), and the level. Where there is no binaural beat (a
mono file, silence, the same frequencies in both ears) it says why.
Beats up to 2000 Hz are looked for; the file must last at least 0.25 s.

Options:
  --window S     length of a window in seconds, 0.25 to 3600 (default 5; for
                 files over 5 minutes up to 60, so that a file of up to an
                 hour has at most 60 windows); at most 2^22 frames (87 s at
                 48 kHz)
  --json         print one JSON object with "total" and "windows"
  --plot OUT.png draw the ears' frequencies, the beat over the band zones and
                 the level over time
  -h, --help     show this help
)";
}

} // namespace serivane::tools
