#include "core/TextBuffer.h"

#include <gtest/gtest.h>

#include <string>

TEST(TextBuffer, EmptyBufferReadsAsEmptyText) {
  TextBuffer text;
  EXPECT_STREQ(text.Get(), "");
  text.Set(nullptr);
  EXPECT_STREQ(text.Get(), "");
}

TEST(TextBuffer, SetStopsAtNulOrMaximum) {
  TextBuffer text;
  text.Set("preset name", 6);
  EXPECT_STREQ(text.Get(), "preset");
  text.Set("ab\0cd", 5);
  EXPECT_STREQ(text.Get(), "ab");
  text.Set("whole text", 0);
  EXPECT_STREQ(text.Get(), "whole text");
}

TEST(TextBuffer, ShorterTextReplacesLongerOne) {
  TextBuffer text;
  text.Set("a long first text");
  text.Set("short");
  EXPECT_STREQ(text.Get(), "short");
  EXPECT_EQ(text.GetLength(), 5);
}

TEST(TextBuffer, SetAtAppendsAfterExistingText) {
  TextBuffer text;
  text.Set("Input");
  text.SetAt(5, " 1", 2);
  EXPECT_STREQ(text.Get(), "Input 1");
}

TEST(TextBuffer, SetAtIgnoresNegativeArgumentsAndEmptyAwayFromStart) {
  TextBuffer text;
  text.Set("keep");
  text.SetAt(-1, "x", 1);
  text.SetAt(0, "x", -1);
  text.SetAt(2, "x", 0);
  EXPECT_STREQ(text.Get(), "keep");
  text.SetAt(0, "x", 0);
  EXPECT_STREQ(text.Get(), "");
}

TEST(TextBuffer, CopyFromItsOwnTextSurvivesTheBlockMoving) {
  TextBuffer text;
  const std::string start(100, 'q');
  text.Set(start.c_str());
  // Appending its own text forces growth past the first block (granularity 128).
  for (int i = 0; i < 6; ++i) text.SetAt(text.GetLength(), text.Get(), text.GetLength());
  EXPECT_EQ(std::string(text.Get()), std::string(6400, 'q'));
}
