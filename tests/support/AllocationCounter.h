#pragma once
// Holds realtime code to "allocates nothing": counts the heap allocations and releases the
// current thread makes while a counter is running. A test executable that compiles
// AllocationCounter.cpp gets every standard form of the global operator new and delete replaced
// by counting ones; code that takes its block functions as parameters (HeapBuffer) can be handed
// the counted C-style functions below.
//
//   AllocationCounter counter;      // counts from here, on this thread only
//   plug.ProcessDouble(in, out, n);
//   counter.Stop();
//   EXPECT_EQ(counter.Allocations(), 0) << counter.Describe();

#include <cstddef>
#include <string>

class AllocationCounter {
public:
  static constexpr int kRecordedSizes = 8;

  AllocationCounter();
  ~AllocationCounter();
  AllocationCounter(const AllocationCounter&) = delete;
  AllocationCounter& operator=(const AllocationCounter&) = delete;

  // Ends counting (idempotent). Counters may nest; each counts what happens while it runs.
  void Stop();
  bool IsRunning() const { return mRunning; }

  long Allocations() const { return mAllocations; }
  long Releases() const { return mReleases; }
  // Byte sizes of the first kRecordedSizes allocations counted.
  std::size_t RecordedSize(int index) const;
  // "3 allocations (24, 4096, 16 bytes), 1 release": for failure messages. Allocates, so call it
  // after Stop.
  std::string Describe() const;

  // malloc/realloc/free that count against the running counters of the calling thread. A realloc
  // counts as one allocation, and as a release too when it is handed a block.
  static void* CountedMalloc(std::size_t bytes);
  static void* CountedRealloc(void* block, std::size_t bytes);
  static void CountedFree(void* block);

  // Called by the replaced operators and the counted functions.
  static void NoteAllocation(std::size_t bytes);
  static void NoteRelease();

private:
  long mAllocations = 0;
  long mReleases = 0;
  std::size_t mSizes[kRecordedSizes] = {};
  bool mRunning = true;
  AllocationCounter* mOuter = nullptr;  // the counter that was innermost when this one started
};
