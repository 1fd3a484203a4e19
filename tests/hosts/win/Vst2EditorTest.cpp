// The Windows VST2 module's editor in the test host's window, driven as a VST 2.4 host drives it:
// the editor opcodes, a knob dragged with window messages (one gesture to the host, the parameter
// following), the window's pixels against the reference picture, many openings, two instances;
// and at the desktop's DPI, which VST2 editors follow for want of a host's scale.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <memory>
#include <vector>

#include "engine/BrelvaneParams.h"
#include "hosts/vst2/VstHost.h"
#include "hosts/win/HostWindow.h"
#include "hosts/win/Vst2EditorHost.h"
#include "hosts/win/WindowInput.h"
#include "tests/editor/PlugRig.h"
#include "tests/hosts/win/DesktopDpi.h"
#include "tests/hosts/win/EditorWindowRig.h"

namespace {

using brel::VstHost;
using namespace brel::win;
using namespace wintest;

constexpr int kPresComp = BrelvaneParamIndex::kPresComp;
constexpr int kDbOutput = BrelvaneParamIndex::kDbOutput;

// Loaded, opened and run for one block of silence, as the reference picture's plug-in is.
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
    ASSERT_TRUE(Started(plugin));
    ASSERT_TRUE(window.IsOpen());
  }
  HWND OpenEditor() {
    HWND editorWindow = editor.Open(window);
    EXPECT_NE(editorWindow, nullptr) << "effEditOpen answered " << editor.OpenAnswer();
    return editorWindow;
  }

  VstHost plugin;
  HostWindow window{200, 100};
  Vst2EditorHost editor{plugin};
};

TEST_F(Vst2Editor, TheOpcodesOpenTheEditorInTheHostWindowAtItsRectangleAndCloseIt) {
  EXPECT_EQ(plugin.Flags(),
            effFlagsHasEditor | effFlagsCanMono | effFlagsCanReplacing | effFlagsCanDoubleReplacing);
  ERect rect = {};
  ASSERT_TRUE(editor.Rect(rect));
  EXPECT_EQ(rect.top, 0);
  EXPECT_EQ(rect.left, 0);
  EXPECT_EQ(rect.bottom, layout::kEditorHeight);
  EXPECT_EQ(rect.right, layout::kEditorWidth);
  EXPECT_EQ(plugin.Dispatch(effEditGetRect), 0) << "no place to put the rectangle";

  HWND editorWindow = OpenEditor();
  ASSERT_NE(editorWindow, nullptr);
  EXPECT_EQ(editor.OpenAnswer(), 1);
  EXPECT_EQ(GetParent(editorWindow), window.Handle());
  EXPECT_EQ(GetWindowLongPtrA(editorWindow, GWL_STYLE) & (WS_CHILD | WS_VISIBLE), WS_CHILD | WS_VISIBLE);
  RECT client = {};
  GetClientRect(editorWindow, &client);
  EXPECT_EQ(client.right, layout::kEditorWidth);
  EXPECT_EQ(client.bottom, layout::kEditorHeight);
  EXPECT_EQ(plugin.Dispatch(effEditIdle), 0);
  EXPECT_TRUE(MessagePump::RunTimerTicks(editorWindow, 3, kMaxIterations)) << "the editor draws frames";

  // A key no control takes goes on to the host's window.
  WindowInput(editorWindow).Key(VK_F1);
  EXPECT_EQ(window.KeysDown(), std::vector<UINT>{VK_F1});

  EXPECT_EQ(editor.Close(), 1);
  EXPECT_TRUE(window.Children().empty());
  EXPECT_FALSE(IsWindow(editorWindow));
  EXPECT_EQ(plugin.Dispatch(effEditClose), 1) << "closing a closed editor is harmless";
  EXPECT_EQ(plugin.Dispatch(effEditOpen, 0, 0, nullptr), 0) << "no parent window, no editor";
  EXPECT_TRUE(window.Children().empty());
}

