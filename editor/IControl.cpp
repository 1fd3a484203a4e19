#include "editor/IControl.h"

#include <algorithm>
#include <cmath>

#include "core/IPlugBase.h"
#include "editor/IGraphics.h"

IControl::IControl(IPlugBase* plug, const Rect& rect, int paramIndex, const BlendSpec& blend)
    : mPlug(plug), mRect(rect), mTargetRect(rect), mParamIndex(paramIndex), mBlend(blend) {}

IControl::~IControl() = default;

void IControl::OnMouseDown(int x, int y, const MouseModifiers& mods) {
  if (mods.right) OpenValueEntry();
}

void IControl::OnMouseDoubleClick(int x, int y, const MouseModifiers& mods) {
  if (mDefaultValue >= 0.0) {
    mValue = mDefaultValue;
    MarkDirty(true);
  }
}

namespace {

// A NaN on either side counts as a change.
bool Differs(double a, double b) { return !(a == b); }

}  // namespace

void IControl::ApplyPlugValue(double value) {
  // The first value the core pushes is the parameter's initial one: it becomes the value a
  // double click returns to.
  if (mDefaultValue < 0.0) {
    mValue = mDefaultValue = value;
    return;
  }
  if (Differs(value, mValue)) {
    mValue = value;
    MarkDirty(false);
    mRedrawPending = true;
  }
}

void IControl::ApplyUserValue(double value) {
  if (Differs(value, mValue)) {
    mValue = value;
    MarkDirty(true);
    mRedrawPending = true;
  }
}

void IControl::SetHidden(bool hidden) {
  mHidden = hidden;
  mRedrawPending = true;
  MarkDirty(false);
}

void IControl::SetGrayed(bool grayed) {
  mGrayed = grayed;
  mBlend.weight = grayed ? 0.25f : 1.0f;
  MarkDirty(false);
}

bool IControl::HitTest(int x, int y) {
  const Rect& r = mTargetRect;
  return !r.Empty() && x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

void IControl::MarkDirty(bool pushToPlug) {
  // NaN would pass through clamp and reach the host as an automated value: it counts as the
  // bottom of the range.
  mValue = std::isnan(mValue) ? mClampLow : std::clamp(mValue, mClampLow, mClampHigh);
  mDirty = true;
  if (pushToPlug && mPlug && mParamIndex >= 0) {
    if (mGraphics) {
      mGraphics->SetParamFromEditor(mParamIndex, mValue);
    } else {
      mPlug->SetParamFromEditor(mParamIndex, mValue);
    }
  }
  if ((mValueDisplay || mNameDisplay) && mPlug) {
    if (const IParamDef* param = mPlug->GetParam(mParamIndex)) {
      if (mValueDisplay) {
        char display[32] = {};
        param->FormatValue(mValue, true, display, sizeof(display));
        std::string text(display);
        text += ' ';
        text += std::string(param->GetLabel()).substr(0, 32);
        mValueDisplay->SetText(text);
      }
      if (mNameDisplay) mNameDisplay->SetText(param->GetName());
    }
  }
}

void IControl::MarkClean() {
  mDirty = mRedrawPending;
  mRedrawPending = false;
}

void IControl::SetAuxValueFromPlug(int position, double value) {
  if (position < 0 || position >= AuxParamCount()) return;
  if (Differs(value, mAuxParams[position].value)) {
    mAuxParams[position].value = value;
    MarkDirty(false);
    mRedrawPending = true;
  }
}

void IControl::SetText(const std::string& text) {
  if (text == mText) return;
  MarkDirty(false);
  mText = text;
}

void IControl::OpenValueEntry() {
  if (mParamIndex < 0 || mDisablePrompt || !mPlug || !mGraphics) return;
  const IParamDef* param = mPlug->GetParam(mParamIndex);
  if (!param) return;
  Rect rect = mRect;
  if (param->GetDisplayTextCount() == 0) {
    const int cx = static_cast<int>((mRect.left + mRect.right) * 0.5);
    const int cy = static_cast<int>((mRect.top + mRect.bottom) * 0.5);
    rect = Rect{cx - 20, cy - 8, cx + 20, cy + 8};
  }
  mGraphics->AskValueFromUser(this, mParamIndex, rect);
  mRedrawPending = true;
}

int FrameForValue(double value, int frames) {
  if (frames < 2) return 1;
  const double position = (frames - 1) * value + 0.5;
  // Out-of-range and NaN values land on the nearest end frame.
  if (!(position >= 0.0)) return 1;
  if (position >= frames) return frames;
  return std::clamp(static_cast<int>(position) + 1, 1, frames);
}
