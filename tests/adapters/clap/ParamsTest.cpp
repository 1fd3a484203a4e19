// Every parameter as a CLAP host sees it: its information from the parameter table, its plain
// values, its texts (the VST2 module's text and unit) read back to the same value, and the knobs
// on the remote-control page.

#include <cmath>

#include "hosts/vst2/VstHost.h"
#include "tests/adapters/clap/ClapFixture.h"
#include "tests/adapters/vst2/ModuleFixture.h"

using namespace claptest;

namespace {

bool IsListed(int index) {
  return index == P::kPower || index == P::kMode || index == P::kPLimit || index == P::kFLimit;
}

TEST_F(ClapTest, EveryParameterIsItsTableEntryWithItsIndexAsId) {
  ASSERT_EQ(host.ParamCount(), static_cast<std::uint32_t>(kNumParams));
  for (int i = 0; i < kNumParams; ++i) {
    const ParamSpec& spec = kBrelvaneParams[i];
    clap_param_info_t info{};
    ASSERT_TRUE(host.ParamInfo(i, info));
    EXPECT_EQ(info.id, static_cast<clap_id>(i));
    EXPECT_STREQ(info.name, spec.name);
    EXPECT_STREQ(info.module, "");
    EXPECT_EQ(info.min_value, spec.min);
    EXPECT_EQ(info.max_value, spec.max);
    EXPECT_EQ(info.default_value, spec.defaultValue);
    const bool stepped = spec.type != ParamType::Double;
    EXPECT_EQ(info.flags, CLAP_PARAM_IS_AUTOMATABLE | (stepped ? CLAP_PARAM_IS_STEPPED : 0) |
                              (IsListed(i) ? CLAP_PARAM_IS_ENUM : 0))
        << spec.name;
    double value = NAN;
    ASSERT_TRUE(host.ParamValue(i, value));
    EXPECT_EQ(value, spec.defaultValue);
  }
  clap_param_info_t info{};
  EXPECT_FALSE(host.ParamInfo(kNumParams, info));
}

TEST_F(ClapTest, ValuesTextsAndTypedTextAgreeWithTheVst2Module) {
  brel::VstHost vst2;
  ASSERT_TRUE(vst2test::StartPlugin(vst2));
  for (int i = 0; i < kNumParams; ++i) {
    for (float position : {0.0f, 0.37f, 0.5f, 1.0f}) {
      SCOPED_TRACE(std::string(kBrelvaneParams[i].name) + " at " + std::to_string(position));
      vst2.SetParameter(i, position);
      const std::string label = vst2.ParamLabel(i);
      const std::string shown = vst2.ParamDisplay(i) + (label.empty() ? "" : " " + label);
      // A stepped parameter's host sends whole values, as the command does.
      const bool stepped = kBrelvaneParams[i].type != ParamType::Double;
      const double plain = stepped ? std::round(PlainAt(i, position)) : PlainAt(i, position);
      std::string text, shownAgain;
      ASSERT_TRUE(host.ParamText(i, plain, text));
      EXPECT_EQ(text, shown);

      double typed = NAN, value = NAN;
      ASSERT_TRUE(host.ParamValueOfText(i, text, typed));
      ASSERT_TRUE(host.ParamText(i, typed, shownAgain));
      EXPECT_EQ(shownAgain, text) << "typed back";

      host.QueueParamValue(i, plain);
      host.Flush();
      ASSERT_TRUE(host.ParamValue(i, value));
      EXPECT_EQ(value, vst2test::ProgramValues(vst2)[i]);
    }
  }
}

TEST_F(ClapTest, TextsThatAreNoValueAreRefused) {
  double value = 0.0;
  for (const char* junk : {"", "junk", "nan", "dB"})
    EXPECT_FALSE(host.ParamValueOfText(P::kBass, junk, value)) << junk;
  EXPECT_FALSE(host.ParamValueOfText(P::kPower, "maybe", value));
  EXPECT_FALSE(host.ParamValueOfText(kNumParams, "1", value));
  std::string text;
  EXPECT_FALSE(host.ParamText(P::kBass, NAN, text));
  EXPECT_FALSE(host.ParamText(kNumParams, 0.0, text));
  ASSERT_TRUE(host.ParamText(P::kBass, 99.0, text));
  EXPECT_EQ(text, "10.00 dB") << "clamped into the range";
}

TEST_F(ClapTest, OneRemotePageHoldsTheSevenKnobsInTheEditorsOrder) {
  const auto* remote = host.ExtensionAs<clap_plugin_remote_controls_t>(CLAP_EXT_REMOTE_CONTROLS);
  ASSERT_EQ(remote->count(host.Plugin()), 1u);
  clap_remote_controls_page_t page{};
  ASSERT_TRUE(remote->get(host.Plugin(), 0, &page));
  EXPECT_FALSE(remote->get(host.Plugin(), 1, &page));
  const std::vector<clap_id> ids(page.param_ids, page.param_ids + CLAP_REMOTE_CONTROLS_COUNT);
  EXPECT_EQ(ids, (std::vector<clap_id>{P::kPresComp, P::kLowCut, P::kTighten, P::kBass, P::kCrispy,
                                       P::kFinalComp, P::kDbOutput, CLAP_INVALID_ID}));
}

}  // namespace
