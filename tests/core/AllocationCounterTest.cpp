// The allocation counter that the realtime tests rely on: it must see every form of new and
// delete and the core's own buffers, on its own thread only, and only while it runs.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <new>
#include <thread>
#include <vector>

#include "core/HeapBuffer.h"
#include "tests/support/AllocationCounter.h"
#include "tests/support/HeapBufferCounting.h"

namespace {

// Stores through a volatile pointer, so the compiler cannot drop a new/delete pair as unused.
void* volatile gSink = nullptr;
template <class T>
T* Keep(T* pointer) {
  gSink = pointer;
  return pointer;
}

struct alignas(64) Wide {
  double lanes[8];
};

// Larger than any object can be; read at run time, so the compiler does not object to the calls.
volatile std::size_t gImpossibleSize = static_cast<std::size_t>(PTRDIFF_MAX) + 1;

bool IsAligned(const void* pointer, std::size_t alignment) {
  return reinterpret_cast<std::uintptr_t>(pointer) % alignment == 0;
}

}  // namespace

TEST(AllocationCounter, SeesEveryFormOfNewAndDelete) {
  AllocationCounter counter;
  delete Keep(new int(7));
  delete[] Keep(new char[100]);
  delete Keep(new (std::nothrow) int(1));
  delete[] Keep(new (std::nothrow) char[3]);
  Wide* wide = Keep(new Wide);
  EXPECT_TRUE(IsAligned(wide, 64));
  delete wide;
  Wide* wides = Keep(new Wide[3]);
  EXPECT_TRUE(IsAligned(wides, 64));
  delete[] wides;
  Wide* quiet = Keep(new (std::nothrow) Wide);
  EXPECT_TRUE(IsAligned(quiet, 64));
  ::operator delete(quiet, std::align_val_t(64), std::nothrow);
  void* big = Keep(::operator new(4096, std::align_val_t(4096)));
  EXPECT_TRUE(IsAligned(big, 4096));
  ::operator delete(big, 4096, std::align_val_t(4096));
  ::operator delete(Keep(::operator new(16)), 16);
  ::operator delete[](Keep(::operator new[](16)), 16);
  ::operator delete(Keep(::operator new(8)), std::nothrow);
  counter.Stop();
  EXPECT_EQ(counter.Allocations(), 11) << counter.Describe();
  EXPECT_EQ(counter.Releases(), 11) << counter.Describe();
}

TEST(AllocationCounter, CountsContainerGrowthButNotWorkWithinReservedCapacity) {
  std::vector<double> samples;
  samples.reserve(256);
  AllocationCounter counter;
  samples.assign(200, 0.5);
  samples.resize(256);
  counter.Stop();
  EXPECT_EQ(counter.Allocations(), 0) << counter.Describe();

  AllocationCounter growth;
  samples.push_back(1.0);  // past the capacity: a new block, the old one released
  growth.Stop();
  EXPECT_EQ(growth.Allocations(), 1) << growth.Describe();
  EXPECT_EQ(growth.Releases(), 1) << growth.Describe();
}

TEST(AllocationCounter, CountsNothingBeforeItStartsOrAfterItStops) {
  int* before = Keep(new int(1));
  AllocationCounter counter;
  EXPECT_TRUE(counter.IsRunning());
  counter.Stop();
  EXPECT_FALSE(counter.IsRunning());
  delete before;
  delete Keep(new int(2));
  counter.Stop();
  EXPECT_EQ(counter.Allocations(), 0);
  EXPECT_EQ(counter.Releases(), 0);
}

TEST(AllocationCounter, IgnoresOtherThreads) {
  std::atomic<int> stage{0};
  std::thread worker([&stage] {
    while (stage.load() != 1) std::this_thread::yield();
    for (int i = 0; i < 100; ++i) delete Keep(new int(i));
    stage.store(2);
  });
  AllocationCounter counter;
  stage.store(1);
  while (stage.load() != 2) std::this_thread::yield();
  counter.Stop();
  worker.join();
  EXPECT_EQ(counter.Allocations(), 0) << counter.Describe();
  EXPECT_EQ(counter.Releases(), 0) << counter.Describe();
}

