// Flush-to-zero and denormals-are-zero for the lifetime of the object (MXCSR bits 0x8040),
// restoring the caller's floating-point mode afterwards. Recursive filters decaying into the
// subnormal range would otherwise slow to a crawl.
#pragma once

#include <xmmintrin.h>

class DenormalScope {
public:
  static constexpr unsigned kFlushBits = 0x8040;

  DenormalScope() : saved_(_mm_getcsr()) {
    // When the caller already runs with both bits set there is nothing to set or restore.
    if ((saved_ & kFlushBits) != kFlushBits) _mm_setcsr(saved_ | kFlushBits);
  }
  ~DenormalScope() {
    if ((saved_ & kFlushBits) != kFlushBits) _mm_setcsr(saved_);
  }
  DenormalScope(const DenormalScope&) = delete;
  DenormalScope& operator=(const DenormalScope&) = delete;

private:
  unsigned saved_;
};
