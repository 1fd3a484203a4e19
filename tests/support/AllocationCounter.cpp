#include "tests/support/AllocationCounter.h"

#include <cstdint>
#include <cstdlib>
#include <new>

// The replaced operators take their blocks from malloc and give them back with free, so they
// stay compatible with blocks the C library hands out and with sanitizers that watch malloc:
// AddressSanitizer still sees every block, its overruns (for an over-aligned block, those past
// its alignment slack), its use after release and its leaks.
// What it no longer sees in an executable that links this is a new[] released with plain delete
// (or with free), since all of them end in free here.

namespace {

// The innermost running counter of this thread; each counter links to the one it started in.
// A plain pointer needs no constructor, so reading it from operator new is safe at any time,
// also before main and while threads wind down.
thread_local AllocationCounter* tInnermost = nullptr;

// An aligned block keeps the malloc'd address just below the aligned one, so release can find it.
// Portable, where aligned_alloc is not everywhere and _aligned_malloc is not standard.
void* AllocateAligned(std::size_t bytes, std::size_t alignment) {
  if (alignment < alignof(void*)) alignment = alignof(void*);
  const std::size_t extra = alignment + sizeof(void*);
  if (bytes > SIZE_MAX - extra) return nullptr;
  void* raw = std::malloc(bytes + extra);
  if (!raw) return nullptr;
  const std::uintptr_t first = reinterpret_cast<std::uintptr_t>(raw) + sizeof(void*);
  const std::uintptr_t aligned = (first + alignment - 1) & ~static_cast<std::uintptr_t>(alignment - 1);
  reinterpret_cast<void**>(aligned)[-1] = raw;
  return reinterpret_cast<void*>(aligned);
}

void ReleaseAligned(void* block) {
  if (block) std::free(static_cast<void**>(block)[-1]);
}

void* Obtain(std::size_t bytes, std::size_t alignment) {
  // No object can be larger than the difference of two pointers; refusing such sizes here also
  // keeps them from a sanitizer's allocator, which would stop the program instead of failing.
  if (bytes > static_cast<std::size_t>(PTRDIFF_MAX)) return nullptr;
  if (bytes == 0) bytes = 1;  // every successful new returns a distinct block
  return alignment ? AllocateAligned(bytes, alignment) : std::malloc(bytes);
}

// The standard contract of the throwing forms: call the new-handler until memory comes or there
// is no handler left, then throw.
void* AllocateOrThrow(std::size_t bytes, std::size_t alignment) {
  for (;;) {
    if (void* block = Obtain(bytes, alignment)) {
      AllocationCounter::NoteAllocation(bytes);
      return block;
    }
    std::new_handler handler = std::get_new_handler();
    if (!handler) throw std::bad_alloc();
    handler();
  }
}

void* AllocateOrNull(std::size_t bytes, std::size_t alignment) noexcept {
  try {
    return AllocateOrThrow(bytes, alignment);
  } catch (...) {
    return nullptr;
  }
}

void Release(void* block, bool aligned) noexcept {
  if (!block) return;
  AllocationCounter::NoteRelease();
  if (aligned) {
    ReleaseAligned(block);
  } else {
    std::free(block);
  }
}

}  // namespace

AllocationCounter::AllocationCounter() : mOuter(tInnermost) { tInnermost = this; }

AllocationCounter::~AllocationCounter() { Stop(); }

void AllocationCounter::Stop() {
  if (!mRunning) return;
  mRunning = false;
  // Usually the innermost; a counter stopped out of order is unlinked where it sits.
  AllocationCounter** link = &tInnermost;
  while (*link && *link != this) link = &(*link)->mOuter;
  if (*link) *link = mOuter;
  mOuter = nullptr;
}

std::size_t AllocationCounter::RecordedSize(int index) const {
  if (index < 0 || index >= kRecordedSizes || index >= mAllocations) return 0;
  return mSizes[index];
}

