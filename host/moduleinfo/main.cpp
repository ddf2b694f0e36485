// Writes Contents/Resources/moduleinfo.json into a built bundle from what its factory reports.
#include "host/Module.h"
#include "host/Plugin.h"
#include "host/moduleinfo/ModuleInfo.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <utility>

namespace fs = std::filesystem;
using namespace serivane::host;

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: serivane-moduleinfo BUNDLE.vst3\n");
        return 2;
    }
    const fs::path bundle = argv[1];
    std::string error;
    std::shared_ptr<Module> module = Module::load(bundle.string(), error);
    if (!module) {
        std::fprintf(stderr, "serivane-moduleinfo: %s\n", error.c_str());
        return 1;
    }
    const std::vector<ClassDescription> classes = describeClasses(module->factory());
    const fs::path resources = bundle / "Contents" / "Resources";
    std::vector<Snapshot> snapshots;
    // The editor's pictures of the first class, by the names hosts look for, when present.
    const std::pair<double, const char*> pictures[] = {{1.0, "_snapshot.png"},
                                                       {2.0, "_snapshot_2.0x.png"}};
    for (const auto& [scale, suffix] : pictures) {
        if (classes.empty()) break;
        std::string path = "Snapshots/" + classes[0].classId + suffix;
        std::error_code ec;
        if (fs::is_regular_file(resources / path, ec)) snapshots.push_back({scale, path});
    }
    const std::string text =
        moduleInfo(bundle.stem().string(), describeFactory(module->factory()), classes, snapshots)
            .dump(2) +
        "\n";
    std::error_code ec;
    fs::create_directories(resources, ec);
    std::ofstream out(resources / "moduleinfo.json", std::ios::binary);
    out << text;
    out.close();
    if (!out) {
        std::fprintf(stderr, "serivane-moduleinfo: cannot write %s\n",
                     (resources / "moduleinfo.json").string().c_str());
        return 1;
    }
    return 0;
}
