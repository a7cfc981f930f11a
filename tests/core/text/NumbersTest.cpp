#include "core/text/Numbers.h"

#include <gtest/gtest.h>

using namespace portiqa;

TEST(Numbers, LeadingNumberReadsThePrefix) {
    const struct {
        const char16_t* text;
        double expected;
    } cases[] = {
        {u"500", 500}, {u"0500", 500}, {u"20.5", 20.5}, {u"30abc", 30},   {u"abc", 0},
        {u"", 0},      {u"-12", -12},  {u"  7", 7},     {u"３５８", 358}, {u"１２．５", 12.5},
        {u".5", 0.5},  {u"-", 0},      {u"1.2.3", 1.2}, {u"358px", 358},
    };
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(numbers::leadingNumber(QString::fromUtf16(c.text)), c.expected)
            << QString::fromUtf16(c.text).toStdString();
    }
}

TEST(Numbers, TextFormHasNoTrailingZeros) {
    EXPECT_EQ(numbers::numberText(500), "500");
    EXPECT_EQ(numbers::numberText(30.5), "30.5");
    EXPECT_EQ(numbers::numberText(0.25), "0.25");
    EXPECT_EQ(numbers::numberText(1.0 / 3.0), "0.3333333333333");
    EXPECT_EQ(numbers::numberText(-0.0), "0");
    EXPECT_EQ(numbers::numberText(36.0), "36");
}

TEST(Numbers, ComparisonsUseTheTolerance) {
    EXPECT_FALSE(numbers::greater(1.00000001, 1.0));
    EXPECT_TRUE(numbers::greater(1.000001, 1.0));
    EXPECT_TRUE(numbers::greaterOrEqual(0.99999999, 1.0));
    EXPECT_TRUE(numbers::nearlyEqual(0.5, 0.50000001));
}

TEST(Numbers, TruncationGoesTowardZero) {
    EXPECT_EQ(numbers::truncateToInt32(2.9), 2);
    EXPECT_EQ(numbers::truncateToInt32(-2.9), -2);
    EXPECT_EQ(numbers::truncateToInt32(1e300), 2147483647);
}
