// The level feed of a needle meter: the audio thread pushes one level per sample and writes the
// lamp flag and mode; the editor reads level, lamp and mode at any time without a lock.
#pragma once

#include <atomic>
#include <cmath>

#include "engine/dsp/EnvelopeFollower.h"

class MeterFeed {
public:
  // +6 dB over the clip threshold: the needle's end stop.
  static constexpr double kCeiling = 1.99526;

  // Peak hold with a 300 ms decay, then a needle that rises toward it with 300 ms and follows a
  // fall at once. A NaN level counts as the ceiling, so the stored level is always within
  // [0, kCeiling] and never NaN, whatever the audio did.
  void pushLevel(double level, int sampleRate) {
    SetRate(sampleRate);
    PushStep(level);
  }

  // pushLevel in two halves, for a caller that pushes many levels at one rate: SetRate once, then
  // PushStep per level.
  void SetRate(int sampleRate) {
    mPeak.SetTimes(sampleRate, 0.0, 300.0);
    mNeedle.SetTimes(sampleRate, 300.0, 0.0);
  }
  void PushStep(double level) {
    const double magnitude = std::fabs(level);
    const double x = magnitude < kCeiling ? magnitude : kCeiling;
    const double peak = mPeak.Step(x);
    const double needle = mNeedle.Step(peak);
    mLevel.store(needle, std::memory_order_relaxed);
  }

  // Shows a level at once, without the followers (a still picture of the meter); within
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
  EnvelopeFollower mPeak;
  EnvelopeFollower mNeedle;
  std::atomic<double> mLevel{0.0};
  std::atomic<bool> mLamp{true};
  std::atomic<int> mMode{0};

  // The audio thread must never take a hidden lock to publish a value.
  static_assert(std::atomic<double>::is_always_lock_free, "meter level needs a lock-free atomic double");
};
