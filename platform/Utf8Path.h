#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// Paths travel as UTF-8 text. A std::filesystem path made from plain char text reads it in the
// system's narrow encoding, which on Windows is the ANSI code page; made from char8_t text it
// reads UTF-8 everywhere (and takes the bytes unchanged on Linux).
inline std::filesystem::path Utf8Path(std::string_view text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}
