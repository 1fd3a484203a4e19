// The Brelvane plug-in class on a host-less adapter: what a host sees right after construction,
// and that the class hands its parameters, reset and audio to the vocal chain unchanged.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "engine/Brelvane.h"
#include "engine/BrelvaneParams.h"
#include "engine/VocalChain.h"

namespace {

std::unique_ptr<Brelvane> NewPlug() {
  return std::unique_ptr<Brelvane>(static_cast<Brelvane*>(MakePlug(TestInstanceInfo{})));
}

std::string Display(const Brelvane& plug, int index) {
  char text[32];
  const IParamDef* param = plug.GetParam(index);
  param->FormatValue(param->GetValue(), false, text, sizeof text, true);
  return text;
}

constexpr double kTwoPi = 2.0 * 3.141592653589793;

// A vocal-like test signal: a few harmonics with a slow level swell, different per channel.
double Voice(int i, int channel) {
  const double t = i / 48000.0;
  const double swell = 0.3 + 0.25 * std::sin(kTwoPi * 1.3 * t);
  return swell * (std::sin(kTwoPi * 180 * t + channel) + 0.5 * std::sin(kTwoPi * 360 * t) +
                  0.25 * std::sin(kTwoPi * 2900 * t + 0.3 * channel));
}

}  // namespace

TEST(BrelvanePlugin, IdentityIsWhatHostsSee) {
  auto plug = NewPlug();
  EXPECT_STREQ(plug->GetEffectName(), "Brelvane");
  EXPECT_STREQ(plug->GetProductName(), "");
  EXPECT_STREQ(plug->GetMakerName(), "Orrindale");
  EXPECT_EQ(plug->GetUniqueId(), 0x5176656C);
  EXPECT_EQ(plug->GetMakerId(), 0x4F72726E);  // 'Orrn'
  EXPECT_EQ(plug->GetVersion(), 0x3F99999A);
  EXPECT_EQ(plug->GetVersionMajor(), 16281);
  EXPECT_EQ(plug->GetVersionMinor(), 153);
  EXPECT_EQ(plug->GetVersionPatch(), 154);
  EXPECT_EQ(plug->GetLatency(), 0);
  EXPECT_EQ(plug->NInChannels(), 2);
  EXPECT_EQ(plug->NOutChannels(), 2);
  EXPECT_TRUE(plug->LegalIO(1, 1));
  EXPECT_TRUE(plug->LegalIO(2, 2));
  EXPECT_FALSE(plug->LegalIO(1, 2));
}

TEST(BrelvanePlugin, DeclaresElevenParametersWithTheirRangesDefaultsAndLabels) {
  auto plug = NewPlug();
  ASSERT_EQ(plug->NParams(), 11);
  for (const ParamSpec& spec : kBrelvaneParams) {
    SCOPED_TRACE(spec.name);
    const IParamDef* param = plug->GetParam(spec.index);
    EXPECT_STREQ(param->GetName(), spec.name);
    EXPECT_EQ(param->GetType(), spec.type);
    EXPECT_EQ(param->GetMin(), spec.min);
    EXPECT_EQ(param->GetMax(), spec.max);
    EXPECT_EQ(param->GetDefault(), spec.defaultValue);
    EXPECT_EQ(param->GetValue(), spec.defaultValue);
    EXPECT_EQ(param->GetStep(), spec.step);
    EXPECT_EQ(param->GetShape(), spec.shape);
    EXPECT_EQ(param->GetDisplayPrecision(), spec.precision);
    EXPECT_STREQ(param->GetLabel(), spec.label);
    EXPECT_STREQ(param->GetGroup(), "");
    // The switches' texts come from the core's own switch; the table must say the same.
    ASSERT_EQ(param->GetDisplayTextCount(), spec.textCount);
    for (int t = 0; t < spec.textCount; ++t) {
      EXPECT_EQ(param->GetDisplayText(t)->value, spec.texts[t].value);
      EXPECT_STREQ(param->GetDisplayText(t)->text, spec.texts[t].text);
    }
  }
  // A few answers hosts have always seen, pinned here so that an edit of the table shows up.
  EXPECT_STREQ(plug->GetParam(Brelvane::kPresComp)->GetName(), "Pres Comp");
  EXPECT_EQ(plug->GetParam(Brelvane::kLowCut)->GetMin(), 20.0);
  EXPECT_EQ(plug->GetParam(Brelvane::kDbOutput)->GetMin(), -30.0);
  EXPECT_STREQ(plug->GetParam(Brelvane::kFLimit)->GetName(), "F Limit");
}

