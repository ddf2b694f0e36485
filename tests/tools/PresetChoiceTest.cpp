#include "tools/plugin/PresetChoice.h"

#include <gtest/gtest.h>

namespace serivane::tools {
namespace {

const std::vector<std::string> names = {
    "---- default ----",
    "Minimal (lock another params)",
    "Minimal with golden waves (lock another params)",
    "Psychic - Schumann Resonance (7.83)",
    "Psychic - Schumann Resonance (14.3)",
    "Alpha",
    "Alpha Waves",
    "Euphoria",
    "euphoria",
};

std::optional<std::size_t> chosen(const std::string& choice, std::string& error) {
    return choosePreset(names, choice, error);
}

TEST(PresetChoice, ExactNamesInAnyCaseThenAUniquePartThenSlots) {
    struct Case {
        const char* choice;
        std::size_t slot;
    };
    for (const Case& c :
         {Case{"Minimal (lock another params)", 1}, Case{"minimal (LOCK another params)", 1},
          Case{"  Minimal (lock another params) ", 1}, Case{"with GOLDEN", 2}, Case{"7.83", 3},
          Case{"schumann resonance (14", 4}, Case{"alpha", 5}, Case{"Euphoria", 7},
          Case{"euphoria", 8}, Case{"3", 3}, Case{"+0", 0}}) {
        std::string error;
        std::optional<std::size_t> slot = chosen(c.choice, error);
        ASSERT_TRUE(slot.has_value()) << c.choice << ": " << error;
        EXPECT_EQ(*slot, c.slot) << c.choice;
    }
}

TEST(PresetChoice, AnAmbiguousPartListsTheCandidatesWithTheirSlots) {
    std::string error;
    EXPECT_FALSE(chosen("Schumann", error));
    EXPECT_NE(error.find("any of 2: 3 \"Psychic - Schumann Resonance (7.83)\", 4 \"Psychic - "
                         "Schumann Resonance (14.3)\";"),
              std::string::npos)
        << error;
    EXPECT_FALSE(chosen("EUPHORIA", error)) << "two names equal it in any case";
    EXPECT_NE(error.find("7 \"Euphoria\", 8 \"euphoria\""), std::string::npos) << error;

    std::vector<std::string> many(20, "Healing - ");
    for (std::size_t i = 0; i < many.size(); ++i) many[i] += std::to_string(i);
    EXPECT_FALSE(choosePreset(many, "healing", error));
    EXPECT_NE(error.find("any of 20:"), std::string::npos) << error;
    EXPECT_NE(error.find("and 12 more"), std::string::npos) << error;
}

TEST(PresetChoice, NamesAndSlotsThatFitNothingAreRefused) {
    for (const char* choice : {"Gamma", "9", "-1", "", "   "}) {
        std::string error;
        EXPECT_FALSE(chosen(choice, error)) << choice;
        EXPECT_NE(error.find("no preset"), std::string::npos) << error;
        EXPECT_NE(error.find("from 0 to 8"), std::string::npos) << error;
    }
    std::string error;
    EXPECT_FALSE(choosePreset({}, "1", error));
}

} // namespace
} // namespace serivane::tools
