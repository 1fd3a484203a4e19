#include "editor/linux/XErrorTrap.h"

#include <X11/Xlib.h>

namespace {

using Handler = int (*)(Display*, XErrorEvent*);

// A live trap: its display (null once closed), the first request it watches, whether one failed.
struct Trapped {
  Display* display;
  unsigned long firstRequest;
  bool failed;
};

// The trap state: touched only on the host's user-interface thread, and only while a trap lives.
// Nested traps may watch different editors' connections.
int gDepth = 0;
Handler gPrevious = nullptr;
constexpr int kMaxTrapped = 8;
Trapped gTrapped[kMaxTrapped] = {};

int Live() { return gDepth < kMaxTrapped ? gDepth : kMaxTrapped; }

int TrapHandler(Display* display, XErrorEvent* event) {
  bool ours = false;
  for (int i = 0; i < Live(); ++i) {
    if (gTrapped[i].display != display) continue;
    ours = true;
    // An error of a request from before the trap belongs to an earlier call.
    if (event->serial >= gTrapped[i].firstRequest) gTrapped[i].failed = true;
  }
  if (ours) return 0;
  return gPrevious ? gPrevious(display, event) : 0;
}

bool OutermostOf(int slot) {
  for (int i = 0; i < slot; ++i)
    if (gTrapped[i].display == gTrapped[slot].display) return false;
  return true;
}

bool Unanswered(Display* display) { return LastKnownRequestProcessed(display) != NextRequest(display) - 1; }

}  // namespace

XErrorTrap::XErrorTrap(Display* display) : mDisplay(display), mSlot(gDepth < kMaxTrapped ? gDepth : -1) {
  if (gDepth == 0) gPrevious = XSetErrorHandler(&TrapHandler);
  if (mSlot >= 0) gTrapped[mSlot] = Trapped{display, display ? NextRequest(display) : 0, false};
  ++gDepth;
}

XErrorTrap::~XErrorTrap() {
  if (mSlot >= 0) {
    Display* display = gTrapped[mSlot].display;
    if (display && OutermostOf(mSlot) && Unanswered(display)) XSync(display, False);
    gTrapped[mSlot] = Trapped{};
  }
  --gDepth;
  if (gDepth == 0) {
    XSetErrorHandler(gPrevious);
    gPrevious = nullptr;
  }
}

bool XErrorTrap::Failed() {
  if (mSlot < 0 || !gTrapped[mSlot].display) return false;
  XSync(mDisplay, False);
  return gTrapped[mSlot].failed;
}

void XErrorTrap::CloseDisplay() {
  if (!mDisplay) return;
  XCloseDisplay(mDisplay);
  for (int i = 0; i < Live(); ++i)
    if (gTrapped[i].display == mDisplay) gTrapped[i].display = nullptr;
  mDisplay = nullptr;
}
