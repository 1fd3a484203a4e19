// The LV2 bundle's UI in the test host's X window, embedded as an LV2 host embeds an X11 UI: what
// it serves and refuses, its size and the snapshot's pixels, a dragged knob as the host hears it,
// the host's values, the needles from the playing instance or the meter ports, many openings.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <optional>
#include <sstream>
#include <vector>

#include "BrelvaneRelease.h"
#include "adapters/lv2/Lv2PortLayout.h"
#include "adapters/lv2/Lv2VendorExtension.h"
#include "engine/BrelvaneLayout.h"
#include "engine/BrelvaneParams.h"
#include "hosts/linux/HostWindow.h"
#include "hosts/linux/Lv2EditorHost.h"
#include "hosts/linux/PointerInput.h"
#include "hosts/lv2/Lv2Host.h"
#include "tests/hosts/linux/EditorRig.h"
#include "tests/support/linux/PrivateXServer.h"
#include "tools/brelvane/Snapshot.h"

namespace {

using namespace brel::x11;
using namespace x11test;
using Kind = brel::Lv2UiCall::Kind;

constexpr int kPresComp = BrelvaneParamIndex::kPresComp;
constexpr Lv2PortLayout kPorts{BrelvaneParamIndex::kNumParams, 2, 2};
const std::string kBundle = BRELVANE_LV2_BUNDLE;

// The bundle's stereo plug-in through lilv, at its defaults, after a tone loud enough to move
// both needles; its meters as its private table reads them.
struct Dsp {
  ::testing::AssertionResult Start() {
    std::vector<float> tone(48000), out(tone.size());
    for (std::size_t i = 0; i < tone.size(); ++i) tone[i] = 0.7f * static_cast<float>(std::sin(0.13 * i));
    float* in[2] = {tone.data(), tone.data()};
    float* outs[2] = {out.data(), out.data()};
    if (!host.LoadBundle(kBundle) || !host.Instantiate(release::kLv2StereoUri, 48000.0, 256) ||
        !host.Activate() || !host.Run(in, outs, static_cast<std::uint32_t>(tone.size())))
      return ::testing::AssertionFailure() << host.LastError();
    const Lv2BrelvanePrivate* table = host.Private(release::kLv2PrivateUri);
    if (!table || !table->readMeter(host.Handle(), 0, &pres) || !table->readMeter(host.Handle(), 1, &final))
      return ::testing::AssertionFailure() << "no meters";
    return ::testing::AssertionSuccess();
  }
  brel::Lv2InstanceAccess Access() const { return {host.Handle(), host.Descriptor()->extension_data}; }

  brel::Lv2Host host;
  Lv2MeterReading pres{}, final{};
};

struct Rig {
  ::testing::AssertionResult Start() {
    if (!window.IsOpen()) return ::testing::AssertionFailure() << window.Problem();
    if (!PointerInput::Available(window.Connection()))
      return ::testing::AssertionFailure() << "the server offers no XTest";
    if (!editor.Load(kBundle + "/BrelvaneUI.so", release::kLv2UiUri))
      return ::testing::AssertionFailure() << editor.Problem();
    return ::testing::AssertionSuccess();
  }
  Window Open(const char* plugin = release::kLv2StereoUri, const brel::Lv2InstanceAccess* dsp = nullptr) {
    const Window editorWindow = editor.Open(window, plugin, kBundle, dsp);
    EXPECT_NE(editorWindow, 0u) << editor.Problem();
    return editorWindow;
  }
  ::testing::AssertionResult Shows(LICE_IBitmap& expected, const std::string& name) {
    return ComesToShow(editor.Stepper(), window.Connection(), editor.EditorWindow(), expected, name);
  }

