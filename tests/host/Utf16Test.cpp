#include "host/Utf16.h"

#include <gtest/gtest.h>

namespace serivane::host {
namespace {

using Steinberg::char16;

TEST(Utf16, ConvertsEveryPlaneAndReplacesBrokenSurrogates) {
    const char16 text[] = {u'H', u'z', u' ', 0x00E9, 0x20AC, 0xD83D, 0xDE00, 0};
    EXPECT_EQ(toUtf8(text, 128), "Hz \xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80");

    const char16 lone[] = {u'a', 0xDE00, u'b', 0xD83D, 0};
    EXPECT_EQ(toUtf8(lone, 128), "a\xEF\xBF\xBD"
                                 "b\xEF\xBF\xBD");
}

TEST(Utf16, StopsAtTheCapacityWhenTheTerminatorIsMissing) {
    const char16 text[] = {u'a', u'b', u'c', u'd'};
    EXPECT_EQ(toUtf8(text, 3), "abc");
    const char16 split[] = {u'a', 0xD83D, 0xDE00};
    EXPECT_EQ(toUtf8(split, 2), "a\xEF\xBF\xBD") << "a pair cut by the capacity is broken";

    const char field[4] = {'a', 'b', 'c', 'd'};
    EXPECT_EQ(fromField(field, 4), "abcd");
    EXPECT_EQ(fromField("ab\0cd", 5), "ab");
}

} // namespace
} // namespace serivane::host
