// Built once per render path with that path's instruction set, as the kernels are; the build
// names the function (LANE_SHAPE_SAMPLES) and the widest vector it takes (LANE_SHAPE_WIDEST).
#include "LaneShapeSamples.h"

#include "engine/LaneShapes.h"

#include <cstring>

namespace {

template <int W> struct LanesOf {
    typedef double type __attribute__((vector_size(W * sizeof(double))));
};

template <int W>
bool Sample(const OscillatorBank& bank, const double* phases, double* samples, int count) {
    using V = typename LanesOf<W>::type;
    return WithLaneShape(bank, [&]<class Shape>(Shape) {
        for (int i = 0; i < count; i += W) {
            const int lanes = count - i < W ? count - i : W;
            V p = Splat<V>(0.0);
            std::memcpy(&p, phases + i, lanes * sizeof(double));
            const V s = Shape::At(bank, p);
            std::memcpy(samples + i, &s, lanes * sizeof(double));
        }
    });
}

} // namespace

bool LANE_SHAPE_SAMPLES(const OscillatorBank& bank, int width, const double* phases,
                        double* samples, int count) {
    if (width == 2) return Sample<2>(bank, phases, samples, count);
    if constexpr (LANE_SHAPE_WIDEST >= 4) {
        if (width == 4) return Sample<4>(bank, phases, samples, count);
    }
    if constexpr (LANE_SHAPE_WIDEST >= 8) {
        if (width == 8) return Sample<8>(bank, phases, samples, count);
    }
    return false;
}
