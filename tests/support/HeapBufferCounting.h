#pragma once
// Routes every HeapBuffer block through AllocationCounter's counted C-style functions while it
// lives, so the core's own buffers (scratch, pointer arrays, lists) are counted as well: they take
// their memory from malloc, not from operator new.

#include "core/HeapBuffer.h"
#include "tests/support/AllocationCounter.h"

class HeapBufferCounting {
public:
  HeapBufferCounting() { HeapBuffer::SetAllocator(&kCounted); }
  ~HeapBufferCounting() { HeapBuffer::SetAllocator(nullptr); }
  HeapBufferCounting(const HeapBufferCounting&) = delete;
  HeapBufferCounting& operator=(const HeapBufferCounting&) = delete;

private:
  static inline const HeapBuffer::Allocator kCounted = {
      AllocationCounter::CountedRealloc, AllocationCounter::CountedMalloc, AllocationCounter::CountedFree};
};
