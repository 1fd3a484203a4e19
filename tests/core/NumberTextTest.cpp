#include "core/NumberText.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdio>

TEST(NumberText, FixedMatchesPrintfRounding) {
  char out[64];
  const double values[] = {12.5, 0.005, 2.675, -1.005, 33.300000000000004, 1e15 + 0.3, -0.0};
  for (double v : values) {
    for (int decimals = 1; decimals <= 6; ++decimals) {
      char expected[64];
      std::snprintf(expected, sizeof expected, "%.*f", decimals, v);
      FormatFixed(v, decimals, out, sizeof out);
      EXPECT_STREQ(out, expected) << v << " with " << decimals;
    }
  }
}

TEST(NumberText, FixedIsCutToTheRoomGiven) {
  char out[5];
  EXPECT_EQ(FormatFixed(12345.678, 2, out, sizeof out), 4);
  EXPECT_STREQ(out, "1234");
}

TEST(NumberText, TruncatedIntegerSaturatesAndTreatsNaNAsZero) {
  char out[16];
  FormatTruncatedInt(12.9, out, sizeof out);
  EXPECT_STREQ(out, "12");
  FormatTruncatedInt(-3.7, out, sizeof out);
  EXPECT_STREQ(out, "-3");
  EXPECT_EQ(TruncateToInt(1e300), INT_MAX);
  EXPECT_EQ(TruncateToInt(-1e300), INT_MIN);
  EXPECT_EQ(TruncateToInt(std::nan("")), 0);
}

TEST(NumberText, LeadingDecimalFollowsTheNumberGrammar) {
  EXPECT_EQ(ParseLeadingDecimal("12.5"), 12.5);
  EXPECT_EQ(ParseLeadingDecimal("  -3dB"), -3.0);
  EXPECT_EQ(ParseLeadingDecimal("+.5"), 0.5);
  EXPECT_EQ(ParseLeadingDecimal("5."), 5.0);
  EXPECT_EQ(ParseLeadingDecimal("1e3"), 1000.0);
  EXPECT_EQ(ParseLeadingDecimal("2.5E-1x"), 0.25);
  EXPECT_EQ(ParseLeadingDecimal("7e"), 7.0) << "an exponent without digits is not part of the number";
  EXPECT_EQ(ParseLeadingDecimal("12,5"), 12.0) << "the decimal separator is always a point";
}

TEST(NumberText, TextWithoutLeadingNumberReadsAsZero) {
  int consumed = -1;
  EXPECT_EQ(ParseLeadingDecimal("on", &consumed), 0.0);
  EXPECT_EQ(consumed, 0);
  EXPECT_EQ(ParseLeadingDecimal(""), 0.0);
  EXPECT_EQ(ParseLeadingDecimal(nullptr), 0.0);
  EXPECT_EQ(ParseLeadingDecimal("-"), 0.0);
  EXPECT_EQ(ParseLeadingDecimal("."), 0.0);
  EXPECT_EQ(ParseLeadingDecimal("inf"), 0.0);
  EXPECT_EQ(ParseLeadingDecimal("nan"), 0.0);
  EXPECT_EQ(ParseLeadingDecimal("0x10"), 0.0) << "hexadecimal stops after the 0";
}

TEST(NumberText, OutOfRangeNumbersSaturateOrVanish) {
  EXPECT_EQ(ParseLeadingDecimal("1e999"), HUGE_VAL);
  EXPECT_EQ(ParseLeadingDecimal("-1e999"), -HUGE_VAL);
  EXPECT_EQ(ParseLeadingDecimal("1e-999"), 0.0);
  EXPECT_EQ(ParseLeadingDecimal("0.0000e-999"), 0.0);
}

TEST(NumberText, ConsumedCountsTheCharactersOfTheNumber) {
  int consumed = 0;
  ParseLeadingDecimal("  -12.5e2 dB", &consumed);
  EXPECT_EQ(consumed, 9);
}