std::string AllocationCounter::Describe() const {
  std::string text = std::to_string(mAllocations) + (mAllocations == 1 ? " allocation" : " allocations");
  if (mAllocations > 0) {
    text += " (";
    const long shown = mAllocations < kRecordedSizes ? mAllocations : kRecordedSizes;
    for (long i = 0; i < shown; ++i) text += (i ? ", " : "") + std::to_string(mSizes[i]);
    text += mAllocations > shown ? ", ... bytes)" : " bytes)";
  }
  text += ", " + std::to_string(mReleases) + (mReleases == 1 ? " release" : " releases");
  return text;
}

void AllocationCounter::NoteAllocation(std::size_t bytes) {
  for (AllocationCounter* counter = tInnermost; counter; counter = counter->mOuter) {
    if (counter->mAllocations < kRecordedSizes) counter->mSizes[counter->mAllocations] = bytes;
    ++counter->mAllocations;
  }
}

void AllocationCounter::NoteRelease() {
  for (AllocationCounter* counter = tInnermost; counter; counter = counter->mOuter) ++counter->mReleases;
}

void* AllocationCounter::CountedMalloc(std::size_t bytes) {
  void* block = std::malloc(bytes);
  if (block) NoteAllocation(bytes);
  return block;
}

void* AllocationCounter::CountedRealloc(void* block, std::size_t bytes) {
  void* moved = std::realloc(block, bytes);
  if (moved) {
    NoteAllocation(bytes);
    if (block) NoteRelease();
  } else if (bytes == 0 && block) {
    NoteRelease();  // a C library may take a zero size as a release
  }
  return moved;
}

void AllocationCounter::CountedFree(void* block) {
  if (block) NoteRelease();
  std::free(block);
}

// ---- The replaced global operators: every standard form, so no call slips past the count.

void* operator new(std::size_t bytes) { return AllocateOrThrow(bytes, 0); }
void* operator new[](std::size_t bytes) { return AllocateOrThrow(bytes, 0); }
void* operator new(std::size_t bytes, const std::nothrow_t&) noexcept { return AllocateOrNull(bytes, 0); }
void* operator new[](std::size_t bytes, const std::nothrow_t&) noexcept { return AllocateOrNull(bytes, 0); }
void* operator new(std::size_t bytes, std::align_val_t alignment) {
  return AllocateOrThrow(bytes, static_cast<std::size_t>(alignment));
}
void* operator new[](std::size_t bytes, std::align_val_t alignment) {
  return AllocateOrThrow(bytes, static_cast<std::size_t>(alignment));
}
void* operator new(std::size_t bytes, std::align_val_t alignment, const std::nothrow_t&) noexcept {
  return AllocateOrNull(bytes, static_cast<std::size_t>(alignment));
}
void* operator new[](std::size_t bytes, std::align_val_t alignment, const std::nothrow_t&) noexcept {
  return AllocateOrNull(bytes, static_cast<std::size_t>(alignment));
}

void operator delete(void* block) noexcept { Release(block, false); }
void operator delete[](void* block) noexcept { Release(block, false); }
void operator delete(void* block, const std::nothrow_t&) noexcept { Release(block, false); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { Release(block, false); }
void operator delete(void* block, std::size_t) noexcept { Release(block, false); }
void operator delete[](void* block, std::size_t) noexcept { Release(block, false); }
void operator delete(void* block, std::align_val_t) noexcept { Release(block, true); }
void operator delete[](void* block, std::align_val_t) noexcept { Release(block, true); }
void operator delete(void* block, std::align_val_t, const std::nothrow_t&) noexcept { Release(block, true); }
void operator delete[](void* block, std::align_val_t, const std::nothrow_t&) noexcept {
  Release(block, true);
}
void operator delete(void* block, std::size_t, std::align_val_t) noexcept { Release(block, true); }
void operator delete[](void* block, std::size_t, std::align_val_t) noexcept { Release(block, true); }
