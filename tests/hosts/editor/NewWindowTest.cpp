// Finding an editor's window in the host's window: the one child that appeared, waited for over
// the host's loop only while it is not there yet, and none when several appeared or none came.
#include <gtest/gtest.h>

#include <vector>

#include "hosts/editor/EditorParent.h"

namespace {

using brel::WindowId;

class ScriptedParent : public brel::EditorParent {
public:
  void* ParentHandle() const override { return nullptr; }
  bool Resize(int, int) override { return true; }
  std::vector<WindowId> ChildWindows() const override { return children; }
  void Sync() override {}

  std::vector<WindowId> children;
};

TEST(NewWindow, IsTheOneChildThatAppeared) {
  const struct {
    std::vector<WindowId> before, after;
    WindowId found;
  } cases[] = {
      {{}, {}, 0},          {{7}, {7}, 0}, {{7}, {7, 9}, 9}, {{7, 8}, {9, 8}, 9},  // one went, one came
      {{7}, {9, 7, 11}, 0},  // two came: which one is the editor's is not known
  };
  for (const auto& c : cases) EXPECT_EQ(brel::NewWindow(c.before, c.after), c.found) << c.after.size();
}

TEST(AwaitNewWindow, StepsTheLoopOnlyUntilTheChildIsThereAndGivesUpAfterTheArrivalSteps) {
  ScriptedParent parent;
  int steps = 0;
  parent.children = {3};
  EXPECT_EQ(brel::AwaitNewWindow(parent, {}, [&] { ++steps; }), 3u);
  EXPECT_EQ(steps, 0) << "a window that is there at once needs no step";

  parent.children.clear();
  const auto arrivesOnTheFourthStep = [&] {
    if (++steps == 4) parent.children = {5};
  };
  EXPECT_EQ(brel::AwaitNewWindow(parent, {}, arrivesOnTheFourthStep), 5u);
  EXPECT_EQ(steps, 4);

  steps = 0;
  EXPECT_EQ(brel::AwaitNewWindow(parent, {5}, [&] { ++steps; }), 0u);
  EXPECT_EQ(steps, brel::kArrivalSteps);
}

}  // namespace
