#pragma once
// The one growable storage block of the core: an owned block with a fixed, page-friendly growth
// rule. Lists, texts and state chunks are all views built on it.

#include <cstddef>

class HeapBuffer {
public:
  // Where blocks come from. Replaceable so that tests (and memory-tight hosts) can observe
  // what happens when the system refuses memory; nullptr restores the C library's functions.
  struct Allocator {
    void* (*reallocate)(void* block, std::size_t bytes);
    void* (*allocate)(std::size_t bytes);
    void (*release)(void* block);
  };
  static void SetAllocator(const Allocator* allocator);

  explicit HeapBuffer(int granularity = 128);
  ~HeapBuffer();
  HeapBuffer(const HeapBuffer&) = delete;
  HeapBuffer& operator=(const HeapBuffer&) = delete;
  // Moving hands the block over; the source is left empty.
  HeapBuffer(HeapBuffer&& other) noexcept;
  HeapBuffer& operator=(HeapBuffer&& other) noexcept;

  // Sets the used size to newSize bytes (negative counts as 0), growing or (when allowShrink)
  // shrinking the block by the growth rule. Returns the block, or nullptr when the new size is 0
  // or when memory could not be had; in that last case the buffer is exactly as it was.
  void* Resize(int newSize, bool allowShrink);

  int GetSize() const { return mUsed; }
  int GetAllocated() const { return mAllocated; }
  int GetGranularity() const { return mGranularity; }
  void* GetData() const { return mUsed > 0 ? mBlock : nullptr; }

private:
  int NewAllocationFor(int newSize) const;
  bool Reallocate(int newAllocation, int newSize);

  void* mBlock = nullptr;
  int mAllocated = 0;
  int mUsed = 0;
  int mGranularity;
};
