// The eleven parameters as a host sees them: names, labels and display texts, normalized values
// through setParameter/getParameter, text entry through effString2Parameter, and the rule that
// host changes are never echoed back to the host.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "tests/adapters/vst2/ModuleFixture.h"

using brel::VstHost;
using vst2test::kNumParams;
using vst2test::PluginTest;
using vst2test::ProgramValues;

namespace {

class Parameters : public PluginTest {};

const ParamSpec& Spec(int i) { return kBrelvaneParams[i]; }
const char* Name(int i) { return Spec(i).name; }

// What a host shows for a plain value: its display text, or the number with the table's decimals.
std::string Shown(const ParamSpec& spec, double value) {
  for (int t = 0; t < spec.textCount; ++t)
    if (spec.texts[t].value == value) return spec.texts[t].text;
  char text[32];
  std::snprintf(text, sizeof text, "%.*f", spec.precision, value);
  return text;
}

constexpr int kPresComp = BrelvaneParamIndex::kPresComp, kLowCut = BrelvaneParamIndex::kLowCut,
              kDbOutput = BrelvaneParamIndex::kDbOutput, kPower = BrelvaneParamIndex::kPower,
              kMode = BrelvaneParamIndex::kMode, kPLimit = BrelvaneParamIndex::kPLimit,
              kFLimit = BrelvaneParamIndex::kFLimit;

double NormalizedDefault(int i) { return (Spec(i).defaultValue - Spec(i).min) / (Spec(i).max - Spec(i).min); }

}  // namespace

TEST_F(Parameters, NamesAndLabelsOfAllEleven) {
  ASSERT_EQ(mHost.NumParams(), kNumParams);
  for (int i = 0; i < kNumParams; ++i) {
    EXPECT_EQ(mHost.ParamName(i), Name(i)) << i;
    EXPECT_EQ(mHost.ParamLabel(i), Spec(i).label) << i;
  }
}

TEST_F(Parameters, DefaultsDisplayWithTwoDecimalsOrTheirTexts) {
  for (int i = 0; i < kNumParams; ++i)
    EXPECT_EQ(mHost.ParamDisplay(i), Shown(Spec(i), Spec(i).defaultValue)) << Name(i);
  EXPECT_EQ(mHost.ParamDisplay(kPresComp), "12.50");
  EXPECT_EQ(mHost.ParamDisplay(kMode), "A");
}

TEST_F(Parameters, DefaultsReadBackNormalized) {
  for (int i = 0; i < kNumParams; ++i)
    EXPECT_FLOAT_EQ(mHost.GetParameter(i), static_cast<float>(NormalizedDefault(i))) << Name(i);
}

TEST_F(Parameters, DefaultsAreThePlainValuesOfTheProgram) {
  const std::vector<double> values = ProgramValues(mHost);
  ASSERT_EQ(values.size(), static_cast<std::size_t>(kNumParams));
  for (int i = 0; i < kNumParams; ++i) EXPECT_EQ(values[i], Spec(i).defaultValue) << Name(i);
}

TEST_F(Parameters, ContinuousParametersRoundTripNormalizedValues) {
  for (int i = 0; i <= kDbOutput; ++i) {
    for (float x : {0.0f, 0.1f, 0.25f, 0.5f, 0.75f, 0.99f, 1.0f}) {
      mHost.SetParameter(i, x);
      EXPECT_FLOAT_EQ(mHost.GetParameter(i), x) << Name(i) << " at " << x;
    }
  }
}

TEST_F(Parameters, ContinuousParametersKeepTheUnroundedPlainValue) {
  const float x = 0.333f;
  mHost.SetParameter(kPresComp, x);
  mHost.SetParameter(kLowCut, x);
  const std::vector<double> values = ProgramValues(mHost);
  EXPECT_EQ(values[kPresComp], double(x) * 30.0 + -5.0);
  EXPECT_EQ(values[kLowCut], double(x) * 280.0 + 20.0);
  EXPECT_EQ(mHost.ParamDisplay(kPresComp), "4.99");
}

TEST_F(Parameters, DisplaysFollowSetParameter) {
  mHost.SetParameter(0, 0.5f);
  mHost.SetParameter(1, 0.5f);
  mHost.SetParameter(2, 0.25f);
  mHost.SetParameter(3, 0.0f);
  mHost.SetParameter(4, 1.0f);
  mHost.SetParameter(5, 0.75f);
  mHost.SetParameter(6, 0.0f);
  const char* const expected[] = {"10.00", "160.00", "25.00", "-10.00", "6.00", "12.50", "-30.00"};
  for (int i = 0; i <= kDbOutput; ++i) EXPECT_EQ(mHost.ParamDisplay(i), expected[i]) << Name(i);
}

