// The Linux VST2 module's editor in the test host's X window, driven as a Linux VST 2.4 host
// drives it: the editor opcodes with the window's id, effEditIdle from the host's loop, a knob
// dragged and turned with XTest (one gesture to the host, the parameter following), the window's
// pixels against the snapshot command's picture, many openings, two instances.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "engine/BrelvaneLayout.h"
#include "engine/BrelvaneParams.h"
#include "hosts/linux/HostWindow.h"
#include "hosts/linux/PointerInput.h"
#include "hosts/linux/Vst2EditorHost.h"
#include "hosts/vst2/VstHost.h"
#include "tests/hosts/linux/EditorRig.h"
#include "tests/support/linux/PrivateXServer.h"

namespace {

using brel::VstHost;
using namespace brel::x11;
using namespace x11test;

constexpr int kPresComp = BrelvaneParamIndex::kPresComp;
constexpr int kDbOutput = BrelvaneParamIndex::kDbOutput;

// Loaded, opened and run for one block of silence, as the snapshot's plug-in is.
::testing::AssertionResult Started(VstHost& plugin) {
  if (!plugin.Load(BRELVANE_VST2_PATH)) return ::testing::AssertionFailure() << plugin.LastError();
  plugin.Open();
  plugin.SetSampleRate(48000.0f);
  plugin.SetBlockSize(512);
  plugin.Resume();
  std::vector<float> silence(512, 0.0f), left(512), right(512);
  float* inputs[2] = {silence.data(), silence.data()};
  float* outputs[2] = {left.data(), right.data()};
  if (!plugin.ProcessReplacing(inputs, outputs, 512)) return ::testing::AssertionFailure() << "no block";
  return ::testing::AssertionSuccess();
}

std::vector<VstInt32> GestureOrder(const brel::HostRecord& record) {
  std::vector<VstInt32> order;
  for (const brel::HostCall& call : record.calls)
    if (call.opcode == audioMasterBeginEdit || call.opcode == audioMasterAutomate ||
        call.opcode == audioMasterEndEdit)
      order.push_back(call.opcode);
  return order;
}

class Vst2Editor : public ::testing::Test {
protected:
  void SetUp() override {
    BREL_REQUIRE_X_SERVER();
    window = std::make_unique<HostWindow>(200, 100);
    ASSERT_TRUE(window->IsOpen()) << window->Problem();
    ASSERT_TRUE(PointerInput::Available(window->Connection())) << "the server offers no XTest";
    ASSERT_TRUE(Started(plugin));
    ASSERT_TRUE(editor.HasEditor()) << "the module announces no editor";
  }
  Window OpenEditor(Vst2EditorHost& host, HostWindow& in) {
    const Window editorWindow = host.Open(in);
    EXPECT_NE(editorWindow, 0u) << "effEditOpen answered " << host.OpenAnswer();
    return editorWindow;
  }
  Window OpenEditor() { return OpenEditor(editor, *window); }
  // Steps the loop until the host has heard of `count` automations.
  bool AutomationsReach(std::size_t count) {
    return PumpUntil(
        editor.Stepper(), [&] { return plugin.Record().automations.size() >= count; }, kArrivalSteps);
  }

