#include "hosts/linux/RunLoopFrame.h"

#include <poll.h>

#include <algorithm>

namespace brel::x11 {

using namespace Steinberg;
using namespace Steinberg::Linux;

RunLoopFrame::RunLoopFrame(Offer offer) : mOffer(offer) {}

RunLoopFrame::~RunLoopFrame() {
  for (Handler& entry : mHandlers) entry.handler->release();
  for (Timer& timer : mTimers) timer.handler->release();
}

tresult PLUGIN_API RunLoopFrame::registerEventHandler(IEventHandler* handler, FileDescriptor fd) {
  if (!handler || fd < 0) return kInvalidArgument;
  handler->addRef();
  mHandlers.push_back(Handler{handler, fd});
  return kResultOk;
}

tresult PLUGIN_API RunLoopFrame::unregisterEventHandler(IEventHandler* handler) {
  if (!handler) return kInvalidArgument;
  bool found = false;
  for (auto it = mHandlers.begin(); it != mHandlers.end();) {
    if (it->handler != handler) {
      ++it;
      continue;
    }
    it = mHandlers.erase(it);
    handler->release();
    found = true;
  }
  return found ? kResultOk : kResultFalse;
}

tresult PLUGIN_API RunLoopFrame::registerTimer(ITimerHandler* handler, TimerInterval milliseconds) {
  if (!handler || milliseconds == 0) return kInvalidArgument;
  handler->addRef();
  const auto interval = std::chrono::milliseconds(milliseconds);
  mTimers.push_back(Timer{handler, interval, Clock::now() + interval});
  return kResultOk;
}

tresult PLUGIN_API RunLoopFrame::unregisterTimer(ITimerHandler* handler) {
  if (!handler) return kInvalidArgument;
  bool found = false;
  for (auto it = mTimers.begin(); it != mTimers.end();) {
    if (it->handler != handler) {
      ++it;
      continue;
    }
    it = mTimers.erase(it);
    handler->release();
    found = true;
  }
  return found ? kResultOk : kResultFalse;
}

tresult PLUGIN_API RunLoopFrame::queryInterface(const TUID iid, void** obj) {
  if (!obj) return kInvalidArgument;
  if (mOffer != Offer::RunLoop || !FUnknownPrivate::iidEqual(iid, IRunLoop::iid))
    return Vst3PlugFrame::queryInterface(iid, obj);
  *obj = static_cast<IRunLoop*>(this);
  addRef();
  return kResultOk;
}

bool RunLoopFrame::IsRegistered(IEventHandler* handler, int fd) const {
  return std::any_of(mHandlers.begin(), mHandlers.end(),
                     [&](const Handler& entry) { return entry.handler == handler && entry.fd == fd; });
}

bool RunLoopFrame::IsRegistered(ITimerHandler* handler) const {
  return std::any_of(mTimers.begin(), mTimers.end(),
                     [&](const Timer& timer) { return timer.handler == handler; });
}

void RunLoopFrame::RunOnce(int maxWaitMilliseconds) {
  Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(maxWaitMilliseconds);
  for (const Timer& timer : mTimers) deadline = std::min(deadline, timer.due);
  // Rounded up: a timer due within the next millisecond is waited for, not spun on.
  const auto wait = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();

  // The lists are copied: a handler may register or unregister while it is being called.
  const std::vector<Handler> handlers = mHandlers;
  std::vector<pollfd> fds;
  for (const Handler& entry : handlers) fds.push_back(pollfd{entry.fd, POLLIN, 0});
  const int ready = poll(fds.data(), fds.size(), static_cast<int>(std::max<long long>(wait, 0)));
  if (ready > 0) {
    for (std::size_t i = 0; i < fds.size(); ++i) {
      if (!(fds[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
      if (!IsRegistered(handlers[i].handler, handlers[i].fd)) continue;
      handlers[i].handler->onFDIsSet(handlers[i].fd);
    }
  }

  const Clock::time_point now = Clock::now();
  std::vector<ITimerHandler*> due;
  for (Timer& timer : mTimers) {
    if (timer.due > now) continue;
    due.push_back(timer.handler);
    timer.due = now + timer.interval;  // a late step fires once, not once per missed interval
  }
  for (ITimerHandler* handler : due) {
    if (!IsRegistered(handler)) continue;
    ++mTimerFires;
    handler->onTimer();
  }
}

}  // namespace brel::x11
