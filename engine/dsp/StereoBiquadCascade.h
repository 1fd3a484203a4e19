// Two BiquadCascade channels that always get the same settings, run in the two lanes of one SSE2
// register: the same result as a left and a right BiquadCascade called one after the other, bit
// for bit. Both would cache the same settings and compute the same coefficients from them, and
// count the same calls to their non-finite sweep, so one set serves both; each lane then performs
// the same IEEE operations in the same order as the scalar sections, and packed operations round
// (and flush subnormals) in every lane exactly as the scalar ones do.
#pragma once

#include <emmintrin.h>

#include <cmath>

#include "engine/dsp/BiquadCascade.h"

class StereoBiquadCascade {
public:
  // For a caller that holds a DenormalScope, as BiquadCascade::ProcessFlushed.
  void ProcessFlushed(double inL, double inR, double frequency, double q, double sampleRate, FilterType type,
                      int sectionsSelector, double& outL, double& outR) {
    if (mCheckCounter-- < 0) {
      mCheckCounter = 10;
      ClearNonFinite();
    }
    mDesign.UpdateCoefficients(frequency, q, sampleRate, type);
    const __m128d b0 = _mm_set1_pd(mDesign.B0()), b1 = _mm_set1_pd(mDesign.B1()),
                  b2 = _mm_set1_pd(mDesign.B2());
    const __m128d a1 = _mm_set1_pd(mDesign.A1()), a2 = _mm_set1_pd(mDesign.A2());
    const int sections = BiquadCascade::Sections(sectionsSelector);
    __m128d x = _mm_set_pd(inR, inL);
    for (int s = 0; s < sections; ++s) {
      const __m128d z1 = _mm_load_pd(mMemory[2 * s]);
      const __m128d z2 = _mm_load_pd(mMemory[2 * s + 1]);
      // y = b0·x + z1; z1 = b1·x + z2 − a1·y; z2 = b2·x − a2·y, as in BiquadCascade.
      const __m128d y = _mm_add_pd(_mm_mul_pd(b0, x), z1);
      _mm_store_pd(mMemory[2 * s], _mm_sub_pd(_mm_add_pd(_mm_mul_pd(b1, x), z2), _mm_mul_pd(a1, y)));
      _mm_store_pd(mMemory[2 * s + 1], _mm_sub_pd(_mm_mul_pd(b2, x), _mm_mul_pd(a2, y)));
      x = y;
    }
    _mm_store_pd(mLastOutput, x);
    outL = mLastOutput[0];
    outR = mLastOutput[1];
  }

private:
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

  BiquadCascade mDesign;  // only its coefficients and the settings they were made for are used
  alignas(16) double mMemory[2 * BiquadCascade::kMaxSections][2] = {};  // {left, right} per memory
  alignas(16) double mLastOutput[2] = {};
  int mCheckCounter = 1;
};
