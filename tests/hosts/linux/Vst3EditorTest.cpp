// The Linux VST3 module's editor view in the test host's X window, driven as a Linux VST 3 host
// drives it: the view's platform and attachment with the host's frame as its run loop, what it
// registers there and takes back, a knob dragged and turned with XTest (begin, perform, end at
// the component handler, the controller's value following), the window's pixels against the
// snapshot command's picture, many openings, two instances.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "engine/BrelvaneLayout.h"
#include "engine/BrelvaneParams.h"
#include "hosts/linux/HostWindow.h"
#include "hosts/linux/PointerInput.h"
#include "hosts/linux/Vst2EditorHost.h"
#include "hosts/linux/Vst3EditorHost.h"
#include "hosts/vst3/Vst3Host.h"
#include "tests/hosts/linux/EditorRig.h"
#include "tests/support/linux/PrivateXServer.h"

namespace {

using brel::Vst3Edit;
using brel::Vst3Host;
using namespace brel::x11;
using namespace x11test;
using namespace Steinberg;

constexpr Vst::ParamID kPresComp = BrelvaneParamIndex::kPresComp;
constexpr Vst::ParamID kCrispy = BrelvaneParamIndex::kCrispy;

// Created, set up and run for one block of silence, as the snapshot's plug-in is.
::testing::AssertionResult Started(Vst3Host& plugin) {
  if (!plugin.Load(BRELVANE_VST3_BUNDLE) || !plugin.CreatePlugin())
    return ::testing::AssertionFailure() << plugin.LastError();
  if (!plugin.Setup(48000.0, 512) || !plugin.Start()) return ::testing::AssertionFailure() << "no start";
  std::vector<float> silence(512, 0.0f), left(512), right(512);
  float* inputs[2] = {silence.data(), silence.data()};
  float* outputs[2] = {left.data(), right.data()};
  if (plugin.Process(inputs, 2, outputs, 2, 512) != kResultOk)
    return ::testing::AssertionFailure() << "no block";
  return ::testing::AssertionSuccess();
}

int ChildCount(Display* display, Window window) {
  Window root = 0, parent = 0, *list = nullptr;
  unsigned int count = 0;
  XQueryTree(display, window, &root, &parent, &list, &count);
  if (list) XFree(list);
  return static_cast<int>(count);
}

class Vst3Editor : public ::testing::Test {
protected:
  void SetUp() override {
    BREL_REQUIRE_X_SERVER();
    window = std::make_unique<HostWindow>(200, 100);
    ASSERT_TRUE(window->IsOpen()) << window->Problem();
    ASSERT_TRUE(PointerInput::Available(window->Connection())) << "the server offers no XTest";
    ASSERT_TRUE(Started(plugin));
    editor = std::make_unique<Vst3EditorHost>(plugin);
    ASSERT_TRUE(editor->CreateView()) << "the controller made no view";
    ASSERT_TRUE(editor->SupportsX11()) << "the view takes no X11 parent: the module announces no editor";
  }
  Window OpenEditor(Vst3EditorHost& host, HostWindow& in) {
    const Window editorWindow = host.Open(in);
    EXPECT_NE(editorWindow, 0u) << "attached answered " << host.AttachAnswer();
    return editorWindow;
  }
  Window OpenEditor() { return OpenEditor(*editor, *window); }
  bool EditsReach(std::size_t count) {
    return PumpUntil(
        editor->Stepper(), [&] { return plugin.Handler().Edits().size() >= count; }, kArrivalSteps);
  }

