// The Windows VST3 module's editor view in the test host's window, driven as a VST 3 host drives
// it: the view's platform, size and attachment, a knob dragged with window messages (begin,
// perform, end at the component handler, the controller's value following), the window's pixels
// against the reference picture, many openings, two instances.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "engine/BrelvaneParams.h"
#include "hosts/vst3/Vst3Host.h"
#include "hosts/win/HostWindow.h"
#include "hosts/win/Vst3EditorHost.h"
#include "hosts/win/WindowInput.h"
#include "tests/hosts/win/EditorWindowRig.h"

namespace {

using brel::Vst3Edit;
using brel::Vst3Host;
using namespace brel::win;
using namespace wintest;
using namespace Steinberg;

constexpr Vst::ParamID kPresComp = BrelvaneParamIndex::kPresComp;
constexpr Vst::ParamID kCrispy = BrelvaneParamIndex::kCrispy;

// Created, set up and run for one block of silence, as the reference picture's plug-in is.
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

class Vst3Editor : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(Started(plugin));
    ASSERT_TRUE(window.IsOpen());
    ASSERT_TRUE(editor.CreateView()) << "the controller made no view";
  }
  HWND OpenEditor() {
    HWND editorWindow = editor.Open(window);
    EXPECT_NE(editorWindow, nullptr) << "attached answered " << editor.AttachAnswer();
    return editorWindow;
  }

  Vst3Host plugin;
  HostWindow window{200, 100};
  Vst3EditorHost editor{plugin};
};

TEST_F(Vst3Editor, TheViewTakesWindowsParentsAndAnswersItsSizeBeforeItIsAttached) {
  IPlugView& view = *editor.View();
  EXPECT_TRUE(editor.SupportsWindows());
  EXPECT_EQ(view.isPlatformTypeSupported(kPlatformTypeX11EmbedWindowID), kResultFalse);
  EXPECT_EQ(view.isPlatformTypeSupported(nullptr), kResultFalse);
  ViewRect size;
  ASSERT_EQ(view.getSize(&size), kResultOk);
  EXPECT_EQ(size.left, 0);
  EXPECT_EQ(size.top, 0);
  EXPECT_EQ(size.right, layout::kEditorWidth);
  EXPECT_EQ(size.bottom, layout::kEditorHeight);
  // The editor's window takes mouse, keys and focus itself, and keeps its size.
  EXPECT_EQ(view.canResize(), kResultFalse);
  EXPECT_EQ(view.checkSizeConstraint(&size), kResultFalse);
  EXPECT_EQ(view.onWheel(1.0f), kResultFalse);
  EXPECT_EQ(view.onKeyDown('a', 0, 0), kResultFalse);
  EXPECT_EQ(view.onKeyUp('a', 0, 0), kResultFalse);
  EXPECT_EQ(view.onFocus(true), kResultFalse);
  EXPECT_EQ(plugin.Controller()->createView("Editor"), nullptr);

  HWND editorWindow = OpenEditor();
  ASSERT_NE(editorWindow, nullptr);
  EXPECT_EQ(editor.AttachAnswer(), kResultOk);
  EXPECT_EQ(GetParent(editorWindow), window.Handle());
  EXPECT_EQ(window.ClientSize().cx, layout::kEditorWidth) << "the host sized its window to the view";
  RECT client = {};
  GetClientRect(editorWindow, &client);
  EXPECT_EQ(client.right, layout::kEditorWidth);
  EXPECT_EQ(client.bottom, layout::kEditorHeight);
  EXPECT_TRUE(MessagePump::RunTimerTicks(editorWindow, 3, kMaxIterations)) << "the editor draws frames";
  EXPECT_EQ(editor.Close(), kResultOk);
  EXPECT_TRUE(window.Children().empty());
  EXPECT_TRUE(editor.Frame().Requests().empty()) << "nothing in this editor resizes it";

  // Another platform's parent opens nothing, and the view says so: the host must not think it
  // shows an editor.
  EXPECT_EQ(editor.Open(window, kPlatformTypeX11EmbedWindowID), nullptr);
  EXPECT_EQ(editor.AttachAnswer(), kResultFalse);
  EXPECT_TRUE(window.Children().empty());
  EXPECT_EQ(editor.Close(), kResultFalse) << "nothing was attached";
  // The same view opens the editor again.
  ASSERT_NE(editor.Open(window), nullptr);
  EXPECT_EQ(editor.Close(), kResultOk);
  EXPECT_TRUE(window.Children().empty());

  // Two views of one controller are distinct.
  IPlugView* another = plugin.Controller()->createView(Vst::ViewType::kEditor);
  ASSERT_NE(another, nullptr);
  EXPECT_NE(another, editor.View());
  another->release();
}

