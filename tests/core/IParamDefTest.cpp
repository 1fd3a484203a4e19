#include "core/IParamDef.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

std::string Format(const IParamDef& param, double value, bool isNormalized = false,
                   bool useDisplayTexts = true) {
  char out[64];
  param.FormatValue(value, isNormalized, out, sizeof out, useDisplayTexts);
  return out;
}

}  // namespace

TEST(IParamDef, NewParameterHasCreationState) {
  IParamDef param;
  EXPECT_EQ(param.GetType(), ParamType::None);
  EXPECT_EQ(param.GetValue(), 0.0);
  EXPECT_EQ(param.GetMin(), 0.0);
  EXPECT_EQ(param.GetMax(), 1.0);
  EXPECT_EQ(param.GetStep(), 1.0);
  EXPECT_EQ(param.GetShape(), 1.0);
  EXPECT_STREQ(param.GetName(), "");
  EXPECT_TRUE(param.GetCanAutomate());
  EXPECT_FALSE(param.GetNegateDisplay());
  EXPECT_EQ(param.GetDisplayTextCount(), 0);
}

TEST(IParamDef, DisplayPrecisionFollowsTheStep) {
  const struct {
    double step;
    int precision;
  } cases[] = {{1.0, 0}, {0.1, 1}, {0.01, 2}, {0.5, 1}, {0.25, 2}, {0.001, 3}, {0.0000001, 6}, {5.0, 0}};
  for (const auto& c : cases) {
    IParamDef param;
    param.DefineDouble("p", 0.0, 0.0, 100.0, c.step);
    EXPECT_EQ(param.GetDisplayPrecision(), c.precision) << c.step;
  }
}

TEST(IParamDef, DefineDoubleWidensRangeNarrowerThanOneStep) {
  IParamDef param;
  param.DefineDouble("narrow", 1.0, 1.0, 1.2, 0.5);
  EXPECT_EQ(param.GetMax(), 1.5);
}

TEST(IParamDef, ShapeZeroKeepsThePreviousShape) {
  IParamDef param;
  param.DefineDouble("p", 0.0, 0.0, 1.0, 0.01, "", 0.0);
  EXPECT_EQ(param.GetShape(), 1.0);
  param.DefineDouble("p", 0.0, 0.0, 1.0, 0.01, "", 2.0);
  param.DefineDouble("p", 0.0, 0.0, 1.0, 0.01, "", 0.0);
  EXPECT_EQ(param.GetShape(), 2.0);
}

TEST(IParamDef, DefinitionsSetTypeOnceAndEmptyTheGroup) {
  IParamDef b;
  b.DefineBool("Power", true);
  EXPECT_EQ(b.GetType(), ParamType::Bool);
  EXPECT_EQ(b.GetMin(), 0.0);
  EXPECT_EQ(b.GetMax(), 1.0);
  EXPECT_EQ(b.GetStep(), 1.0);
  EXPECT_EQ(b.GetDefault(), 1.0);
  EXPECT_EQ(b.GetValue(), 1.0);
  EXPECT_STREQ(b.GetLabel(), "");
  EXPECT_STREQ(b.GetGroup(), "");

  IParamDef e;
  e.DefineEnum("Shape", 2, 4, "x");
  EXPECT_EQ(e.GetType(), ParamType::Enum);
  EXPECT_EQ(e.GetMax(), 3.0);

  IParamDef i;
  i.DefineInt("Mode", 1, 0, 4, "");
  EXPECT_EQ(i.GetType(), ParamType::Int);
  i.DefineDouble("Mode", 1, 0, 4, 0.5);
  EXPECT_EQ(i.GetType(), ParamType::Int) << "a type once set stays";
}

TEST(IParamDef, LongTextsAreCutTo31Characters) {
  IParamDef param;
  const std::string longText(40, 'n');
  param.DefineDouble(longText.c_str(), 0.0, 0.0, 1.0, 0.1, longText.c_str());
  param.AddDisplayText(0, longText.c_str());
  EXPECT_EQ(std::string(param.GetName()), std::string(31, 'n'));
  EXPECT_EQ(std::string(param.GetLabel()), std::string(31, 'n'));
  EXPECT_EQ(std::string(param.GetDisplayText(0)->text), std::string(31, 'n'));
}

