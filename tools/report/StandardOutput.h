#pragma once

#include <ostream>
#include <streambuf>

namespace serivane::tools {

// Standard output for the tool's results, which remembers why a write to it failed. While it
// lives, std::cout writes through it.
class StandardOutput : private std::streambuf {
public:
    StandardOutput();
    ~StandardOutput() override;
    StandardOutput(const StandardOutput&) = delete;
    StandardOutput& operator=(const StandardOutput&) = delete;

    // Flushes the results once the command has run. Results that did not all arrive (a full
    // disk, /dev/full, a closed descriptor) turn a success into a failure, reported on `err`;
    // answers the exit code to end with.
    int finish(int code, std::ostream& err);

private:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* text, std::streamsize count) override;
    int sync() override;
    // Notes errno as the reason unless an earlier failure gave one.
    void failed();

    std::streambuf* inner_;
    bool failed_ = false;
    int reason_ = 0;
};

} // namespace serivane::tools
