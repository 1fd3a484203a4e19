// Every module's 64-bit output equals the recorded output of the chain (GoldenOutputs.inc), bit
// for bit, in every recorded scenario: the same table in every tree, so the Windows modules under
// Wine and the Linux modules give the same bits, whichever CPU runs them.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "hosts/clap/ClapHost.h"
#include "hosts/vst2/VstHost.h"
#include "hosts/vst3/Vst3Host.h"
#include "tests/engine/GoldenOutputs.h"
#include "tests/engine/GoldenScenarios.h"

namespace {

constexpr int kMaxBlock = 512;

double Normalized(int index, double value) {
  const ParamSpec& param = kBrelvaneParams[index];
  return (value - param.min) / (param.max - param.min);
}

// The host keeps the input apart from the output, as most DAWs do.
class ModulePlayer : public golden::Player {
public:
  virtual bool Start(int rate, std::string& error) = 0;

protected:
  double** Inputs(double** io, int frames) {
    for (int c = 0; c < 2; ++c) {
      mInput[c].assign(io[c], io[c] + frames);
      mInputs[c] = mInput[c].data();
    }
    return mInputs;
  }

private:
  std::vector<double> mInput[2];
  double* mInputs[2] = {};
};

class Vst2Player : public ModulePlayer {
public:
  bool Start(int rate, std::string& error) override {
    if (!mHost.Load(BRELVANE_VST2_PATH)) return error = mHost.LastError(), false;
    mHost.Open();
    mHost.SetSampleRate(static_cast<float>(rate));
    mHost.SetBlockSize(kMaxBlock);
    return mHost.Resume();
  }
  void Set(int index, double value) override {
    mHost.SetParameter(index, static_cast<float>(Normalized(index, value)));
  }
  void Process(double** io, int frames) override {
    EXPECT_TRUE(mHost.ProcessDoubleReplacing(Inputs(io, frames), io, frames));
  }

private:
  brel::VstHost mHost;
};

class Vst3Player : public ModulePlayer {
public:
  bool Start(int rate, std::string& error) override {
    if (!mHost.Load(BRELVANE_VST3_BUNDLE) || !mHost.CreatePlugin()) return error = mHost.LastError(), false;
    return mHost.Setup(rate, kMaxBlock, Steinberg::Vst::kSample64) && mHost.Start();
  }
  void Set(int index, double value) override { mHost.QueueParameter(index, Normalized(index, value)); }
  void Process(double** io, int frames) override {
    EXPECT_EQ(mHost.Process(Inputs(io, frames), 2, io, 2, frames), Steinberg::kResultOk);
  }

private:
  brel::Vst3Host mHost;
};

class ClapPlayer : public ModulePlayer {
public:
  bool Start(int rate, std::string& error) override {
    if (!mHost.Load(BRELVANE_CLAP_PATH) || !mHost.CreatePlugin()) return error = mHost.LastError(), false;
    return mHost.Activate(rate, 1, kMaxBlock) && mHost.StartProcessing();
  }
  void Set(int index, double value) override { mHost.QueueParamValue(index, value); }
  void Process(double** io, int frames) override {
    EXPECT_EQ(mHost.Process(Inputs(io, frames), 2, io, 2, frames), CLAP_PROCESS_CONTINUE);
  }

private:
  brel::ClapHost mHost;
};

struct Format {
  const char* name;
  std::unique_ptr<ModulePlayer> (*make)();
};

template <class T>
std::unique_ptr<ModulePlayer> Make() {
  return std::make_unique<T>();
}

class ModuleOutput : public ::testing::TestWithParam<Format> {};

TEST_P(ModuleOutput, EveryScenarioGivesTheRecordedBits) {
  // One instance kept open holds the module in memory, so each scenario's fresh instance does not
  // map and relocate the whole module again.
  std::unique_ptr<ModulePlayer> keeper = GetParam().make();
  std::string error;
  ASSERT_TRUE(keeper->Start(48000, error)) << error;
  for (const golden::Scenario& scenario : golden::Scenarios()) {
    const GoldenHash* recorded = FindGoldenHash(scenario.name.c_str());
    ASSERT_NE(recorded, nullptr) << scenario.name;
    std::unique_ptr<ModulePlayer> player = GetParam().make();
    ASSERT_TRUE(player->Start(scenario.rate, error)) << error;
    EXPECT_EQ(golden::HashOutput(golden::Render(scenario, *player)), recorded->hash) << scenario.name;
  }
}

INSTANTIATE_TEST_SUITE_P(EveryModule, ModuleOutput,
                         ::testing::Values(Format{"Vst2", Make<Vst2Player>}, Format{"Vst3", Make<Vst3Player>},
                                           Format{"Clap", Make<ClapPlayer>}),
                         [](const ::testing::TestParamInfo<Format>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
