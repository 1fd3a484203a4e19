#pragma once
// Keeps X protocol errors on one of the editor's connections from reaching the process's error
// handler, whose default ends the process: a host that destroys its window under the editor
// must not lose its session. While a trap lives, errors on its display are counted and dropped;
// errors on any other display (the host's own) go to the handler that was installed before.
// Traps nest; the outermost one installs the handler and restores the previous one. Used only
// on the host's user-interface thread, like everything else of the editor's window.

struct _XDisplay;

class XErrorTrap {
public:
  explicit XErrorTrap(_XDisplay* display);
  // Waits for the server to answer every request made so far, so that their errors are counted
  // here, then restores the previous handler (outermost trap only).
  ~XErrorTrap();
  XErrorTrap(const XErrorTrap&) = delete;
  XErrorTrap& operator=(const XErrorTrap&) = delete;

  // Waits for the server as above; true when an error arrived since the trap was made (or since
  // the last Clear).
  bool Failed();
  void Clear();

private:
  _XDisplay* mDisplay;
  int mErrorsAtStart;
};