  VstHost plugin;
  std::unique_ptr<HostWindow> window;
  Vst2EditorHost editor{plugin};
};

TEST_F(Vst2Editor, TheOpcodesOpenTheEditorAsAChildOfTheHostWindowAtItsRectangleAndCloseIt) {
  ERect rect = {};
  ASSERT_TRUE(editor.Rect(rect));
  EXPECT_EQ(rect.right - rect.left, layout::kEditorWidth);
  EXPECT_EQ(rect.bottom - rect.top, layout::kEditorHeight);

  const Window editorWindow = OpenEditor();
  ASSERT_NE(editorWindow, 0u);
  EXPECT_EQ(editor.OpenAnswer(), 1);
  XWindowAttributes attributes = {};
  ASSERT_TRUE(XGetWindowAttributes(window->Connection(), editorWindow, &attributes));
  EXPECT_EQ(attributes.x, 0);
  EXPECT_EQ(attributes.y, 0);
  EXPECT_EQ(attributes.width, layout::kEditorWidth);
  EXPECT_EQ(attributes.height, layout::kEditorHeight);
  EXPECT_EQ(attributes.map_state, IsViewable);
  int width = 0, height = 0;
  ASSERT_TRUE(window->Size(width, height));
  EXPECT_EQ(width, layout::kEditorWidth) << "the host sized its window to the rectangle";

  EXPECT_EQ(editor.Close(), 1);
  EXPECT_TRUE(WaitUntil([&] { return window->Children().empty(); })) << "the editor's window is gone";
  EXPECT_EQ(plugin.Dispatch(effEditClose), 1) << "closing a closed editor is harmless";
  EXPECT_EQ(plugin.Dispatch(effEditIdle), 0) << "idle without a window is harmless";
  EXPECT_EQ(plugin.Dispatch(effEditOpen, 0, 0, nullptr), 0) << "no parent window, no editor";
  EXPECT_TRUE(window->Children().empty());
}

TEST_F(Vst2Editor, TheWindowShowsWhatTheSnapshotCommandDrawsAndOnlyATurnedKnobChanges) {
  LICE_MemBitmap* snapshot = SnapshotPicture();
  ASSERT_NE(snapshot, nullptr) << SnapshotProblem();
  const Window editorWindow = OpenEditor();
  ASSERT_NE(editorWindow, 0u);
  ASSERT_TRUE(ComesToShow(editor.Stepper(), window->Connection(), editorWindow, *snapshot,
                          "vst2_editor_mismatch.png"));
  WindowPicture picture;
  ASSERT_TRUE(CaptureWindow(window->Connection(), editorWindow, picture));
  ASSERT_TRUE(SavePicture(picture, "vst2_editor.png"));  // for people to look at
  const Difference fromDocs = Compare(picture, ReferencePicture());
  EXPECT_TRUE(fromDocs.sameSize && fromDocs.pixels == 0)
      << fromDocs.pixels << " pixels differ from docs/snapshot.png";
  // The saved file holds the very pixels the window showed.
  const std::unique_ptr<LICE_MemBitmap> saved = LoadPicture("vst2_editor.png");
  ASSERT_NE(saved, nullptr);
  const Difference fromSaved = Compare(picture, *saved);
  EXPECT_TRUE(fromSaved.sameSize && fromSaved.pixels == 0);

  // A wheel notch turns one knob: the window changes there and nowhere else.
  const Area knob = KnobArea(kDbOutput);
  PointerInput input(window->Connection(), editorWindow);
  ASSERT_TRUE(input.MoveTo(knob.CentreX(), knob.CentreY()));
  for (int i = 0; i < 5; ++i) input.Wheel(PointerInput::kWheelUp);
  Difference moved;
  EXPECT_TRUE(PumpUntil(
      editor.Stepper(),
      [&] {
        return CaptureWindow(window->Connection(), editorWindow, picture) &&
               (moved = Compare(picture, *snapshot)).pixels > 0;
      },
      kMaxSteps))
      << "the knob turned on the screen";
  EXPECT_TRUE(knob.Contains(moved.bounds.left, moved.bounds.top) &&
              knob.Contains(moved.bounds.right - 1, moved.bounds.bottom - 1))
      << "changes outside the knob, within (" << moved.bounds.left << ", " << moved.bounds.top << ") to ("
      << moved.bounds.right << ", " << moved.bounds.bottom << ")";
}

TEST_F(Vst2Editor, AKnobDraggedWithXTestIsOneGestureTheWheelStepsItAndADoubleClickReturnsIt) {
  const Window editorWindow = OpenEditor();
  ASSERT_NE(editorWindow, 0u);
  const Area knob = KnobArea(kPresComp);
  const int x = knob.CentreX(), y = knob.CentreY();
  const float start = plugin.GetParameter(kPresComp);
  PointerInput input(window->Connection(), editorWindow);
  ASSERT_TRUE(input.MoveTo(x, y));
  Pump(editor.Stepper(), 2);
  plugin.ClearRecord();

  input.Press();
  ASSERT_TRUE(PumpUntil(
      editor.Stepper(), [&] { return !plugin.Record().beginEdits.empty(); }, kArrivalSteps))
      << "the press began a gesture";
  input.MoveTo(x, y - 8);
  ASSERT_TRUE(AutomationsReach(1));
  input.MoveTo(x, y - 16);
  ASSERT_TRUE(AutomationsReach(2));
  input.ShiftDown();  // fine: a tenth as much
  input.MoveTo(x, y - 26);
  ASSERT_TRUE(AutomationsReach(3));
  input.Release();
  input.ShiftUp();
  ASSERT_TRUE(PumpUntil(
      editor.Stepper(), [&] { return !plugin.Record().endEdits.empty(); }, kArrivalSteps))
      << "the release ended the gesture";

  const brel::HostRecord record = plugin.Record();
  EXPECT_EQ(record.beginEdits, std::vector<VstInt32>{kPresComp});
  EXPECT_EQ(record.endEdits, std::vector<VstInt32>{kPresComp});
  const double expected[] = {start + KnobStep(kPresComp, 8), start + KnobStep(kPresComp, 16),
                             start + KnobStep(kPresComp, 16) + KnobStep(kPresComp, 10, true)};
  ASSERT_EQ(record.automations.size(), 3u);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(record.automations[i].index, kPresComp);
    EXPECT_FLOAT_EQ(record.automations[i].value, static_cast<float>(expected[i])) << i;
  }
  EXPECT_EQ(GestureOrder(record),
            (std::vector<VstInt32>{audioMasterBeginEdit, audioMasterAutomate, audioMasterAutomate,
                                   audioMasterAutomate, audioMasterEndEdit}));
  EXPECT_FLOAT_EQ(plugin.GetParameter(kPresComp), static_cast<float>(expected[2]));

