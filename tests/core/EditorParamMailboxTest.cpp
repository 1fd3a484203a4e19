#include "core/EditorParamMailbox.h"

#include <gtest/gtest.h>

#include <vector>

TEST(EditorParamMailbox, TheLatestPostIsTakenOnceAndADiscardedOneNever) {
  EditorParamMailbox mailbox(3);
  std::vector<std::pair<int, double>> taken;
  auto take = [&] {
    taken.clear();
    return mailbox.TakePosted([&](int i, double v) { taken.emplace_back(i, v); });
  };
  mailbox.Post(2, 0.25);
  mailbox.Post(2, 0.5);
  mailbox.Post(0, 0.75);
  mailbox.Post(3, 1.0);  // out of range: ignored
  ASSERT_EQ(take(), 2);
  EXPECT_EQ(taken, (std::vector<std::pair<int, double>>{{0, 0.75}, {2, 0.5}}));
  EXPECT_EQ(take(), 0);

  // An edit in the editor drops the host value still waiting; a later post arrives as usual.
  mailbox.Post(1, 0.1);
  mailbox.Discard(1);
  mailbox.Discard(-1);
  EXPECT_EQ(take(), 0);
  mailbox.Post(1, 0.9);
  ASSERT_EQ(take(), 1);
  EXPECT_EQ(taken[0], std::make_pair(1, 0.9));
}
