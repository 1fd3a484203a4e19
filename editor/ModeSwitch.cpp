#include "editor/ModeSwitch.h"

#include <cmath>

#include "core/IPlugBase.h"
#include "editor/IBitmapControl.h"
#include "editor/IGraphics.h"

ModeSwitch::ModeSwitch(IPlugBase* plug, int x, int y, int modeNumber, const BitmapStrip& strip)
    : IControl(plug, FrameRect(x, y, strip), kModeParam, BlendSpec{0, 1.0f}),
      mStrip(strip),
      mModeNumber(modeNumber) {}

void ModeSwitch::OnMouseDown(int x, int y, const MouseModifiers& mods) {
  // The core stores the mode from this normalized value, under its lock; a double click picks
  // the same mode again.
  mValue = mDefaultValue = mModeNumber * 0.25;
  MarkDirty(true);
}

int ModeSwitch::CurrentMode() const {
  if (!mGraphics || !mPlug) return 0;
  const IParamDef* param = mPlug->GetParam(mModeParam);
  if (!param) return 0;
  // Metadata only: the real value the core holds for the shown position.
  const double mode = param->SnappedFromNormalized(mGraphics->ShownParamValue(mModeParam));
  return std::isfinite(mode) ? static_cast<int>(mode) : 0;
}

bool ModeSwitch::Draw(IGraphics& graphics) {
  const int mode = CurrentMode();
  mDrawnFrame = FrameForMode(mode);
  graphics.DrawBitmapFrame(mStrip, mRect, mDrawnFrame, mBlend);
  mLastDrawnMode = mode;
  return true;
}

bool ModeSwitch::IsDirty() { return CurrentMode() != mLastDrawnMode; }
