// The VST2 adapter in-process, under a scripted host: what a host is asked for and answers when
// the plug-in reads the transport (the editor and future plug-in classes do; Brelvane's chain does
// not), what it hears when it asks whether a parameter can be automated, and the editor's
// rectangle after the editor resizes.
#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <vector>

#include "adapters/vst2/IPlugVST.h"
#include "core/FourCC.h"

namespace {

// The host's side: the time record it hands out (or none) and the flags each request asked for.
VstTimeInfo gTime{};
bool gHasTime = true;
std::vector<VstIntPtr> gTimeRequests;

VstIntPtr ScriptedHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr value, void*, float) {
  if (opcode != audioMasterGetTime) return 0;
  gTimeRequests.push_back(value);
  return gHasTime ? reinterpret_cast<VstIntPtr>(&gTime) : 0;
}

class TwoParamPlug : public IPlugVST {
public:
  TwoParamPlug()
      : IPlugVST(IPlugInstanceInfo{ScriptedHost}, 2, "2-2", 1, "Two", "", "Maker", 0x10000,
                 FourCC('T', 'w', 'o', 'P'), FourCC('M', 'a', 'k', 'r')) {
    GetParam(0)->DefineDouble("Gain", 0.0, -30.0, 20.0, 0.01, "dB");
    GetParam(1)->DefineBool("Freeze", false);
    GetParam(1)->SetCanAutomate(false);
  }
  void OnEditorResized() override { ++editorResizes; }

  int editorResizes = 0;
};

// An editor that can open a window, of whatever size the test gives it.
class SizedEditor : public IEditor {
public:
  int GetWidth() const override { return width; }
  int GetHeight() const override { return height; }
  void ApplyPlugValueToControls(int, double) override {}
  void CreateDrawingSurfaces() override {}
  void ApplyParameterFromPlug(int, double, bool) override {}
  bool HasWindowHost() const override { return true; }

  int width = 100, height = 50;
};

class AdapterRequests : public ::testing::Test {
protected:
  AdapterRequests() {
    gTime = VstTimeInfo{};
    gHasTime = true;
    gTimeRequests.clear();
  }
  VstIntPtr Dispatch(VstInt32 opcode, VstInt32 index) {
    AEffect* effect = plug.GetAEffect();
    return effect->dispatcher(effect, opcode, index, 0, nullptr, 0.0f);
  }
  TwoParamPlug plug;
};

TEST_F(AdapterRequests, CanBeAutomatedAnswersEachParametersFlag) {
  EXPECT_EQ(Dispatch(effCanBeAutomated, 0), 1);
  EXPECT_EQ(Dispatch(effCanBeAutomated, 1), 0);
  // Indices without a parameter keep the answer hosts have always had.
  EXPECT_EQ(Dispatch(effCanBeAutomated, 2), 1);
  EXPECT_EQ(Dispatch(effCanBeAutomated, -1), 1);
}

TEST_F(AdapterRequests, TempoAndMeterOnlyWhenTheHostMarksThemValid) {
  gTime.tempo = 128.5;
  gTime.timeSigNumerator = 7;
  gTime.timeSigDenominator = 8;
  int numerator = -1, denominator = -1;
  EXPECT_EQ(plug.GetHostTempo(), 0.0);
  plug.GetHostTimeSignature(numerator, denominator);
  EXPECT_EQ(numerator, 0);
  EXPECT_EQ(denominator, 0);
  EXPECT_EQ(gTimeRequests, (std::vector<VstIntPtr>{kVstTempoValid, kVstTimeSigValid}));

  gTime.flags = kVstTempoValid | kVstTimeSigValid;
  EXPECT_EQ(plug.GetHostTempo(), 128.5);
  plug.GetHostTimeSignature(numerator, denominator);
  EXPECT_EQ(numerator, 7);
  EXPECT_EQ(denominator, 8);

  gTime.tempo = -1.0;
  gTime.timeSigDenominator = -4;
  EXPECT_EQ(plug.GetHostTempo(), 0.0);
  plug.GetHostTimeSignature(numerator, denominator);
  EXPECT_EQ(denominator, 0);
}

TEST_F(AdapterRequests, SamplePositionRoundsAndSaysZeroForWhatThirtyTwoBitsCannotHold) {
  gTime.samplePos = 44099.5;
  EXPECT_EQ(plug.GetHostSamplePosition(), 44100);
  gTime.samplePos = 3e9;
  EXPECT_EQ(plug.GetHostSamplePosition(), 0);
  gTime.samplePos = -10.0;
  EXPECT_EQ(plug.GetHostSamplePosition(), 0);
  gHasTime = false;
  EXPECT_EQ(plug.GetHostSamplePosition(), 0);
  EXPECT_EQ(gTimeRequests.back(), 0);
}