TEST(BrelvanePlugin, DefaultsDisplayAsAHostShowsThem) {
  auto plug = NewPlug();
  EXPECT_EQ(Display(*plug, Brelvane::kPresComp), "12.50");
  EXPECT_EQ(Display(*plug, Brelvane::kTighten), "53.50");
  EXPECT_EQ(Display(*plug, Brelvane::kPower), "on");
  EXPECT_EQ(Display(*plug, Brelvane::kMode), "A");
  EXPECT_EQ(Display(*plug, Brelvane::kPLimit), "on");
  EXPECT_EQ(Display(*plug, Brelvane::kFLimit), "off");
  EXPECT_STREQ(plug->GetParam(Brelvane::kMode)->LabelForDisplay(), "");
  EXPECT_STREQ(plug->GetParam(Brelvane::kPresComp)->LabelForDisplay(), "dB");
}

TEST(BrelvanePlugin, ModeRunsFromZeroToFourAndZeroReadsAsA) {
  auto plug = NewPlug();
  IParamDef* mode = plug->GetParam(Brelvane::kMode);
  const char* expected[] = {"A", "A", "B", "C", "D"};
  for (int m = 0; m <= 4; ++m) {
    mode->SetValue(m);
    EXPECT_EQ(Display(*plug, Brelvane::kMode), expected[m]) << "mode " << m;
    EXPECT_DOUBLE_EQ(mode->GetNormalizedValue(), m / 4.0);
  }
  mode->SetFromNormalized(0.5);
  EXPECT_EQ(mode->GetValue(), 2.0);
  EXPECT_EQ(Display(*plug, Brelvane::kMode), "B");
}

TEST(BrelvanePlugin, DefaultPresetIsNamedDashAndHoldsTheDefaults) {
  auto plug = NewPlug();
  ASSERT_EQ(plug->NPresets(), 1);
  EXPECT_STREQ(plug->PresetName(0), "-");
  const PresetSlot* slot = plug->GetPreset(0);
  ASSERT_TRUE(slot->initialized);
  ASSERT_EQ(slot->state.GetSize(), 11 * 8);
  for (int i = 0; i < 11; ++i) {
    double stored = 0.0;
    ASSERT_EQ(slot->state.ReadDouble(stored, i * 8), (i + 1) * 8);
    EXPECT_EQ(stored, kBrelvaneParams[i].defaultValue) << kBrelvaneParams[i].name;
  }
}

TEST(BrelvanePlugin, ProgramChunkOfTheDefaultsIs96Bytes) {
  auto plug = NewPlug();
  StateChunk chunk;
  ASSERT_TRUE(plug->SaveProgramChunk(chunk));
  ASSERT_EQ(chunk.GetSize(), 96);
  const std::uint8_t header[] = {0x74, 0x66, 0x66, 0x70, 0x00, 0x00, 0x01, 0x00};
  EXPECT_EQ(std::memcmp(chunk.GetData(), header, sizeof header), 0);
}

