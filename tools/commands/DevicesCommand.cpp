#include "tools/commands/DevicesCommand.h"
#include "tools/report/NumberText.h"
#include "tools/sound/SoundSystem.h"

#include <algorithm>

namespace serivane::tools {

std::string_view DevicesCommand::usage() const {
    return R"(Usage: serivane devices

Lists the sound system's output devices that "play" and "edit" can use: the
number and name that --device takes, the sound system, the channels and the
sample rate. The default output is marked with "*".

Options:
  -h, --help             show this help
)";
}

int DevicesCommand::run(const Console& console) {
    SoundSystem system;
    std::string error;
    if (!system.open(error)) {
        console.err << "serivane: " << error << '\n';
        return exitFailure;
    }
    std::vector<OutputDevice> devices = system.outputs();
    if (devices.empty()) {
        console.err << "serivane: " << noOutputDevice << '\n';
        return exitFailure;
    }
    std::size_t nameWidth = 0, numberWidth = 0;
    for (const OutputDevice& d : devices) {
        nameWidth = std::max(nameWidth, d.name.size());
        numberWidth = std::max(numberWidth, std::to_string(d.index).size());
    }
    console.out << "Output devices (* marks the default):\n";
    for (const OutputDevice& d : devices) {
        std::string name = d.name, number = std::to_string(d.index);
        name.resize(nameWidth, ' ');
        number.insert(0, numberWidth - number.size(), ' ');
        console.out << (d.isDefault ? " * " : "   ") << number << "  " << name << "  " << d.hostApi
                    << ", " << d.channels << (d.channels == 1 ? " channel" : " channels") << ", "
                    << significant(d.sampleRate, 10) << " Hz\n";
    }
    return exitOk;
}

} // namespace serivane::tools
