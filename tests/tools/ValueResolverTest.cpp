#include "tools/brelvane/ValueResolver.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

namespace brel::cmd {
namespace {

ParamInfo RealParam(int index, const char* name, const char* label, double min, double max,
                    const char* minText, const char* maxText) {
  ParamInfo p;
  p.index = index;
  p.name = name;
  p.label = label;
  p.rangeKnown = true;
  p.min = min;
  p.max = max;
  p.minText = minText;
  p.maxText = maxText;
  return p;
}

ParamInfo WholeParam(int index, const char* name, double min, double max, std::vector<DisplayText> texts) {
  ParamInfo p;
  p.index = index;
  p.name = name;
  p.real = false;
  p.rangeKnown = true;
  p.min = min;
  p.max = max;
  p.texts = std::move(texts);
  return p;
}

// Shaped like the plug-in's own table.
ParamTable BrelvaneLike() {
  return ParamTable({RealParam(0, "Pres Comp", "dB", -5, 25, "-5.00", "25.00"),
                     RealParam(1, "LowCut", "Hz", 20, 300, "20.00", "300.00"),
                     WholeParam(2, "Power", 0, 1, {{0, "off"}, {1, "on"}}),
                     WholeParam(3, "Mode", 0, 4, {{0, "A"}, {1, "A"}, {2, "B"}, {3, "C"}, {4, "D"}}),
                     WholeParam(4, "Steps", -3, 3, {}), WholeParam(5, "Case", 0, 1, {{0, "x"}, {1, "X"}})});
}

ParamSetting Resolved(const std::string& name, const std::string& value) {
  ParamTable table = BrelvaneLike();
  ParamSetting s;
  std::string error;
  EXPECT_TRUE(ResolveAssignment(table, {name, value}, s, error)) << error;
  return s;
}

std::string Rejected(const std::string& name, const std::string& value) {
  ParamTable table = BrelvaneLike();
  ParamSetting s;
  std::string error;
  EXPECT_FALSE(ResolveAssignment(table, {name, value}, s, error)) << name << "=" << value;
  return error;
}

// What the plug-in makes of a normalized value for a whole-number parameter: rounded to a step.
double StoredWhole(const ParamInfo& p, float normalized) {
  return std::floor(normalized * (p.max - p.min) + p.min + 0.5);
}

TEST(ParamLookup, FindsByExactNameThenByNameIgnoringCaseThenByIndex) {
  ParamTable table = BrelvaneLike();
  std::string error;
  EXPECT_EQ(table.Find("Pres Comp", error)->index, 0);
  EXPECT_EQ(table.Find("pres comp", error)->index, 0);
  EXPECT_EQ(table.Find(" LowCut ", error)->index, 1);
  EXPECT_EQ(table.Find("3", error)->index, 3);
  EXPECT_EQ(table.Find("Case", error)->index, 5);
}

TEST(ParamLookup, RejectsUnknownNamesAndIndexesOutOfRange) {
  ParamTable table = BrelvaneLike();
  std::string error;
  EXPECT_EQ(table.Find("Volume", error), nullptr);
  EXPECT_NE(error.find("unknown parameter 'Volume'"), std::string::npos);
  EXPECT_EQ(table.Find("6", error), nullptr);
  EXPECT_NE(error.find("index 6 is out of range"), std::string::npos);
  EXPECT_EQ(table.Find("-1", error), nullptr);
  EXPECT_EQ(table.Find("", error), nullptr);
}

TEST(ParamLookup, NamesDifferingOnlyInCaseNeedTheExactSpelling) {
  ParamTable table({WholeParam(0, "Drive", 0, 1, {}), WholeParam(1, "DRIVE", 0, 1, {})});
  std::string error;
  EXPECT_EQ(table.Find("DRIVE", error)->index, 1);
  EXPECT_EQ(table.Find("drive", error), nullptr);
  EXPECT_NE(error.find("ambiguous"), std::string::npos);
}

TEST(RealValues, GoThroughThePluginsTextParserAsTheExactDouble) {
  ParamSetting s = Resolved("Pres Comp", "12.3");
  EXPECT_EQ(s.index, 0);
  EXPECT_EQ(s.route, ParamSetting::Route::Text);
  EXPECT_EQ(std::strtod(s.text.c_str(), nullptr), 12.3);
  // A value no 32-bit float holds survives as typed.
  s = Resolved("LowCut", "100.00000000000001");
  EXPECT_EQ(std::strtod(s.text.c_str(), nullptr), 100.00000000000001);
  EXPECT_NE(static_cast<double>(static_cast<float>(100.00000000000001)), 100.00000000000001);
}

TEST(RealValues, AcceptTheBoundsExponentsAndTheUnit) {
  EXPECT_EQ(std::strtod(Resolved("0", "-5").text.c_str(), nullptr), -5.0);
  EXPECT_EQ(std::strtod(Resolved("0", "25.0").text.c_str(), nullptr), 25.0);
  EXPECT_EQ(std::strtod(Resolved("0", "2.5e1").text.c_str(), nullptr), 25.0);
  EXPECT_EQ(std::strtod(Resolved("0", "-3 dB").text.c_str(), nullptr), -3.0);
  EXPECT_EQ(std::strtod(Resolved("LowCut", "150Hz").text.c_str(), nullptr), 150.0);
  EXPECT_EQ(Resolved("0", "-3 dB").shown, "Pres Comp = -3 dB");
}

TEST(RealValues, OutsideTheRangeAreErrorsNotClamped) {
  EXPECT_EQ(Rejected("Pres Comp", "25.001"),
            "25.001 is outside the range of 'Pres Comp' (-5.00 to 25.00 dB)");
  EXPECT_NE(Rejected("LowCut", "19.99").find("outside the range"), std::string::npos);
  EXPECT_NE(Rejected("LowCut", "1e400").find("'LowCut'"), std::string::npos);
}

TEST(RealValues, TextThatIsNotANumberIsAnErrorUnlessThePluginShowsIt) {
  // The plug-in reads a leading number and ignores the rest, so "3abc" would quietly set 3.
  EXPECT_EQ(Rejected("Pres Comp", "3abc"),
            "'3abc' is not a value of 'Pres Comp' (a number from -5.00 to 25.00 dB)");
  EXPECT_NE(Rejected("Pres Comp", "max").find("not a value"), std::string::npos);
  EXPECT_NE(Rejected("Pres Comp", "nan").find("not a value"), std::string::npos);
  EXPECT_NE(Rejected("Pres Comp", "0x10").find("not a value"), std::string::npos);
  EXPECT_NE(Rejected("Pres Comp", "").find("not a value"), std::string::npos);
}

TEST(RealValues, DisplayTextsOfARealParameterAreSetByText) {
  ParamInfo p = RealParam(0, "Floor", "dB", -100, 0, "-inf", "0.00");
  p.texts = {{-100, "-inf"}};
  ParamSetting s;
  std::string error;
  ASSERT_TRUE(ResolveValue(p, "-INF", s, error)) << error;
  EXPECT_EQ(s.route, ParamSetting::Route::Text);
  EXPECT_EQ(s.text, "-inf");
}

TEST(RealValues, ASharedDisplayTextSelectsItsHighestValue) {
  ParamInfo p = RealParam(0, "Slope", "", 0, 3, "flat", "3.00");
  p.texts = {{0, "flat"}, {1, "flat"}};
  ParamSetting s;
  std::string error;
  ASSERT_TRUE(ResolveValue(p, "flat", s, error)) << error;
  ASSERT_EQ(s.route, ParamSetting::Route::Normalized);
  double mapped = s.normalized * 3.0;
  EXPECT_GE(mapped, 1.0);
  EXPECT_LT(mapped, 1.0 + 1e-6);
}

TEST(WholeValues, ADisplayTextSharedBySeveralValuesSelectsTheHighest) {
  ParamTable table = BrelvaneLike();
  ParamSetting s = Resolved("Mode", "A");
  EXPECT_EQ(s.route, ParamSetting::Route::Normalized);
  EXPECT_EQ(StoredWhole(table.Params()[3], s.normalized), 1.0);
  EXPECT_EQ(s.shown, "Mode = 1 (A)");
  EXPECT_EQ(StoredWhole(table.Params()[3], Resolved("Mode", "B").normalized), 2.0);
  EXPECT_EQ(StoredWhole(table.Params()[3], Resolved("Mode", "D").normalized), 4.0);
  EXPECT_EQ(Resolved("Mode", "B").normalized, 0.5f);
}

TEST(WholeValues, NumbersSelectTheValueItselfEvenWhenItSharesItsText) {
  ParamTable table = BrelvaneLike();
  EXPECT_EQ(StoredWhole(table.Params()[3], Resolved("Mode", "0").normalized), 0.0);
  EXPECT_EQ(Resolved("Mode", "0").shown, "Mode = 0 (A)");
  EXPECT_EQ(Resolved("Power", "on").normalized, 1.0f);
  EXPECT_EQ(Resolved("Power", "off").normalized, 0.0f);
  EXPECT_EQ(Resolved("Power", "1").normalized, 1.0f);
}

TEST(WholeValues, EveryValueOfARangeArrivesExactlyThroughItsNormalizedFloat) {
  ParamInfo wide = WholeParam(0, "Wide", -1000, 2000, {});
  for (long k = -1000; k <= 2000; ++k) {
    ParamSetting s;
    std::string error;
    ASSERT_TRUE(ResolveValue(wide, std::to_string(k), s, error)) << error;
    ASSERT_EQ(StoredWhole(wide, s.normalized), static_cast<double>(k)) << k;
  }
}

TEST(WholeValues, TextsMatchIgnoringCaseWhenThatIsUnambiguous) {
  EXPECT_EQ(Resolved("Power", "ON").normalized, 1.0f);
  EXPECT_EQ(Resolved("Mode", "b").normalized, 0.5f);
  EXPECT_EQ(Resolved("Case", "X").normalized, 1.0f);
  EXPECT_NE(Rejected("Case", "Y").find("not a value"), std::string::npos);
  ParamTable table({WholeParam(0, "Case", 0, 1, {{0, "x"}, {1, "X"}})});
  ParamSetting s;
  std::string error;
  EXPECT_TRUE(ResolveValue(table.Params()[0], "x", s, error));
  EXPECT_EQ(s.normalized, 0.0f);
}

TEST(WholeValues, AmbiguousCaseInsensitiveTextIsAnError) {
  ParamInfo p = WholeParam(0, "Case", 0, 2, {{0, "x"}, {1, "X"}});
  ParamSetting s;
  std::string error;
  p.texts.push_back({2, "Xx"});
  EXPECT_TRUE(ResolveValue(p, "xX", s, error));
  p.texts = {{0, "ab"}, {1, "AB"}};
  EXPECT_FALSE(ResolveValue(p, "Ab", s, error));
  EXPECT_NE(error.find("ambiguous"), std::string::npos);
}

TEST(WholeValues, RejectUnknownTextsFractionsAndValuesOutOfRange) {
  EXPECT_EQ(Rejected("Mode", "E"), "'E' is not a value of 'Mode' (values: A, B, C, D)");
  EXPECT_EQ(Rejected("Power", "yes"), "'yes' is not a value of 'Power' (values: off, on)");
  EXPECT_EQ(Rejected("Mode", "2.5"), "'Mode' takes whole numbers, got 2.5");
  EXPECT_EQ(Rejected("Mode", "5"), "5 is outside the range of 'Mode' (0 to 4)");
  EXPECT_EQ(Rejected("Steps", "-4"), "-4 is outside the range of 'Steps' (-3 to 3)");
  EXPECT_EQ(Rejected("Steps", "up"), "'up' is not a value of 'Steps'");
}

TEST(WholeValues, NegativeRangesMapExactly) {
  ParamTable table = BrelvaneLike();
  for (int k = -3; k <= 3; ++k)
    EXPECT_EQ(StoredWhole(table.Params()[4], Resolved("Steps", std::to_string(k)).normalized), k);
}

TEST(ExactDecimal, IsTheShortestTextThatReadsBackExactly) {
  EXPECT_EQ(ExactDecimal(12.5), "12.5");
  EXPECT_EQ(ExactDecimal(0.1), "0.1");
  EXPECT_EQ(ExactDecimal(-5), "-5");
  for (double v : {1.0 / 3.0, 100.00000000000001, -2.2250738585072014e-308, 1e300, 0.30000000000000004})
    EXPECT_EQ(std::strtod(ExactDecimal(v).c_str(), nullptr), v) << ExactDecimal(v);
}

}  // namespace
}  // namespace brel::cmd
