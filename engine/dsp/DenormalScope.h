// Flush-to-zero and denormals-are-zero for the lifetime of the object (MXCSR bits 0x8040),
// restoring the caller's floating-point mode afterwards. Recursive filters decaying into the
// subnormal range would otherwise slow to a crawl.
#pragma once

#include <xmmintrin.h>

class DenormalScope {
public:
  static constexpr unsigned kFlushBits = 0x8040;

  DenormalScope() : mSaved(_mm_getcsr()) {
    // When the caller already runs with both bits set there is nothing to set or restore.
    if ((mSaved & kFlushBits) != kFlushBits) _mm_setcsr(mSaved | kFlushBits);
  }
  ~DenormalScope() {
    if ((mSaved & kFlushBits) != kFlushBits) _mm_setcsr(mSaved);
  }
  DenormalScope(const DenormalScope&) = delete;
  DenormalScope& operator=(const DenormalScope&) = delete;

private:
  unsigned mSaved;
};
