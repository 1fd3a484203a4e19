#include "core/StateChunk.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <vector>

#include "core/TextBuffer.h"
#include "tests/core/FailingAllocator.h"

namespace {

std::vector<std::uint8_t> Bytes(const StateChunk& chunk) {
  return std::vector<std::uint8_t>(chunk.GetData(), chunk.GetData() + chunk.GetSize());
}

StateChunk ChunkOf(const std::vector<std::uint8_t>& bytes) {
  StateChunk chunk;
  chunk.AppendBytes(bytes.data(), static_cast<int>(bytes.size()));
  return chunk;
}

}  // namespace

TEST(StateChunk, NumbersAreStoredLittleEndian) {
  StateChunk chunk;
  EXPECT_EQ(chunk.AppendInt32(0x70666674), 4);
  EXPECT_EQ(chunk.AppendInt32(-2), 8);
  EXPECT_EQ(chunk.AppendDouble(12.5), 16);
  EXPECT_EQ(chunk.AppendBool(true), 17);
  EXPECT_EQ(chunk.AppendBool(false), 18);
  const std::vector<std::uint8_t> expected = {0x74, 0x66, 0x66, 0x70, 0xFE, 0xFF, 0xFF, 0xFF, 0,
                                              0,    0,    0,    0,    0,    0x29, 0x40, 1,    0};
  EXPECT_EQ(Bytes(chunk), expected);
}

TEST(StateChunk, StringIsLengthThenBytesWithoutTerminator) {
  StateChunk chunk;
  chunk.AppendString("-");
  chunk.AppendString(nullptr);
  EXPECT_EQ(Bytes(chunk), (std::vector<std::uint8_t>{1, 0, 0, 0, '-', 0, 0, 0, 0}));
}

TEST(StateChunk, ReadersReturnNextPositionAndRoundTripValues) {
  StateChunk chunk;
  chunk.AppendInt32(-123456);
  chunk.AppendDouble(-0.1);
  chunk.AppendBool(true);
  chunk.AppendString("user preset 2");
  std::int32_t i = 0;
  double d = 0.0;
  bool b = false;
  TextBuffer text;
  int position = chunk.ReadInt32(i, 0);
  EXPECT_EQ(position, 4);
  position = chunk.ReadDouble(d, position);
  EXPECT_EQ(position, 12);
  position = chunk.ReadBool(b, position);
  EXPECT_EQ(position, 13);
  position = chunk.ReadString(text, position);
  EXPECT_EQ(position, chunk.GetSize());
  EXPECT_EQ(i, -123456);
  EXPECT_EQ(d, -0.1);
  EXPECT_TRUE(b);
  EXPECT_STREQ(text.Get(), "user preset 2");
}

TEST(StateChunk, ReadPastTheEndFailsAndLeavesValueUnchanged) {
  const StateChunk chunk = ChunkOf({1, 2, 3, 4, 5, 6, 7});
  std::int32_t i = 99;
  double d = 99.0;
  bool b = true;
  EXPECT_EQ(chunk.ReadDouble(d, 0), -1);
  EXPECT_EQ(d, 99.0);
  EXPECT_EQ(chunk.ReadInt32(i, 4), -1);
  EXPECT_EQ(chunk.ReadInt32(i, -1), -1);
  EXPECT_EQ(chunk.ReadInt32(i, INT_MAX - 1), -1) << "position arithmetic must not overflow";
  EXPECT_EQ(i, 99);
  EXPECT_EQ(chunk.ReadBool(b, 7), -1);
  EXPECT_EQ(chunk.ReadBool(b, -3), -1);
  EXPECT_TRUE(b);
  EXPECT_EQ(chunk.ReadInt32(i, 3), 7);
}

TEST(StateChunk, StringRunningPastTheEndReturnsBeyondSizeSoNextReadFails) {
  StateChunk chunk;
  chunk.AppendInt32(10);
  chunk.AppendBytes("abc", 3);
  TextBuffer text;
  text.Set("before");
  const int position = chunk.ReadString(text, 0);
  EXPECT_EQ(position, 14);
  EXPECT_GT(position, chunk.GetSize());
  EXPECT_STREQ(text.Get(), "before");
  bool b = false;
  EXPECT_EQ(chunk.ReadBool(b, position), -1);
}

TEST(StateChunk, EmptyStringLeavesTextAsItWas) {
  StateChunk chunk;
  chunk.AppendString("");
  TextBuffer text;
  text.Set("previous");
  EXPECT_EQ(chunk.ReadString(text, 0), 4);
  EXPECT_STREQ(text.Get(), "previous");
}

TEST(StateChunk, NegativeOrHugeStoredLengthBehavesAsRunningPastTheEnd) {
  for (std::int32_t length : {-1, -8, INT_MIN, INT_MAX, INT_MAX - 3}) {
    StateChunk chunk;
    chunk.AppendInt32(length);
    chunk.AppendBytes("0123456789abcdef", 16);
    TextBuffer text;
    text.Set("unchanged");
    const int position = chunk.ReadString(text, 0);
    EXPECT_GT(position, chunk.GetSize()) << length;
    EXPECT_STREQ(text.Get(), "unchanged") << length;
  }
}

TEST(StateChunk, StringWithoutRoomForItsLengthFails) {
  const StateChunk chunk = ChunkOf({5, 0, 0});
  TextBuffer text;
  EXPECT_EQ(chunk.ReadString(text, 0), -1);
}

TEST(StateChunk, ResizeZeroesNewBytesAndClearReleases) {
  StateChunk chunk;
  chunk.AppendBytes("xy", 2);
  EXPECT_EQ(chunk.Resize(6), 6);
  EXPECT_EQ(Bytes(chunk), (std::vector<std::uint8_t>{'x', 'y', 0, 0, 0, 0}));
  chunk.Clear();
  EXPECT_EQ(chunk.GetSize(), 0);
  EXPECT_EQ(chunk.GetData(), nullptr);
}

TEST(StateChunk, AppendChunkCopiesOtherAndItself) {
  StateChunk a;
  a.AppendBytes("ab", 2);
  StateChunk b;
  b.AppendBytes("c", 1);
  a.AppendChunk(b);
  a.AppendChunk(a);
  EXPECT_EQ(Bytes(a), (std::vector<std::uint8_t>{'a', 'b', 'c', 'a', 'b', 'c'}));
}

TEST(StateChunk, RefusedGrowthReportsFailureAndKeepsContents) {
  FailingAllocator allocator;
  StateChunk chunk;
  chunk.AppendInt32(7);
  allocator.RefuseAll(true);
  std::vector<std::uint8_t> big(10000, 1);
  EXPECT_EQ(chunk.AppendBytes(big.data(), 10000), -1);
  EXPECT_EQ(chunk.AppendString(std::string(9000, 'n').c_str()), -1);
  EXPECT_EQ(Bytes(chunk), (std::vector<std::uint8_t>{7, 0, 0, 0}));
}