  HostWindow window{200, 100};
  Lv2EditorHost editor;
};

// What `brelvane snapshot` draws with these values and, when given, these needle levels.
std::unique_ptr<LICE_MemBitmap> Snapshot(std::vector<brel::cmd::ParamAssignment> params,
                                         std::optional<brel::cmd::MeterLevels> meters = std::nullopt) {
  brel::cmd::CommandLine request;
  request.command = brel::cmd::Command::Snapshot;
  request.output = PicturePath("brelvane_snapshot_lv2.png");
  request.params = std::move(params);
  request.meters = meters;
  std::ostringstream out, err;
  EXPECT_EQ(brel::cmd::RunSnapshot(request, out, err), 0) << err.str();
  return LoadPicture("brelvane_snapshot_lv2.png");
}

TEST(Lv2Editor, TheUiServesBothPluginsAtItsSizeInTheHostsWindowAndDrawsTheSnapshot) {
  BREL_REQUIRE_X_SERVER();
  LICE_MemBitmap* snapshot = SnapshotPicture();
  ASSERT_NE(snapshot, nullptr) << SnapshotProblem();
  Rig rig;
  ASSERT_TRUE(rig.Start());
  const LV2UI_Descriptor& ui = *rig.editor.Descriptor();
  EXPECT_NE(ui.extension_data(LV2_UI__idleInterface), nullptr);
  EXPECT_EQ(ui.extension_data(LV2_UI__showInterface), nullptr);
  LV2UI_Widget widget = &rig;
  EXPECT_FALSE(ui.instantiate(&ui, release::kLv2StereoUri, "", nullptr, nullptr, &widget, nullptr) || widget)
      << "no ui:parent";
  EXPECT_EQ(rig.editor.Open(rig.window, "urn:another:plugin", kBundle), 0u);

  for (const char* plugin : {release::kLv2StereoUri, release::kLv2MonoUri}) {
    SCOPED_TRACE(plugin);
    const Window editorWindow = rig.Open(plugin);
    ASSERT_NE(editorWindow, 0u);
    EXPECT_EQ(rig.editor.Widget(), editorWindow);
    EXPECT_EQ(rig.editor.ResizeRequests(),
              (std::vector<std::pair<int, int>>{{layout::kEditorWidth, layout::kEditorHeight}}));
    ASSERT_TRUE(rig.Shows(*snapshot, "lv2_editor_mismatch.png"));
    WindowPicture picture;
    ASSERT_TRUE(CaptureWindow(rig.window.Connection(), editorWindow, picture));
    ASSERT_TRUE(SavePicture(picture, "lv2_editor.png"));  // for people to look at
  }
}

// A host's ui:scaleFactor of 2 opens the UI at twice its size, which ui:resize tells, showing what
// the core draws at scale 2; the host's word wins over the desktop's 144 dpi.
TEST(Lv2Editor, TheHostsScaleFactorOpensTheUiAtThatScaleWhateverTheDesktops) {
  BREL_REQUIRE_X_SERVER();
  LICE_MemBitmap* snapshot = SnapshotPicture(2.0);
  ASSERT_NE(snapshot, nullptr) << SnapshotProblem(2.0);
  Rig rig;
  ASSERT_TRUE(rig.Start());
  const ServerDpi desktop(rig.window.Connection(), 144);
  rig.editor.OfferScale(2.0f);
  ASSERT_NE(rig.Open(), 0u);
  EXPECT_EQ(rig.editor.ResizeRequests(), (std::vector<std::pair<int, int>>{{1808, 832}}));
  EXPECT_TRUE(rig.Shows(*snapshot, "lv2_editor_2x_mismatch.png"));
}

// A drag is touch on, the port's plain values, touch off; a host without ui:touch hears the
// values alone.
TEST(Lv2Editor, AKnobDraggedWritesItsPortBetweenTouchesAndTheHostsValuesShowAsThePlugInsDo) {
  BREL_REQUIRE_X_SERVER();
  const ParamSpec& spec = kBrelvaneParams[kPresComp];
  for (const bool touch : {true, false}) {
    SCOPED_TRACE(touch ? "with ui:touch" : "without ui:touch");
    Rig rig;
    ASSERT_TRUE(rig.Start());
    rig.editor.OfferTouch(touch);
    const Window editorWindow = rig.Open();
    ASSERT_NE(editorWindow, 0u);
    const Area knob = KnobArea(kPresComp);
    PointerInput input(rig.window.Connection(), editorWindow);
    ASSERT_TRUE(input.MoveTo(knob.CentreX(), knob.CentreY()));
    Pump(rig.editor.Stepper(), 2);
    const std::size_t touches = touch ? 1 : 0;
    input.Press();
    std::vector<double> values;
    const double start = (spec.defaultValue - spec.min) / (spec.max - spec.min);
    for (int i = 1; i <= 3; ++i) {
      input.MoveTo(knob.CentreX(), knob.CentreY() - 6 * i);
      values.push_back(spec.min + (start + KnobStep(kPresComp, 6 * i)) * (spec.max - spec.min));
      ASSERT_TRUE(PumpUntil(
          rig.editor.Stepper(), [&] { return rig.editor.Calls().size() >= touches + i; }, kArrivalSteps));
    }
    input.Release();
    Pump(rig.editor.Stepper(), 5);
    const std::vector<brel::Lv2UiCall>& calls = rig.editor.Calls();
    ASSERT_EQ(calls.size(), values.size() + 2 * touches);
    if (touch) {
      EXPECT_TRUE(calls.front().kind == Kind::TouchOn && calls.back().kind == Kind::TouchOff);
    }
    for (std::size_t i = 0; i < values.size(); ++i) {
      const brel::Lv2UiCall& call = calls[touches + i];
      EXPECT_TRUE(call.kind == Kind::Value && call.size == sizeof(float) && call.protocol == 0) << i;
      EXPECT_NEAR(call.value, values[i], 1e-6 * (spec.max - spec.min)) << "value " << i;
    }
    for (const brel::Lv2UiCall& call : calls) EXPECT_EQ(call.port, static_cast<std::uint32_t>(kPresComp));

    // The host's values show as the plug-in shows them, the lamps of a switched-off plug-in
    // included, though the UI's engine never runs; they are not written back.
    rig.editor.PortEvent(kPresComp, static_cast<float>(spec.max));
    rig.editor.PortEvent(BrelvaneParamIndex::kPower, 0.0f);
    const auto moved = Snapshot({{spec.name, std::to_string(spec.max)}, {"Power", "0"}});
    ASSERT_NE(moved, nullptr);
    EXPECT_TRUE(rig.Shows(*moved, "lv2_editor_host_values_mismatch.png"));
    EXPECT_EQ(rig.editor.Calls().size(), calls.size()) << "the host's value is not written back";
  }
}

// With instance access the needles are the playing instance's, whatever the meters' ports say;
// without it they are the ports'. Either way they show what the snapshot draws at those levels.
TEST(Lv2Editor, TheNeedlesFollowThePlayingInstanceWhereGrantedAndTheMeterPortsOtherwise) {
  BREL_REQUIRE_X_SERVER();
  Dsp dsp;
  ASSERT_TRUE(dsp.Start());
  const Lv2MeterReading pres = dsp.pres, final = dsp.final;
  ASSERT_TRUE(pres.level > 0.2 && final.level > 0.2);
  for (const bool access : {true, false}) {
    SCOPED_TRACE(access ? "instance access" : "meter ports");
    Rig rig;
    ASSERT_TRUE(rig.Start());
    const brel::Lv2InstanceAccess instance = dsp.Access();
    ASSERT_NE(rig.Open(release::kLv2StereoUri, access ? &instance : nullptr), 0u);
    const float portLevels[2] = {0.75f, 0.5f};
    for (std::uint32_t i = 0; i < 2; ++i) {
      rig.editor.PortEvent(kPorts.FirstMeter() + i, sizeof(double), 0, &pres.level);  // not one float
      rig.editor.PortEvent(kPorts.FirstMeter() + i, portLevels[i]);
    }
    const auto expected = Snapshot(
        {}, access ? brel::cmd::MeterLevels{pres.level, final.level} : brel::cmd::MeterLevels{0.75, 0.5});
    ASSERT_NE(expected, nullptr);
    EXPECT_TRUE(rig.Shows(*expected, access ? "lv2_editor_meters_instance_mismatch.png"
                                            : "lv2_editor_meters_ports_mismatch.png"));
  }
}

// Afterwards, a host that destroys the editor's window hears it from idle.
TEST(Lv2Editor, FiftyOpeningsAndClosingsLeaveNothingBehindAndIdleTellsOfADestroyedWindow) {
  BREL_REQUIRE_X_SERVER();
  LICE_MemBitmap* snapshot = SnapshotPicture();
  ASSERT_NE(snapshot, nullptr) << SnapshotProblem();
  Rig rig;
  ASSERT_TRUE(rig.Start());
  XErrorCounter errors;
  const int windows = ServerWindowCount(rig.window.Connection());
  int descriptors = -1;
  for (int i = 0; i < 50; ++i) {
    // After the first opening: whatever the binary keeps for the whole process is there by then.
    if (i == 1) descriptors = OpenDescriptorCount();
    ASSERT_NE(rig.Open(), 0u) << "opening " << i;
    ASSERT_EQ(rig.window.Children().size(), 1u);
    Pump(rig.editor.Stepper(), 2);
    rig.editor.Close();
    ASSERT_TRUE(WaitUntil([&] { return rig.window.Children().empty(); })) << "closing " << i;
  }
  EXPECT_TRUE(WaitUntil([&] { return ServerWindowCount(rig.window.Connection()) == windows; }))
      << ServerWindowCount(rig.window.Connection()) << " windows, " << windows << " before";
  EXPECT_EQ(OpenDescriptorCount(), descriptors) << "connections or files left open";
  const Window editorWindow = rig.Open();
  ASSERT_NE(editorWindow, 0u);
  EXPECT_TRUE(rig.Shows(*snapshot, "lv2_editor_reopened_mismatch.png"));
  EXPECT_FALSE(rig.editor.UiClosed());
  XDestroyWindow(rig.window.Connection(), editorWindow);
  XSync(rig.window.Connection(), False);
  EXPECT_TRUE(PumpUntil(
      rig.editor.Stepper(), [&] { return rig.editor.UiClosed(); }, kArrivalSteps));
  rig.editor.Close();
  EXPECT_EQ(errors.Count(), 0) << errors.First();
  EXPECT_TRUE(errors.StillInstalled()) << "the UI left its own X error handler installed";
}

}  // namespace
