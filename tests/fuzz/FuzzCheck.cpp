#include "FuzzCheck.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

void Require(bool holds, const char* format, ...) {
    if (holds) return;
    std::va_list args;
    va_start(args, format);
    std::fputs("fuzz check failed: ", stderr);
    std::vfprintf(stderr, format, args);
    std::fputc('\n', stderr);
    va_end(args);
    std::abort();
}
