// A drag in the editor, played into a loaded module: the host hears one gesture (begin edit,
// every step automated with its normalized value, end edit), and the engine follows as it does
// for the host's own changes. Values set by the host in turn reach the editor's controls.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "tests/adapters/vst2/ModuleFixture.h"
#include "tests/adapters/vst2/seam/EditorSeam.h"

namespace {

using namespace vst2seam;
using brel::VstHost;

constexpr int kPresCompKnob = 1;  // control index; its parameter is 0
constexpr double kDefault = (12.5 + 5.0) / 30.0;

VstIntPtr Play(VstHost& host, Action action, SeamRequest& request) {
  return host.VendorSpecific(kSeamIndex, action, &request, 0.0f);
}

class EditorGesture : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(mHost.Load(BRELVANE_VST2_SEAM_PATH)) << mHost.LastError();
    mHost.Open();
    mHost.SetSampleRate(vst2test::kRate);
    mHost.Resume();
  }
  double ControlValue(int control) {
    SeamRequest request;
    request.control = control;
    EXPECT_EQ(Play(mHost, kControlValue, request), kSeamAnswer);
    return request.value;
  }

  VstHost mHost;
};

TEST_F(EditorGesture, AKnobDragIsOneGestureTheHostRecordsAndTheEngineFollows) {
  // Hosts hear of the editor where it can open a window.
  EXPECT_EQ(mHost.Flags() & effFlagsHasEditor, BREL_EXPECT_EDITOR_WINDOW ? effFlagsHasEditor : 0);
  mHost.ClearRecord();
  SeamRequest at;
  at.x = 128;
  at.y = 300;
  ASSERT_EQ(Play(mHost, kMouseDown, at), kSeamAnswer);
  at.y = 268;  // a quarter of the knob's 128 pixels up: +1/16 at gearing 4
  Play(mHost, kMouseDrag, at);
  at.y = 236;
  Play(mHost, kMouseDrag, at);
  at.shift = 1;  // fine: a tenth as much
  at.y = 204;
  Play(mHost, kMouseDrag, at);
  Play(mHost, kMouseUp, at);

  const brel::HostRecord record = mHost.Record();
  ASSERT_EQ(record.beginEdits, std::vector<VstInt32>{0});
  ASSERT_EQ(record.endEdits, std::vector<VstInt32>{0});
  const double expected[] = {kDefault + 0.0625, kDefault + 0.125, kDefault + 0.13125};
  ASSERT_EQ(record.automations.size(), 3u);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(record.automations[i].index, 0);
    EXPECT_FLOAT_EQ(record.automations[i].value, static_cast<float>(expected[i])) << i;
  }
  // Begin, the automations, end, in this order.
  std::vector<VstInt32> order;
  for (const brel::HostCall& call : record.calls) {
    if (call.opcode == audioMasterBeginEdit || call.opcode == audioMasterAutomate ||
        call.opcode == audioMasterEndEdit)
      order.push_back(call.opcode);
  }
  EXPECT_EQ(order, (std::vector<VstInt32>{audioMasterBeginEdit, audioMasterAutomate, audioMasterAutomate,
                                          audioMasterAutomate, audioMasterEndEdit}));
  EXPECT_FLOAT_EQ(mHost.GetParameter(0), static_cast<float>(expected[2]));
  EXPECT_EQ(mHost.ParamDisplay(0), "16.44");  // -5 + 30 * 0.714583, two decimals

  // The engine sounds as it does when the host sets that value (which reaches it as a float,
  // hence the tolerance), and clearly unlike the untouched plug-in.
  VstHost reference, untouched;
  ASSERT_TRUE(vst2test::StartPlugin(reference));
  ASSERT_TRUE(vst2test::StartPlugin(untouched));
  reference.SetParameter(0, static_cast<float>(expected[2]));
  const auto signal = vst2test::SpeechLike(4096);
  const auto dragged = vst2test::RenderFloat(mHost, signal, 512);
  const auto hosted = vst2test::RenderFloat(reference, signal, 512);
  const auto plain = vst2test::RenderFloat(untouched, signal, 512);
  double fromHosted = 0.0, fromPlain = 0.0;
  for (int i = 0; i < signal.Frames(); ++i) {
    fromHosted = std::max(fromHosted, static_cast<double>(std::fabs(dragged.left[i] - hosted.left[i])));
    fromPlain = std::max(fromPlain, static_cast<double>(std::fabs(dragged.left[i] - plain.left[i])));
  }
  EXPECT_LT(fromHosted, 1e-5);
  EXPECT_GT(fromPlain, 1e-3);
}

TEST_F(EditorGesture, HostChangesReachTheControlsOnTheNextFrame) {
  SeamRequest frame;
  Play(mHost, kTimerFrame, frame);
  EXPECT_DOUBLE_EQ(ControlValue(kPresCompKnob), kDefault);
  mHost.SetParameter(0, 0.25f);
  EXPECT_DOUBLE_EQ(ControlValue(kPresCompKnob), kDefault);  // posted, not yet taken
  Play(mHost, kTimerFrame, frame);
  EXPECT_DOUBLE_EQ(ControlValue(kPresCompKnob), 0.25);
  mHost.SetParameter(8, 0.75f);  // mode C: the four buttons hold the mode's position
  Play(mHost, kTimerFrame, frame);
  for (int button = 13; button < 17; ++button) EXPECT_DOUBLE_EQ(ControlValue(button), 0.75) << button;
}

}  // namespace
