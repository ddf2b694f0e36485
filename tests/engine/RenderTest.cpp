#include "EngineSetup.h"

#include "engine/ParamActions.h"

#include <gtest/gtest.h>

#include <cstring>

#if defined(__SSE2__)
#include <xmmintrin.h>
#endif

namespace {

using RenderFunction = void (*)(ToneEngine&, const double* const*, double* const*, int, bool,
                                int32_t);

void EngineRender(ToneEngine& engine, const double* const* inputs, double* const* outputs,
                  int frames, bool transportRunning, int32_t position) {
    engine.Render(inputs, outputs, frames, transportRunning, position);
}

double HalfSine(const OscillatorBank& bank, double phase) {
    return 0.5 * ApproxSine(bank, phase);
}

void Apply(ToneEngine& engine, int index, double value) {
    engine.ApplyParamKey(index, ParamKey(index, value));
}

// A session touching every path of the render loop: block sizes around the chunk size, fades
// starting and finishing, a tone-count change, gain ramps both ways, silence, envelope pushes
// with linear, curved and degenerate segments, and short passes that wrap many times. Above the
// sample rate the tones sweep from 3 kHz to 10 kHz at 8 kHz, so their steps cross one period.
std::vector<double> Session(ToneEngine& engine, RenderFunction render, int wave,
                            bool aboveTheSampleRate) {
    EngineValues values = DefaultValues();
    values[8] = wave < 0 ? 0 : wave;
    values[9] = 0.1;
    values[11] = 1;
    if (aboveTheSampleRate) {
        values[1] = 3000;
        values[2] = 10000;
    }
    StartEngine(engine, values, aboveTheSampleRate ? 8000.0 : kSampleRate);
    if (wave < 0) ToneEngineTestAccess::Voices(engine).bank.waveFunction = &HalfSine;
    std::vector<double> recorded;
    int32_t position = 1000;
    auto block = [&](int frames, bool running) {
        StereoBlock io(frames, 0.25);
        render(engine, engine.MixInput() ? io.channels : nullptr, io.channels, frames, running,
               position);
        position += frames;
        recorded.insert(recorded.end(), io.left.begin(), io.left.end());
        recorded.insert(recorded.end(), io.right.begin(), io.right.end());
    };
    block(300, true);
    block(1, true);
    block(0, true);
    block(513, true);
    Apply(engine, 3, 9);
    block(700, true);
    Apply(engine, 12, 80);
    block(256, true);
    SegmentEnvelope volume;
    volume.Init(false);
    const float points[3] = {0.6f, 0.3f, 0.3f};
    const float curves[4] = {0.0f, 7.0f, 0.0f, -2.0f};
    std::copy(points, points + 3, volume.innerPoints);
    std::copy(curves, curves + 4, volume.curvatures);
    engine.ApplyEnvelopeDefinition(volume, EnvelopeKind::Volume, 8);
    block(1000, true);
    // A curved frequency envelope from here on: its steps keep their products.
    SegmentEnvelope freq;
    freq.Init(true);
    freq.curvatures[0] = 3.0f;
    engine.ApplyEnvelopeDefinition(freq, EnvelopeKind::Frequency, 0);
    block(400, true);
    Apply(engine, 11, 0);
    block(512, false);
    block(512, false);
    Apply(engine, 11, 1);
    block(777, false);
    Apply(engine, 10, 0);
    Apply(engine, 3, 4);
    Apply(engine, 9, 0.3);
    for (int i = 0; i < 30; ++i) block(500, true);
    // Level offsets, which no parameter sets but the levels' formula keeps.
    for (ToneLevel& level : ToneEngineTestAccess::Voices(engine).bank.levels) level.offset = 0.125;
    for (int i = 0; i < 30; ++i) block(500, true);
    return recorded;
}

void ExpectSameSamples(const std::vector<double>& got, const std::vector<double>& want) {
    ASSERT_EQ(got.size(), want.size());
    for (size_t i = 0; i < got.size(); ++i) {
        ASSERT_EQ(std::memcmp(&got[i], &want[i], sizeof(double)), 0)
            << "sample " << i << ": " << got[i] << " vs " << want[i];
    }
}

// Every path the processor runs is checked against the reference, not only the one it picks.
void UsePath(ToneEngine& engine, RenderPath path) {
    if (!engine.SetPath(path)) GTEST_SKIP() << "this processor lacks the path";
}

class RenderMatchesReference
    : public testing::TestWithParam<std::tuple<int, bool, bool, RenderPath>> {};

TEST_P(RenderMatchesReference, SampleForSampleAndStateForState) {
    const auto [wave, mixInput, aboveTheSampleRate, path] = GetParam();
    ToneEngine engine(mixInput, false);
    ToneEngine reference(mixInput, false);
    UsePath(engine, path);
    if (IsSkipped()) return;
    const std::vector<double> got = Session(engine, &EngineRender, wave, aboveTheSampleRate);
    const std::vector<double> want = Session(reference, &ReferenceRender, wave, aboveTheSampleRate);
    ExpectSameSamples(got, want);
    EXPECT_EQ(engine.CurrentGain(), reference.CurrentGain());
    const ToneVoices& ours = engine.Voices();
    const ToneVoices& theirs = reference.Voices();
    for (int i = 0; i < kMaxTones; ++i) {
        EXPECT_EQ(ours.freqEnvelopes[i].value, theirs.freqEnvelopes[i].value);
        EXPECT_EQ(ours.volEnvelopes[i].segment, theirs.volEnvelopes[i].segment);
        EXPECT_EQ(ours.bank.levels[i].value, theirs.bank.levels[i].value);
        for (int e = 0; e < kEars; ++e) {
            EXPECT_EQ(ours.bank.phase[e][i], theirs.bank.phase[e][i]);
            EXPECT_EQ(ours.rateFades[e][i].from, theirs.rateFades[e][i].from);
            EXPECT_EQ(ours.levelFades[e][i].current, theirs.levelFades[e][i].current);
        }
    }
}

constexpr RenderPath kPaths[] = {RenderPath::Plain, RenderPath::Avx2, RenderPath::Avx512};

// Entries 0 to 6, and -1 for a function the engine does not know.
INSTANTIATE_TEST_SUITE_P(EveryShape, RenderMatchesReference,
                         testing::Combine(testing::Range(-1, 7), testing::Bool(), testing::Bool(),
                                          testing::ValuesIn(kPaths)));

// Every tone count, so that every filling of the vector lanes is met, each started while the
// previous count's fades still run and with passes short enough for segments to end in blocks.
std::vector<double> EveryToneCount(ToneEngine& engine, RenderFunction render, int wave) {
    EngineValues values = DefaultValues();
    values[8] = wave;
    values[9] = 0.1;
    values[11] = 1;
    StartEngine(engine, values);
    std::vector<double> recorded;
    for (int tones = 1; tones <= kMaxTones; ++tones) {
        Apply(engine, 3, tones);
        for (int frames : {700, 64, 1333}) {
            StereoBlock io(frames);
            render(engine, nullptr, io.channels, frames, true, 0);
            recorded.insert(recorded.end(), io.left.begin(), io.left.end());
            recorded.insert(recorded.end(), io.right.begin(), io.right.end());
        }
    }
    return recorded;
}

class EveryToneCountMatchesReference : public testing::TestWithParam<RenderPath> {};

TEST_P(EveryToneCountMatchesReference, ForEveryShape) {
    for (int wave = 0; wave < 7; ++wave) {
        ToneEngine engine(false, false);
        ToneEngine reference(false, false);
        UsePath(engine, GetParam());
        if (IsSkipped()) return;
        SCOPED_TRACE(wave);
        ExpectSameSamples(EveryToneCount(engine, &EngineRender, wave),
                          EveryToneCount(reference, &ReferenceRender, wave));
    }
}

INSTANTIATE_TEST_SUITE_P(EveryPath, EveryToneCountMatchesReference, testing::ValuesIn(kPaths));

// Tracking-sized blocks, with every kind of change between them that the render must see through
// what it keeps of the tones from block to block: a level that moves without a fade, the
// binaural offset, an envelope definition, the tone count, the shape, a re-seek, level offsets
// set directly and a fade-in; and whole chunks between them. The passes are short, so that
// segments end inside blocks, and at first long enough that often none ends for several blocks.
std::vector<double> SmallBlocks(ToneEngine& engine, RenderFunction render, int wave) {
    EngineValues values = DefaultValues();
    values[3] = 16;
    values[8] = wave;
    values[9] = 1;
    values[11] = 1;
    StartEngine(engine, values);
    std::vector<double> recorded;
    int32_t position = 0;
    auto blocks = [&](int count, int frames) {
        for (int i = 0; i < count; ++i) {
            StereoBlock io(frames);
            render(engine, nullptr, io.channels, frames, true, position);
            position += frames;
            recorded.insert(recorded.end(), io.left.begin(), io.left.end());
            recorded.insert(recorded.end(), io.right.begin(), io.right.end());
        }
    };
    blocks(800, 32);
    for (int i = 0; i < 40; ++i) {
        blocks(1, 512);
        blocks(8, 32);
    }
    Apply(engine, 9, 0.1);
    Apply(engine, 5, 20);
    blocks(40, 32);
    Apply(engine, 0, 14);
    blocks(20, 64);
    SegmentEnvelope volume;
    volume.Init(false);
    const float curves[4] = {5.0f, -3.0f, 0.0f, 2.0f};
    std::copy(curves, curves + 4, volume.curvatures);
    engine.ApplyEnvelopeDefinition(volume, EnvelopeKind::Volume, 8);
    blocks(800, 31);
    Apply(engine, 3, 6);
    blocks(900, 32);
    Apply(engine, 8, wave == 0 ? 4 : 0);
    blocks(40, 64);
    engine.ReseekTones(Reseek::FromHostPosition, 5000);
    blocks(40, 33);
    for (ToneLevel& level : ToneEngineTestAccess::Voices(engine).bank.levels) level.offset = 0.125;
    blocks(40, 32);
    engine.FadeInAtNextBlock();
    blocks(100, 64);
    return recorded;
}

class SmallBlocksMatchReference : public testing::TestWithParam<RenderPath> {};

TEST_P(SmallBlocksMatchReference, ThroughEveryChange) {
    for (int wave : {0, 4}) {
        ToneEngine engine(false, false);
        ToneEngine reference(false, false);
        UsePath(engine, GetParam());
        if (IsSkipped()) return;
        SCOPED_TRACE(wave);
        ExpectSameSamples(SmallBlocks(engine, &EngineRender, wave),
                          SmallBlocks(reference, &ReferenceRender, wave));
        for (int i = 0; i < kMaxTones; ++i) {
            EXPECT_EQ(engine.Voices().volEnvelopes[i].value,
                      reference.Voices().volEnvelopes[i].value);
            EXPECT_EQ(engine.Voices().levelFades[1][i].from,
                      reference.Voices().levelFades[1][i].from);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(EveryPath, SmallBlocksMatchReference, testing::ValuesIn(kPaths));

// One tone once its fades have finished, with curved segments ending inside chunks: the path
// that steps both envelopes together and samples both ears together.
std::vector<double> OneTone(ToneEngine& engine, RenderFunction render, int wave) {
    EngineValues values = DefaultValues();
    values[3] = 1;
    values[8] = wave;
    values[9] = 0.1;
    values[11] = 1;
    StartEngine(engine, values);
    SegmentEnvelope volume;
    volume.Init(false);
    const float curves[4] = {5.0f, -3.0f, 0.0f, 2.0f};
    std::copy(curves, curves + 4, volume.curvatures);
    engine.ApplyEnvelopeDefinition(volume, EnvelopeKind::Volume, 8);
    SegmentEnvelope freq;
    freq.Init(true);
    freq.curvatures[0] = -4.0f;
    engine.ApplyEnvelopeDefinition(freq, EnvelopeKind::Frequency, 0);
    std::vector<double> recorded;
    int32_t position = 0;
    for (int frames : {30000, 700, 1, 513, 64, 37, 31, 4000, 2049}) {
        StereoBlock io(frames, 0.25);
        render(engine, engine.MixInput() ? io.channels : nullptr, io.channels, frames, true,
               position);
        position += frames;
        recorded.insert(recorded.end(), io.left.begin(), io.left.end());
        recorded.insert(recorded.end(), io.right.begin(), io.right.end());
    }
    return recorded;
}

class OneToneMatchesReference : public testing::TestWithParam<std::tuple<bool, RenderPath>> {};

TEST_P(OneToneMatchesReference, ForEveryShape) {
    const auto [mixInput, path] = GetParam();
    for (int wave = 0; wave < 7; ++wave) {
        ToneEngine engine(mixInput, false);
        ToneEngine reference(mixInput, false);
        UsePath(engine, path);
        if (IsSkipped()) return;
        SCOPED_TRACE(wave);
        ExpectSameSamples(OneTone(engine, &EngineRender, wave),
                          OneTone(reference, &ReferenceRender, wave));
        EXPECT_EQ(engine.Voices().volEnvelopes[0].segment,
                  reference.Voices().volEnvelopes[0].segment);
        EXPECT_EQ(engine.Voices().bank.levels[0].value, reference.Voices().bank.levels[0].value);
    }
}

INSTANTIATE_TEST_SUITE_P(EveryPath, OneToneMatchesReference,
                         testing::Combine(testing::Bool(), testing::ValuesIn(kPaths)));

class RenderTest : public testing::Test {
protected:
    void SetUp() override { StartEngine(engine, DefaultValues()); }

    StereoBlock Render(int frames, bool running) {
        StereoBlock out(frames, 9.0);
        engine.Render(nullptr, out.channels, frames, running, 0);
        return out;
    }

    ToneEngine engine{false, false};
};

TEST_F(RenderTest, StoppedTransportRampsDownThenFreezes) {
    Render(512, true);
    const double target = engine.TargetGain();
    EXPECT_NEAR(engine.CurrentGain(), target, 1e-15);
    const StereoBlock falling = Render(512, false);
    EXPECT_NE(falling.left[0], 0.0);
    EXPECT_LT(engine.CurrentGain(), 1e-11);
    const double phase = engine.Voices().bank.phase[1][3];
    const double envelope = engine.Voices().volEnvelopes[3].value;
    const StereoBlock silent = Render(512, false);
    for (int t = 0; t < 512; ++t) {
        ASSERT_EQ(silent.left[t], 0.0);
        ASSERT_EQ(silent.right[t], 0.0);
    }
    EXPECT_EQ(engine.Voices().bank.phase[1][3], phase);
    EXPECT_EQ(engine.Voices().volEnvelopes[3].value, envelope);
}

#if defined(__SSE2__)
// Denormals are flushed only while a block renders; the host's own mode comes back after it.
TEST_F(RenderTest, LeavesTheCallersFloatingPointModeAsItWas) {
    const unsigned saved = _mm_getcsr();
    _mm_setcsr(saved & ~0x8040u);
    Render(512, true);
    EXPECT_EQ(_mm_getcsr(), saved & ~0x8040u);
    _mm_setcsr(saved | 0x8000u);
    Render(512, true);
    EXPECT_EQ(_mm_getcsr(), saved | 0x8000u);
    _mm_setcsr(saved);
}
#endif

TEST_F(RenderTest, TransportStartRampsLinearlyToTheTarget) {
    Render(512, false);
    Render(100, true);
    EXPECT_NEAR(engine.CurrentGain(), engine.TargetGain(), 1e-15);
}

// The first change after the first block treats every slot as new; a later one only the slots
// above the old count, while the others glide to their new places.
TEST_F(RenderTest, ARestartBeforeTheFadeRanKeepsItsStartingValue) {
    for (int i = 0; i < 60; ++i) Render(512, true);
    engine.RestartFades(true, true);
    const double rateFrom = engine.Voices().rateFades[0][2].from;
    const double levelFrom = engine.Voices().levelFades[1][2].from;
    ASSERT_NE(engine.Voices().rateFades[0][2].current, rateFrom);
    engine.RestartFades(true, true);
    EXPECT_EQ(engine.Voices().rateFades[0][2].from, rateFrom);
    EXPECT_EQ(engine.Voices().levelFades[1][2].from, levelFrom);
}

TEST_F(RenderTest, ToneCountChangeFadesNewSlotsIn) {
    for (int i = 0; i < 60; ++i) Render(512, true);
    Apply(engine, 3, 9);
    for (int i = 0; i < 9; ++i) EXPECT_EQ(engine.Voices().levelFades[0][i].from, 0.0) << i;
    for (int i = 0; i < 60; ++i) Render(512, true);
    Apply(engine, 3, 11);
    for (int i = 0; i < 11; ++i) {
        EXPECT_TRUE(engine.Voices().levelFades[1][i].active);
        EXPECT_TRUE(engine.Voices().rateFades[1][i].active);
        EXPECT_EQ(engine.Voices().levelFades[1][i].from == 0.0, i >= 9) << i;
    }
    // A slot that never sounded starts at its own pitch rather than gliding up from 0 Hz.
    const ToneIncrement& rate = engine.Voices().bank.rates[1][10];
    EXPECT_NEAR(engine.Voices().rateFades[1][10].from,
                rate.span * engine.Voices().freqEnvelopes[10].value + rate.low, 1e-15);
    EXPECT_GT(engine.Voices().rateFades[1][10].from, 0.0);
}

} // namespace
