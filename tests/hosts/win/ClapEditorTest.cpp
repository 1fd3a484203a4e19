// The Windows CLAP module's editor in the test host's window, embedded as a CLAP host embeds it:
// the gui's api, size and parent, the window's pixels against the reference picture, a knob
// dragged with window messages as the host hears it, many openings.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "engine/BrelvaneParams.h"
#include "hosts/clap/ClapHost.h"
#include "hosts/win/ClapEditorHost.h"
#include "hosts/win/HostWindow.h"
#include "hosts/win/WindowInput.h"
#include "tests/hosts/clap/ClapEditorRig.h"
#include "tests/hosts/win/DesktopDpi.h"
#include "tests/hosts/win/EditorWindowRig.h"

namespace {

using brel::ClapHost;
using namespace brel::win;
using namespace claptest;
using namespace wintest;

constexpr int kCrispy = BrelvaneParamIndex::kCrispy;

class ClapEditor : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(Started(plugin, BRELVANE_CLAP_PATH));
    ASSERT_TRUE(window.IsOpen());
    ASSERT_TRUE(editor.SupportsApi()) << "the plug-in's gui takes no win32 parent";
  }
  HWND OpenEditor() {
    HWND editorWindow = editor.Open(window);
    EXPECT_NE(editorWindow, nullptr) << editor.Problem();
    return editorWindow;
  }

  ClapHost plugin;
  HostWindow window{200, 100};
  ClapEditorHost editor{plugin};
};

TEST_F(ClapEditor, TheGuiEmbedsInTheHostWindowAtItsSizeAndShowsTheReferencePicture) {
  EXPECT_FALSE(editor.SupportsApi(CLAP_WINDOW_API_X11));
  HWND editorWindow = OpenEditor();
  ASSERT_NE(editorWindow, nullptr);
  EXPECT_EQ(GetParent(editorWindow), window.Handle());
  EXPECT_EQ(window.ClientSize().cx, layout::kEditorWidth) << "the host sized its window to the gui";
  RECT client = {};
  GetClientRect(editorWindow, &client);
  EXPECT_EQ(client.right, layout::kEditorWidth);
  EXPECT_EQ(client.bottom, layout::kEditorHeight);
  ASSERT_TRUE(Settled(editorWindow));
  WindowPicture picture;
  ASSERT_TRUE(CaptureWindow(editorWindow, picture));
  SavePicture(picture, "clap_editor.png");  // for people to look at
  EXPECT_TRUE(ShowsReferencePicture(editorWindow, "clap_editor_mismatch.png"));
  editor.Close();
  EXPECT_TRUE(window.Children().empty());
  EXPECT_TRUE(NothingRegistered(plugin));
}

TEST_F(ClapEditor, AKnobDraggedWithWindowMessagesReachesTheHostAsOneGesture) {
  HWND editorWindow = OpenEditor();
  ASSERT_NE(editorWindow, nullptr);
  const Param param = ParamAt(plugin, kCrispy);
  double start = 0.0;
  ASSERT_TRUE(plugin.ParamValue(param.id, start));
  const Area knob = KnobArea(kCrispy);
  const int x = (knob.left + knob.right) / 2, y = (knob.top + knob.bottom) / 2;
  plugin.ClearOutputEvents();
  // A block after each message: the values of one block reach the host as its last.
  const auto block = [&] {
    editor.Step();
    ProcessSilence(plugin);
  };
  WindowInput input(editorWindow);
  input.Press(x, y);
  block();
  std::vector<double> values;
  for (int i = 1; i <= 3; ++i) {
    input.DragTo(x, y - 6 * i);
    block();
    values.push_back(param.Plain((start - param.min) / (param.max - param.min) + KnobStep(kCrispy, 6 * i)));
  }
  input.Release(x, y - 18);
  block();
  EXPECT_TRUE(IsOneGesture(plugin.OutputEvents(), param.id, values, 1e-9 * (param.max - param.min)));
}

class ClapEditorAtDesktopDpi : public ClapEditor {
protected:
  void SetUp() override {
    RequireDesktopAt192Dpi();
    if (!IsSkipped() && !HasFatalFailure()) ClapEditor::SetUp();
  }
};

// A host's set_scale(2) and a host whose factor is refused (0) both open the gui at twice its
// size: the second because the editor then reads the desktop's factor itself.
TEST_F(ClapEditorAtDesktopDpi, TheGuiOpensAtTwiceItsSizeAtTheHostsScaleOrTheDesktops) {
  for (const double hostScale : {2.0, 0.0}) {
    SCOPED_TRACE(hostScale);
    ClapHost instance;
    ASSERT_TRUE(Started(instance, BRELVANE_CLAP_PATH));
    ClapEditorHost gui{instance};
    gui.UseScale(hostScale);
    HWND editorWindow = gui.Open(window);
    ASSERT_NE(editorWindow, nullptr) << gui.Problem();
    EXPECT_EQ(gui.ScaleAnswer(), hostScale > 0);
    RECT client = {};
    GetClientRect(editorWindow, &client);
    EXPECT_EQ(client.right, 2 * layout::kEditorWidth);
    EXPECT_EQ(client.bottom, 2 * layout::kEditorHeight);
    ASSERT_TRUE(Settled(editorWindow));
    EXPECT_TRUE(ShowsPicture(editorWindow, TwiceSizeReference(), "clap_editor_2x_mismatch.png"));
    gui.Close();
  }
}

}  // namespace
