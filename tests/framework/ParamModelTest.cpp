#include "framework/IParamModel.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

TEST(ParamModel, PrecisionFollowsTheStepAndMaxCoversOneStep) {
    IParamModel p;
    p.DefineDouble("A", 0, 0, 10, 0.01, "Hz");
    EXPECT_EQ(p.Precision(), 2);
    EXPECT_EQ(p.Type(), IParamType::Double);
    p.DefineDouble("A", 0, 0, 10, 0.0000001, "");
    EXPECT_EQ(p.Precision(), 6);
    p.DefineDouble("A", 0, 5, 5.05, 0.1, "");
    EXPECT_DOUBLE_EQ(p.Max(), 5.1);
    IParamModel i;
    i.DefineInt("I", 3, 0, 100, "%");
    EXPECT_EQ(i.Type(), IParamType::Int);
    EXPECT_EQ(i.Precision(), 0);
}

TEST(ParamModel, FormatsNumbersAndDisplayTexts) {
    IParamModel d;
    d.DefineDouble("D", 0, -10, 10, 0.01, "");
    EXPECT_EQ(d.FormatValue(0, false), "0");
    EXPECT_EQ(d.FormatValue(1.5, false), "1.50");
    d.SetNegateDisplay(true);
    EXPECT_EQ(d.FormatValue(-1.5, false), "1.50");

    IParamModel e;
    e.DefineEnum("E", 0, 3, "");
    e.AddDisplayText(0, "Zero");
    e.AddDisplayText(1, "One");
    e.AddDisplayText(2, "Two");
    e.AddDisplayText(1, "Again");
    EXPECT_EQ(e.FormatValue(1.49, false), "One");
    EXPECT_EQ(e.FormatValue(1.5, false), "Two");
    EXPECT_EQ(e.FormatValue(0.0, true), "Zero");
    double value = -1;
    EXPECT_TRUE(e.ValueForDisplayText("Two", &value));
    EXPECT_EQ(value, 2);
    EXPECT_FALSE(e.ValueForDisplayText("two", &value));

    IParamModel i;
    i.DefineInt("I", 0, 0, 10, "");
    i.AddDisplayText(3, "");
    EXPECT_EQ(i.FormatValue(3, false), "3");
    EXPECT_EQ(i.FormatValue(-2.5, false), "-3");
}

TEST(ParamModel, NormalisationFollowsTheShapeAndClamps) {
    IParamModel p;
    p.DefineDouble("P", 5, 5, 10000, 0.1, "Hz");
    p.SetShape(2);
    p.SetShape(0);
    EXPECT_EQ(p.Shape(), 2);
    EXPECT_DOUBLE_EQ(p.FromNormalized(0.5), 5 + 0.25 * 9995);
    EXPECT_DOUBLE_EQ(p.ToNormalized(20000), 1.0);
    EXPECT_DOUBLE_EQ(p.ToNormalized(-3), 0.0);
    for (double x = 0; x <= 1.0; x += 0.0625)
        EXPECT_NEAR(p.ToNormalized(p.FromNormalized(x)), x, 1e-12);
    EXPECT_DOUBLE_EQ(p.DefaultNormalized(), 0.0);
}

TEST(ParamModel, SetFromNormalizedSnapsIntegersAndRejectsOddHostValues) {
    IParamModel i;
    i.DefineInt("I", 50, 0, 100, "%");
    i.SetFromNormalized(1.0);
    EXPECT_EQ(i.Value(), 100);
    i.SetFromNormalized(0.004);
    EXPECT_EQ(i.Value(), 0);
    i.SetFromNormalized(7.0);
    EXPECT_EQ(i.Value(), 100);
    i.SetFromNormalized(-3.0);
    EXPECT_EQ(i.Value(), 0);
    i.SetFromNormalized(0.5);
    i.SetFromNormalized(std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(i.Value(), 50);

    IParamModel d;
    d.DefineDouble("D", 0, 0, 100, 0.1, "");
    d.SetFromNormalized(0.004);
    EXPECT_DOUBLE_EQ(d.Value(), 0.4);
}

TEST(ParamModel, StoredValuesAreClamped) {
    IParamModel p;
    p.DefineInt("I", 0, 0, 100, "");
    p.SetClamped(1e9);
    EXPECT_EQ(p.Value(), 100);
    p.SetClamped(std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(p.Value(), 0);
    p.SetClamped(3.7);
    EXPECT_EQ(p.Value(), 3.7);
}

TEST(ParamModel, RoundHalfAwayFromZeroIsSafeOnAnyInput) {
    EXPECT_EQ(RoundHalfAway(2.5), 3);
    EXPECT_EQ(RoundHalfAway(-2.5), -3);
    EXPECT_EQ(RoundHalfAway(2.49), 2);
    EXPECT_EQ(RoundHalfAway(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(RoundHalfAway(1e300), std::numeric_limits<int32_t>::max());
}
