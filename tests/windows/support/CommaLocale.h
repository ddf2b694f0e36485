#pragma once

#include <clocale>
#include <string>

// Switches LC_NUMERIC to a German locale, whose decimal separator is a comma, for the life of the
// object. Windows names its locales itself and has German installed.
class CommaLocale {
public:
    CommaLocale() {
        for (const char* name : {"de-DE", "German_Germany.1252", "German"}) {
            if (Use(name)) return;
        }
    }
    ~CommaLocale() { std::setlocale(LC_NUMERIC, "C"); }
    CommaLocale(const CommaLocale&) = delete;
    CommaLocale& operator=(const CommaLocale&) = delete;

    bool Active() const { return active_; }

private:
    bool Use(const char* name) {
        active_ = std::setlocale(LC_NUMERIC, name) &&
                  std::string(std::localeconv()->decimal_point) == ",";
        return active_;
    }

    bool active_ = false;
};
