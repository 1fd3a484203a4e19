#pragma once
// A test-only way into the editor of a loaded VST2 module: the seam module answers one extra
// effVendorSpecific request that plays mouse input and timer frames into the plug-in's editor,
// inside the module, as a window host would. The shipped module has no such request.
#include "adapters/vst2/VstInterface.h"

namespace vst2seam {

constexpr VstInt32 kSeamIndex = 0x45645365;  // 'EdSe'
constexpr VstIntPtr kSeamAnswer = 0x5EA4;

enum Action : VstIntPtr {
  kMouseDown = 1,
  kMouseDrag = 2,
  kMouseUp = 3,
  kMouseWheel = 4,
  kTimerFrame = 5,   // take posted values, draw what is dirty
  kControlValue = 6  // the value of control `control` into `value`
};

struct SeamRequest {
  int x = 0;
  int y = 0;
  int shift = 0;
  int notches = 0;
  int control = 0;
  double value = 0.0;
};

}  // namespace vst2seam
