#pragma once

#include <string>
#include <utility>
#include <vector>

namespace serivane::tools {

enum class FileType { Wav, Flac };
enum class SampleFormat { Pcm16, Pcm24, Float };

struct InfoOptions {
    bool help = false;
    bool json = false;
    std::string bundle; // empty: the default location
};

// The level of a mix recording when none is given, in dB: under the tones, not over them.
inline constexpr double defaultMixLevel = -12.0;
inline constexpr double minMixLevel = -120.0;
inline constexpr double maxMixLevel = 24.0;

struct RenderOptions {
    bool help = false;
    std::string bundle;
    std::string output;
    FileType fileType = FileType::Wav;
    std::string preset;
    std::vector<std::pair<std::string, std::string>> settings; // parameter name, value text
    double seconds = 60.0;
    int sampleRate = 48000;
    int block = 512;
    int precision = 32;
    SampleFormat format = SampleFormat::Pcm24;
    double fadeIn = 0.0;               // seconds
    double fadeOut = 0.0;              // seconds
    std::string mix;                   // a recording laid under the tones; empty: none
    double mixLevel = defaultMixLevel; // dB
};

// A click into the editor, in its own pixels.
struct EditorClick {
    int x = 0;
    int y = 0;
    bool right = false;
};

struct SnapshotOptions {
    bool help = false;
    std::string bundle;
    std::string output;
    std::string preset;
    std::vector<std::pair<std::string, std::string>> settings; // parameter name, value text
    double seconds = 1.0;
    // Keeps the host's transport stopped, so that nothing moves and the picture repeats.
    bool stopped = false;
    std::vector<EditorClick> clicks;
};

struct EditOptions {
    bool help = false;
    std::string bundle;
    std::string preset;
    std::vector<std::pair<std::string, std::string>> settings; // parameter name, value text
};

struct Command {
    enum class Kind { Help, Info, Render, Snapshot, Edit };
    Kind kind = Kind::Help;
    InfoOptions info;
    RenderOptions render;
    SnapshotOptions snapshot;
    EditOptions edit;
};

// Limits that keep a render's frame count and block sizes sane.
inline constexpr double maxSeconds = 86400.0;
inline constexpr int minSampleRate = 8000;
inline constexpr int maxSampleRate = 384000;
inline constexpr int maxBlock = 65536;
// A snapshot lets audio run at real time, so its wait is kept short.
inline constexpr double maxSnapshotSeconds = 600.0;
// Clicks land inside an editor of at most this size.
inline constexpr int maxEditorPixels = 4096;

// Parses the words after the program name. Answers false with a one-line `error` on misuse.
bool parseCommand(const std::vector<std::string>& words, Command& command, std::string& error);

const char* formatName(SampleFormat format);

} // namespace serivane::tools
