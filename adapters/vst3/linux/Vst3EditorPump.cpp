// On Linux the host's run loop (Steinberg::Linux::IRunLoop, offered by the view's frame) drives
// the editor: a handler on the editor's X connection and a timer at its frame period both call
// its Idle.
#include "adapters/vst3/Vst3EditorPump.h"

#include <atomic>
#include <new>

#include "core/IEditor.h"

using namespace Steinberg;

namespace {

Linux::IRunLoop* RunLoopOf(IPlugFrame* frame) {
  if (!frame) return nullptr;
  Linux::IRunLoop* loop = nullptr;
  if (frame->queryInterface(Linux::IRunLoop::iid, reinterpret_cast<void**>(&loop)) != kResultOk)
    return nullptr;
  return loop;
}

}  // namespace

// The two handler interfaces the run loop calls, on one counted object.
struct Vst3EditorPump::Handlers : public Linux::IEventHandler, public Linux::ITimerHandler {
  explicit Handlers(IEditor* e) : editor(e) {}
  virtual ~Handlers() = default;

  void PLUGIN_API onFDIsSet(Linux::FileDescriptor) override {
    if (editor) editor->Idle();
  }
  void PLUGIN_API onTimer() override {
    if (editor) editor->Idle();
  }

  tresult PLUGIN_API queryInterface(const TUID iid, void** obj) override {
    if (!obj) return kInvalidArgument;
    *obj = nullptr;
    if (FUnknownPrivate::iidEqual(iid, Linux::IEventHandler::iid) ||
        FUnknownPrivate::iidEqual(iid, FUnknown::iid)) {
      *obj = static_cast<Linux::IEventHandler*>(this);
    } else if (FUnknownPrivate::iidEqual(iid, Linux::ITimerHandler::iid)) {
      *obj = static_cast<Linux::ITimerHandler*>(this);
    } else {
      return kNoInterface;
    }
    addRef();
    return kResultOk;
  }
  uint32 PLUGIN_API addRef() override { return ++refs; }
  uint32 PLUGIN_API release() override {
    const uint32 left = --refs;
    if (left == 0) delete this;
    return left;
  }

  std::atomic<uint32> refs{1};
  IEditor* editor;                  // cleared when the registrations are taken back
  Linux::IRunLoop* loop = nullptr;  // counted
  bool eventHandler = false;
  bool timer = false;
};

bool Vst3EditorPump::CanRun(IPlugFrame* frame, const IEditor& editor) const {
  if (editor.IdlePeriodMs() == 0 && editor.EventFd() < 0) return true;  // nothing to drive
  Linux::IRunLoop* loop = RunLoopOf(frame);
  if (!loop) return false;
  loop->release();
  return true;
}

bool Vst3EditorPump::Start(IPlugFrame* frame, IEditor& editor) {
  Stop();
  const int fd = editor.EventFd();
  const int period = editor.IdlePeriodMs();
  if (fd < 0 && period <= 0) return true;
  Linux::IRunLoop* loop = RunLoopOf(frame);
  if (!loop) return false;
  auto* handlers = new (std::nothrow) Handlers(&editor);
  if (!handlers) {
    loop->release();
    return false;
  }
  handlers->loop = loop;
  mHandlers = handlers;
  if (fd >= 0) {
    handlers->eventHandler = loop->registerEventHandler(handlers, fd) == kResultOk;
    if (!handlers->eventHandler) {
      Stop();
      return false;
    }
  }
  if (period > 0) {
    handlers->timer = loop->registerTimer(handlers, static_cast<Linux::TimerInterval>(period)) == kResultOk;
    if (!handlers->timer) {
      Stop();
      return false;
    }
  }
  return true;
}

void Vst3EditorPump::Stop() {
  Handlers* handlers = mHandlers;
  if (!handlers) return;
  mHandlers = nullptr;
  if (handlers->eventHandler) handlers->loop->unregisterEventHandler(handlers);
  if (handlers->timer) handlers->loop->unregisterTimer(handlers);
  handlers->editor = nullptr;  // a host that calls it once more reaches nothing
  handlers->loop->release();
  handlers->loop = nullptr;
  handlers->release();
}
