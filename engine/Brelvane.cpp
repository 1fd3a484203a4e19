#include "engine/Brelvane.h"

#include <algorithm>

#include "BrelvaneRelease.h"
#include "EditorWindowHost.h"
#include "core/FourCC.h"
#include "editor/BrelvaneKnob.h"
#include "editor/IBitmapControl.h"
#include "editor/ModeSwitch.h"
#include "editor/VuControl.h"
#include "engine/BrelvaneLayout.h"
#include "engine/DeclareParam.h"
#include "resources/ImageResources.h"

namespace {

constexpr std::int32_t kVersionWord = 0x3F99999A;

// Declares parameter i from the table.
void Declare(IPlugBase& plug, int i) { DeclareParam(*plug.GetParam(i), kBrelvaneParams[i]); }

// The chain keeps the timing it runs for any other "Mode" (a host may set 0).
bool SetsTiming(int mode) { return mode >= 1 && mode <= 4; }

}  // namespace

Brelvane::Brelvane(const PluginInstanceInfo& instanceInfo)
    : PluginAdapter(instanceInfo, kNumParams, "1-1 2-2", kNumPresets, release::kProduct, "", release::kVendor,
                    kVersionWord, FourCC('Q', 'v', 'e', 'l'), FourCC('O', 'r', 'r', 'n')) {
  BuildPlugAndEditor();
  FillEmptyPresets("-", 1);
}

// Parameters and controls are declared in one interleaved order: it fixes both the parameter
// indices and the editor's drawing order.
void Brelvane::BuildPlugAndEditor() {
  auto* editor = new EditorWindowHost(this, layout::kEditorWidth, layout::kEditorHeight, layout::kFrameRate);
  mGraphics = editor;
  const auto load = [editor](const ImageResource& image) {
    return editor->LoadBitmapStrip(image.id, image.fileName, image.frames);
  };

  editor->AddBackground(new IBitmapControl(this, 0, 0, -1, load(kBackgroundImage), BlendSpec{1, 1.0f}));

  for (int i = kPresComp; i <= kDbOutput; ++i) {
    Declare(*this, i);
    const BitmapStrip strip = load(layout::kKnobIsLarge[i] ? kKnobImage : kKnobSmallImage);
    editor->AddControl(new BrelvaneKnob(this, layout::kKnobs[i].x, layout::kKnobs[i].y, i, strip));
  }

  Declare(*this, kPower);
  const BitmapStrip power = load(kPowerSwitchImage);
  editor->AddControl(new ISwitchControl(this, layout::kPowerSwitch.x, layout::kPowerSwitch.y, kPower, power));

  const BitmapStrip limit = load(kLimitSwitchImage);
  Declare(*this, kPLimit);
  Declare(*this, kFLimit);
  editor->AddControl(
      new ISwitchControl(this, layout::kPLimitSwitch.x, layout::kPLimitSwitch.y, kPLimit, limit));
  editor->AddControl(
      new ISwitchControl(this, layout::kFLimitSwitch.x, layout::kFLimitSwitch.y, kFLimit, limit));

  // The meters share every image but their faces; each image is decoded once.
  const BitmapStrip frame = load(kMeterFrameImage);
  const BitmapStrip cap = load(kMeterCapImage);
  const BitmapStrip needle = load(kMeterNeedleImage);
  const BitmapStrip lampOff = load(kLampOffImage);
  const BitmapStrip lampOn = load(kLampOnImage);
  const BitmapStrip green = load(kGreenLedImage);
  const BitmapStrip red = load(kRedLedImage);
  const BitmapStrip presFace = load(kPresCompFaceImage);
  mPresMeter =
      new VuControl(this, layout::kPresMeterX, presFace, needle, frame, cap, lampOff, lampOn, green, red);
  editor->AddControl(mPresMeter);
  const BitmapStrip finalFace = load(kFinalCompFaceImage);
  mFinalMeter =
      new VuControl(this, layout::kFinalMeterX, finalFace, needle, frame, cap, lampOff, lampOn, green, red);
  editor->AddControl(mFinalMeter);
  mChain.SetMeters(&mPresMeter->Feed(), &mFinalMeter->Feed());

  Declare(*this, kMode);
  const ImageResource* buttons[] = {&kModeAImage, &kModeBImage, &kModeCImage, &kModeDImage};
  BitmapStrip strips[4];
  for (int i = 0; i < 4; ++i) strips[i] = load(*buttons[i]);
  for (int i = 0; i < 4; ++i) {
    editor->AddControl(
        new ModeSwitch(this, layout::kModeButtons[i].x, layout::kModeButtons[i].y, i + 1, strips[i]));
  }

  AttachEditor(editor);
}

const MeterFeed& Brelvane::PresMeter() const { return mPresMeter->Feed(); }
const MeterFeed& Brelvane::FinalMeter() const { return mFinalMeter->Feed(); }

MeterFeed* Brelvane::GetMeter(int index) {
  if (index == 0) return &mPresMeter->Feed();
  if (index == 1) return &mFinalMeter->Feed();
  return nullptr;
}

const char* Brelvane::GetMeterName(int index) const {
  if (index == 0) return "Pres Meter";
  if (index == 1) return "Final Meter";
  return "";
}

int Brelvane::HostRate() const {
  // 0 stands for "no usable rate" (the chain then keeps its own); anything beyond an int is
  // beyond every host.
  const double rate = GetSampleRate();
  if (!(rate >= 1.0)) return 0;
  return static_cast<int>(std::min(rate, 2147483647.0));
}

void Brelvane::OnReset() {
  ScopedLock lock(*this);
  mChain.SetSampleRate(HostRate());
}

void Brelvane::OnParamChanged(int paramIndex) {
  ScopedLock lock(*this);
  if (const IParamDef* param = GetParam(paramIndex)) {
    mChain.OnParamChanged(paramIndex, param->GetValue());
    if (paramIndex == kMode && SetsTiming(ModeValue())) mTimingMode = ModeValue();
  }
}

int Brelvane::ModeValue() const { return static_cast<int>(GetParam(kMode)->GetValue()); }

int Brelvane::GetProcessedDelay() {
  ScopedLock lock(*this);
  // Switched off, the output is the input itself.
  if (GetParam(kPower)->GetValue() < 0.5) return 0;
  const int mode = ModeValue();
  return VocalChain::ProcessedDelay(SetsTiming(mode) ? mode : mTimingMode, HostRate());
}

void Brelvane::ProcessDouble(double** inputs, double** outputs, int nFrames) {
  mChain.Process(inputs, outputs, nFrames, GetParam(kPower)->GetValue(), HostRate());
}

PluginAdapter* MakePlug(const PluginInstanceInfo& instanceInfo) { return new Brelvane(instanceInfo); }
