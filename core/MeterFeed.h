// A needle meter's hand-off from the audio thread to the editor, as EditorParamMailbox is for
// parameter values: the engine publishes each needle level, the lamp flag and the mode with
// relaxed atomic stores, and the editor reads them whenever it draws, without a lock. How the
// needle moves is the engine's (MeterBallistics); this only carries where it is.
#pragma once

#include <atomic>
#include <cmath>

class MeterFeed {
public:
  // +6 dB over the clip threshold: the needle's end stop.
  static constexpr double kCeiling = 1.99526;

  // The needle's position as the engine's ballistics left it, stored as it is.
  void Publish(double needle) { mLevel.store(needle, std::memory_order_relaxed); }

  // Shows a level at once, without the ballistics (a still picture of the meter); within
  // [0, kCeiling], NaN as the ceiling.
  void SetLevel(double level) {
    const double x = std::fabs(level);
    mLevel.store(x < kCeiling ? x : kCeiling, std::memory_order_relaxed);
  }

  double Level() const { return mLevel.load(std::memory_order_relaxed); }
  bool Lamp() const { return mLamp.load(std::memory_order_relaxed); }
  int Mode() const { return mMode.load(std::memory_order_relaxed); }
  void SetLamp(bool on) { mLamp.store(on, std::memory_order_relaxed); }
  void SetMode(int mode) { mMode.store(mode, std::memory_order_relaxed); }

private:
  std::atomic<double> mLevel{0.0};
  std::atomic<bool> mLamp{true};
  std::atomic<int> mMode{0};

  // The audio thread must never take a hidden lock to publish a value.
  static_assert(std::atomic<double>::is_always_lock_free, "meter level needs a lock-free atomic double");
};
