// The Linux CLAP module's editor in the test host's X window, embedded as a Linux CLAP host
// embeds it: the gui's api and size, what it registers in the host's loop while shown (with and
// without the host's posix-fd-support), the window's pixels against the snapshot command's
// picture, a knob dragged with XTest as the host hears it (in processed blocks or in the flushes
// the plug-in asks for), many openings.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "engine/BrelvaneLayout.h"
#include "engine/BrelvaneParams.h"
#include "hosts/clap/ClapHost.h"
#include "hosts/linux/ClapEditorHost.h"
#include "hosts/linux/HostWindow.h"
#include "hosts/linux/PointerInput.h"
#include "tests/hosts/clap/ClapEditorRig.h"
#include "tests/hosts/linux/EditorRig.h"
#include "tests/support/linux/PrivateXServer.h"

namespace {

using brel::ClapHost;
using namespace brel::x11;
using namespace claptest;
using namespace x11test;

constexpr int kPresComp = BrelvaneParamIndex::kPresComp;
constexpr int kDbOutput = BrelvaneParamIndex::kDbOutput;

// One plug-in, the host's window and the editor session; the host offers posix-fd-support or
// leaves the editor to its timers.
struct Rig {
  explicit Rig(bool offerFds = true) { plugin.OfferFdSupport(offerFds); }
  ::testing::AssertionResult Start() {
    if (!window.IsOpen()) return ::testing::AssertionFailure() << window.Problem();
    if (!PointerInput::Available(window.Connection()))
      return ::testing::AssertionFailure() << "the server offers no XTest";
    return Started(plugin, BRELVANE_CLAP_PATH);
  }
  Window Open() {
    const Window editorWindow = editor.Open(window);
    EXPECT_NE(editorWindow, 0u) << editor.Problem();
    return editorWindow;
  }

