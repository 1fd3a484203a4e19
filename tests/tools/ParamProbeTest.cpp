#include "tools/brelvane/ParamProbe.h"

#include <gtest/gtest.h>

#include <sstream>

#include "tests/tools/FakePlugin.h"
#include "tools/brelvane/ParamTablePrinter.h"

namespace brel::cmd {
namespace {

using test::FakePlugin;

TEST(ParamProbe, ReadsRealRangesAndDefaultsOffTheDisplayStrings) {
  FakePlugin plugin;
  ParamTable table = ProbeParams(plugin);
  ASSERT_EQ(table.Size(), 5);
  const ParamInfo& gain = table.Params()[0];
  EXPECT_EQ(gain.name, "Gain");
  EXPECT_EQ(gain.label, "dB");
  EXPECT_TRUE(gain.real);
  EXPECT_TRUE(gain.rangeKnown);
  EXPECT_EQ(gain.min, -30.0);
  EXPECT_EQ(gain.max, 20.0);
  EXPECT_EQ(gain.minText, "-30.00");
  EXPECT_EQ(gain.maxText, "20.00");
  EXPECT_EQ(gain.defaultText, "0.00");
  EXPECT_EQ(table.Params()[1].defaultValue, 100.0);
  EXPECT_TRUE(gain.texts.empty());
}

TEST(ParamProbe, RecoversTheRangeOfWholeParametersWhoseEndsShowTexts) {
  FakePlugin plugin;
  ParamTable table = ProbeParams(plugin);
  const ParamInfo& power = table.Params()[2];
  EXPECT_FALSE(power.real);
  EXPECT_TRUE(power.rangeKnown);
  EXPECT_EQ(power.min, 0.0);
  EXPECT_EQ(power.max, 1.0);
  EXPECT_EQ(power.minText, "off");
  const ParamInfo& mode = table.Params()[3];
  EXPECT_EQ(mode.min, 0.0);
  EXPECT_EQ(mode.max, 4.0);
  EXPECT_EQ(mode.defaultValue, 1.0);
  const ParamInfo& steps = table.Params()[4];
  EXPECT_EQ(steps.min, -3.0);
  EXPECT_EQ(steps.max, 3.0);
}

TEST(ParamProbe, CollectsTheDisplayTextOfEveryWholeValueThatHasOne) {
  FakePlugin plugin;
  ParamTable table = ProbeParams(plugin);
  const ParamInfo& mode = table.Params()[3];
  ASSERT_EQ(mode.texts.size(), 5u);
  const char* expected[] = {"A", "A", "B", "C", "D"};
  for (int k = 0; k < 5; ++k) {
    EXPECT_EQ(mode.texts[k].value, k);
    EXPECT_EQ(mode.texts[k].text, expected[k]);
  }
  // Negative values are reached despite the plug-in truncating toward zero.
  const ParamInfo& steps = table.Params()[4];
  ASSERT_EQ(steps.texts.size(), 1u);
  EXPECT_EQ(steps.texts[0].value, -3);
  EXPECT_EQ(steps.texts[0].text, "min");
}

TEST(ParamProbe, TakesDefaultsFromValuesReadRightAfterCreation) {
  FakePlugin plugin;
  std::vector<float> defaults = ReadNormalizedValues(plugin);
  plugin.SetParameter(3, 1.0f);
  plugin.SetParameterText(0, "-12");
  ParamTable table = ProbeParams(plugin, &defaults);
  EXPECT_EQ(table.Params()[3].defaultValue, 1.0);
  EXPECT_EQ(table.Params()[0].defaultText, "0.00");
  EXPECT_EQ(ProbeParams(plugin).Params()[3].defaultValue, 4.0);
}

TEST(ParamProbe, DoesNotChangeAnyParameter) {
  FakePlugin plugin;
  ProbeParams(plugin);
  for (const auto& p : plugin.params) EXPECT_EQ(p.value, p.defaultValue) << p.name;
}

TEST(ParamTablePrinter, ShowsRangesDefaultsUnitsAndTexts) {
  FakePlugin plugin;
  std::ostringstream out;
  PrintParamTable(ProbeParams(plugin), out);
  EXPECT_EQ(out.str(),
            "#  name    range            default  unit  display texts\n"
            "0  Gain    -30.00 to 20.00  0.00     dB\n"
            "1  LowCut  20.00 to 300.00  100.00   Hz\n"
            "2  Power   0 to 1           1 (on)         0 off, 1 on\n"
            "3  Mode    0 to 4           1 (A)          0 A, 1 A, 2 B, 3 C, 4 D\n"
            "4  Steps   -3 to 3          0              -3 min\n");
}

}  // namespace
}  // namespace brel::cmd
