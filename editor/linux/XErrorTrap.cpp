#include "editor/linux/XErrorTrap.h"

#include <X11/Xlib.h>

namespace {

using Handler = int (*)(Display*, XErrorEvent*);

// The trap state: touched only on the host's user-interface thread, and only while a trap lives.
int gDepth = 0;
Handler gPrevious = nullptr;
// Displays trapped now (nested traps may watch different editors' connections).
constexpr int kMaxTrapped = 8;
Display* gTrapped[kMaxTrapped] = {};
int gErrors = 0;

bool IsTrapped(Display* display) {
  for (int i = 0; i < gDepth && i < kMaxTrapped; ++i)
    if (gTrapped[i] == display) return true;
  return false;
}

int TrapHandler(Display* display, XErrorEvent* event) {
  if (IsTrapped(display)) {
    ++gErrors;
    return 0;
  }
  return gPrevious ? gPrevious(display, event) : 0;
}

}  // namespace

XErrorTrap::XErrorTrap(Display* display) : mDisplay(display), mErrorsAtStart(gErrors) {
  if (gDepth == 0) gPrevious = XSetErrorHandler(&TrapHandler);
  if (gDepth < kMaxTrapped) gTrapped[gDepth] = display;
  ++gDepth;
}

XErrorTrap::~XErrorTrap() {
  if (mDisplay) XSync(mDisplay, False);
  --gDepth;
  if (gDepth < kMaxTrapped) gTrapped[gDepth] = nullptr;
  if (gDepth == 0) {
    XSetErrorHandler(gPrevious);
    gPrevious = nullptr;
  }
}

bool XErrorTrap::Failed() {
  if (mDisplay) XSync(mDisplay, False);
  return gErrors != mErrorsAtStart;
}

void XErrorTrap::Clear() {
  if (mDisplay) XSync(mDisplay, False);
  mErrorsAtStart = gErrors;
}
