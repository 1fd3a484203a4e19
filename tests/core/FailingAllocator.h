#pragma once
// Lets a test refuse memory: while installed, the chosen allocator calls fail.

#include <cstdlib>

#include "core/HeapBuffer.h"

class FailingAllocator {
public:
  FailingAllocator() { HeapBuffer::SetAllocator(&kAllocator); }
  ~FailingAllocator() {
    HeapBuffer::SetAllocator(nullptr);
    sRefuseReallocate = sRefuseAllocate = false;
  }
  void RefuseReallocate(bool refuse) { sRefuseReallocate = refuse; }
  void RefuseAllocate(bool refuse) { sRefuseAllocate = refuse; }
  void RefuseAll(bool refuse) { sRefuseReallocate = sRefuseAllocate = refuse; }

private:
  static void* Reallocate(void* block, std::size_t bytes) {
    return sRefuseReallocate ? nullptr : std::realloc(block, bytes);
  }
  static void* Allocate(std::size_t bytes) { return sRefuseAllocate ? nullptr : std::malloc(bytes); }
  static void Release(void* block) { std::free(block); }

  static inline bool sRefuseReallocate = false;
  static inline bool sRefuseAllocate = false;
  static inline const HeapBuffer::Allocator kAllocator = {Reallocate, Allocate, Release};
};