TEST_F(Vst2Editor, AKnobDraggedWithWindowMessagesIsOneGestureAndTheParameterFollows) {
  HWND editorWindow = OpenEditor();
  ASSERT_NE(editorWindow, nullptr);
  const Area knob = KnobArea(kPresComp);
  const int x = (knob.left + knob.right) / 2, y = (knob.top + knob.bottom) / 2;
  const double start = plugin.GetParameter(kPresComp);
  plugin.ClearRecord();

  WindowInput input(editorWindow);
  input.Press(x, y);
  input.DragTo(x, y - 8);
  input.DragTo(x, y - 8);  // no movement, no step
  input.DragTo(x, y - 16);
  input.DragTo(x, y - 26, MK_SHIFT);  // fine: a tenth as much
  input.Release(x, y - 26, MK_SHIFT);

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

  // The wheel: a notch moves the knob by a hundredth, half a notch not at all.
  input.Wheel(x, y, -WHEEL_DELTA);
  EXPECT_NEAR(plugin.GetParameter(kPresComp), expected[2] - 0.01, 1e-6);
  input.Wheel(x, y, WHEEL_DELTA / 2);
  EXPECT_NEAR(plugin.GetParameter(kPresComp), expected[2] - 0.01, 1e-6);
  // A double click brings it back to where the host first had it.
  input.DoubleClick(x, y);
  EXPECT_FLOAT_EQ(plugin.GetParameter(kPresComp), static_cast<float>(start));
}

TEST_F(Vst2Editor, TheWindowShowsTheReferencePictureAndOnlyTheDraggedKnobChanges) {
  HWND editorWindow = OpenEditor();
  ASSERT_NE(editorWindow, nullptr);
  ASSERT_TRUE(Settled(editorWindow));
  WindowPicture picture;
  ASSERT_TRUE(CaptureWindow(editorWindow, picture));
  SavePicture(picture, "vst2_editor.png");  // for people to look at
  EXPECT_TRUE(ShowsReferencePicture(editorWindow, "vst2_editor_mismatch.png"));
  // The saved file holds the very pixels the window showed.
  const std::unique_ptr<LICE_MemBitmap> saved = LoadPicture("vst2_editor.png");
  ASSERT_NE(saved, nullptr);
  int differing = 0;
  for (int y = 0; y < picture.height; ++y)
    for (int x = 0; x < picture.width; ++x)
      differing += RowPointer(*saved, y)[x] != (0xFF000000u | picture.At(x, y));
  EXPECT_EQ(differing, 0);

  const Area knob = KnobArea(kDbOutput);
  const int x = (knob.left + knob.right) / 2, y = (knob.top + knob.bottom) / 2;
  WindowInput input(editorWindow);
  input.Drag(x, y, 0, -10, 4);
  ASSERT_TRUE(MessagePump::RunTimerTicks(editorWindow, 2, kMaxIterations));
  ASSERT_TRUE(CaptureWindow(editorWindow, picture));
  const Difference moved = CompareWithReference(picture);
  EXPECT_GT(moved.pixels, 0) << "the knob turned";
  EXPECT_TRUE(knob.Contains(moved.bounds.left, moved.bounds.top) &&
              knob.Contains(moved.bounds.right - 1, moved.bounds.bottom - 1))
      << "changes outside the knob, within (" << moved.bounds.left << ", " << moved.bounds.top << ") to ("
      << moved.bounds.right << ", " << moved.bounds.bottom << ")";

  input.DoubleClick(x, y);
  ASSERT_TRUE(MessagePump::RunTimerTicks(editorWindow, 2, kMaxIterations));
  EXPECT_TRUE(ShowsReferencePicture(editorWindow, "vst2_editor_reset_mismatch.png"));
}