  ClapHost plugin;
  HostWindow window{200, 100};
  ClapEditorHost editor{plugin};
};

TEST(ClapEditor, TheGuiEmbedsAtItsSizeDrawsTheSnapshotAndUpdatesFromTheHostsLoopOnlyWhileShown) {
  BREL_REQUIRE_X_SERVER();
  LICE_MemBitmap* snapshot = SnapshotPicture();
  ASSERT_NE(snapshot, nullptr) << SnapshotProblem();
  for (const bool offerFds : {true, false}) {
    SCOPED_TRACE(offerFds ? "the host watches the editor's descriptor" : "the host offers timers only");
    const std::string name = offerFds ? "clap_editor" : "clap_editor_timers_only";
    Rig rig(offerFds);
    ASSERT_TRUE(rig.Start());
    EXPECT_FALSE(rig.editor.SupportsApi(CLAP_WINDOW_API_WIN32));
    EXPECT_EQ(rig.editor.Open(rig.window, CLAP_WINDOW_API_WIN32), 0u);
    EXPECT_TRUE(rig.window.Children().empty());

    const Window editorWindow = rig.Open();
    ASSERT_NE(editorWindow, 0u);
    XWindowAttributes attributes = {};
    ASSERT_TRUE(XGetWindowAttributes(rig.window.Connection(), editorWindow, &attributes));
    EXPECT_EQ(attributes.x + attributes.y, 0);
    EXPECT_EQ(attributes.width, layout::kEditorWidth);
    EXPECT_EQ(attributes.height, layout::kEditorHeight);
    EXPECT_FALSE(rig.plugin.Timers().empty());
    EXPECT_EQ(rig.plugin.FdWatches().size(), offerFds ? 1u : 0u) << "the editor's X connection";
    ASSERT_TRUE(rig.editor.Hide());
    EXPECT_TRUE(NothingRegistered(rig.plugin)) << "while hidden";
    ASSERT_TRUE(rig.editor.Show());
    EXPECT_FALSE(rig.plugin.Timers().empty());

    ASSERT_TRUE(ComesToShow(rig.editor.Stepper(), rig.window.Connection(), editorWindow, *snapshot,
                            name + "_mismatch.png"));
    WindowPicture picture;
    ASSERT_TRUE(CaptureWindow(rig.window.Connection(), editorWindow, picture));
    ASSERT_TRUE(SavePicture(picture, name + ".png"));  // for people to look at
    const Difference fromDocs = Compare(picture, ReferencePicture());
    EXPECT_TRUE(fromDocs.sameSize && fromDocs.pixels == 0) << fromDocs.pixels << " pixels differ from docs";

    // The editor hears the pointer from whichever loop the host offers: the knob turns there.
    const Area knob = KnobArea(kDbOutput);
    PointerInput input(rig.window.Connection(), editorWindow);
    ASSERT_TRUE(input.MoveTo(knob.CentreX(), knob.CentreY()));
    input.Wheel(PointerInput::kWheelUp);
    Difference moved;
    EXPECT_TRUE(PumpUntil(
        rig.editor.Stepper(),
        [&] {
          return CaptureWindow(rig.window.Connection(), editorWindow, picture) &&
                 (moved = Compare(picture, *snapshot)).pixels > 0;
        },
        kMaxSteps));
    EXPECT_TRUE(knob.Contains(moved.bounds.left, moved.bounds.top) &&
                knob.Contains(moved.bounds.right - 1, moved.bounds.bottom - 1));

    rig.editor.Close();
    EXPECT_TRUE(NothingRegistered(rig.plugin));
    EXPECT_TRUE(WaitUntil([&] { return rig.window.Children().empty(); }));
    const brel::ClapHostRequests asked = rig.plugin.Requests();
    EXPECT_EQ(
        asked.guiResizeRequests.size() + asked.guiShowRequests + asked.guiHideRequests + asked.guiClosed, 0u)
        << "a fixed embedded editor asks nothing of the host's window";
  }
}

// A host with its audio running hears the editor's edits in the next block; one whose audio is
// off hears them when the plug-in asks for a flush.
TEST(ClapEditor, AKnobDraggedWithXTestReachesTheHostAsOneGestureInBlocksOrFlushes) {
  BREL_REQUIRE_X_SERVER();
  for (const bool audioRuns : {true, false}) {
    SCOPED_TRACE(audioRuns ? "through process" : "through params flush");
    Rig rig;
    ASSERT_TRUE(rig.Start());
    if (!audioRuns) rig.plugin.Deactivate();
    const Window editorWindow = rig.Open();
    ASSERT_NE(editorWindow, 0u);
    const LoopStep step = [&] {
      rig.editor.Step();
      if (audioRuns)
        ProcessSilence(rig.plugin);
      else
        rig.plugin.FlushWhenRequested();
    };
    const auto heard = [&](std::size_t count) {
      return PumpUntil(
          step, [&] { return rig.plugin.OutputEvents().size() >= count; }, kArrivalSteps);
    };
    const Param param = ParamAt(rig.plugin, kPresComp);
    double start = 0.0;
    ASSERT_TRUE(rig.plugin.ParamValue(param.id, start));
    const Area knob = KnobArea(kPresComp);
    PointerInput input(rig.window.Connection(), editorWindow);
    ASSERT_TRUE(input.MoveTo(knob.CentreX(), knob.CentreY()));
    Pump(step, 2);
    rig.plugin.ClearOutputEvents();

    input.Press();
    ASSERT_TRUE(heard(1)) << "the press began a gesture";
    std::vector<double> values;
    for (int i = 1; i <= 3; ++i) {
      input.MoveTo(knob.CentreX(), knob.CentreY() - 6 * i);
      values.push_back(
          param.Plain((start - param.min) / (param.max - param.min) + KnobStep(kPresComp, 6 * i)));
      ASSERT_TRUE(heard(1 + i)) << "step " << i;
    }
    input.Release();
    ASSERT_TRUE(heard(5)) << "the release ended the gesture";
    Pump(step, 3);
    EXPECT_TRUE(IsOneGesture(rig.plugin.OutputEvents(), param.id, values, 1e-9 * (param.max - param.min)));
    double now = 0.0;
    ASSERT_TRUE(rig.plugin.ParamValue(param.id, now));
    EXPECT_NEAR(now, values.back(), 1e-9 * (param.max - param.min));
  }
}

TEST(ClapEditor, FiftyOpeningsAndClosingsRaiseNoErrorAndLeaveNothingBehind) {
  BREL_REQUIRE_X_SERVER();
  LICE_MemBitmap* snapshot = SnapshotPicture();
  ASSERT_NE(snapshot, nullptr) << SnapshotProblem();
  Rig rig;
  ASSERT_TRUE(rig.Start());
  XErrorCounter errors;
  const int windows = ServerWindowCount(rig.window.Connection());
  int descriptors = -1;
  for (int i = 0; i < 50; ++i) {
    // After the first opening: whatever the module keeps for the whole process is there by then.
    if (i == 1) descriptors = OpenDescriptorCount();
    ASSERT_NE(rig.Open(), 0u) << "opening " << i;
    ASSERT_EQ(rig.window.Children().size(), 1u);
    Pump(rig.editor.Stepper(), 2);
    rig.editor.Close();
    ASSERT_TRUE(NothingRegistered(rig.plugin)) << "closing " << i;
    ASSERT_TRUE(WaitUntil([&] { return rig.window.Children().empty(); })) << "closing " << i;
  }
  EXPECT_TRUE(WaitUntil([&] { return ServerWindowCount(rig.window.Connection()) == windows; }))
      << ServerWindowCount(rig.window.Connection()) << " windows, " << windows << " before";
  EXPECT_EQ(OpenDescriptorCount(), descriptors) << "connections or files left open";
  const Window editorWindow = rig.Open();
  ASSERT_NE(editorWindow, 0u);
  EXPECT_TRUE(ComesToShow(rig.editor.Stepper(), rig.window.Connection(), editorWindow, *snapshot,
                          "clap_editor_reopened_mismatch.png"));
  EXPECT_EQ(errors.Count(), 0) << errors.First();
  EXPECT_TRUE(errors.StillInstalled()) << "the plug-in left its own X error handler installed";
}

}  // namespace
