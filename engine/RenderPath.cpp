#include "engine/ToneEngine.h"

bool RenderPathAvailable(RenderPath path) {
    switch (path) {
    case RenderPath::Plain:
        return true;
#ifdef SERIVANE_SIMD_PATHS
    case RenderPath::Avx2:
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2");
    case RenderPath::Avx512:
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512dq") &&
               __builtin_cpu_supports("avx512vl");
#endif
    default:
        return false;
    }
}

RenderPath DefaultRenderPath() {
#ifdef SERIVANE_FORCED_PATH
    return RenderPath::SERIVANE_FORCED_PATH;
#else
    static const RenderPath fastest = [] {
        for (RenderPath path : {RenderPath::Avx512, RenderPath::Avx2}) {
            if (RenderPathAvailable(path)) return path;
        }
        return RenderPath::Plain;
    }();
    return fastest;
#endif
}

bool ToneEngine::SetPath(RenderPath path) {
    if (!RenderPathAvailable(path)) return false;
    VoicesChanged();
    path_ = path;
    return true;
}
