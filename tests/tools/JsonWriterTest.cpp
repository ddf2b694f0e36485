#include "tools/JsonWriter.h"

#include <cmath>
#include <gtest/gtest.h>

namespace serivane::tools {
namespace {

TEST(JsonWriter, NestsContainersWithCommasAndIndentation) {
    JsonWriter json;
    json.beginObject();
    json.key("name").value("Serivane");
    json.key("empty").beginArray().endArray();
    json.key("list").beginArray().value(1).value(0.01).value(true).null().endArray();
    json.key("inner").beginObject().key("x").value(-2.5).endObject();
    json.endObject();
    EXPECT_EQ(json.text(), R"({
  "name": "Serivane",
  "empty": [],
  "list": [
    1,
    0.01,
    true,
    null
  ],
  "inner": {
    "x": -2.5
  }
}
)");
}

TEST(JsonWriter, EscapesTextAndWritesNonFiniteNumbersAsNull) {
    EXPECT_EQ(jsonQuoted("say \"hi\"\\\n\t\x01"), R"("say \"hi\"\\\n\t\u0001")");
    EXPECT_EQ(jsonQuoted("Gold. Square \xC3\xA9"), "\"Gold. Square \xC3\xA9\"");

    JsonWriter json;
    json.beginArray().value(NAN).value(INFINITY).value(1e-7).endArray();
    EXPECT_EQ(json.text(), "[\n  null,\n  null,\n  1e-07\n]\n");
}

} // namespace
} // namespace serivane::tools