TEST_F(Parameters, ModeRoundsNormalizedValuesToTheNearestMode) {
  struct Case {
    float normalized;
    double mode;
    const char* display;
  };
  const Case cases[] = {{0.5f, 2, "B"},   {0.625f, 3, "C"}, {0.3f, 1, "A"},  {0.0f, 0, "A"},  {1.0f, 4, "D"},
                        {0.125f, 1, "A"}, {0.374f, 1, "A"}, {0.76f, 3, "C"}, {0.875f, 4, "D"}};
  for (const Case& c : cases) {
    mHost.SetParameter(kMode, c.normalized);
    EXPECT_EQ(ProgramValues(mHost)[kMode], c.mode) << c.normalized;
    EXPECT_EQ(mHost.ParamDisplay(kMode), c.display) << c.normalized;
    EXPECT_FLOAT_EQ(mHost.GetParameter(kMode), static_cast<float>(c.mode / 4.0)) << c.normalized;
    EXPECT_EQ(mHost.ParamLabel(kMode), "") << c.normalized;
  }
}

TEST_F(Parameters, SwitchesRoundHalfwayUpAndShowOnOff) {
  for (int i : {kPower, kPLimit, kFLimit}) {
    mHost.SetParameter(i, 0.49f);
    EXPECT_EQ(mHost.ParamDisplay(i), "off") << Name(i);
    EXPECT_EQ(mHost.GetParameter(i), 0.0f) << Name(i);
    mHost.SetParameter(i, 0.5f);
    EXPECT_EQ(mHost.ParamDisplay(i), "on") << Name(i);
    EXPECT_EQ(mHost.GetParameter(i), 1.0f) << Name(i);
    EXPECT_EQ(mHost.ParamLabel(i), "") << Name(i);
  }
}

TEST_F(Parameters, NormalizedValuesAboveOneStopAtTheTop) {
  for (int i = 0; i < kNumParams; ++i) {
    mHost.SetParameter(i, 1.5f);
    EXPECT_EQ(mHost.GetParameter(i), 1.0f) << Name(i);
    EXPECT_EQ(ProgramValues(mHost)[i], Spec(i).max) << Name(i);
  }
}

TEST_F(Parameters, NormalizedValuesBelowZeroStopAtTheBottomAndSurviveASaveAndRestore) {
  for (int i = 0; i < kNumParams; ++i) {
    mHost.SetParameter(i, -0.5f);
    EXPECT_EQ(mHost.GetParameter(i), 0.0f) << Name(i);
    EXPECT_EQ(ProgramValues(mHost)[i], Spec(i).min) << Name(i);
  }
  mHost.SetParameter(kLowCut, -5.0f);
  EXPECT_EQ(mHost.ParamDisplay(kLowCut), "20.00");
  const std::vector<std::uint8_t> chunk = mHost.GetChunk(VstHost::ChunkKind::Program);
  ASSERT_TRUE(mHost.SetChunk(VstHost::ChunkKind::Program, chunk));
  EXPECT_EQ(mHost.GetChunk(VstHost::ChunkKind::Program), chunk);
}

TEST_F(Parameters, NonFiniteValuesFromTheHostChangeNothing) {
  mHost.SetParameter(kPresComp, 0.25f);
  mHost.SetParameter(kMode, 0.5f);
  const std::vector<double> before = ProgramValues(mHost);
  const float inf = std::numeric_limits<float>::infinity();
  for (float bad : {std::numeric_limits<float>::quiet_NaN(), inf, -inf})
    for (int i = 0; i < kNumParams; ++i) mHost.SetParameter(i, bad);
  EXPECT_EQ(ProgramValues(mHost), before);
  EXPECT_FLOAT_EQ(mHost.GetParameter(kPresComp), 0.25f);
  EXPECT_EQ(mHost.ParamDisplay(kPresComp), "2.50");
  EXPECT_EQ(mHost.ParamDisplay(kMode), "B");
}

TEST_F(Parameters, ExtremeFiniteValuesLeaveEveryParameterReadable) {
  for (float extreme : {3.0e38f, -3.0e38f, 1.0e-45f, -1.0e-45f}) {
    for (int i = 0; i < kNumParams; ++i) {
      mHost.SetParameter(i, extreme);
      const float read = mHost.GetParameter(i);
      EXPECT_TRUE(read >= 0.0f && read <= 1.0f) << Name(i) << " at " << extreme << " reads " << read;
      EXPECT_FALSE(mHost.ParamDisplay(i).empty()) << Name(i) << " at " << extreme;
    }
  }
}

