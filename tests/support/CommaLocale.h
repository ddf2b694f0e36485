#pragma once

#include <clocale>
#include <string>
#ifndef _WIN32
#include <cstdlib>
#include <filesystem>
#endif

// Switches LC_NUMERIC to a German locale, whose decimal separator is a comma, for the life of the
// object. Windows names its locales itself and has German installed; elsewhere, when the system
// has none installed, one is compiled with localedef into a temporary directory and found
// through LOCPATH.
class CommaLocale {
public:
#ifdef _WIN32
    CommaLocale() {
        for (const char* name : {"de-DE", "German_Germany.1252", "German"}) {
            if (Use(name)) return;
        }
    }
    ~CommaLocale() {
        std::setlocale(LC_NUMERIC, "C");
    }
#else
    CommaLocale() {
        if (Use("de_DE.UTF-8") || Use("de_DE.utf8") || Use("de_DE")) return;
        char pattern[] = "/tmp/comma-locale-XXXXXX";
        if (!mkdtemp(pattern)) return;
        directory_ = pattern;
        const std::string command = "localedef -i de_DE -f ISO-8859-1 " +
                                    (directory_ / "de_DE").string() + " >/dev/null 2>&1";
        if (std::system(command.c_str()) == -1) return;
        setenv("LOCPATH", directory_.c_str(), 1);
        Use("de_DE");
    }
    ~CommaLocale() {
        std::setlocale(LC_NUMERIC, "C");
        if (directory_.empty()) return;
        unsetenv("LOCPATH");
        std::error_code ignored;
        std::filesystem::remove_all(directory_, ignored);
    }
#endif
    CommaLocale(const CommaLocale&) = delete;
    CommaLocale& operator=(const CommaLocale&) = delete;

    bool Active() const {
        return active_;
    }

private:
    bool Use(const char* name) {
        active_ = std::setlocale(LC_NUMERIC, name) &&
                  std::string(std::localeconv()->decimal_point) == ",";
        return active_;
    }

#ifndef _WIN32
    std::filesystem::path directory_;
#endif
    bool active_ = false;
};
