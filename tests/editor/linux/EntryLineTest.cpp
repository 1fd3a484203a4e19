// The value box's line: what its keys do to the text and the caret.
#include <gtest/gtest.h>

#include "editor/linux/EntryLine.h"

namespace {

TEST(EntryLine, OpensAllSelectedSoThatTypingOrErasingReplacesIt) {
  EntryLine line;
  line.Reset("12.50", 7);
  EXPECT_TRUE(line.AllSelected());
  EXPECT_EQ(line.Caret(), 5);
  EXPECT_TRUE(line.Insert('3'));
  EXPECT_EQ(line.Text(), "3");
  EXPECT_FALSE(line.AllSelected());

  line.Reset("12.50", 7);
  line.Backspace();
  EXPECT_EQ(line.Text(), "");
  line.Reset("12.50", 7);
  line.Delete();
  EXPECT_EQ(line.Text(), "");
  line.Reset(nullptr, 7);
  EXPECT_FALSE(line.AllSelected()) << "nothing to select";
}

TEST(EntryLine, MovingTheCaretDropsTheSelectionAtTheSideItPointsTo) {
  EntryLine line;
  line.Reset("abc", 7);
  line.Left();
  EXPECT_EQ(line.Caret(), 0);
  EXPECT_EQ(line.Text(), "abc");
  line.Reset("abc", 7);
  line.Right();
  EXPECT_EQ(line.Caret(), 3);
  line.Left();
  line.Left();
  line.Insert('x');
  EXPECT_EQ(line.Text(), "axbc");
  line.Home();
  line.Left();       // stays at the start
  line.Backspace();  // nothing before the caret
  line.Delete();
  EXPECT_EQ(line.Text(), "xbc");
  line.End();
  line.Right();   // stays at the end
  line.Delete();  // nothing after the caret
  line.Backspace();
  EXPECT_EQ(line.Text(), "xb");
  EXPECT_EQ(line.Caret(), 2);
}

TEST(EntryLine, TheLimitStopsGrowthButKeepsLongerTextAsGiven) {
  EntryLine line;
  line.Reset("", 3);
  EXPECT_TRUE(line.Insert('1'));
  EXPECT_TRUE(line.Insert('2'));
  EXPECT_TRUE(line.Insert('3'));
  EXPECT_FALSE(line.Insert('4'));
  EXPECT_EQ(line.Text(), "123");

  line.Reset("123456", 3);
  line.End();
  EXPECT_FALSE(line.Insert('7'));
  line.Backspace();
  EXPECT_EQ(line.Text(), "12345");
  line.Reset("123456", 3);
  EXPECT_TRUE(line.Insert('9')) << "replacing the selection fits";
  EXPECT_EQ(line.Text(), "9");

  line.Reset("5", 0);
  EXPECT_FALSE(line.Insert('1'));
  EXPECT_EQ(line.Text(), "5");
}

}  // namespace
