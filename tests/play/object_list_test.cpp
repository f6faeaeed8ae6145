#include "play/object_list.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

// An element that takes a partner of the same list with it when it is destroyed, as a character's
// removal may remove others.
struct cLinked {
  explicit cLinked(int id, cObjectList<cLinked>* list) : m_Id(id), m_List(list) {}
  ~cLinked() {
    if (m_Partner != nullptr) m_List->Remove(m_Partner);
  }
  int m_Id;
  cObjectList<cLinked>* m_List;
  cLinked* m_Partner = nullptr;
};

TEST(ObjectListTest, ElementsKeepTheirAddressesAndWalksSeeOnlyLiveOnes) {
  cObjectList<int> list;
  int* first = &list.Emplace(1);
  for (int i = 2; i <= 100; ++i) list.Emplace(i);
  EXPECT_EQ(*first, 1);
  EXPECT_EQ(&*list.begin(), first);
  list.Remove(first);
  EXPECT_EQ(*list.begin(), 2);
  EXPECT_EQ(list.Size(), 99);
  EXPECT_FALSE(list.Contains(1));
  EXPECT_EQ(list.RemoveIf([](int v) { return v % 2 == 0; }), 50);
  EXPECT_EQ(list.Size(), 49);
}

TEST(ObjectListTest, AWalkSurvivesRemovalsAndAdditionsOfAnyElement) {
  cObjectList<int> list;
  for (int i = 0; i < 5; ++i) list.Emplace(i);
  std::vector<int> seen;
  list.ForEach([&](int& v) {
    seen.push_back(v);
    if (v == 1) {
      list.Remove(&v);                                 // itself
      list.RemoveIf([](int x) { return x == 3; });     // one not reached yet
      list.RemoveIf([](int x) { return x == 0; });     // one already passed
      list.Emplace(7);
    }
    // A nested walk sees the hidden elements as gone.
    if (v == 2) {
      int count = 0;
      list.ForEach([&](int&) { ++count; });
      EXPECT_EQ(count, 3);  // 2, 4, 7
    }
  });
  EXPECT_EQ(seen, (std::vector<int>{0, 1, 2, 4, 7}));
  std::vector<int> after(list.begin(), list.end());
  EXPECT_EQ(after, (std::vector<int>{2, 4, 7}));
}

TEST(ObjectListTest, DestroyingAnElementMayRemoveOthersOfTheSameList) {
  cObjectList<cLinked> list;
  cLinked& a = list.Emplace(1, &list);
  cLinked& b = list.Emplace(2, &list);
  cLinked& c = list.Emplace(3, &list);
  a.m_Partner = &c;
  c.m_Partner = &b;
  list.Remove(&a);
  EXPECT_EQ(list.Size(), 0);
  // And when the list itself goes.
  auto owned = std::make_unique<cObjectList<cLinked>>();
  cLinked& d = owned->Emplace(4, owned.get());
  d.m_Partner = &owned->Emplace(5, owned.get());
  owned.reset();
}

TEST(ObjectListTest, AHandWalkSeesItsElementRemovedAndKeepsItUntilTheLastWalkEnds) {
  struct cCounted {
    explicit cCounted(int id, int* destroyed) : m_Id(id), m_Destroyed(destroyed) {}
    ~cCounted() { ++*m_Destroyed; }
    int m_Id;
    int* m_Destroyed;
  };
  int destroyed = 0;
  cObjectList<cCounted> list;
  for (int i = 0; i < 4; ++i) list.Emplace(i, &destroyed);
  std::vector<int> pairs;
  using Walk = cObjectList<cCounted>::cWalk;
  for (Walk outer(list); !outer.Done(); outer.Next()) {
    cCounted& a = outer.Current();
    for (Walk inner(list); !inner.Done() && outer.CurrentLive(); inner.Next()) {
      cCounted& b = inner.Current();
      if (b.m_Id <= a.m_Id) continue;
      pairs.push_back(a.m_Id * 10 + b.m_Id);
      // Element 1 goes while it is the outer element: its remaining pairs are not tried.
      if (a.m_Id == 1) list.Remove(&a);
    }
    // Removed, but still there to read while the outer walk lives.
    EXPECT_EQ(destroyed, 0);
    EXPECT_GE(a.m_Id, 0);
  }
  EXPECT_EQ(destroyed, 1);
  EXPECT_EQ(pairs, (std::vector<int>{1, 2, 3, 12, 23}));
  EXPECT_EQ(list.Size(), 3);
}

}  // namespace