TEST(IParamDef, IntRoundsToTheNearestStepWithinTheRange) {
  IParamDef param;
  param.DefineInt("Mode", 1, 0, 4);
  param.SetFromNormalized(0.625);
  EXPECT_EQ(param.GetValue(), 3.0) << "2.5 rounds up";
  param.SetFromNormalized(1.2);
  EXPECT_EQ(param.GetValue(), 4.0);
  param.SetFromNormalized(-0.1);
  EXPECT_EQ(param.GetValue(), 0.0) << "-0.4 rounds to 0";
  param.SetFromNormalized(0.5);
  EXPECT_EQ(param.GetValue(), 2.0);
  param.SetFromNormalized(0.6);
  EXPECT_EQ(param.GetValue(), 2.0);
}

TEST(IParamDef, DoubleKeepsUnroundedValuesAndPositionsOutsideTheRangeTakeItsEnds) {
  IParamDef param;
  param.DefineDouble("Tighten", 53.5, 20.0, 100.0, 0.01, "%");
  param.SetFromNormalized(0.333);
  EXPECT_EQ(param.GetValue(), 0.333 * 80.0 + 20.0);
  param.SetFromNormalized(-0.1);
  EXPECT_EQ(param.GetValue(), 20.0);
  param.SetFromNormalized(-1e30);
  EXPECT_EQ(param.GetValue(), 20.0);
  param.SetFromNormalized(7.0);
  EXPECT_EQ(param.GetValue(), 100.0);
}

TEST(IParamDef, ShapeBendsBothMappings) {
  IParamDef param;
  param.DefineDouble("Time", 0.0, 0.0, 100.0, 0.01, "ms", 2.0);
  param.SetFromNormalized(0.5);
  EXPECT_DOUBLE_EQ(param.GetValue(), 25.0);
  EXPECT_DOUBLE_EQ(param.GetNormalizedValue(), 0.5);
}

TEST(IParamDef, SetValueClampsWithoutStepRounding) {
  IParamDef param;
  param.DefineDouble("Db Output", 0.0, -30.0, 20.0, 0.01, "dB");
  param.SetValue(1000.0);
  EXPECT_EQ(param.GetValue(), 20.0);
  param.SetValue(-31.0);
  EXPECT_EQ(param.GetValue(), -30.0);
  param.SetValue(1.23456);
  EXPECT_EQ(param.GetValue(), 1.23456);
}

TEST(IParamDef, NotANumberNeverBecomesTheValue) {
  IParamDef param;
  param.DefineDouble("Bass", 2.0, -10.0, 10.0, 0.01, "dB");
  param.SetValue(std::nan(""));
  EXPECT_EQ(param.GetValue(), 2.0) << "falls back to the default";
  param.SetValue(5.0);
  param.SetFromNormalized(std::nan(""));
  EXPECT_EQ(param.GetValue(), 5.0);
}

TEST(IParamDef, BoolDisplaysAndParsesItsTexts) {
  IParamDef param;
  param.DefineBool("Power", true);
  EXPECT_EQ(Format(param, 1.0), "on");
  EXPECT_EQ(Format(param, 0.0), "off");
  EXPECT_STREQ(param.LabelForDisplay(), "");
  param.SetValue(0.0);
  EXPECT_STREQ(param.LabelForDisplay(), "");
  double value = -1.0;
  EXPECT_TRUE(param.ValueFromText("on", value));
  EXPECT_EQ(value, 1.0);
  value = -1.0;
  EXPECT_FALSE(param.ValueFromText("On", value));
  EXPECT_FALSE(param.ValueFromText("yes", value));
  EXPECT_FALSE(param.ValueFromText("on ", value)) << "the whole text must match";
  EXPECT_EQ(value, -1.0);
}

TEST(IParamDef, DoubleShowsDecimalsFromItsStep) {
  IParamDef fine;
  fine.DefineDouble("Pres Comp", 12.5, -5.0, 25.0, 0.01, "dB");
  EXPECT_EQ(Format(fine, 12.5), "12.50");
  EXPECT_STREQ(fine.LabelForDisplay(), "dB");
  IParamDef coarse;
  coarse.DefineDouble("Whole", 0.0, 0.0, 100.0, 1.0);
  EXPECT_EQ(Format(coarse, 12.9), "12");
  EXPECT_EQ(Format(coarse, -12.9), "-12");
}