TEST_F(Vst2Editor, OpeningAndClosingFiftyTimesLeavesNoWindowBehind) {
  const int threadWindows = ThreadWindowCount();
  for (int i = 0; i < 50; ++i) {
    HWND editorWindow = OpenEditor();
    ASSERT_NE(editorWindow, nullptr) << "opening " << i;
    ASSERT_EQ(window.Children().size(), 1u);
    MessagePump::Run(1);
    editor.Idle();
    ASSERT_EQ(editor.Close(), 1);
    ASSERT_TRUE(window.Children().empty()) << "closing " << i;
  }
  EXPECT_EQ(ThreadWindowCount(), threadWindows);
  // Still the same editor afterwards.
  HWND editorWindow = OpenEditor();
  ASSERT_NE(editorWindow, nullptr);
  ASSERT_TRUE(Settled(editorWindow));
  EXPECT_TRUE(ShowsReferencePicture(editorWindow, "vst2_editor_reopened_mismatch.png"));
}

TEST_F(Vst2Editor, TwoInstancesOpenAtOnceEachKeepTheirOwnWindowAndMouse) {
  VstHost second;
  ASSERT_TRUE(Started(second));
  HostWindow secondWindow(200, 100, 0, layout::kEditorHeight + 40);
  Vst2EditorHost secondEditor(second);
  HWND first = OpenEditor();
  HWND other = secondEditor.Open(secondWindow);
  ASSERT_NE(first, nullptr);
  ASSERT_NE(other, nullptr);
  EXPECT_NE(first, other);
  EXPECT_EQ(GetParent(other), secondWindow.Handle());

  const Area knob = KnobArea(kPresComp);
  plugin.ClearRecord();
  second.ClearRecord();
  WindowInput(other).Drag((knob.left + knob.right) / 2, (knob.top + knob.bottom) / 2, 0, -12, 2);
  EXPECT_TRUE(plugin.Record().automations.empty());
  EXPECT_EQ(second.Record().automations.size(), 2u);
  EXPECT_NE(second.GetParameter(kPresComp), plugin.GetParameter(kPresComp));

  ASSERT_TRUE(Settled(first));
  EXPECT_TRUE(ShowsReferencePicture(first, "vst2_editor_first_of_two_mismatch.png"));
  EXPECT_EQ(secondEditor.Close(), 1);
  EXPECT_TRUE(secondWindow.Children().empty());
  // The first keeps drawing after the other closed.
  EXPECT_TRUE(MessagePump::RunTimerTicks(first, 3, kMaxIterations));
  EXPECT_TRUE(ShowsReferencePicture(first, "vst2_editor_after_two_mismatch.png"));
}

class Vst2EditorAtDesktopDpi : public Vst2Editor {
protected:
  void SetUp() override {
    RequireDesktopAt192Dpi();
    if (!IsSkipped() && !HasFatalFailure()) Vst2Editor::SetUp();
  }
};

// Without a host's scale the editor takes the desktop's: twice the size, the core's picture at 2,
// and the pointer's window pixels halved.
TEST_F(Vst2EditorAtDesktopDpi, TheEditorOpensAtTwiceItsSizeShowingTheCoresTwiceSizePicture) {
  ERect rect = {};
  ASSERT_TRUE(editor.Rect(rect));
  EXPECT_EQ(rect.right, 2 * layout::kEditorWidth);
  EXPECT_EQ(rect.bottom, 2 * layout::kEditorHeight);
  HWND editorWindow = OpenEditor();
  ASSERT_NE(editorWindow, nullptr);
  RECT client = {};
  GetClientRect(editorWindow, &client);
  EXPECT_EQ(client.right, 2 * layout::kEditorWidth);
  EXPECT_EQ(client.bottom, 2 * layout::kEditorHeight);

  ASSERT_TRUE(Settled(editorWindow));
  EXPECT_TRUE(ShowsPicture(editorWindow, TwiceSizeReference(), "vst2_editor_2x_mismatch.png"));

  const Area knob = KnobArea(kPresComp);
  const double start = plugin.GetParameter(kPresComp);
  WindowInput(editorWindow).Drag(knob.left + knob.right, knob.top + knob.bottom, 0, -8, 2);
  EXPECT_FLOAT_EQ(plugin.GetParameter(kPresComp), static_cast<float>(start + KnobStep(kPresComp, 8)));
}

}  // namespace
