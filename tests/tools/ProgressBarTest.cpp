#include "tools/brelvane/ProgressBar.h"

#include <gtest/gtest.h>

#include <sstream>

namespace brel::cmd {
namespace {

TEST(ProgressBar, LineShowsTheBarThePercentageAndTheTimeLeft) {
  EXPECT_EQ(ProgressLine(0, 100, 0.0, 10), "[..........]   0%");
  EXPECT_EQ(ProgressLine(25, 100, 2.0, 10), "[##........]  25%  6 s left");
  EXPECT_EQ(ProgressLine(100, 100, 8.0, 10), "[##########] 100%");
  EXPECT_EQ(ProgressLine(150, 100, 8.0, 4), "[####] 100%");
}

TEST(ProgressBar, StaysHiddenOffATerminal) {
  std::ostringstream err;
  ProgressBar bar(err, false, 0.0);
  bar.Update(10, 100, 5.0);
  bar.Finish();
  EXPECT_EQ(err.str(), "");
}

TEST(ProgressBar, AppearsOnlyAfterTheFirstSecond) {
  std::ostringstream err;
  ProgressBar bar(err, true, 100.0);
  bar.Update(10, 100, 100.5);
  EXPECT_FALSE(bar.Visible());
  EXPECT_EQ(err.str(), "");
  bar.Update(20, 100, 101.0);
  EXPECT_TRUE(bar.Visible());
  EXPECT_EQ(err.str(), "\r" + ProgressLine(20, 100, 1.0, 30) + "\033[K");
}

TEST(ProgressBar, RedrawsAtMostTenTimesASecond) {
  std::ostringstream err;
  ProgressBar bar(err, true, 0.0);
  bar.Update(10, 100, 1.0);
  std::string first = err.str();
  bar.Update(11, 100, 1.05);
  EXPECT_EQ(err.str(), first);
  bar.Update(12, 100, 1.1);
  EXPECT_GT(err.str().size(), first.size());
}

TEST(ProgressBar, ErasesItselfWhenDoneAndOnlyIfShown) {
  std::ostringstream quick, slow;
  ProgressBar fast(quick, true, 0.0);
  fast.Update(100, 100, 0.2);
  fast.Finish();
  EXPECT_EQ(quick.str(), "");
  ProgressBar bar(slow, true, 0.0);
  bar.Update(50, 100, 2.0);
  bar.Finish();
  EXPECT_FALSE(bar.Visible());
  std::string s = slow.str();
  EXPECT_EQ(s.substr(s.size() - 4), "\r\033[K");
}

TEST(ProgressBar, UnknownLengthsShowNothing) {
  std::ostringstream err;
  ProgressBar bar(err, true, 0.0);
  bar.Update(100, 0, 5.0);
  EXPECT_EQ(err.str(), "");
}

}  // namespace
}  // namespace brel::cmd
