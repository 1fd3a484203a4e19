#pragma once
// How a parameter value set on one of the host's threads reaches the editor's controls on the
// user-interface thread without a data race. The writer (any thread, under the plug-in lock)
// posts the latest normalized value of a parameter; the editor's timer, on its own thread, takes
// every value posted since its last tick and moves its controls. Only the latest value of each
// parameter counts: nothing queues up, and nothing allocates after construction.

#include <atomic>
#include <memory>

class EditorParamMailbox {
public:
  explicit EditorParamMailbox(int nParams) : mSlots(new Slot[nParams > 0 ? nParams : 0]), mSize(nParams) {}

  int Size() const { return mSize; }

  // Any thread. An index out of range is ignored.
  void Post(int paramIndex, double normalized) {
    if (paramIndex < 0 || paramIndex >= mSize) return;
    Slot& slot = mSlots[paramIndex];
    slot.value.store(normalized, std::memory_order_relaxed);
    // Release: whoever sees the flag sees this value or a later one.
    slot.posted.store(true, std::memory_order_release);
  }

  // The editor's thread: calls apply(index, normalized) once for every parameter posted since the
  // last take, in index order; returns how many. A value posted while this runs is taken now or
  // on the next call, never lost.
  template <class Apply>
  int TakePosted(Apply&& apply) {
    int taken = 0;
    for (int i = 0; i < mSize; ++i) {
      Slot& slot = mSlots[i];
      if (!slot.posted.load(std::memory_order_relaxed)) continue;
      if (!slot.posted.exchange(false, std::memory_order_acquire)) continue;
      apply(i, slot.value.load(std::memory_order_relaxed));
      ++taken;
    }
    return taken;
  }

  // The editor's thread: forgets a value posted for the parameter and not yet taken. The editor
  // calls it when the user sets the parameter, so an older host value cannot overwrite the
  // user's edit on the next tick. A value posted after this call is taken as usual.
  void Discard(int paramIndex) {
    if (paramIndex < 0 || paramIndex >= mSize) return;
    mSlots[paramIndex].posted.store(false, std::memory_order_relaxed);
  }

  // The latest value posted for a parameter, 0.0 before any (or for an index out of range).
  double Latest(int paramIndex) const {
    if (paramIndex < 0 || paramIndex >= mSize) return 0.0;
    return mSlots[paramIndex].value.load(std::memory_order_relaxed);
  }

private:
  struct Slot {
    std::atomic<double> value{0.0};
    std::atomic<bool> posted{false};
  };
  static_assert(std::atomic<double>::is_always_lock_free, "posting must never take a hidden lock");

  std::unique_ptr<Slot[]> mSlots;
  int mSize;
};
