#pragma once
// A rectangle of the editor that draws itself and reacts to the mouse. It holds the normalized
// value of the parameter it is bound to (if any), and the dirty, hidden and grayed state the
// drawing pass reads. Everything here runs on the editor's thread: values set on a host thread
// reach a control through the editor's mailbox.

#include <string>
#include <vector>

#include "editor/EditorTypes.h"
#include "raster/TextStyle.h"

class IGraphics;
class IPlugBase;

class IControl {
public:
  IControl(IPlugBase* plug, const Rect& rect, int paramIndex = -1, const BlendSpec& blend = BlendSpec{});
  IControl(const IControl&) = delete;
  IControl& operator=(const IControl&) = delete;

  // The order of the virtual operations is part of the interface: keep it.
  virtual ~IControl();
  virtual void OnMouseDown(int x, int y, const MouseModifiers& mods);
  virtual void OnMouseUp(int x, int y, const MouseModifiers& mods) {}
  virtual void OnMouseDrag(int x, int y, int dx, int dy, const MouseModifiers& mods) {}
  virtual void OnMouseDoubleClick(int x, int y, const MouseModifiers& mods);
  virtual void OnMouseWheel(int x, int y, const MouseModifiers& mods, int notches) {}
  virtual bool OnKeyDown(int x, int y, int key) { return false; }
  virtual void OnMouseOver(int x, int y, const MouseModifiers& mods) {}
  virtual void OnMouseOut() {}
  virtual bool Draw(IGraphics& graphics) = 0;
  virtual void ApplyPlugValue(double value);
  virtual void ApplyUserValue(double value);
  virtual void SetTextFromEntry(const char* text) {}
  virtual void SetHidden(bool hidden);
  virtual void SetGrayed(bool grayed);
  virtual bool HitTest(int x, int y);
  virtual void MarkDirty(bool pushToPlug);
  virtual void MarkClean();
  virtual bool IsDirty() { return mDirty; }
  virtual void Hook() {}
  virtual void SetAuxValueFromPlug(int position, double value);

  // Asks the user for a value: a menu for a parameter with display texts, an entry box otherwise.
  void OpenValueEntry();

  // Set by the editor when it takes the control; the control sets its parameter through it.
  void SetGraphics(IGraphics* graphics) { mGraphics = graphics; }
  IGraphics* Graphics() const { return mGraphics; }
  IPlugBase* Plug() const { return mPlug; }

  const Rect& GetRect() const { return mRect; }
  const Rect& GetTargetRect() const { return mTargetRect; }
  void SetTargetRect(const Rect& rect) { mTargetRect = rect; }
  int ParamIndex() const { return mParamIndex; }
  double GetValue() const { return mValue; }
  void SetValue(double value) { mValue = value; }
  double GetDefaultValue() const { return mDefaultValue; }
  bool IsHidden() const { return mHidden; }
  bool IsGrayed() const { return mGrayed; }
  bool RedrawPending() const { return mRedrawPending; }
  bool MouseOverWhenGrayed() const { return mMouseOverWhenGrayed; }
  // A double click reaches this control as a plain mouse-down (and captures the mouse).
  bool DoubleClickAsClick() const { return mDoubleClickAsClick; }
  const BlendSpec& Blend() const { return mBlend; }
  TextStyle& Style() { return mTextStyle; }
  int TextEntryLimit() const { return mTextEntryLimit; }

  struct AuxParam {
    double value;
    int paramIndex;
  };
  void AddAuxParam(int paramIndex) { mAuxParams.push_back({0.0, paramIndex}); }
  int AuxParamCount() const { return static_cast<int>(mAuxParams.size()); }
  const AuxParam& GetAuxParam(int position) const { return mAuxParams[position]; }

  // Controls that show this control's value text ("12.50 dB") or parameter name; none by default.
  void SetValueDisplayLink(IControl* control) { mValueDisplay = control; }
  void SetNameDisplayLink(IControl* control) { mNameDisplay = control; }
  const std::string& GetText() const { return mText; }
  void SetText(const std::string& text);
  void SetTooltip(const std::string& tooltip) { mTooltip = tooltip; }
  const std::string& Tooltip() const { return mTooltip; }

protected:
  int mTextEntryLimit = 7;
  TextStyle mTextStyle;
  IPlugBase* mPlug;
  Rect mRect;
  Rect mTargetRect;
  int mParamIndex;
  std::vector<AuxParam> mAuxParams;
  double mValue = 0.0;
  double mDefaultValue = -1.0;
  double mClampLow = 0.0;
  double mClampHigh = 1.0;
  bool mDirty = true;
  bool mHidden = false;
  bool mGrayed = false;
  bool mRedrawPending = false;
  bool mDisablePrompt = false;
  bool mDoubleClickAsClick = false;
  bool mMouseOverWhenGrayed = false;
  BlendSpec mBlend;
  IControl* mValueDisplay = nullptr;
  IControl* mNameDisplay = nullptr;
  std::string mTooltip;
  std::string mText;
  IGraphics* mGraphics = nullptr;
};

// Frame of an N-frame strip for a normalized value: 1-based, rounded to the nearest frame.
int FrameForValue(double value, int frames);
