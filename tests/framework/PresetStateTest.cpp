#include "TestEffect.h"

#include <gtest/gtest.h>

#include <array>

namespace {

// Four integer parameters 0..100 with distinct defaults.
std::unique_ptr<TestEffect> MakeEffect(int presets = 3) {
    auto effect = std::make_unique<TestEffect>(TestConfig(4, presets));
    for (int i = 0; i < 4; ++i) effect->ParamAt(i)->DefineInt("P", 10 * (i + 1), 0, 100, "");
    return effect;
}

IStateChunk ChunkOf(std::initializer_list<double> values) {
    IStateChunk chunk;
    for (double v : values) chunk.PutDouble(v);
    return chunk;
}

std::array<double, 4> Values(const TestEffect& effect) {
    return {effect.ParamAt(0)->Value(), effect.ParamAt(1)->Value(), effect.ParamAt(2)->Value(),
            effect.ParamAt(3)->Value()};
}

} // namespace

TEST(PresetSlots, PlaceholdersFillingAndUserNames) {
    auto effect = MakeEffect(150);
    EXPECT_STREQ(effect->PresetName(0), "- 1 -");
    EXPECT_STREQ(effect->PresetName(149), "- 150 -");
    EXPECT_STREQ(effect->PresetName(150), "");
    effect->NameFreePresets("---- default ----", 1);
    EXPECT_STREQ(effect->PresetName(0), "---- default ----");
    EXPECT_EQ(effect->PresetAt(0)->chunk.Size(), 0);

    EXPECT_TRUE(effect->LoadPreset(140));
    EXPECT_STREQ(effect->PresetName(140), "user preset 1");
    EXPECT_TRUE(effect->LoadPreset(141));
    EXPECT_STREQ(effect->PresetName(141), "user preset 2");
    EXPECT_EQ(effect->CurrentPreset(), 141);
    EXPECT_EQ(Values(*effect), (std::array<double, 4>{10, 20, 30, 40}));

    EXPECT_FALSE(effect->LoadPreset(-1));
    EXPECT_FALSE(effect->LoadPreset(150));
    EXPECT_EQ(effect->CurrentPreset(), 141);
}

TEST(PresetSlots, AddPresetStoresIntegersAsIntegersAndStopsWhenFull) {
    auto effect = MakeEffect(2);
    const std::array<double, 4> values{1.9, 200, -3, 4};
    EXPECT_TRUE(effect->AddPreset("a", values));
    EXPECT_FALSE(effect->AddPreset("short", std::array<double, 2>{1, 2}));
    EXPECT_TRUE(effect->AddPreset("b", values));
    EXPECT_FALSE(effect->AddPreset("c", values));
    EXPECT_STREQ(effect->PresetName(1), "b");

    const IStateChunk& chunk = effect->PresetAt(0)->chunk;
    ASSERT_EQ(chunk.Size(), 32);
    double stored = 0;
    chunk.GetDouble(0, &stored);
    EXPECT_EQ(stored, 1.0);
    chunk.GetDouble(8, &stored);
    EXPECT_EQ(stored, 200.0);

    EXPECT_TRUE(effect->LoadPreset(0));
    EXPECT_EQ(Values(*effect), (std::array<double, 4>{1, 100, 0, 4}));
}

TEST(PresetSlots, RecallConsultsTheAcceptanceHookButStateRestoreDoesNot) {
    auto effect = MakeEffect(2);
    effect->AddPreset("a", std::array<double, 4>{1, 2, 3, 4});
    effect->acceptOdd = true;
    effect->LoadPreset(0);
    EXPECT_EQ(Values(*effect), (std::array<double, 4>{10, 2, 30, 4}));
    EXPECT_EQ(effect->changed, (std::vector<int>{1, 3}));

    EXPECT_EQ(effect->ReadState(ChunkOf({5, 6, 7, 8}), 0), 32);
    EXPECT_EQ(Values(*effect), (std::array<double, 4>{5, 6, 7, 8}));
}

TEST(PresetSlots, LoadingAnEmptySlotChangesNothingAndFails) {
    auto effect = MakeEffect(2);
    effect->NameFreePresets(nullptr, 1);
    EXPECT_STREQ(effect->PresetName(0), "Default");
    EXPECT_FALSE(effect->LoadPreset(0));
    EXPECT_EQ(Values(*effect), (std::array<double, 4>{10, 20, 30, 40}));
    EXPECT_TRUE(effect->changed.empty());
}

TEST(StateChunk, WritesEveryParameterAndReadsBackClamped) {
    auto effect = MakeEffect();
    IStateChunk state;
    ASSERT_TRUE(effect->WriteState(state));
    EXPECT_EQ(state.Size(), 32);

    auto other = MakeEffect();
    EXPECT_EQ(other->ReadState(ChunkOf({3.7, 1e9, -5, 0}), 0), 32);
    EXPECT_EQ(Values(*other), (std::array<double, 4>{3.7, 100, 0, 0}));
    EXPECT_EQ(other->ReadState(state, 0), 32);
    EXPECT_EQ(Values(*other), (std::array<double, 4>{10, 20, 30, 40}));
}

TEST(StateChunk, ShortAndLongChunks) {
    auto effect = MakeEffect();
    EXPECT_EQ(effect->ReadState(ChunkOf({1, 2}), 0), -1);
    EXPECT_EQ(Values(*effect), (std::array<double, 4>{1, 2, 30, 40}));
    EXPECT_EQ(effect->ReadState(IStateChunk{}, 0), -1);
    EXPECT_EQ(Values(*effect), (std::array<double, 4>{1, 2, 30, 40}));

    IStateChunk odd = ChunkOf({5, 6, 7});
    odd.PutBytes("xyz", 3);
    EXPECT_EQ(effect->ReadState(odd, 0), -1);
    EXPECT_EQ(Values(*effect), (std::array<double, 4>{5, 6, 7, 40}));

    EXPECT_EQ(effect->ReadState(ChunkOf({9, 9, 9, 9, 9}), 0), 32);
    EXPECT_EQ(effect->ReadState(ChunkOf({9}), -1), -1);
}
