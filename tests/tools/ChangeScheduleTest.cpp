#include "tools/brelvane/ChangeSchedule.h"

#include <gtest/gtest.h>

namespace brel::cmd {
namespace {

struct Slice {
  std::uint64_t start;
  int length;
  std::vector<int> changes;  // indexes of the settings applied before the slice
  bool operator==(const Slice& o) const {
    return start == o.start && length == o.length && changes == o.changes;
  }
};

std::ostream& operator<<(std::ostream& os, const Slice& s) {
  os << "{" << s.start << "," << s.length << ",[";
  for (int c : s.changes) os << c << " ";
  return os << "]}";
}

ScheduledChange At(std::uint64_t frame, int tag) {
  ScheduledChange c;
  c.frame = frame;
  c.setting.index = tag;
  return c;
}

// Walks a file of `total` frames the way the render loop does.
std::vector<Slice> Walk(std::uint64_t total, int block, std::vector<ScheduledChange> changes,
                        std::vector<int>* atEnd = nullptr) {
  ChangeSchedule schedule(block, std::move(changes));
  std::vector<Slice> slices;
  std::uint64_t position = 0;
  for (;;) {
    std::vector<int> due;
    for (const ScheduledChange* c : schedule.TakeDue(position)) due.push_back(c->setting.index);
    if (position == total) {
      if (atEnd) *atEnd = due;
      break;
    }
    int length = static_cast<int>(std::min<std::uint64_t>(schedule.SliceLength(position), total - position));
    slices.push_back({position, length, due});
    position += length;
  }
  return slices;
}

TEST(ChangeSchedule, WithoutChangesFollowsTheBlockGridWithAPartialLastBlock) {
  EXPECT_EQ(Walk(1200, 512, {}), (std::vector<Slice>{{0, 512, {}}, {512, 512, {}}, {1024, 176, {}}}));
  EXPECT_EQ(Walk(1024, 512, {}), (std::vector<Slice>{{0, 512, {}}, {512, 512, {}}}));
  EXPECT_TRUE(Walk(0, 512, {}).empty());
}

TEST(ChangeSchedule, SplitsTheBlockAtAChangeAndKeepsTheGridAfterIt) {
  EXPECT_EQ(Walk(1200, 512, {At(100, 7)}),
            (std::vector<Slice>{{0, 100, {}}, {100, 412, {7}}, {512, 512, {}}, {1024, 176, {}}}));
}

TEST(ChangeSchedule, AChangeOnABlockBoundaryAddsNoSlice) {
  EXPECT_EQ(Walk(1024, 512, {At(512, 1)}), (std::vector<Slice>{{0, 512, {}}, {512, 512, {1}}}));
  EXPECT_EQ(Walk(100, 512, {At(0, 1)}), (std::vector<Slice>{{0, 100, {1}}}));
}

TEST(ChangeSchedule, ChangesAtOneFrameApplyInCommandLineOrderWhateverTheirOrderOfFrames) {
  EXPECT_EQ(Walk(600, 512, {At(300, 1), At(200, 2), At(300, 3), At(200, 4)}),
            (std::vector<Slice>{{0, 200, {}}, {200, 100, {2, 4}}, {300, 212, {1, 3}}, {512, 88, {}}}));
}

TEST(ChangeSchedule, ChangesInConsecutiveFramesGiveOneFrameSlices) {
  EXPECT_EQ(Walk(4, 512, {At(1, 1), At(2, 2), At(3, 3)}),
            (std::vector<Slice>{{0, 1, {}}, {1, 1, {1}}, {2, 1, {2}}, {3, 1, {3}}}));
  EXPECT_EQ(Walk(3, 1, {}), (std::vector<Slice>{{0, 1, {}}, {1, 1, {}}, {2, 1, {}}}));
}

TEST(ChangeSchedule, AChangeAtTheEndIsHandedOutAfterTheLastSlice) {
  std::vector<int> atEnd;
  EXPECT_EQ(Walk(512, 512, {At(512, 9)}, &atEnd), (std::vector<Slice>{{0, 512, {}}}));
  EXPECT_EQ(atEnd, (std::vector<int>{9}));
}

TEST(ChangeSchedule, ChangesBeyondTheEndStayPending) {
  ChangeSchedule schedule(512, {At(10, 1), At(5000, 2)});
  schedule.TakeDue(100);
  ASSERT_TRUE(schedule.HasPending());
  EXPECT_EQ(schedule.FirstPendingFrame(), 5000u);
  EXPECT_TRUE(schedule.TakeDue(100).empty());
  EXPECT_EQ(schedule.TakeDue(5000).size(), 1u);
  EXPECT_FALSE(schedule.HasPending());
}

}  // namespace
}  // namespace brel::cmd