TEST_F(AdapterRequests, TransportTakesOnlyTheFieldsTheHostMarksValid) {
  gTime.samplePos = 96000.0;
  gTime.ppqPos = 8.0;
  gTime.tempo = 90.0;
  gTime.barStartPos = 6.0;
  gTime.cycleStartPos = 4.0;
  gTime.cycleEndPos = 12.0;
  gTime.timeSigNumerator = 3;
  gTime.timeSigDenominator = 4;
  gTime.flags = kVstTransportPlaying | kVstTransportCycleActive;

  TransportInfo info;
  plug.GetHostTransport(info);  // nothing valid: the record stays as it was
  EXPECT_EQ(info.samplePosition, 0.0);
  EXPECT_FALSE(info.playing);
  EXPECT_EQ(gTimeRequests.back(), 0x3E00);

  gTime.flags |= kVstPpqPosValid | kVstTempoValid | kVstTimeSigValid;
  plug.GetHostTransport(info);
  EXPECT_EQ(info.samplePosition, 96000.0);
  EXPECT_EQ(info.ppqPosition, 8.0);
  EXPECT_EQ(info.tempo, 90.0);
  EXPECT_EQ(info.lastBarPosition, 0.0) << "bars not marked valid";
  EXPECT_EQ(info.cycleEnd, 0.0) << "cycle not marked valid";
  EXPECT_EQ(info.numerator, 3);
  EXPECT_EQ(info.denominator, 4);
  EXPECT_TRUE(info.playing);
  EXPECT_TRUE(info.looping);

  gHasTime = false;
  TransportInfo none;
  plug.GetHostTransport(none);
  EXPECT_EQ(none.tempo, 0.0);
}

TEST_F(AdapterRequests, TheEditorRectangleIsTheEditorsOwnSizeAfterItResizes) {
  AEffect* effect = plug.GetAEffect();
  ERect* rect = nullptr;
  plug.ResizeEditor(300, 120);
  EXPECT_EQ(plug.editorResizes, 0) << "no editor";
  EXPECT_EQ(effect->dispatcher(effect, effEditGetRect, 0, 0, &rect, 0.0f), 0);

  auto* editor = new SizedEditor;
  plug.AttachEditor(editor);
  EXPECT_EQ(effect->flags & effFlagsHasEditor, effFlagsHasEditor);
  ASSERT_EQ(effect->dispatcher(effect, effEditGetRect, 0, 0, &rect, 0.0f), 1);
  EXPECT_EQ(rect->bottom, 50);
  EXPECT_EQ(rect->right, 100);
  editor->width = 300;
  editor->height = 120;
  plug.ResizeEditor(1, 1);  // the rectangle comes from the editor, whatever the request said
  EXPECT_EQ(plug.editorResizes, 1);
  ASSERT_EQ(effect->dispatcher(effect, effEditGetRect, 0, 0, &rect, 0.0f), 1);
  EXPECT_EQ(rect->top, 0);
  EXPECT_EQ(rect->left, 0);
  EXPECT_EQ(rect->bottom, 120);
  EXPECT_EQ(rect->right, 300);
}

// An editor whose idle call checks, from another thread, that the plug-in lock is free.
class IdleEditor : public SizedEditor {
public:
  explicit IdleEditor(IPlugBase& plug) : mPlug(plug) {}
  void Idle() override {
    ++idles;
    auto other = std::async(std::launch::async, [this] {
      mPlug.Lock();
      mPlug.Unlock();
    });
    lockWasFree = other.wait_for(std::chrono::seconds(2)) == std::future_status::ready;
    mPending = std::move(other);  // finishes once the dispatcher lets go, if it held the lock
  }
  int idles = 0;
  bool lockWasFree = false;

private:
  IPlugBase& mPlug;
  std::future<void> mPending;
};

// The host's idle call drives the editor's window (X11 has no window timer) as the Windows
// window timer does: without the plug-in lock, which the editor takes itself where it sets a
// value; a lock held there would stall the audio thread for a whole repaint.
TEST_F(AdapterRequests, EditIdleDrivesTheEditorWithoutThePluginLock) {
  EXPECT_EQ(Dispatch(effEditIdle, 0), 0) << "no editor: nothing to drive";
  auto* editor = new IdleEditor(plug);
  plug.AttachEditor(editor);
  EXPECT_EQ(Dispatch(effEditIdle, 0), 0);
  EXPECT_EQ(Dispatch(effIdle, 0), 0);
  EXPECT_EQ(editor->idles, 1);
  EXPECT_TRUE(editor->lockWasFree);
}

}  // namespace