TEST_F(Parameters, IndexesOutsideTheListAreIgnored) {
  const std::vector<double> before = ProgramValues(mHost);
  for (VstInt32 index : {kNumParams, -1, 1000, 0x7FFFFFFF, -0x7FFFFFFF - 1}) {
    mHost.SetParameter(index, 0.9f);
    EXPECT_EQ(mHost.GetParameter(index), 0.0f) << index;
  }
  EXPECT_EQ(ProgramValues(mHost), before);
}

TEST_F(Parameters, SetParameterReachesTheAudio) {
  // "Db Output" trims after the last limiter, so -30 dB scales the output by exactly that gain
  // once the trim has glided there.
  VstHost quiet;
  ASSERT_TRUE(vst2test::StartPlugin(quiet));
  quiet.SetParameter(kDbOutput, 0.0f);
  const vst2test::Stereo<float> in = vst2test::SpeechLike(48000);
  const vst2test::Stereo<float> loud = vst2test::RenderFloat(mHost, in, 512);
  const vst2test::Stereo<float> soft = vst2test::RenderFloat(quiet, in, 512);
  int compared = 0;
  for (int n = 24000; n < in.Frames(); ++n) {
    if (std::fabs(loud.left[n]) < 1e-3f) continue;
    ASSERT_NEAR(soft.left[n] / loud.left[n], 0.0316227766, 1e-5) << "frame " << n;
    ++compared;
  }
  EXPECT_GT(compared, 1000);
}

// --- Text entry ---------------------------------------------------------------------------------

TEST_F(Parameters, SwitchTextsAreTheirDisplayTexts) {
  mHost.SetParameter(kPower, 0.0f);
  EXPECT_TRUE(mHost.String2Parameter(kPower, "on"));
  EXPECT_EQ(mHost.GetParameter(kPower), 1.0f);
  EXPECT_TRUE(mHost.String2Parameter(kPower, "off"));
  EXPECT_EQ(mHost.GetParameter(kPower), 0.0f);
  EXPECT_EQ(mHost.ParamDisplay(kPower), "off");
}

TEST_F(Parameters, TextsOutsideTheDisplayTextsAreRefusedAndChangeNothing) {
  const std::vector<double> before = ProgramValues(mHost);
  for (const char* text : {"yes", "On", "ON", "on ", "1", "", "true"})
    EXPECT_FALSE(mHost.String2Parameter(kPower, text)) << "'" << text << "'";
  for (const char* text : {"2", "b", "E", "A "})
    EXPECT_FALSE(mHost.String2Parameter(kMode, text)) << "'" << text << "'";
  EXPECT_EQ(ProgramValues(mHost), before);
}

TEST_F(Parameters, ModeTakesItsLetters) {
  EXPECT_TRUE(mHost.String2Parameter(kMode, "B"));
  EXPECT_EQ(ProgramValues(mHost)[kMode], 2.0);
  EXPECT_TRUE(mHost.String2Parameter(kMode, "C"));
  EXPECT_EQ(ProgramValues(mHost)[kMode], 3.0);
  EXPECT_TRUE(mHost.String2Parameter(kMode, "D"));
  EXPECT_EQ(ProgramValues(mHost)[kMode], 4.0);
  EXPECT_EQ(mHost.ParamDisplay(kMode), "D");
}

TEST_F(Parameters, NumbersAreStoredExactlyAsTyped) {
  EXPECT_TRUE(mHost.String2Parameter(kPresComp, "3.14159"));
  EXPECT_TRUE(mHost.String2Parameter(kLowCut, "123.456789"));
  EXPECT_TRUE(mHost.String2Parameter(2, "  12.345 %"));
  EXPECT_TRUE(mHost.String2Parameter(3, "-7.5dB"));
  EXPECT_TRUE(mHost.String2Parameter(5, "+2.5e1"));
  const std::vector<double> values = ProgramValues(mHost);
  EXPECT_EQ(values[kPresComp], 3.14159);
  EXPECT_EQ(values[kLowCut], 123.456789);
  EXPECT_EQ(values[2], 12.345);
  EXPECT_EQ(values[3], -7.5);
  EXPECT_EQ(values[5], 25.0);
  EXPECT_EQ(mHost.ParamDisplay(kPresComp), "3.14");
  EXPECT_EQ(mHost.ParamDisplay(kLowCut), "123.46");
}

