#pragma once
// Keeps X protocol errors on one of the editor's connections from reaching the process's error
// handler, whose default ends the process: a host that destroys its window under the editor
// must not lose its session. While a trap lives, errors on its display are dropped; errors on any
// other display (the host's own) go to the handler that was installed before. Every call a host
// makes holds one; traps nest at no cost, and the outermost one installs the handler and restores
// the previous one. Used only on the host's user-interface thread, like everything else of the
// editor's window.
//
// Waiting for the server is a round trip, which a user on a remote connection feels on every idle
// tick: a trap waits only when asked whether something failed, and when the last trap of its
// display ends while requests of the call are still unanswered (their errors are heard here
// then, and what the call drew is on the screen when it returns). A call that sent nothing waits
// for nothing.

struct _XDisplay;

class XErrorTrap {
public:
  explicit XErrorTrap(_XDisplay* display);
  ~XErrorTrap();
  XErrorTrap(const XErrorTrap&) = delete;
  XErrorTrap& operator=(const XErrorTrap&) = delete;

  // Waits for the server to answer every request made so far; true when one made since the trap
  // began failed.
  bool Failed();
  // Closes the display while its errors are still trapped (closing waits for the server); the
  // traps of the display forget it.
  void CloseDisplay();

private:
  _XDisplay* mDisplay;
  int mSlot;
};
