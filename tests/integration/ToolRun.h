#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace serivane::integration {

// What one run of the tool ended with and wrote.
struct Outcome {
    int code;
    std::string out;
    std::string err;
};

// Runs the tool in this process. A command that loads the plug-in gets the built bundle unless
// the words name another.
Outcome runTool(std::vector<std::string> words);

// A scratch folder named for the running test and this process, so that test runs side by side
// never share files; made empty, and removed with everything in it at the end.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& prefix);
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

} // namespace serivane::integration