  // The wheel: button 5 a notch down (a hundredth), button 4 a notch up, with Shift a thousandth.
  input.Wheel(PointerInput::kWheelDown);
  ASSERT_TRUE(AutomationsReach(4));
  EXPECT_NEAR(plugin.GetParameter(kPresComp), expected[2] - 0.01, 1e-6);
  input.Wheel(PointerInput::kWheelUp);
  input.Wheel(PointerInput::kWheelUp);
  ASSERT_TRUE(AutomationsReach(6));
  EXPECT_NEAR(plugin.GetParameter(kPresComp), expected[2] + 0.01, 1e-6);
  input.ShiftDown();
  input.Wheel(PointerInput::kWheelUp);
  input.ShiftUp();
  ASSERT_TRUE(AutomationsReach(7));
  EXPECT_NEAR(plugin.GetParameter(kPresComp), expected[2] + 0.011, 1e-6);

  // A double click brings the knob back to where the host first had it; the knob offers no
  // value entry, so no box opens.
  const std::size_t editorChildren = [&] {
    Window root = 0, parent = 0, *list = nullptr;
    unsigned int count = 0;
    XQueryTree(window->Connection(), editorWindow, &root, &parent, &list, &count);
    if (list) XFree(list);
    return static_cast<std::size_t>(count);
  }();
  input.Press();
  input.Release();
  input.Press();
  input.Release();
  EXPECT_TRUE(PumpUntil(
      editor.Stepper(), [&] { return plugin.GetParameter(kPresComp) == start; }, kArrivalSteps))
      << "now " << plugin.GetParameter(kPresComp) << ", first " << start;
  Pump(editor.Stepper(), 5);
  Window root = 0, parent = 0, *list = nullptr;
  unsigned int count = 0;
  XQueryTree(window->Connection(), editorWindow, &root, &parent, &list, &count);
  if (list) XFree(list);
  EXPECT_EQ(count, editorChildren) << "a window appeared in the editor";
  EXPECT_EQ(window->Children().size(), 1u);
}

// On a desktop of 192 dpi the editor opens at twice its size, shows what the core draws at
// scale 2, and a drag moves a knob as half its distance does at scale 1.
TEST_F(Vst2Editor, OnADesktopOfTwiceTheDpiTheEditorOpensAtTwiceItsSizeAndADragTravelsHalfAsFar) {
  LICE_MemBitmap* snapshot = SnapshotPicture(2.0);
  ASSERT_NE(snapshot, nullptr) << SnapshotProblem(2.0);
  const ServerDpi desktop(window->Connection(), 192);
  const Window editorWindow = OpenEditor();
  ASSERT_NE(editorWindow, 0u);
  int width = 0, height = 0;
  ASSERT_TRUE(window->Size(width, height));
  EXPECT_EQ(std::vector<int>({width, height}), (std::vector<int>{1808, 832})) << "effEditGetRect's size";
  ASSERT_TRUE(
      ComesToShow(editor.Stepper(), window->Connection(), editorWindow, *snapshot, "vst2_editor_2x.png"));

  const Area knob = KnobArea(kPresComp);
  const float start = plugin.GetParameter(kPresComp);
  PointerInput input(window->Connection(), editorWindow);
  ASSERT_TRUE(input.MoveTo(2 * knob.CentreX(), 2 * knob.CentreY()));
  input.Press();
  input.MoveTo(2 * knob.CentreX(), 2 * knob.CentreY() - 16);
  input.Release();
  ASSERT_TRUE(PumpUntil(
      editor.Stepper(), [&] { return !plugin.Record().endEdits.empty(); }, kArrivalSteps));
  EXPECT_FLOAT_EQ(plugin.GetParameter(kPresComp), static_cast<float>(start + KnobStep(kPresComp, 8)));
}

