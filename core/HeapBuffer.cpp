#include "core/HeapBuffer.h"

#include "core/AudioPath.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

void* DefaultReallocate(void* block, std::size_t bytes) { return std::realloc(block, bytes); }
void* DefaultAllocate(std::size_t bytes) { return std::malloc(bytes); }
void DefaultRelease(void* block) { std::free(block); }

const HeapBuffer::Allocator kDefaultAllocator = {DefaultReallocate, DefaultAllocate, DefaultRelease};
const HeapBuffer::Allocator* gAllocator = &kDefaultAllocator;

// Large blocks are sized so that block plus the allocator's own bookkeeping fills whole pages.
constexpr std::int64_t kPage = 4096;
constexpr std::int64_t kAllocatorOverhead = 96;
constexpr std::int64_t kLargestPageStep = 4194304;

}  // namespace

void HeapBuffer::SetAllocator(const Allocator* allocator) {
  gAllocator = allocator ? allocator : &kDefaultAllocator;
}

HeapBuffer::HeapBuffer(int granularity) : mGranularity(granularity > 0 ? granularity : 1) {}

HeapBuffer::~HeapBuffer() {
  if (mBlock) gAllocator->release(mBlock);
}

HeapBuffer::HeapBuffer(HeapBuffer&& other) noexcept
    : mBlock(other.mBlock),
      mAllocated(other.mAllocated),
      mUsed(other.mUsed),
      mGranularity(other.mGranularity) {
  other.mBlock = nullptr;
  other.mAllocated = other.mUsed = 0;
}

HeapBuffer& HeapBuffer::operator=(HeapBuffer&& other) noexcept {
  if (this != &other) {
    if (mBlock) gAllocator->release(mBlock);
    mBlock = other.mBlock;
    mAllocated = other.mAllocated;
    mUsed = other.mUsed;
    mGranularity = other.mGranularity;
    other.mBlock = nullptr;
    other.mAllocated = other.mUsed = 0;
  }
  return *this;
}

int HeapBuffer::NewAllocationFor(int newSize) const {
  if (newSize == 0) return 0;
  const std::int64_t size = newSize;
  std::int64_t step = std::max<std::int64_t>(size / 2, mGranularity);
  std::int64_t allocation;
  if (mGranularity > 4095) {
    step = std::clamp(step / kPage * kPage, kPage, kLargestPageStep);
    allocation = (size + kAllocatorOverhead + step) / kPage * kPage - kAllocatorOverhead;
  } else {
    allocation = size + step;
  }
  // The sizes are 32-bit; a block that cannot be described gets the largest that can.
  return static_cast<int>(std::min<std::int64_t>(allocation, INT_MAX));
}

bool HeapBuffer::Reallocate(int newAllocation, int newSize) {
  BREL_EXPECT_OFF_AUDIO_PATH("HeapBuffer growth");
  if (newAllocation == 0) {
    if (mBlock) gAllocator->release(mBlock);
    mBlock = nullptr;
    mAllocated = 0;
    mUsed = 0;
    return true;
  }
  void* moved = gAllocator->reallocate(mBlock, static_cast<std::size_t>(newAllocation));
  if (!moved) {
    // Some allocators refuse to move a block they could hand out fresh.
    moved = gAllocator->allocate(static_cast<std::size_t>(newAllocation));
    if (!moved) return false;
    if (mBlock) {
      std::memcpy(moved, mBlock, static_cast<std::size_t>(std::min(newSize, mUsed)));
      gAllocator->release(mBlock);
    }
  }
  mBlock = moved;
  mAllocated = newAllocation;
  return true;
}

void* HeapBuffer::Resize(int newSize, bool allowShrink) {
  if (newSize < 0) newSize = 0;
  if (newSize == mUsed) return GetData();

  std::int64_t shrinkBelow = 0;
  if (allowShrink && newSize < mUsed) {
    shrinkBelow =
        std::min<std::int64_t>(mAllocated / 2, std::int64_t(mAllocated) - 4 * std::int64_t(mGranularity));
    shrinkBelow = std::max<std::int64_t>(shrinkBelow, 1);
  }
  if (newSize > mAllocated || newSize < shrinkBelow) {
    const int newAllocation = NewAllocationFor(newSize);
    if (newAllocation != mAllocated && !Reallocate(newAllocation, newSize)) return nullptr;
  }
  mUsed = newSize;
  return newSize > 0 ? mBlock : nullptr;
}