TEST_F(Parameters, NumbersOutsideTheRangeAreClamped) {
  EXPECT_TRUE(mHost.String2Parameter(kDbOutput, "1000"));
  EXPECT_EQ(ProgramValues(mHost)[kDbOutput], 20.0);
  EXPECT_TRUE(mHost.String2Parameter(kDbOutput, "-1000"));
  EXPECT_EQ(ProgramValues(mHost)[kDbOutput], -30.0);
  EXPECT_TRUE(mHost.String2Parameter(kDbOutput, "1e400"));
  EXPECT_EQ(ProgramValues(mHost)[kDbOutput], 20.0);
  EXPECT_TRUE(mHost.String2Parameter(kDbOutput, "-1e400"));
  EXPECT_EQ(ProgramValues(mHost)[kDbOutput], -30.0);
  EXPECT_EQ(mHost.GetParameter(kDbOutput), 0.0f);
}

TEST_F(Parameters, TextWithoutANumberIsRefusedAndChangesNothing) {
  mHost.SetParameter(kPresComp, 1.0f);
  const std::vector<double> before = ProgramValues(mHost);
  for (const char* text : {"loud", "abc", "", " ", "nan", "NaN", "-nan", "inf", "-inf", "Infinity", "dB"}) {
    EXPECT_FALSE(mHost.String2Parameter(kPresComp, text)) << "'" << text << "'";
    EXPECT_FALSE(mHost.String2Parameter(kLowCut, text)) << "'" << text << "'";
  }
  EXPECT_EQ(ProgramValues(mHost), before);
}

TEST_F(Parameters, WithoutTextTheAnswerSaysTextIsAccepted) {
  const std::vector<double> before = ProgramValues(mHost);
  for (int i = 0; i < kNumParams; ++i)
    EXPECT_EQ(mHost.Dispatch(effString2Parameter, i, 0, nullptr), 1) << Name(i);
  EXPECT_EQ(ProgramValues(mHost), before);
}

TEST_F(Parameters, TextForAnIndexOutsideTheListIsRefused) {
  const std::vector<double> before = ProgramValues(mHost);
  char text[] = "5";
  for (VstInt32 index : {kNumParams, -1, 0x7FFFFFFF}) {
    EXPECT_EQ(mHost.Dispatch(effString2Parameter, index, 0, text), 0) << index;
    EXPECT_EQ(mHost.Dispatch(effString2Parameter, index, 0, nullptr), 0) << index;
  }
  EXPECT_EQ(ProgramValues(mHost), before);
}

TEST_F(Parameters, TypedAndAutomatedValuesSoundTheSame) {
  VstHost typed;
  ASSERT_TRUE(vst2test::StartPlugin(typed));
  mHost.SetParameter(kDbOutput, 0.0f);  // -30 dB
  mHost.SetParameter(kMode, 0.75f);     // "C"
  mHost.SetParameter(kFLimit, 1.0f);
  ASSERT_TRUE(typed.String2Parameter(kDbOutput, "-30"));
  ASSERT_TRUE(typed.String2Parameter(kMode, "C"));
  ASSERT_TRUE(typed.String2Parameter(kFLimit, "on"));
  const vst2test::Stereo<float> in = vst2test::SpeechLike(9600);
  const auto a = vst2test::RenderFloat(mHost, in, 512);
  const auto b = vst2test::RenderFloat(typed, in, 512);
  EXPECT_EQ(vst2test::FirstDifference(a, b), "");
}

// --- Nothing goes back to the host --------------------------------------------------------------

TEST_F(Parameters, HostChangesAreNotEchoedToTheHost) {
  mHost.ClearRecord();
  for (int i = 0; i < kNumParams; ++i) mHost.SetParameter(i, 0.3f);
  mHost.String2Parameter(kPresComp, "7");
  mHost.String2Parameter(kPower, "off");
  mHost.String2Parameter(kMode, "C");
  mHost.Dispatch(effString2Parameter, kLowCut, 0, nullptr);
  const brel::HostRecord record = mHost.Record();
  EXPECT_TRUE(record.automations.empty());
  EXPECT_TRUE(record.beginEdits.empty());
  EXPECT_TRUE(record.endEdits.empty());
  EXPECT_EQ(record.CountOf(audioMasterAutomate), 0);
  EXPECT_EQ(record.CountOf(audioMasterBeginEdit), 0);
  EXPECT_EQ(record.CountOf(audioMasterEndEdit), 0);
}
