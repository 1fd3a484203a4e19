// On Windows the editor's window timer runs on the window's own thread: the host's run loop is
// not needed.
#include "adapters/vst3/Vst3EditorPump.h"

#include "core/IEditor.h"

struct Vst3EditorPump::Handlers {};

bool Vst3EditorPump::CanRun(Steinberg::IPlugFrame*, const IEditor& editor) const {
  return editor.IdlePeriodMs() == 0 && editor.EventFd() < 0;
}

bool Vst3EditorPump::Start(Steinberg::IPlugFrame*, IEditor&) { return true; }

void Vst3EditorPump::Stop() {}
