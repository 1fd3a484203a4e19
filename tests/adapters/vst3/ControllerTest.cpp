// The controller side of the bundle: the parameter list, conversions and texts, units and
// program list, views, and what initialize and terminate do to them.

#include <cmath>

#include "pluginterfaces/gui/iplugview.h"
#include "pluginterfaces/gui/iplugviewcontentscalesupport.h"
#include "pluginterfaces/vst/ivstunits.h"
#include "public.sdk/source/vst/utility/stringconvert.h"
#include "tests/adapters/vst3/Vst3Fixture.h"

using namespace Steinberg;
using namespace vst3test;

namespace {

std::string Text(const Vst::TChar* text) { return Vst::StringConvert::convert(text); }

using Controller = PluginTest;

TEST_F(Controller, ListsThePresetAndBypassParametersBeforeTheCoreOnes) {
  ASSERT_EQ(host.ParamCount(), 13);
  Vst::ParameterInfo info;
  ASSERT_TRUE(host.ParamInfo(0, info));
  EXPECT_EQ(info.id, kPreset);
  EXPECT_EQ(Text(info.title), "Preset");
  EXPECT_EQ(info.stepCount, 1) << "one preset";
  EXPECT_EQ(info.flags, Vst::ParameterInfo::kIsProgramChange);
  ASSERT_TRUE(host.ParamInfo(1, info));
  EXPECT_EQ(info.id, kBypass);
  EXPECT_EQ(Text(info.title), "Bypass");
  EXPECT_EQ(info.stepCount, 1);
  EXPECT_EQ(info.flags, 0x10009);

  for (int i = 0; i < kNumParams; ++i) {
    ASSERT_TRUE(host.ParamInfo(i + 2, info));
    const ParamSpec& spec = kBrelvaneParams[i];
    const bool continuous = spec.type == ParamType::Double;
    EXPECT_EQ(info.id, static_cast<ParamID>(spec.index));
    EXPECT_EQ(Text(info.title), spec.name);
    EXPECT_EQ(Text(info.units), spec.label) << spec.name;
    EXPECT_EQ(info.stepCount, continuous ? 0 : static_cast<int>(spec.max - spec.min)) << spec.name;
    EXPECT_NEAR(info.defaultNormalizedValue, (spec.defaultValue - spec.min) / (spec.max - spec.min), 1e-12)
        << spec.name;
    EXPECT_EQ(info.flags, Vst::ParameterInfo::kCanAutomate);
    EXPECT_EQ(info.unitId, Vst::kRootUnitId);
  }
}

TEST_F(Controller, TextsComeFromTheCoreParametersOnly) {
  EXPECT_EQ(host.ParamText(kPresComp, 0.5), "10.00");
  EXPECT_EQ(host.ParamText(kMode, 0.5), "B");
  EXPECT_EQ(host.ParamText(kPower, 0.0), "off");
  Vst::String128 text = {};
  EXPECT_EQ(EditController().getParamStringByValue(kBypass, 1.0, text), kResultFalse);
  EXPECT_EQ(EditController().getParamStringByValue(kPreset, 0.0, text), kResultFalse);
  EXPECT_EQ(EditController().getParamStringByValue(kNumParams, 0.0, text), kResultFalse);
}

TEST_F(Controller, PlainAndNormalizedValuesConvertWithoutStepRounding) {
  EXPECT_DOUBLE_EQ(EditController().normalizedParamToPlain(kMode, 0.3), 1.2);
  EXPECT_DOUBLE_EQ(EditController().plainParamToNormalized(kPresComp, 25.0), 1.0);
  EXPECT_DOUBLE_EQ(EditController().plainParamToNormalized(kPresComp, 100.0), 1.0) << "clamped first";
  EXPECT_DOUBLE_EQ(EditController().plainParamToNormalized(kPreset, 7.0), 7.0);
  EXPECT_DOUBLE_EQ(EditController().plainParamToNormalized(kBypass, 3.5), 3.5);
}

TEST_F(Controller, SettingANormalizedValueTellsNobody) {
  EXPECT_EQ(EditController().setParamNormalized(kMode, 0.3), kResultOk);
  EXPECT_DOUBLE_EQ(EditController().getParamNormalized(kMode), 0.25) << "rounded to the step";
  EXPECT_TRUE(host.Handler().Edits().empty());
  EXPECT_EQ(EditController().setParamNormalized(kPreset, 0.5), kResultFalse);
  EXPECT_EQ(EditController().setParamNormalized(kNumParams, 0.5), kResultFalse);
  EXPECT_DOUBLE_EQ(EditController().getParamNormalized(kNumParams), 0.0);
  EXPECT_EQ(EditController().setParamNormalized(kPresComp, -HUGE_VAL), kResultFalse) << "no control position";
}

TEST_F(Controller, TheRootIsTheOnlyUnitAndThePresetsAnUnclaimedList) {
  FUnknownPtr<Vst::IUnitInfo> units(host.Component());
  ASSERT_TRUE(units);
  EXPECT_EQ(units->getUnitCount(), 1);
  Vst::UnitInfo unit;
  ASSERT_EQ(units->getUnitInfo(0, unit), kResultOk);
  EXPECT_EQ(unit.id, 0);
  EXPECT_EQ(unit.parentUnitId, -1);
  EXPECT_EQ(unit.programListId, -1);
  EXPECT_EQ(Text(unit.name), "Root Unit");
  EXPECT_EQ(units->getUnitInfo(1, unit), kResultFalse);
  EXPECT_EQ(units->getUnitInfo(-1, unit), kResultFalse);

  EXPECT_EQ(units->getProgramListCount(), 0);
  Vst::ProgramListInfo list;
  ASSERT_EQ(units->getProgramListInfo(0, list), kResultOk);
  EXPECT_EQ(list.id, static_cast<Vst::ProgramListID>(kPreset));
  EXPECT_EQ(Text(list.name), "Factory Presets");
  EXPECT_EQ(list.programCount, 1);
  EXPECT_EQ(units->getProgramListInfo(1, list), kResultFalse);

  Vst::String128 name = {};
  ASSERT_EQ(units->getProgramName(kPreset, 0, name), kResultOk);
  EXPECT_EQ(Text(name), "-");
  ASSERT_EQ(units->getProgramName(kPreset, 5, name), kResultOk);
  EXPECT_EQ(Text(name), "");
  EXPECT_EQ(units->getProgramName(kPreset + 1, 0, name), kResultFalse);
  EXPECT_EQ(units->getSelectedUnit(), 0);
  EXPECT_EQ(units->selectUnit(0), kNotImplemented);
}

TEST_F(Controller, AViewIsOfferedOnlyWhereTheEditorCanOpenAWindow) {
  // Without a window host on the platform, hosts get no view and show their generic controls.
  EXPECT_EQ(EditController().createView("Editor"), nullptr);
  EXPECT_EQ(EditController().createView(nullptr), nullptr);
  IPlugView* view = EditController().createView(Vst::ViewType::kEditor);
  EXPECT_EQ(view != nullptr, BREL_EXPECT_EDITOR_WINDOW != 0);
  if (view) view->release();
}

// The host's content scale sizes the view in the platform's pixels, held within 1 to 3.
TEST_F(Controller, TheHostsContentScaleSizesTheViewWithinTheEditorsRange) {
  IPtr<IPlugView> view = owned(EditController().createView(Vst::ViewType::kEditor));
  if (!view) GTEST_SKIP() << "no editor window on this platform";
  FUnknownPtr<IPlugViewContentScaleSupport> scaling(view);
  ASSERT_TRUE(scaling);
  const std::pair<float, int> cases[] = {{2.0f, 1808}, {0.0f, 904}, {5.0f, 2712}, {NAN, 904}};
  for (const auto& [factor, width] : cases) {
    EXPECT_EQ(scaling->setContentScaleFactor(factor), kResultOk);
    ViewRect size;
    ASSERT_EQ(view->getSize(&size), kResultOk);
    EXPECT_EQ(std::vector<int>({size.getWidth(), size.getHeight()}),
              (std::vector<int>{width, width * 416 / 904}))
        << factor;
  }
}

TEST_F(Controller, ASecondInitializeIsRefusedButStillRestoresPresetZero) {
  ASSERT_EQ(EditController().setParamNormalized(kPresComp, 1.0), kResultOk);
  EXPECT_EQ(host.Component()->initialize(&host.Context()), kResultFalse);
  EXPECT_EQ(host.ParamCount(), 13);
  EXPECT_NEAR(EditController().getParamNormalized(kPresComp), 17.5 / 30.0, 1e-12);

  EXPECT_EQ(host.Component()->terminate(), kResultOk);
  EXPECT_EQ(host.ParamCount(), 0);
  EXPECT_EQ(host.Component()->getBusCount(Vst::kAudio, Vst::kOutput), 0);
  EXPECT_EQ(host.Component()->initialize(&host.Context()), kResultOk);
  EXPECT_EQ(host.ParamCount(), 13);
}

}  // namespace
