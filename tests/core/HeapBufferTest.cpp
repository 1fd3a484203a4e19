#include "core/HeapBuffer.h"

#include <gtest/gtest.h>

#include <cstring>

#include "tests/core/FailingAllocator.h"

TEST(HeapBuffer, PageGranularityFillsWholePagesWithAllocatorOverhead) {
  HeapBuffer small(4096);
  small.Resize(100, false);
  EXPECT_EQ(small.GetAllocated(), 4000);
  EXPECT_EQ(small.GetSize(), 100);

  HeapBuffer larger(4096);
  larger.Resize(5000, false);
  EXPECT_EQ(larger.GetAllocated(), 8096);
}

TEST(HeapBuffer, SmallGranularityAddsOneStep) {
  HeapBuffer buffer(128);
  buffer.Resize(10, false);
  EXPECT_EQ(buffer.GetAllocated(), 138);
}

TEST(HeapBuffer, GrowthIsAboutHalfAgainTheRequestOnceAboveTheGranularity) {
  HeapBuffer buffer(128);
  buffer.Resize(1000, false);
  EXPECT_EQ(buffer.GetAllocated(), 1500);

  HeapBuffer paged(4096);
  paged.Resize(100000, false);
  // 100000 + 96 + 49152 rounded down to pages, less the overhead.
  EXPECT_EQ(paged.GetAllocated(), 147456 - 96);
}

TEST(HeapBuffer, PageStepIsLimitedToFourMegabytes) {
  HeapBuffer buffer(4096);
  ASSERT_NE(buffer.Resize(20000000, false), nullptr);
  EXPECT_EQ(buffer.GetAllocated(), (20000000 + 96 + 4194304) / 4096 * 4096 - 96);
}

TEST(HeapBuffer, GrowingWithinTheBlockKeepsItAndItsContents) {
  HeapBuffer buffer(4096);
  char* block = static_cast<char*>(buffer.Resize(100, false));
  std::memcpy(block, "abc", 4);
  EXPECT_EQ(buffer.Resize(3000, false), block);
  EXPECT_EQ(buffer.GetAllocated(), 4000);
  EXPECT_STREQ(static_cast<char*>(buffer.GetData()), "abc");
}

TEST(HeapBuffer, ShrinksOnlyWhenAskedAndLessThanHalfWouldBeUsed) {
  HeapBuffer buffer(128);
  buffer.Resize(1000, false);  // 1500 allocated
  buffer.Resize(10, false);
  EXPECT_EQ(buffer.GetAllocated(), 1500) << "no shrinking unless allowed";

  buffer.Resize(1000, false);
  buffer.Resize(800, true);
  EXPECT_EQ(buffer.GetAllocated(), 1500) << "800 of 1500 is more than half";
  buffer.Resize(700, true);
  EXPECT_EQ(buffer.GetAllocated(), 1050) << "below min(750, 1500 - 512) the block is remade";
}

TEST(HeapBuffer, ShrinkingToZeroReleasesTheBlock) {
  HeapBuffer buffer(4096);
  buffer.Resize(100, false);
  EXPECT_EQ(buffer.Resize(0, true), nullptr);
  EXPECT_EQ(buffer.GetAllocated(), 0);
  EXPECT_EQ(buffer.GetSize(), 0);
  EXPECT_EQ(buffer.GetData(), nullptr);
}

TEST(HeapBuffer, NegativeSizeCountsAsZeroAndEmptyHasNoData) {
  HeapBuffer buffer(128);
  EXPECT_EQ(buffer.GetData(), nullptr);
  buffer.Resize(50, false);
  buffer.Resize(-5, false);
  EXPECT_EQ(buffer.GetSize(), 0);
  EXPECT_EQ(buffer.GetData(), nullptr);
  EXPECT_EQ(buffer.GetAllocated(), 178) << "without shrinking the block stays";
}

TEST(HeapBuffer, FreshBlockStandsInWhenReallocationIsRefused) {
  FailingAllocator allocator;
  HeapBuffer buffer(128);
  char* block = static_cast<char*>(buffer.Resize(10, false));
  std::memcpy(block, "0123456789", 10);
  allocator.RefuseReallocate(true);
  char* grown = static_cast<char*>(buffer.Resize(1000, false));
  ASSERT_NE(grown, nullptr);
  EXPECT_EQ(buffer.GetSize(), 1000);
  EXPECT_EQ(std::memcmp(grown, "0123456789", 10), 0);
}

TEST(HeapBuffer, RefusedMemoryLeavesTheBufferExactlyAsItWas) {
  FailingAllocator allocator;
  HeapBuffer buffer(128);
  char* block = static_cast<char*>(buffer.Resize(10, false));
  std::memcpy(block, "keep", 5);
  allocator.RefuseAll(true);
  EXPECT_EQ(buffer.Resize(5000, false), nullptr);
  EXPECT_EQ(buffer.GetSize(), 10);
  EXPECT_EQ(buffer.GetAllocated(), 138);
  EXPECT_EQ(buffer.GetData(), block);
  EXPECT_STREQ(block, "keep");
}

TEST(HeapBuffer, SizesBeyondThirtyTwoBitsAreRefusedWithoutOverflow) {
  FailingAllocator allocator;
  allocator.RefuseAll(true);  // nothing is really allocated
  HeapBuffer buffer(4096);
  EXPECT_EQ(buffer.Resize(2147483647, false), nullptr);
  EXPECT_EQ(buffer.GetSize(), 0);
  EXPECT_EQ(buffer.GetAllocated(), 0);
}