TEST_F(Vst3Editor, AKnobDraggedWithWindowMessagesIsOneGestureAndTheControllerFollows) {
  HWND editorWindow = OpenEditor();
  ASSERT_NE(editorWindow, nullptr);
  const Area knob = KnobArea(kCrispy);
  const int x = (knob.left + knob.right) / 2, y = (knob.top + knob.bottom) / 2;
  const double start = plugin.Controller()->getParamNormalized(kCrispy);
  plugin.Handler().Clear();

  WindowInput input(editorWindow);
  input.Drag(x, y, 0, -6, 3);
  const std::vector<Vst3Edit> edits = plugin.Handler().Edits();
  ASSERT_EQ(edits.size(), 5u);
  EXPECT_EQ(edits.front().kind, Vst3Edit::Kind::Begin);
  EXPECT_EQ(edits.back().kind, Vst3Edit::Kind::End);
  for (int i = 1; i <= 3; ++i) {
    EXPECT_EQ(edits[i].kind, Vst3Edit::Kind::Perform) << i;
    EXPECT_NEAR(edits[i].value, start + KnobStep(kCrispy, 6 * i), 1e-12) << i;
  }
  for (const Vst3Edit& edit : edits) EXPECT_EQ(edit.id, kCrispy);
  EXPECT_DOUBLE_EQ(plugin.Controller()->getParamNormalized(kCrispy), edits[3].value);

  input.Wheel(x, y, WHEEL_DELTA);
  EXPECT_NEAR(plugin.Controller()->getParamNormalized(kCrispy), edits[3].value + 0.01, 1e-12);
  input.DoubleClick(x, y);
  EXPECT_DOUBLE_EQ(plugin.Controller()->getParamNormalized(kCrispy), start);
  EXPECT_DOUBLE_EQ(plugin.Controller()->getParamNormalized(kPresComp),
                   (kBrelvaneParams[kPresComp].defaultValue - kBrelvaneParams[kPresComp].min) /
                       (kBrelvaneParams[kPresComp].max - kBrelvaneParams[kPresComp].min))
      << "the other knobs stay";
}

TEST_F(Vst3Editor, TheWindowShowsTheReferencePicture) {
  HWND editorWindow = OpenEditor();
  ASSERT_NE(editorWindow, nullptr);
  ASSERT_TRUE(Settled(editorWindow));
  WindowPicture picture;
  ASSERT_TRUE(CaptureWindow(editorWindow, picture));
  SavePicture(picture, "vst3_editor.png");  // for people to look at
  EXPECT_TRUE(ShowsReferencePicture(editorWindow, "vst3_editor_mismatch.png"));
}

TEST_F(Vst3Editor, FiftyViewsMadeAttachedRemovedAndReleasedLeaveNoWindowBehind) {
  const int threadWindows = ThreadWindowCount();
  for (int i = 0; i < 50; ++i) {
    ASSERT_TRUE(editor.CreateView()) << "view " << i;
    ASSERT_TRUE(editor.SupportsWindows());
    ASSERT_NE(editor.Open(window), nullptr) << "attaching " << i;
    ASSERT_EQ(window.Children().size(), 1u);
    MessagePump::Run(1);
    ASSERT_EQ(editor.Close(), kResultOk);
    ASSERT_TRUE(window.Children().empty()) << "removing " << i;
    editor.Release();
  }
  EXPECT_EQ(ThreadWindowCount(), threadWindows);
  ASSERT_TRUE(editor.CreateView());
  HWND editorWindow = OpenEditor();
  ASSERT_NE(editorWindow, nullptr);
  ASSERT_TRUE(Settled(editorWindow));
  EXPECT_TRUE(ShowsReferencePicture(editorWindow, "vst3_editor_reopened_mismatch.png"));
}

TEST_F(Vst3Editor, TwoInstancesOpenAtOnceEachKeepTheirOwnWindowAndMouse) {
  Vst3Host second;
  ASSERT_TRUE(Started(second));
  HostWindow secondWindow(200, 100, 0, layout::kEditorHeight + 40);
  Vst3EditorHost secondEditor(second);
  ASSERT_TRUE(secondEditor.CreateView());
  HWND first = OpenEditor();
  HWND other = secondEditor.Open(secondWindow);
  ASSERT_NE(first, nullptr);
  ASSERT_NE(other, nullptr);
  EXPECT_NE(first, other);

  const Area knob = KnobArea(kPresComp);
  plugin.Handler().Clear();
  second.Handler().Clear();
  WindowInput(first).Drag((knob.left + knob.right) / 2, (knob.top + knob.bottom) / 2, 0, -12, 2);
  EXPECT_EQ(plugin.Handler().Edits().size(), 4u);
  EXPECT_TRUE(second.Handler().Edits().empty());

  ASSERT_TRUE(Settled(other));
  EXPECT_TRUE(ShowsReferencePicture(other, "vst3_editor_second_of_two_mismatch.png"));
  secondEditor.Release();
  EXPECT_TRUE(secondWindow.Children().empty());
  EXPECT_TRUE(MessagePump::RunTimerTicks(first, 3, kMaxIterations)) << "the first keeps drawing";
  EXPECT_EQ(window.Children().size(), 1u);
}

}  // namespace
