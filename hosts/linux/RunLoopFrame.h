#pragma once
// The host's frame around a VST3 view on Linux, which is also the host's run loop: a view finds
// the loop by asking the frame for Linux::IRunLoop, registers a handler for its X connection's
// file descriptor and a timer, and is called back from RunOnce on the host's user-interface
// thread: handlers whose descriptor is readable (poll), then timers whose interval has gone by.
// A frame can be made without the run loop, as a host that offers none would be.
//
// It counts what is registered, so tests can check that a removed view leaves nothing behind,
// and how often timers fired. Resizes the view asks for are the frame's (Vst3PlugFrame).

#include <chrono>
#include <vector>

#include "hosts/vst3/Vst3PlugFrame.h"
#include "pluginterfaces/gui/iplugview.h"

namespace brel::x11 {

class RunLoopFrame : public Vst3PlugFrame, public Steinberg::Linux::IRunLoop {
public:
  enum class Offer { RunLoop, NoRunLoop };

  explicit RunLoopFrame(Offer offer = Offer::RunLoop);
  ~RunLoopFrame() override;  // releases whatever is still registered

  // IRunLoop. A null handler, a negative descriptor or a zero interval is refused
  // (kInvalidArgument); unregistering a handler that is not registered answers kResultFalse.
  Steinberg::tresult PLUGIN_API registerEventHandler(Steinberg::Linux::IEventHandler* handler,
                                                     Steinberg::Linux::FileDescriptor fd) override;
  Steinberg::tresult PLUGIN_API unregisterEventHandler(Steinberg::Linux::IEventHandler* handler) override;
  Steinberg::tresult PLUGIN_API registerTimer(Steinberg::Linux::ITimerHandler* handler,
                                              Steinberg::Linux::TimerInterval milliseconds) override;
  Steinberg::tresult PLUGIN_API unregisterTimer(Steinberg::Linux::ITimerHandler* handler) override;

  // FUnknown, counted once for both interfaces: IPlugFrame always, IRunLoop only when offered.
  Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override;
  Steinberg::uint32 PLUGIN_API addRef() override { return Vst3PlugFrame::addRef(); }
  Steinberg::uint32 PLUGIN_API release() override { return Vst3PlugFrame::release(); }

  // Waits at most maxWaitMilliseconds (less when a timer falls due sooner) for a registered
  // descriptor to become readable, then calls the handlers of the readable ones and the timers
  // that are due. A handler unregistered by an earlier call of the same step is not called.
  void RunOnce(int maxWaitMilliseconds);

  int EventHandlerCount() const { return static_cast<int>(mHandlers.size()); }
  int TimerCount() const { return static_cast<int>(mTimers.size()); }
  int TimerFires() const { return mTimerFires; }

private:
  using Clock = std::chrono::steady_clock;
  struct Handler {
    Steinberg::Linux::IEventHandler* handler;
    int fd;
  };
  struct Timer {
    Steinberg::Linux::ITimerHandler* handler;
    Clock::duration interval;
    Clock::time_point due;
  };
  bool IsRegistered(Steinberg::Linux::IEventHandler* handler, int fd) const;
  bool IsRegistered(Steinberg::Linux::ITimerHandler* handler) const;

  Offer mOffer;
  std::vector<Handler> mHandlers;
  std::vector<Timer> mTimers;
  int mTimerFires = 0;
};

}  // namespace brel::x11
