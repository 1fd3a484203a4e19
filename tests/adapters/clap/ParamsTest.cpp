// Every parameter as a CLAP host sees it: its table entry with its index as id, its values and
// texts (the VST2 module's, unit included) typed back to the same text, and the knobs on the
// remote-control page.

#include <cmath>

#include "tests/adapters/clap/ClapFixture.h"
#include "tests/adapters/vst2/ModuleFixture.h"

using namespace claptest;

namespace {

bool IsList(int i) { return i == P::kPower || i == P::kMode || i == P::kPLimit || i == P::kFLimit; }

TEST_F(ClapTest, EveryParameterIsItsTableEntry) {
  ASSERT_EQ(host.ParamCount(), static_cast<std::uint32_t>(kNumParams));
  for (int i = 0; i < kNumParams; ++i) {
    const ParamSpec& entry = kBrelvaneParams[i];
    clap_param_info_t info{};
    double value = NAN;
    ASSERT_TRUE(host.ParamInfo(i, info) && host.ParamValue(i, value));
    EXPECT_EQ(info.id, static_cast<clap_id>(i));
    EXPECT_STREQ(info.name, entry.name);
    EXPECT_STREQ(info.module, "");
    EXPECT_EQ(std::vector<double>({info.min_value, info.max_value, info.default_value, value}),
              std::vector<double>({entry.min, entry.max, entry.defaultValue, entry.defaultValue}));
    const bool stepped = entry.type != ParamType::Double;
    EXPECT_EQ(info.flags, CLAP_PARAM_IS_AUTOMATABLE | (stepped ? CLAP_PARAM_IS_STEPPED : 0) |
                              (IsList(i) ? CLAP_PARAM_IS_ENUM : 0))
        << entry.name;
  }
  clap_param_info_t info{};
  EXPECT_FALSE(host.ParamInfo(kNumParams, info));
}

TEST_F(ClapTest, ValuesAndTextsAreTheVst2ModulesAndTextsTypeBackToThemselves) {
  brel::VstHost vst2;
  ASSERT_TRUE(vst2test::StartPlugin(vst2));
  for (int i = 0; i < kNumParams; ++i) {
    for (float position : {0.0f, 0.37f, 0.5f, 1.0f}) {
      SCOPED_TRACE(std::string(kBrelvaneParams[i].name) + " at " + std::to_string(position));
      vst2.SetParameter(i, position);
      const std::string label = vst2.ParamLabel(i);
      // A stepped parameter's host sends whole values, as the command does.
      const bool stepped = kBrelvaneParams[i].type != ParamType::Double;
      const double plain = stepped ? std::round(PlainAt(i, position)) : PlainAt(i, position);
      std::string text, again;
      double typed = NAN, value = NAN;
      ASSERT_TRUE(host.ParamText(i, plain, text));
      EXPECT_EQ(text, vst2.ParamDisplay(i) + (label.empty() ? "" : " " + label));
      ASSERT_TRUE(host.ParamValueOfText(i, text, typed) && host.ParamText(i, typed, again));
      EXPECT_EQ(again, text);
      host.QueueParamValue(i, plain);
      host.Flush();
      ASSERT_TRUE(host.ParamValue(i, value));
      EXPECT_EQ(value, vst2test::ProgramValues(vst2)[i]);
    }
  }
}

TEST_F(ClapTest, TextsThatAreNoValueAreRefused) {
  double value = 0.0;
  std::string text;
  for (const char* junk : {"", "junk", "nan", "dB"})
    EXPECT_FALSE(host.ParamValueOfText(P::kBass, junk, value)) << junk;
  EXPECT_FALSE(host.ParamValueOfText(P::kPower, "maybe", value) ||
               host.ParamValueOfText(kNumParams, "1", value));
  EXPECT_FALSE(host.ParamText(P::kBass, NAN, text) || host.ParamText(kNumParams, 0.0, text));
  ASSERT_TRUE(host.ParamText(P::kBass, 99.0, text));
  EXPECT_EQ(text, "10.00 dB") << "clamped into the range";
}

TEST_F(ClapTest, OneRemotePageHoldsTheSevenKnobsInTheEditorsOrder) {
  const auto* remote = host.ExtensionAs<clap_plugin_remote_controls_t>(CLAP_EXT_REMOTE_CONTROLS);
  clap_remote_controls_page_t page{};
  ASSERT_EQ(remote->count(host.Plugin()), 1u);
  ASSERT_TRUE(remote->get(host.Plugin(), 0, &page));
  EXPECT_EQ(std::vector<clap_id>(page.param_ids, page.param_ids + CLAP_REMOTE_CONTROLS_COUNT),
            (std::vector<clap_id>{P::kPresComp, P::kLowCut, P::kTighten, P::kBass, P::kCrispy, P::kFinalComp,
                                  P::kDbOutput, CLAP_INVALID_ID}));
}

}  // namespace
