#pragma once

#include "instrument/CLS_SERIVANE.h"

#include <memory>
#include <vector>

// An instrument instance held the way a host holds it, through its reference count.
struct ReleaseInstance {
    void operator()(CLS_SERIVANE* p) const { p->release(); }
};
using Instance = std::unique_ptr<CLS_SERIVANE, ReleaseInstance>;

inline Instance MakeInstance() {
    return Instance(new CLS_SERIVANE());
}

// Applies every parameter once, as the host adapter does while it lists them, which opens the
// render gate.
inline void ApplyAllParameters(CLS_SERIVANE& p) {
    for (int i = 0; i < kNumParams; ++i) p.OnParamChanged(i);
}

inline void SetParam(CLS_SERIVANE& p, int index, double value) {
    p.ParamAt(index)->SetClamped(value);
    p.OnParamChanged(index);
}

// Renders `frames` stereo frames straight through the render hook.
inline std::vector<double> Render(CLS_SERIVANE& p, int frames) {
    std::vector<double> left(frames), right(frames);
    double* outputs[] = {left.data(), right.data()};
    p.RenderBlock(nullptr, outputs, frames);
    left.insert(left.end(), right.begin(), right.end());
    return left;
}
