#include "tools/sound/SampleLoops.h"

namespace serivane::tools {

bool hasAvx2() {
#if defined(__x86_64__) || defined(__i386__)
    static const bool available = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2") != 0;
    }();
    return available;
#else
    return false;
#endif
}

} // namespace serivane::tools