TEST(IParamDef, NormalizedFormattingMapsWithoutRounding) {
  IParamDef param;
  param.DefineInt("Mode", 1, 0, 4);
  param.SetNegateDisplay(false);
  EXPECT_EQ(Format(param, 0.6, true), "2") << "2.4 is shown truncated, not rounded to a step";
  IParamDef pres;
  pres.DefineDouble("Pres Comp", 12.5, -5.0, 25.0, 0.01, "dB");
  EXPECT_EQ(Format(pres, 0.5, true), "10.00");
}

TEST(IParamDef, DisplayTextLookupTakesFirstMatchOfTruncatedValue) {
  IParamDef param;
  param.DefineInt("Mode", 1, 0, 4);
  const char* names[] = {"A", "A", "B", "C", "D"};
  for (int i = 0; i < 5; ++i) param.AddDisplayText(i, names[i]);
  param.AddDisplayText(2, "duplicate");
  EXPECT_EQ(Format(param, 0.0), "A");
  EXPECT_EQ(Format(param, 2.9), "B");
  EXPECT_EQ(Format(param, 2.0, false, false), "2");
  EXPECT_EQ(Format(param, 0.5, true), "B") << "normalized 0.5 is mode 2";
  double value = 0.0;
  EXPECT_TRUE(param.ValueFromText("D", value));
  EXPECT_EQ(value, 4.0);
}

TEST(IParamDef, TextSharedBySeveralValuesParsesAsTheHighest) {
  IParamDef param;
  param.DefineInt("Mode", 1, 0, 4);
  const char* names[] = {"A", "A", "B", "C", "D"};
  for (int i = 0; i < 5; ++i) param.AddDisplayText(i, names[i]);
  double value = 0.0;
  EXPECT_TRUE(param.ValueFromText("A", value));
  EXPECT_EQ(value, 1.0) << "\"A\" is mode 1, not the mode 0 that merely reads as A";
  param.AddDisplayText(0, "B");
  EXPECT_TRUE(param.ValueFromText("B", value));
  EXPECT_EQ(value, 2.0) << "order of addition does not matter";
}

TEST(IParamDef, EmptyDisplayTextFallsBackToTheNumber) {
  IParamDef param;
  param.DefineInt("Steps", 0, 0, 4, "st");
  param.AddDisplayText(0, "zero");
  param.AddDisplayText(3, "");
  EXPECT_EQ(Format(param, 3.0), "3");
  param.SetValue(3.0);
  EXPECT_STREQ(param.LabelForDisplay(), "st");
  param.SetValue(0.0);
  EXPECT_STREQ(param.LabelForDisplay(), "");
}

TEST(IParamDef, NegatedDisplayShowsAndParsesTheOppositeSign) {
  IParamDef param;
  param.DefineInt("Gain reduction", 0, 0, 10);
  param.SetNegateDisplay(true);
  EXPECT_EQ(Format(param, 3.0), "-3");
  double value = 0.0;
  EXPECT_TRUE(param.ValueFromText("3", value));
  EXPECT_EQ(value, -3.0);
}

TEST(IParamDef, NumericTextNeedsALeadingNumber) {
  IParamDef param;
  param.DefineDouble("LowCut", 100.0, 20.0, 300.0, 0.01, "Hz");
  double value = -1.0;
  EXPECT_TRUE(param.ValueFromText(" 150.5 Hz", value));
  EXPECT_EQ(value, 150.5);
  for (const char* text : {"loud", "", " ", "nan", "inf", "-", ".", "e5"}) {
    EXPECT_FALSE(param.ValueFromText(text, value)) << "'" << text << "'";
  }
  EXPECT_EQ(value, 150.5);
  EXPECT_FALSE(param.ValueFromText(nullptr, value));
}

TEST(IParamDef, DegenerateRangeNormalizesToZero) {
  IParamDef param;
  param.DefineDouble("Flat", 1.0, 1.0, 1.0, 0.0);
  EXPECT_EQ(param.GetNormalizedValue(), 0.0);
}

TEST(IParamDef, FormatCutsToTheRoomGiven) {
  IParamDef param;
  param.DefineDouble("LowCut", 100.0, 20.0, 300.0, 0.01, "Hz");
  char out[4];
  param.FormatValue(123.45, false, out, sizeof out);
  EXPECT_STREQ(out, "123");
}
