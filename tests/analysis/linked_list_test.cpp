#include "analysis/linked_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tarn {
namespace {

struct Item : TLLNode<Item> {
  explicit Item(int v, int* destroyed = nullptr) : value(v), destroyedCounter(destroyed) {}
  ~Item() {
    if (destroyedCounter) ++*destroyedCounter;
  }
  int value;
  int* destroyedCounter;
};

std::vector<int> values(const TLinkedList<Item>& list) {
  std::vector<int> out;
  for (Item* i = list.front(); i; i = i->next()) out.push_back(i->value);
  return out;
}

TEST(LinkedList, EmptyListHasNoCursorAndNoEnds) {
  TLinkedList<Item> list;
  EXPECT_EQ(list.count(), 0);
  EXPECT_EQ(list.first(), nullptr);
  EXPECT_EQ(list.last(), nullptr);
  EXPECT_EQ(list.next(), nullptr);
  EXPECT_EQ(list.previous(), nullptr);
  EXPECT_EQ(list.current(), nullptr);
  EXPECT_EQ(list.at(0), nullptr);
}

TEST(LinkedList, AppendAndInsertAfterKeepOrderAndCount) {
  TLinkedList<Item> list;
  Item* a = list.append(1);
  Item* c = list.append(3);
  list.insertAfter(a, 2);
  list.insertAfter(nullptr, 0);
  list.insertAfter(c, 4);
  EXPECT_EQ(values(list), (std::vector<int>{0, 1, 2, 3, 4}));
  EXPECT_EQ(list.count(), 5);
  EXPECT_EQ(list.front()->previous(), nullptr);
  EXPECT_EQ(list.back()->next(), nullptr);
}

TEST(LinkedList, CursorWalksAndFallsOffBothEnds) {
  TLinkedList<Item> list;
  for (int i = 0; i < 3; ++i) list.append(i);
  EXPECT_EQ(list.first()->value, 0);
  EXPECT_EQ(list.next()->value, 1);
  EXPECT_EQ(list.next()->value, 2);
  EXPECT_EQ(list.next(), nullptr);
  EXPECT_EQ(list.current(), nullptr);
  EXPECT_EQ(list.next(), nullptr) << "a cursor of none stays none";
  EXPECT_EQ(list.last()->value, 2);
  EXPECT_EQ(list.previous()->value, 1);
  EXPECT_EQ(list.previous()->value, 0);
  EXPECT_EQ(list.previous(), nullptr);
}

TEST(LinkedList, RemovingTheCursorMovesIt) {
  struct Case {
    const char* name;
    int removeIndex;
    int count;
    int expectedCursor;  // -1: none
  };
  const Case cases[] = {
      {"middle element: cursor to the next", 1, 3, 2},
      {"last element: cursor to the previous", 2, 3, 1},
      {"only element: cursor to none", 0, 1, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TLinkedList<Item> list;
    for (int i = 0; i < c.count; ++i) list.append(i);
    Item* victim = list.at(c.removeIndex);
    list.setCurrent(victim);
    list.remove(victim);
    EXPECT_EQ(list.count(), c.count - 1);
    if (c.expectedCursor < 0)
      EXPECT_EQ(list.current(), nullptr);
    else
      EXPECT_EQ(list.current()->value, c.expectedCursor);
  }
}

TEST(LinkedList, ClearDeletesEveryElementAndResetsTheCursor) {
  int destroyed = 0;
  {
    TLinkedList<Item> list;
    for (int i = 0; i < 100; ++i) list.append(i, &destroyed);
    list.first();
    list.next();
    list.clear();
    EXPECT_EQ(destroyed, 100);
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(list.current(), nullptr);
    EXPECT_EQ(list.front(), nullptr);
    list.append(7, &destroyed);  // reusable after clearing
    EXPECT_EQ(values(list), std::vector<int>{7});
  }
  EXPECT_EQ(destroyed, 101) << "destroying the list deletes what is left";
}

TEST(LinkedList, IndexLookupFromEitherEnd) {
  TLinkedList<Item> list;
  for (int i = 0; i < 5; ++i) list.append(i * 10);
  list.first();
  for (int i = 0; i < 5; ++i) EXPECT_EQ(list.at(i)->value, i * 10);
  EXPECT_EQ(list.at(5), nullptr);
  EXPECT_EQ(list.at(-1), nullptr);
  EXPECT_EQ(list.current()->value, 0) << "lookup by index does not move the cursor";
}

TEST(LinkedList, RemovedSlotsAreReused) {
  TLinkedList<Item> list;
  for (int i = 0; i < 1000; ++i) list.append(i);
  std::size_t bytes = list.elementBytes();
  for (int round = 0; round < 10; ++round) {
    list.remove(list.front());
    list.append(round);
  }
  EXPECT_EQ(list.elementBytes(), bytes);
  EXPECT_EQ(list.count(), 1000);
}

}  // namespace
}  // namespace tarn