  Vst3Host plugin;
  std::unique_ptr<HostWindow> window;
  std::unique_ptr<Vst3EditorHost> editor;
};

TEST_F(Vst3Editor, TheViewOpensInTheHostWindowThroughItsRunLoopAndTakesBackAllItRegistered) {
  IPlugView& view = *editor->View();
  EXPECT_EQ(view.isPlatformTypeSupported(kPlatformTypeHWND), kResultFalse);
  EXPECT_EQ(view.isPlatformTypeSupported(nullptr), kResultFalse);
  ViewRect size;
  ASSERT_EQ(view.getSize(&size), kResultOk);
  EXPECT_EQ(size.getWidth(), layout::kEditorWidth);
  EXPECT_EQ(size.getHeight(), layout::kEditorHeight);
  // Removed before it was ever attached: harmless, nothing registered.
  EXPECT_EQ(view.removed(), kResultOk);
  EXPECT_EQ(editor->Frame().EventHandlerCount(), 0);
  EXPECT_EQ(editor->Frame().TimerCount(), 0);

  // Another platform's parent opens nothing.
  EXPECT_EQ(editor->Open(*window, kPlatformTypeHWND), 0u);
  EXPECT_EQ(editor->AttachAnswer(), kResultFalse);
  EXPECT_TRUE(window->Children().empty());
  EXPECT_EQ(editor->Frame().EventHandlerCount() + editor->Frame().TimerCount(), 0);

  const Window editorWindow = OpenEditor();
  ASSERT_NE(editorWindow, 0u);
  EXPECT_EQ(editor->AttachAnswer(), kResultOk);
  XWindowAttributes attributes = {};
  ASSERT_TRUE(XGetWindowAttributes(window->Connection(), editorWindow, &attributes));
  EXPECT_EQ(attributes.x, 0);
  EXPECT_EQ(attributes.y, 0);
  EXPECT_EQ(attributes.width, layout::kEditorWidth);
  EXPECT_EQ(attributes.height, layout::kEditorHeight);
  EXPECT_EQ(editor->Frame().EventHandlerCount(), 1) << "one handler for the editor's X connection";
  EXPECT_EQ(editor->Frame().TimerCount(), 1) << "one frame timer";
  const int fires = editor->Frame().TimerFires();
  EXPECT_TRUE(PumpUntil(
      editor->Stepper(), [&] { return editor->Frame().TimerFires() >= fires + 3; }, kMaxSteps))
      << "the frame timer runs from the host's loop";

  EXPECT_EQ(editor->Close(), kResultOk);
  EXPECT_EQ(editor->Frame().EventHandlerCount(), 0);
  EXPECT_EQ(editor->Frame().TimerCount(), 0);
  EXPECT_TRUE(WaitUntil([&] { return window->Children().empty(); }));
  EXPECT_EQ(editor->View()->removed(), kResultOk) << "a second removed is harmless";

  // The same view opens again, and releasing it while attached takes everything back too.
  ASSERT_NE(OpenEditor(), 0u);
  EXPECT_EQ(editor->Frame().EventHandlerCount(), 1);
  editor->Release();
  EXPECT_EQ(editor->Frame().EventHandlerCount() + editor->Frame().TimerCount(), 0);
  EXPECT_TRUE(WaitUntil([&] { return window->Children().empty(); }));
}

TEST_F(Vst3Editor, AHostWithoutARunLoopGetsNoWindow) {
  Vst3EditorHost bare(plugin, RunLoopFrame::Offer::NoRunLoop);
  ASSERT_TRUE(bare.CreateView());
  EXPECT_EQ(bare.Open(*window), 0u);
  EXPECT_EQ(bare.AttachAnswer(), kResultFalse);
  EXPECT_TRUE(WaitUntil([&] { return true; }));
  EXPECT_TRUE(window->Children().empty());
  EXPECT_EQ(bare.Frame().EventHandlerCount() + bare.Frame().TimerCount(), 0);
  EXPECT_EQ(bare.View()->removed(), kResultOk);
}

// Hosts often make the next view before they release the last, and some release a view without
// removing it: the editor's one window belongs to one view at a time, and goes with it.
TEST_F(Vst3Editor, OneViewAtATimeShowsTheEditorAndAViewReleasedWhileShowingItTakesItsWindow) {
  const Window shown = OpenEditor();
  ASSERT_NE(shown, 0u);
  HostWindow otherWindow(200, 100, 0, layout::kEditorHeight + 40);
  ASSERT_TRUE(otherWindow.IsOpen());
  Vst3EditorHost other(plugin);
  ASSERT_TRUE(other.CreateView()) << "a second view may be made";
  EXPECT_EQ(other.Open(otherWindow), 0u);
  EXPECT_EQ(other.AttachAnswer(), kResultFalse) << "while the first shows the editor";
  EXPECT_EQ(other.Frame().EventHandlerCount() + other.Frame().TimerCount(), 0);
  EXPECT_EQ(other.View()->removed(), kResultOk);
  other.Release();
  Pump(editor->Stepper(), 3);
  EXPECT_EQ(window->Children(), std::vector<Window>{shown}) << "the other view closed the shown window";
  EXPECT_EQ(editor->Frame().EventHandlerCount(), 1);
  EXPECT_EQ(editor->Frame().TimerCount(), 1);

  editor->Drop();
  EXPECT_EQ(editor->Frame().EventHandlerCount() + editor->Frame().TimerCount(), 0);
  EXPECT_TRUE(WaitUntil([&] { return window->Children().empty(); })) << "the window outlived its view";
  ASSERT_TRUE(other.CreateView());
  EXPECT_NE(other.Open(otherWindow), 0u) << "the editor is free again";
}

TEST_F(Vst3Editor, TheWindowShowsWhatTheSnapshotCommandDraws) {
  LICE_MemBitmap* snapshot = SnapshotPicture();
  ASSERT_NE(snapshot, nullptr) << SnapshotProblem();
  const Window editorWindow = OpenEditor();
  ASSERT_NE(editorWindow, 0u);
  ASSERT_TRUE(ComesToShow(editor->Stepper(), window->Connection(), editorWindow, *snapshot,
                          "vst3_editor_mismatch.png"));
  WindowPicture picture;
  ASSERT_TRUE(CaptureWindow(window->Connection(), editorWindow, picture));
  ASSERT_TRUE(SavePicture(picture, "vst3_editor.png"));  // for people to look at
  const Difference fromDocs = Compare(picture, ReferencePicture());
  EXPECT_TRUE(fromDocs.sameSize && fromDocs.pixels == 0)
      << fromDocs.pixels << " pixels differ from docs/snapshot.png";
}

TEST_F(Vst3Editor, AKnobDraggedWithXTestIsOneGestureTheWheelStepsItAndADoubleClickReturnsIt) {
  const Window editorWindow = OpenEditor();
  ASSERT_NE(editorWindow, 0u);
  const Area knob = KnobArea(kCrispy);
  const int x = knob.CentreX(), y = knob.CentreY();
  Vst::IEditController& controller = *plugin.Controller();
  const double start = controller.getParamNormalized(kCrispy);
  PointerInput input(window->Connection(), editorWindow);
  ASSERT_TRUE(input.MoveTo(x, y));
  Pump(editor->Stepper(), 2);
  plugin.Handler().Clear();

  input.Press();
  ASSERT_TRUE(EditsReach(1)) << "the press began a gesture";
  for (int i = 1; i <= 3; ++i) {
    input.MoveTo(x, y - 6 * i);
    ASSERT_TRUE(EditsReach(1 + i)) << "step " << i;
  }
  input.Release();
  ASSERT_TRUE(EditsReach(5)) << "the release ended the gesture";
  const std::vector<Vst3Edit> edits = plugin.Handler().Edits();
  ASSERT_EQ(edits.size(), 5u);
  EXPECT_EQ(edits.front().kind, Vst3Edit::Kind::Begin);
  EXPECT_EQ(edits.back().kind, Vst3Edit::Kind::End);
  for (int i = 1; i <= 3; ++i) {
    EXPECT_EQ(edits[i].kind, Vst3Edit::Kind::Perform) << i;
    EXPECT_NEAR(edits[i].value, start + KnobStep(kCrispy, 6 * i), 1e-12) << i;
  }
  for (const Vst3Edit& edit : edits) EXPECT_EQ(edit.id, kCrispy);
  EXPECT_DOUBLE_EQ(controller.getParamNormalized(kCrispy), edits[3].value);

  input.Wheel(PointerInput::kWheelUp);
  ASSERT_TRUE(PumpUntil(
      editor->Stepper(), [&] { return controller.getParamNormalized(kCrispy) != edits[3].value; },
      kArrivalSteps));
  EXPECT_NEAR(controller.getParamNormalized(kCrispy), edits[3].value + 0.01, 1e-12);
  input.Wheel(PointerInput::kWheelDown);
  input.Wheel(PointerInput::kWheelDown);
  EXPECT_TRUE(PumpUntil(
      editor->Stepper(),
      [&] { return std::abs(controller.getParamNormalized(kCrispy) - (edits[3].value - 0.01)) < 1e-12; },
      kArrivalSteps))
      << controller.getParamNormalized(kCrispy);

  // A double click brings it back; the knob offers no value entry, so no box opens.
  const int editorChildren = ChildCount(window->Connection(), editorWindow);
  input.Press();
  input.Release();
  input.Press();
  input.Release();
  EXPECT_TRUE(PumpUntil(
      editor->Stepper(), [&] { return controller.getParamNormalized(kCrispy) == start; }, kArrivalSteps));
  Pump(editor->Stepper(), 5);
  EXPECT_EQ(ChildCount(window->Connection(), editorWindow), editorChildren)
      << "a window appeared in the editor";
  const ParamSpec& presComp = kBrelvaneParams[kPresComp];
  EXPECT_DOUBLE_EQ(controller.getParamNormalized(kPresComp),
                   (presComp.defaultValue - presComp.min) / (presComp.max - presComp.min))
      << "the other knobs stay";
}

TEST_F(Vst3Editor, FiftyViewsMadeAttachedRemovedAndReleasedRaiseNoErrorAndLeaveNothingBehind) {
  LICE_MemBitmap* snapshot = SnapshotPicture();
  ASSERT_NE(snapshot, nullptr) << SnapshotProblem();
  XErrorCounter errors;
  const int windows = ServerWindowCount(window->Connection());
  int descriptors = -1;
  for (int i = 0; i < 50; ++i) {
    // After the first opening: whatever the module keeps for the whole process is there by then.
    if (i == 1) descriptors = OpenDescriptorCount();
    ASSERT_TRUE(editor->CreateView()) << "view " << i;
    ASSERT_NE(editor->Open(*window), 0u) << "attaching " << i;
    ASSERT_EQ(window->Children().size(), 1u);
    Pump(editor->Stepper(), 2);
    ASSERT_EQ(editor->Close(), kResultOk);
    ASSERT_EQ(editor->Frame().EventHandlerCount() + editor->Frame().TimerCount(), 0) << "removing " << i;
    editor->Release();
    ASSERT_TRUE(WaitUntil([&] { return window->Children().empty(); })) << "removing " << i;
  }
  EXPECT_TRUE(WaitUntil([&] { return ServerWindowCount(window->Connection()) == windows; }))
      << ServerWindowCount(window->Connection()) << " windows, " << windows << " before";
  EXPECT_EQ(OpenDescriptorCount(), descriptors) << "connections or files left open";
  ASSERT_TRUE(editor->CreateView());
  const Window editorWindow = OpenEditor();
  ASSERT_NE(editorWindow, 0u);
  EXPECT_TRUE(ComesToShow(editor->Stepper(), window->Connection(), editorWindow, *snapshot,
                          "vst3_editor_reopened_mismatch.png"));
  EXPECT_EQ(errors.Count(), 0) << errors.First();
  EXPECT_TRUE(errors.StillInstalled()) << "the plug-in left its own X error handler installed";
}

TEST_F(Vst3Editor, TwoInstancesOpenAtOnceInTwoHostWindowsEachDrawAndTakeTheirOwnPointer) {
  LICE_MemBitmap* snapshot = SnapshotPicture();
  ASSERT_NE(snapshot, nullptr) << SnapshotProblem();
  Vst3Host second;
  ASSERT_TRUE(Started(second));
  HostWindow secondWindow(200, 100, 0, layout::kEditorHeight + 40);
  ASSERT_TRUE(secondWindow.IsOpen());
  Vst3EditorHost secondEditor(second);
  ASSERT_TRUE(secondEditor.CreateView());
  const Window first = OpenEditor();
  const Window other = OpenEditor(secondEditor, secondWindow);
  ASSERT_NE(first, 0u);
  ASSERT_NE(other, 0u);
  EXPECT_NE(first, other);
  const LoopStep both = [&] {
    editor->Frame().RunOnce(Vst3EditorHost::kStepMilliseconds / 2);
    secondEditor.Frame().RunOnce(Vst3EditorHost::kStepMilliseconds / 2);
  };
  // Both on the screen before anyone touches them.
  ASSERT_TRUE(
      ComesToShow(both, window->Connection(), first, *snapshot, "vst3_editor_first_of_two_mismatch.png"));
  ASSERT_TRUE(ComesToShow(both, secondWindow.Connection(), other, *snapshot,
                          "vst3_editor_second_of_two_mismatch.png"));

  const Area knob = KnobArea(kPresComp);
  plugin.Handler().Clear();
  second.Handler().Clear();
  PointerInput input(window->Connection(), first);
  input.MoveTo(knob.CentreX(), knob.CentreY());
  input.Press();
  input.MoveTo(knob.CentreX(), knob.CentreY() - 12);
  input.Release();
  EXPECT_TRUE(PumpUntil(
      both, [&] { return plugin.Handler().Edits().size() >= 3; }, kArrivalSteps));
  EXPECT_EQ(plugin.Handler().Edits().size(), 3u) << "begin, perform, end";
  EXPECT_TRUE(second.Handler().Edits().empty());

  // Each draws its own: the second shows the default state, the first its turned knob.
  EXPECT_TRUE(ComesToShow(both, secondWindow.Connection(), other, *snapshot,
                          "vst3_editor_second_of_two_mismatch.png"));
  WindowPicture picture;
  Difference turned;
  EXPECT_TRUE(PumpUntil(
      both,
      [&] {
        return CaptureWindow(window->Connection(), first, picture) &&
               (turned = Compare(picture, *snapshot)).pixels > 0;
      },
      kMaxSteps));
  EXPECT_TRUE(knob.Contains(turned.bounds.left, turned.bounds.top) &&
              knob.Contains(turned.bounds.right - 1, turned.bounds.bottom - 1));

  secondEditor.Release();
  EXPECT_TRUE(WaitUntil([&] { return secondWindow.Children().empty(); }));
  EXPECT_EQ(secondEditor.Frame().EventHandlerCount() + secondEditor.Frame().TimerCount(), 0);
  const int fires = editor->Frame().TimerFires();
  EXPECT_TRUE(PumpUntil(
      editor->Stepper(), [&] { return editor->Frame().TimerFires() >= fires + 3; }, kMaxSteps))
      << "the first keeps its timer";
  EXPECT_EQ(window->Children().size(), 1u);
}

}  // namespace
