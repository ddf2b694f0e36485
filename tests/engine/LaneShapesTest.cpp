#include "LaneShapeSamples.h"

#include "engine/LaneShapes.h"
#include "engine/ToneEngine.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <ostream>
#include <string>
#include <vector>

namespace {

OscillatorBank BankWith(int entry) {
    OscillatorBank bank;
    SetWave(bank, 8, entry);
    return bank;
}

// A bank as SetWave makes it holds the constants the faster sine forms were made for; if it did
// not, the kernels would quietly take the slower general shapes.
TEST(LaneShapeChoice, StockBanksTakeTheFasterSineForms) {
    EXPECT_TRUE(PhaseSineShape::Fits(BankWith(0)));
    EXPECT_TRUE(GoldenSineLanes::Fits(BankWith(3)));
    EXPECT_TRUE(GoldenHalfSineLanes::Fits(BankWith(4)));
}

// Every double within 1000 of each phase where a shape wraps, changes piece or folds by another
// multiple of pi (the faster forms' thresholds lie a few doubles from these), and a sweep.
std::vector<double> PhasesAroundEdges() {
    const OscillatorBank bank;
    const double turn = static_cast<double>(bank.goldenFraction) * kPi;
    const double edges[] = {
        kPi / 2,
        kPi,
        3 * kPi / 2,
        turn,
        turn + BankWith(3).switchPoint,
        bank.period - kGoldenHalfSineShift,
        BankWith(4).switchPoint - kGoldenHalfSineShift,
        bank.period - kGoldenTriangleShift,
        BankWith(5).switchPoint - kGoldenTriangleShift,
        BankWith(6).switchPoint,
    };
    std::vector<double> phases;
    for (double edge : edges) {
        double below = edge;
        double above = edge;
        for (int i = 0; i < 1000; ++i) {
            below = std::nextafter(below, 0.0);
            above = std::nextafter(above, bank.period);
            phases.insert(phases.end(), {below, above});
        }
        phases.push_back(edge);
    }
    constexpr int kSweep = 1 << 15;
    for (int i = 0; i < kSweep; ++i) phases.push_back(bank.period * i / kSweep);
    phases.push_back(std::nextafter(bank.period, 0.0));
    return phases;
}

// Banks whose constants the faster forms were not made for: another golden fraction, and an
// inverse of pi a few hundred doubles off, which moves the general shapes' folds.
OscillatorBank BankVariant(int entry, int variant) {
    OscillatorBank bank;
    if (variant == 1) bank.goldenFraction = 0.5f;
    if (variant == 2) bank.inversePi *= 1.0 + 256 * DBL_EPSILON;
    SetWave(bank, 8, entry);
    return bank;
}

using Sampler = bool (*)(const OscillatorBank&, int, const double*, double*, int);

struct LanePath {
    const char* name;
    RenderPath path;
    Sampler sample;
};

void PrintTo(const LanePath& lanes, std::ostream* out) {
    *out << lanes.name;
}

class LaneShapeSamples : public testing::TestWithParam<LanePath> {};

// In every vector width the path uses, the kernels' shapes give the scalar shapes' samples; only
// a zero's sign may differ, which the sums of a frame do not keep.
TEST_P(LaneShapeSamples, AreTheScalarShapesSamples) {
    const LanePath lanes = GetParam();
    if (!RenderPathAvailable(lanes.path)) GTEST_SKIP() << "this processor lacks the path";
    const std::vector<double> phases = PhasesAroundEdges();
    const int count = static_cast<int>(phases.size());
    std::vector<double> want(phases.size());
    std::vector<double> got(phases.size());
    for (int variant = 0; variant < 3; ++variant) {
        for (int entry = 0; entry < 7; ++entry) {
            const OscillatorBank bank = BankVariant(entry, variant);
            for (int i = 0; i < count; ++i) want[i] = bank.waveFunction(bank, phases[i]);
            ASSERT_TRUE(lanes.sample(bank, 2, phases.data(), got.data(), count));
            for (int width = 2; lanes.sample(bank, width, phases.data(), got.data(), count);
                 width *= 2) {
                int wrong = 0;
                int first = 0;
                for (int i = 0; i < count; ++i) {
                    if (got[i] != want[i] && wrong++ == 0) first = i;
                }
                EXPECT_EQ(wrong, 0) << "entry " << entry << ", bank " << variant << ", width "
                                    << width << ", first at phase " << phases[first] << ": "
                                    << got[first] << " for " << want[first];
            }
        }
    }
}

const LanePath kLanePaths[] = {
    {"Plain", RenderPath::Plain, &LaneShapeSamplesPlain},
#ifdef SERIVANE_WIDE_LANE_SHAPES
    {"Avx2", RenderPath::Avx2, &LaneShapeSamplesAvx2},
    {"Avx512", RenderPath::Avx512, &LaneShapeSamplesAvx512},
#endif
};

INSTANTIATE_TEST_SUITE_P(EveryPath, LaneShapeSamples, testing::ValuesIn(kLanePaths),
                         [](const testing::TestParamInfo<LanePath>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