// The class is glue: with the same parameters and rate, its output is the chain's output, bit
// for bit, including parameter changes between blocks.
TEST(BrelvanePlugin, ProcessesExactlyAsTheChainWithItsParameters) {
  auto plug = NewPlug();
  plug->SetSampleRate(48000.0);
  plug->OnReset();
  plug->NotifyAllParamsChanged();

  VocalChain chain;
  chain.SetSampleRate(48000);
  for (int i = 0; i < 11; ++i) chain.OnParamChanged(i, kBrelvaneParams[i].defaultValue);

  const int block = 256;
  std::vector<double> inL(block), inR(block), outL(block), outR(block), refL(block), refR(block);
  for (int b = 0; b < 200; ++b) {
    if (b == 60) {
      plug->GetParam(Brelvane::kCrispy)->SetValue(4.5);
      plug->OnParamChanged(Brelvane::kCrispy);
      chain.OnParamChanged(Brelvane::kCrispy, 4.5);
      plug->GetParam(Brelvane::kMode)->SetFromNormalized(1.0);
      plug->OnParamChanged(Brelvane::kMode);
      chain.OnParamChanged(Brelvane::kMode, 4.0);
    }
    if (b == 140) {
      plug->GetParam(Brelvane::kPower)->SetValue(0.0);
      plug->OnParamChanged(Brelvane::kPower);
    }
    const double power = b >= 140 ? 0.0 : 1.0;
    for (int i = 0; i < block; ++i) {
      inL[i] = Voice(b * block + i, 0);
      inR[i] = Voice(b * block + i, 1);
    }
    double* in[2] = {inL.data(), inR.data()};
    double* out[2] = {outL.data(), outR.data()};
    plug->ProcessDouble(in, out, block);
    const double* cin[2] = {inL.data(), inR.data()};
    double* ref[2] = {refL.data(), refR.data()};
    chain.Process(cin, ref, block, power, 48000);
    for (int i = 0; i < block; ++i) {
      ASSERT_EQ(outL[i], refL[i]) << "block " << b << " frame " << i;
      ASSERT_EQ(outR[i], refR[i]) << "block " << b << " frame " << i;
    }
  }
}

TEST(BrelvanePlugin, ProcessingBeforeAnyResetRunsAtTheCoresRate) {
  auto plug = NewPlug();
  plug->NotifyAllParamsChanged();  // opened, but no sample rate ever announced
  const int frames = 44100;
  std::vector<double> inL(frames), inR(frames), outL(frames), outR(frames);
  for (int i = 0; i < frames; ++i) inL[i] = inR[i] = Voice(i, 0);
  double* in[2] = {inL.data(), inR.data()};
  double* out[2] = {outL.data(), outR.data()};
  plug->ProcessDouble(in, out, frames);
  double energy = 0.0;
  for (int i = frames / 2; i < frames; ++i) {
    ASSERT_TRUE(std::isfinite(outL[i]) && std::isfinite(outR[i]));
    energy += outL[i] * outL[i];
  }
  EXPECT_GT(energy, 1.0);
}

TEST(BrelvanePlugin, MetersFollowModePowerAndLevel) {
  auto plug = NewPlug();
  plug->SetSampleRate(48000.0);
  plug->OnReset();
  plug->NotifyAllParamsChanged();
  EXPECT_EQ(plug->PresMeter().Mode(), 1);
  plug->GetParam(Brelvane::kMode)->SetValue(3);
  plug->OnParamChanged(Brelvane::kMode);
  EXPECT_EQ(plug->PresMeter().Mode(), 3);
  EXPECT_EQ(plug->FinalMeter().Mode(), 3);

  const int frames = 4800;
  std::vector<double> inL(frames), inR(frames), outL(frames), outR(frames);
  for (int i = 0; i < frames; ++i) inL[i] = inR[i] = Voice(i, 0);
  double* in[2] = {inL.data(), inR.data()};
  double* out[2] = {outL.data(), outR.data()};
  plug->ProcessDouble(in, out, frames);
  EXPECT_TRUE(plug->PresMeter().Lamp());
  EXPECT_GT(plug->PresMeter().Level(), 0.0);
  EXPECT_GT(plug->FinalMeter().Level(), 0.0);

  plug->GetParam(Brelvane::kPower)->SetValue(0.0);
  plug->OnParamChanged(Brelvane::kPower);
  plug->ProcessDouble(in, out, 1);
  EXPECT_FALSE(plug->PresMeter().Lamp());
  EXPECT_FALSE(plug->FinalMeter().Lamp());
}
