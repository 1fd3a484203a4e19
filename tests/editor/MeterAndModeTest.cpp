// The plug-in's own controls in its editor: the mode buttons following "Mode" whoever sets it,
// and the meters' needle, clip LED and status lamp following what the engine writes.
#include <gtest/gtest.h>

#include "editor/ModeSwitch.h"
#include "editor/VuControl.h"
#include "tests/editor/PlugRig.h"

namespace editortest {
namespace {

constexpr int kFirstButton = 13;

std::vector<int> ButtonFrames(IGraphics& editor) {
  std::vector<int> frames;
  for (int i = kFirstButton; i < kFirstButton + 4; ++i)
    frames.push_back(static_cast<ModeSwitch*>(editor.GetControl(i))->DrawnFrame());
  return frames;
}

TEST(ModeButtons, TheButtonOfTheModeIsLitAndAStandsForModeZero) {
  auto plug = MakeBrelvane();
  IGraphics& editor = *plug->Graphics();
  Frame(editor);
  EXPECT_EQ(ButtonFrames(editor), (std::vector<int>{2, 1, 1, 1}));  // default mode 1
  for (int i = kFirstButton; i < kFirstButton + 4; ++i) EXPECT_FALSE(editor.GetControl(i)->IsDirty());

  plug->SetParamFromHost(Brelvane::kMode, 0.75);  // from the host: relit on the next frame
  EXPECT_TRUE(editor.GetControl(kFirstButton + 2)->IsDirty() == false);  // not before the frame
  Frame(editor);
  EXPECT_EQ(ButtonFrames(editor), (std::vector<int>{1, 1, 2, 1}));

  plug->SetParamFromHost(Brelvane::kMode, 0.0);
  Frame(editor);
  EXPECT_EQ(ButtonFrames(editor), (std::vector<int>{2, 1, 1, 1}));

  // A position between two modes shows the mode the parameter stores.
  plug->SetParamFromHost(Brelvane::kMode, 0.45);
  Frame(editor);
  EXPECT_EQ(plug->GetParam(Brelvane::kMode)->GetValue(), 2.0);
  EXPECT_EQ(ButtonFrames(editor), (std::vector<int>{1, 2, 1, 1}));

  // A click on "D" sets the mode and the others go dark, including the one lit before.
  plug->hostChanges.clear();
  editor.HandleMouseDown(810, 130, MouseModifiers{true, false, false, false, false});
  editor.HandleMouseUp(810, 130, MouseModifiers{true, false, false, false, false});
  ASSERT_EQ(plug->hostChanges.size(), 1u);
  EXPECT_EQ(plug->hostChanges[0].index, Brelvane::kMode);
  EXPECT_EQ(plug->hostChanges[0].normalized, 1.0);
  EXPECT_EQ(plug->GetParam(Brelvane::kMode)->GetValue(), 4.0);
  Frame(editor);
  EXPECT_EQ(ButtonFrames(editor), (std::vector<int>{1, 1, 1, 2}));
}

class Meter : public ::testing::Test {
protected:
  void SetUp() override {
    plug = MakeBrelvane();
    plug->SetSampleRateFromHost(48000.0);
    plug->NotifyAllParamsChanged();
    editor = plug->Graphics();
    meter = static_cast<VuControl*>(editor->GetControl(11));
  }
  const VuControl::Shown& DrawnAt(double level) {
    meter->Feed().SetLevel(level);
    Frame(*editor);
    return meter->LastShown();
  }

  std::unique_ptr<Brelvane> plug;
  IGraphics* editor = nullptr;
  VuControl* meter = nullptr;
};

TEST_F(Meter, NeedleRestsBelowTheScaleAndReachesTheLastFrameAtTheCeiling) {
  EXPECT_EQ(DrawnAt(0.0).needleFrame, 1);
  EXPECT_EQ(DrawnAt(0.1 / 0.501187 - 1e-6).needleFrame, 1);
  EXPECT_GT(DrawnAt(0.5).needleFrame, 1);
  EXPECT_EQ(DrawnAt(1.99526).needleFrame, 240);
  EXPECT_EQ(DrawnAt(50.0).needleFrame, 240);  // the feed holds the ceiling
  // The meter is drawn on every frame, whether anything changed or not.
  EXPECT_TRUE(meter->IsDirty());
}

TEST_F(Meter, ClipLedLightsAboveOneAndTurnsRedFromModeTwo) {
  EXPECT_EQ(DrawnAt(1.0).ledFrame, 1);
  EXPECT_EQ(DrawnAt(1.0001).ledFrame, 2);
  EXPECT_FALSE(meter->LastShown().ledRed);       // mode 1
  plug->SetParamFromHost(Brelvane::kMode, 0.5);  // mode 2, through the engine
  EXPECT_TRUE(DrawnAt(1.0001).ledRed);
  plug->SetParamFromHost(Brelvane::kMode, 0.0);  // mode 0 is not above 1
  EXPECT_FALSE(DrawnAt(1.0001).ledRed);
}

TEST_F(Meter, StatusLampFadesOneFramePerEditorFrameAcrossItsSixtyFrames) {
  for (int i = 0; i < 100; ++i) Frame(*editor);
  ASSERT_TRUE(meter->LastShown().lampOn);
  EXPECT_EQ(meter->LastShown().lampFrame, 60);

  plug->SetParamFromHost(Brelvane::kPower, 0.0);
  ProcessSilence(*plug);  // the chain clears the lamp flag
  std::vector<int> frames;
  for (int i = 0; i < 70; ++i) {
    Frame(*editor);
    ASSERT_FALSE(meter->LastShown().lampOn);
    frames.push_back(meter->LastShown().lampFrame);
  }
  // The fade averages the last 59 flags: the off lamp climbs a frame per editor frame and
  // reaches its last frame on the 59th, after 60 frames counting the last one lit.
  for (int k = 1; k <= 59; ++k) EXPECT_EQ(frames[k - 1], k + 1) << k;
  EXPECT_EQ(frames[69], 60);
}

}  // namespace
}  // namespace editortest
