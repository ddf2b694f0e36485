#include "tools/EditCommand.h"

namespace serivane::tools {

// Live playback needs a sound card through PortAudio, which the Windows build does not have.
int runEdit(const EditOptions&, const Console& console) {
    console.err << "serivane: edit is not available in the Windows build\n";
    return exitFailure;
}

} // namespace serivane::tools
