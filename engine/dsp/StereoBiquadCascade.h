// Two BiquadCascade channels that always get the same settings, run in the two lanes of one SSE2
// register: the same result as a left and a right BiquadCascade called one after the other, bit
// for bit. Both would cache the same settings and compute the same coefficients from them, and
// count the same calls to their non-finite sweep, so one design and one sweep serve both; each
// lane then performs the same IEEE operations in the same order as the scalar sections, and
// packed operations round (and flush subnormals) in every lane exactly as the scalar ones do.
#pragma once

#include <emmintrin.h>

#include <cmath>

#include "engine/dsp/BiquadCascade.h"

class StereoBiquadCascade {
public:
  // For a caller that holds a DenormalScope, as BiquadCascade::ProcessFlushed.
  void ProcessFlushed(double inL, double inR, double frequency, double q, double sampleRate, FilterType type,
                      int sectionsSelector, double& outL, double& outR) {
    SweepWhenDue();
    mDesign.Update(frequency, q, sampleRate, type);
    const Coefficients k = Broadcast();
    const __m128d y = RunSections(_mm_set_pd(inR, inL), k, BiquadCascade::Sections(sectionsSelector));
    _mm_store_pd(mLastOutput, y);
    outL = mLastOutput[0];
    outR = mLastOutput[1];
  }

  // count calls of ProcessFlushed, frame i with frequency[i]. A run whose frequency does not move
  // (a settled knob) takes the constant-frequency path below.
  void ProcessRunFlushed(const double* inL, const double* inR, const double* frequency, double q,
                         double sampleRate, FilterType type, int sectionsSelector, double* outL, double* outR,
                         int count) {
    if (IsConstant(frequency, count)) {
      ProcessRunFlushed(inL, inR, frequency[0], q, sampleRate, type, sectionsSelector, outL, outR, count);
      return;
    }
    for (int i = 0; i < count; ++i)
      ProcessFlushed(inL[i], inR[i], frequency[i], q, sampleRate, type, sectionsSelector, outL[i], outR[i]);
  }

  // count calls of ProcessFlushed with the same settings. Only the first call can recompute the
  // coefficients: every later one finds them made for these very settings. So they are checked
  // and loaded once, and the frames only run the sections (and the sweep, on its own count).
  void ProcessRunFlushed(const double* inL, const double* inR, double frequency, double q, double sampleRate,
                         FilterType type, int sectionsSelector, double* outL, double* outR, int count) {
    if (count < 1) return;
    mDesign.Update(frequency, q, sampleRate, type);
    const Coefficients k = Broadcast();
    const int sections = BiquadCascade::Sections(sectionsSelector);
    for (int i = 0; i < count; ++i) {
      SweepWhenDue();
      const __m128d y = RunSections(_mm_set_pd(inR[i], inL[i]), k, sections);
      _mm_store_pd(mLastOutput, y);
      outL[i] = mLastOutput[0];
      outR[i] = mLastOutput[1];
    }
  }

private:
  struct Coefficients {
    __m128d b0, b1, b2, a1, a2;
  };

  Coefficients Broadcast() const {
    return {_mm_set1_pd(mDesign.B0()), _mm_set1_pd(mDesign.B1()), _mm_set1_pd(mDesign.B2()),
            _mm_set1_pd(mDesign.A1()), _mm_set1_pd(mDesign.A2())};
  }

  __m128d RunSections(__m128d x, const Coefficients& k, int sections) {
    for (int s = 0; s < sections; ++s) {
      const __m128d z1 = _mm_load_pd(mMemory[2 * s]);
      const __m128d z2 = _mm_load_pd(mMemory[2 * s + 1]);
      // y = b0·x + z1; z1 = b1·x + z2 − a1·y; z2 = b2·x − a2·y, as in BiquadCascade.
      const __m128d y = _mm_add_pd(_mm_mul_pd(k.b0, x), z1);
      _mm_store_pd(mMemory[2 * s], _mm_sub_pd(_mm_add_pd(_mm_mul_pd(k.b1, x), z2), _mm_mul_pd(k.a1, y)));
      _mm_store_pd(mMemory[2 * s + 1], _mm_sub_pd(_mm_mul_pd(k.b2, x), _mm_mul_pd(k.a2, y)));
      x = y;
    }
    return x;
  }

  void SweepWhenDue() {
    if (mSweep.Due()) ClearNonFinite();
  }

  static bool IsConstant(const double* values, int count) {
    for (int i = 1; i < count; ++i)
      if (!(values[i] == values[0])) return false;
    return true;
  }

  void ClearNonFinite() {
    for (auto& memory : mMemory) {
      for (double& z : memory) {
        if (!std::isfinite(z)) z = 0.0;
      }
    }
    for (double& y : mLastOutput) {
      if (!std::isfinite(y)) y = 0.0;
    }
  }

  BiquadDesign mDesign;
  NonFiniteSweep mSweep;
  alignas(16) double mMemory[2 * BiquadCascade::kMaxSections][2] = {};  // {left, right} per memory
  alignas(16) double mLastOutput[2] = {};
};
