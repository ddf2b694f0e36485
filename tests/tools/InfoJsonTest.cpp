#include "tools/commands/InfoCommand.h"

#include <cmath>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace serivane::tools {
namespace {

PluginReport awkwardReport() {
    PluginReport report;
    report.library = "/tmp/a \"quoted\" path\\Serivane.so";
    report.pluginClass.name = "Serivane";
    report.pluginClass.subCategories = "Instrument|Synth";
    ParameterReport p;
    p.description.id = 7;
    p.description.title = "Tab\there\nnew line \x01 \xC3\xA9";
    p.description.units = "\xFF broken";
    p.minimum = 0.0;
    p.maximum = INFINITY;
    p.defaultPlain = NAN;
    report.parameters.push_back(p);
    report.programs = {"Factory Presets", {"Default", "Sch\xC3\xBCmann"}};
    return report;
}

TEST(InfoJson, AwkwardTextsAndNumbersStillGiveValidJsonInAFixedOrder) {
    const std::string text = infoJson(awkwardReport());
    ASSERT_EQ(text.back(), '\n');
    nlohmann::ordered_json json = nlohmann::ordered_json::parse(text);

    std::vector<std::string> keys;
    for (const auto& [key, value] : json.items()) keys.push_back(key);
    EXPECT_EQ(keys, (std::vector<std::string>{"class", "buses", "parameters", "programListName",
                                              "programs"}));
    EXPECT_EQ(json["class"]["library"], "/tmp/a \"quoted\" path\\Serivane.so");
    EXPECT_EQ(json["class"]["subCategories"], (std::vector<std::string>{"Instrument", "Synth"}));
    EXPECT_TRUE(json["buses"].is_array());

    const auto& parameter = json["parameters"][0];
    EXPECT_EQ(parameter["title"], "Tab\there\nnew line \x01 \xC3\xA9");
    EXPECT_EQ(parameter["units"], "\xEF\xBF\xBD broken") << "not UTF-8: replaced, not thrown";
    EXPECT_TRUE(parameter["max"].is_null());
    EXPECT_TRUE(parameter["default"].is_null());
    EXPECT_TRUE(parameter["defaultDisplay"].is_null());
    EXPECT_EQ(json["programs"][1], "Sch\xC3\xBCmann");
}

} // namespace
} // namespace serivane::tools