TEST(AllocationCounter, NestedCountersEachCountWhatHappensWhileTheyRun) {
  AllocationCounter outer;
  delete Keep(new int(1));
  auto* inner = new AllocationCounter;  // counted by outer
  delete Keep(new int(2));
  AllocationCounter innermost;
  delete Keep(new int(3));
  inner->Stop();  // out of order: innermost and outer go on counting
  delete Keep(new int(4));
  innermost.Stop();
  const long innerAllocations = inner->Allocations();
  delete inner;  // counted by outer
  outer.Stop();
  EXPECT_EQ(innerAllocations, 2);
  EXPECT_EQ(innermost.Allocations(), 2);
  EXPECT_EQ(outer.Allocations(), 5);
  EXPECT_EQ(outer.Releases(), 5);
}

TEST(AllocationCounter, DescribesTheSizesOfTheFirstAllocations) {
  AllocationCounter counter;
  delete[] Keep(new char[100]);
  delete[] Keep(new char[24]);
  counter.Stop();
  EXPECT_EQ(counter.RecordedSize(0), 100u);
  EXPECT_EQ(counter.RecordedSize(1), 24u);
  EXPECT_EQ(counter.RecordedSize(2), 0u);
  EXPECT_EQ(counter.Describe(), "2 allocations (100, 24 bytes), 2 releases");

  AllocationCounter many;
  for (int i = 1; i <= AllocationCounter::kRecordedSizes + 2; ++i) delete[] Keep(new char[i]);
  many.Stop();
  EXPECT_EQ(many.Describe(), "10 allocations (1, 2, 3, 4, 5, 6, 7, 8, ... bytes), 10 releases");

  AllocationCounter none;
  none.Stop();
  EXPECT_EQ(none.Describe(), "0 allocations, 0 releases");
}

TEST(AllocationCounter, RefusedMemoryFollowsTheStandardContract) {
  static int handlerCalls = 0;
  handlerCalls = 0;
  std::set_new_handler([] {
    ++handlerCalls;
    std::set_new_handler(nullptr);  // nothing to free: give up on the next round
  });
  const std::size_t impossible = gImpossibleSize;
  AllocationCounter counter;
  bool threw = false;
  try {
    Keep(::operator new(impossible));
  } catch (const std::bad_alloc&) {
    threw = true;
  }
  void* quiet = ::operator new(impossible, std::nothrow);
  void* quietAligned = ::operator new[](impossible, std::align_val_t(64), std::nothrow);
  counter.Stop();
  EXPECT_TRUE(threw);
  EXPECT_EQ(handlerCalls, 1) << "the handler runs before giving up";
  EXPECT_EQ(quiet, nullptr);
  EXPECT_EQ(quietAligned, nullptr);
  EXPECT_EQ(counter.Allocations(), 0);
}

TEST(AllocationCounter, CountedCFunctionsCountBlocksAndMoves) {
  AllocationCounter counter;
  void* block = AllocationCounter::CountedMalloc(64);
  ASSERT_NE(block, nullptr);
  block = AllocationCounter::CountedRealloc(block, 100000);
  ASSERT_NE(block, nullptr);
  AllocationCounter::CountedFree(block);
  AllocationCounter::CountedFree(nullptr);
  counter.Stop();
  EXPECT_EQ(counter.Allocations(), 2);
  EXPECT_EQ(counter.Releases(), 2);
  EXPECT_EQ(counter.RecordedSize(1), 100000u);
}

TEST(AllocationCounter, HeapBufferBlocksAreCountedWhileRouted) {
  HeapBuffer buffer(128);
  {
    HeapBufferCounting routed;
    AllocationCounter counter;
    buffer.Resize(100, false);
    buffer.Resize(50, false);  // within the block: no new memory
    counter.Stop();
    EXPECT_EQ(counter.Allocations(), 1);
  }
  AllocationCounter unrouted;
  buffer.Resize(100000, false);
  unrouted.Stop();
  EXPECT_EQ(unrouted.Allocations(), 0) << "HeapBuffer takes its blocks from the C library";
}