TEST_F(Vst2Editor, OpeningAndClosingFiftyTimesRaisesNoErrorAndLeavesNoWindowBehind) {
  LICE_MemBitmap* snapshot = SnapshotPicture();
  ASSERT_NE(snapshot, nullptr) << SnapshotProblem();
  XErrorCounter errors;
  const int windows = ServerWindowCount(window->Connection());
  int descriptors = -1;
  for (int i = 0; i < 50; ++i) {
    // After the first opening: whatever the module keeps for the whole process is there by then.
    if (i == 1) descriptors = OpenDescriptorCount();
    const Window editorWindow = OpenEditor();
    ASSERT_NE(editorWindow, 0u) << "opening " << i;
    ASSERT_EQ(window->Children().size(), 1u);
    Pump(editor.Stepper(), 2);
    ASSERT_EQ(editor.Close(), 1);
    ASSERT_TRUE(WaitUntil([&] { return window->Children().empty(); })) << "closing " << i;
  }
  EXPECT_TRUE(WaitUntil([&] { return ServerWindowCount(window->Connection()) == windows; }))
      << ServerWindowCount(window->Connection()) << " windows, " << windows << " before";
  EXPECT_EQ(OpenDescriptorCount(), descriptors) << "connections or files left open";
  // Still the same editor afterwards.
  const Window editorWindow = OpenEditor();
  ASSERT_NE(editorWindow, 0u);
  EXPECT_TRUE(ComesToShow(editor.Stepper(), window->Connection(), editorWindow, *snapshot,
                          "vst2_editor_reopened_mismatch.png"));
  EXPECT_EQ(errors.Count(), 0) << errors.First();
  EXPECT_TRUE(errors.StillInstalled()) << "the plug-in left its own X error handler installed";
}

TEST_F(Vst2Editor, TwoInstancesOpenAtOnceInTwoHostWindowsEachDrawAndTakeTheirOwnPointer) {
  LICE_MemBitmap* snapshot = SnapshotPicture();
  ASSERT_NE(snapshot, nullptr) << SnapshotProblem();
  VstHost second;
  ASSERT_TRUE(Started(second));
  HostWindow secondWindow(200, 100, 0, layout::kEditorHeight + 40);
  ASSERT_TRUE(secondWindow.IsOpen());
  Vst2EditorHost secondEditor(second);
  const Window first = OpenEditor();
  const Window other = OpenEditor(secondEditor, secondWindow);
  ASSERT_NE(first, 0u);
  ASSERT_NE(other, 0u);
  EXPECT_NE(first, other);
  // One loop step of a host with two editors idles both.
  const LoopStep both = [&] {
    editor.Step();
    secondEditor.Step();
  };
  // Both on the screen before anyone touches them.
  ASSERT_TRUE(
      ComesToShow(both, window->Connection(), first, *snapshot, "vst2_editor_first_of_two_mismatch.png"));
  ASSERT_TRUE(ComesToShow(both, secondWindow.Connection(), other, *snapshot,
                          "vst2_editor_second_of_two_mismatch.png"));

  const Area knob = KnobArea(kPresComp);
  plugin.ClearRecord();
  second.ClearRecord();
  PointerInput input(secondWindow.Connection(), other);
  input.MoveTo(knob.CentreX(), knob.CentreY());
  input.Press();
  input.MoveTo(knob.CentreX(), knob.CentreY() - 12);
  input.Release();
  EXPECT_TRUE(PumpUntil(
      both, [&] { return !second.Record().endEdits.empty(); }, kArrivalSteps));
  EXPECT_TRUE(plugin.Record().automations.empty());
  EXPECT_EQ(second.Record().automations.size(), 1u);
  EXPECT_NE(second.GetParameter(kPresComp), plugin.GetParameter(kPresComp));

  // Each draws its own: the first shows the default state, the second its turned knob.
  EXPECT_TRUE(
      ComesToShow(both, window->Connection(), first, *snapshot, "vst2_editor_first_of_two_mismatch.png"));
  WindowPicture picture;
  Difference turned;
  EXPECT_TRUE(PumpUntil(
      both,
      [&] {
        return CaptureWindow(secondWindow.Connection(), other, picture) &&
               (turned = Compare(picture, *snapshot)).pixels > 0;
      },
      kMaxSteps));
  EXPECT_TRUE(knob.Contains(turned.bounds.left, turned.bounds.top) &&
              knob.Contains(turned.bounds.right - 1, turned.bounds.bottom - 1));

  EXPECT_EQ(secondEditor.Close(), 1);
  EXPECT_TRUE(WaitUntil([&] { return secondWindow.Children().empty(); }));
  // The first keeps drawing after the other closed: a wheel notch shows on its knob.
  PointerInput firstInput(window->Connection(), first);
  firstInput.MoveTo(knob.CentreX(), knob.CentreY());
  firstInput.Wheel(PointerInput::kWheelUp);
  EXPECT_TRUE(PumpUntil(
      editor.Stepper(),
      [&] {
        return CaptureWindow(window->Connection(), first, picture) && Compare(picture, *snapshot).pixels > 0;
      },
      kMaxSteps));
}

}  // namespace
