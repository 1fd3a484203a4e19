// Storage rules of the two bitmap classes: row spans, alignment, growth, reuse and failure.
#include <gtest/gtest.h>

#include <cstdint>

#include "raster/SysBitmap.h"

namespace {

TEST(MemBitmap, RowsArePaddedToFourPixelsAndStorageIsAligned) {
  LICE_MemBitmap bitmap(5, 3);
  EXPECT_EQ(bitmap.RowSpan(), 8);
  EXPECT_EQ(bitmap.AllocatedBytes(), 8 * 3 * 4);
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(bitmap.Pixels()) % 64, 0u);
  EXPECT_FALSE(bitmap.IsBottomUp());
  EXPECT_EQ(bitmap.DeviceContext(), nullptr);
  EXPECT_EQ(bitmap.QueryExtension(0x59555678 /* 'YUVx' */, nullptr), 0);
}

TEST(MemBitmap, ShrinkingKeepsTheStorageAndGrowingAddsAQuarter) {
  LICE_MemBitmap bitmap(5, 3);
  LicePixel* storage = bitmap.Pixels();
  EXPECT_TRUE(bitmap.Resize(2, 2));
  EXPECT_EQ(bitmap.Pixels(), storage);
  EXPECT_EQ(bitmap.AllocatedBytes(), 96);
  EXPECT_EQ(bitmap.RowSpan(), 4);
  EXPECT_FALSE(bitmap.Resize(2, 2));
  EXPECT_TRUE(bitmap.Resize(16, 4));  // 256 bytes needed: 320 kept
  EXPECT_EQ(bitmap.AllocatedBytes(), 320);
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(bitmap.Pixels()) % 64, 0u);
  EXPECT_TRUE(bitmap.Resize(0, 4));
  EXPECT_EQ(bitmap.Pixels(), nullptr);
  EXPECT_EQ(bitmap.Width(), 0);
  EXPECT_EQ(bitmap.Height(), 0);
}

TEST(MemBitmap, SizesBeyondAddressableStorageLeaveAnEmptyBitmap) {
  LICE_MemBitmap huge(1000000, 1000000);
  EXPECT_EQ(huge.Pixels(), nullptr);
  EXPECT_EQ(huge.Width(), 0);
  LICE_MemBitmap grown(4, 4);
  EXPECT_TRUE(grown.Resize(40000, 40000));
  EXPECT_EQ(grown.Pixels(), nullptr);
  EXPECT_EQ(grown.Height(), 0);
  EXPECT_TRUE(grown.Resize(3, 3));
  EXPECT_NE(grown.Pixels(), nullptr);
}

TEST(SysBitmap, ReusesItsSectionAndNeverShrinksIt) {
  LICE_SysBitmap bitmap(10, 6);
  ASSERT_NE(bitmap.Pixels(), nullptr);
  EXPECT_EQ(bitmap.RowSpan(), 12);
  LicePixel* storage = bitmap.Pixels();
  EXPECT_TRUE(bitmap.Resize(3, 2));
  EXPECT_EQ(bitmap.Pixels(), storage);
  EXPECT_EQ(bitmap.Width(), 3);
  EXPECT_EQ(bitmap.RowSpan(), 12);
  EXPECT_FALSE(bitmap.Resize(3, 2));
  EXPECT_TRUE(bitmap.Resize(13, 2));
  EXPECT_EQ(bitmap.RowSpan(), 16);
  bitmap.Pixels()[16 * 2 - 1] = 0xFFFFFFFF;  // the whole section is writable
}

TEST(SysBitmap, ZeroWidthHasNoPixels) {
  LICE_SysBitmap bitmap(8, 8);
  EXPECT_FALSE(bitmap.Resize(0, 10));
  EXPECT_EQ(bitmap.Pixels(), nullptr);
  EXPECT_TRUE(bitmap.Resize(4, 4));
  EXPECT_NE(bitmap.Pixels(), nullptr);
  LICE_SysBitmap none(0, 0);
  EXPECT_EQ(none.Pixels(), nullptr);
}

}  // namespace
