#include "core/PointerList.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/core/FailingAllocator.h"

namespace {

std::vector<int> gDestroyed;

struct Tracked {
  explicit Tracked(int id) : id(id) {}
  ~Tracked() { gDestroyed.push_back(id); }
  int id;
};

}  // namespace

TEST(PointerList, OwningListDestroysItsElementsLastFirst) {
  gDestroyed.clear();
  {
    PointerList<Tracked> list(true);
    for (int i = 0; i < 4; ++i) list.Add(new Tracked(i));
    EXPECT_EQ(list.GetCount(), 4);
  }
  EXPECT_EQ(gDestroyed, (std::vector<int>{3, 2, 1, 0}));
}

struct CountProbe;
PointerList<CountProbe>* gProbeList = nullptr;
std::vector<int> gCountsSeen;
struct CountProbe {
  ~CountProbe() { gCountsSeen.push_back(gProbeList->GetCount()); }
};

TEST(PointerList, ElementDestroyedSeesTheListAlreadyShortened) {
  PointerList<CountProbe> list(true);
  gProbeList = &list;
  list.Add(new CountProbe);
  list.Add(new CountProbe);
  list.Empty();
  EXPECT_EQ(gCountsSeen, (std::vector<int>{1, 0}));
  EXPECT_EQ(list.GetCount(), 0);
}

TEST(PointerList, NonOwningListLeavesElementsAlone) {
  gDestroyed.clear();
  Tracked a(7);
  {
    PointerList<Tracked> list;
    list.Add(&a);
    EXPECT_EQ(list.Get(0), &a);
  }
  EXPECT_TRUE(gDestroyed.empty());
}

TEST(PointerList, IndexOutsideTheListGivesNothing) {
  PointerList<int> list;
  int x = 1;
  list.Add(&x);
  EXPECT_EQ(list.Get(-1), nullptr);
  EXPECT_EQ(list.Get(1), nullptr);
  EXPECT_EQ(list.Get(0), &x);
}

TEST(PointerList, RefusedGrowthStoresNothing) {
  FailingAllocator allocator;
  PointerList<int> list;
  int x = 1;
  allocator.RefuseAll(true);
  EXPECT_EQ(list.Add(&x), nullptr);
  EXPECT_EQ(list.GetCount(), 0);
}
