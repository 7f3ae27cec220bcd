// The key index over the live items: lists in registration order through items leaving from
// anywhere, one list per item, and items leaving with their deletion.
#include "model/LiveItems.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
HTREEITEM Item(int n)
{
    return reinterpret_cast<HTREEITEM>(static_cast<uintptr_t>(n) * 16);
}
std::vector<HTREEITEM> Items(std::initializer_list<int> numbers)
{
    std::vector<HTREEITEM> items;
    for (int n : numbers) items.push_back(Item(n));
    return items;
}
class KeyIndexTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (int n = 1; n <= 12; ++n) live.Add(Item(n), nullptr);
    }
    CLiveItems live;
    CKeyIndex& index = live.Keys();
};
} // namespace

TEST_F(KeyIndexTest, KeepsItemsInRegistrationOrderAndEmptiedEntriesGo)
{
    index.Register(5, Item(1));
    index.Register(5, Item(2));
    index.Register(7, Item(3));
    index.Register(0, Item(4));
    index.Register(7, Item(99)); // not live
    EXPECT_EQ(index.ItemsOf(5), Items({1, 2}));
    EXPECT_EQ(index.ItemsOf(7), Items({3}));
    EXPECT_EQ(index.EntryCount(), 2u) << "key 0 and items that are not live are never listed";

    EXPECT_TRUE(index.Unregister(5, Item(1)));
    EXPECT_TRUE(index.Unregister(5, Item(3))) << "listed under another key: stays there";
    EXPECT_EQ(index.ItemsOf(5), Items({2}));
    EXPECT_EQ(index.ItemsOf(7), Items({3}));
    EXPECT_TRUE(index.Unregister(5, Item(2)));
    EXPECT_TRUE(index.ItemsOf(5).empty()) << "an emptied entry goes";
    EXPECT_FALSE(index.Unregister(5, Item(2)));
    live.Remove(Item(3)); // leaves its list as it goes
    EXPECT_EQ(index.EntryCount(), 0u);
}

TEST_F(KeyIndexTest, AnItemIsListedOnceUnderItsLatestKey)
{
    index.Register(9, Item(1));
    index.Register(9, Item(2));
    index.Register(9, Item(1));
    index.Register(6, Item(2));
    EXPECT_EQ(index.ItemsOf(9), Items({1}));
    EXPECT_EQ(index.ItemsOf(6), Items({2}));
}

TEST_F(KeyIndexTest, ItemsLeavingFromAnywhereKeepTheOthersInOrderWithNewOnesAfterThem)
{
    for (int n = 1; n <= 10; ++n) index.Register(5, Item(n));
    index.Register(6, Item(11));
    for (int n : {1, 4, 10, 6}) index.Unregister(5, Item(n)); // first, middle, last
    index.Register(5, Item(12));
    EXPECT_EQ(index.ItemsOf(5), Items({2, 3, 5, 7, 8, 9, 12}));
    // An item that goes leaves its list; its handle comes back unlisted.
    for (int n : {12, 2, 8}) live.Remove(Item(n));
    live.Add(Item(12), nullptr);
    index.Register(5, Item(1));
    EXPECT_EQ(index.ItemsOf(5), Items({3, 5, 7, 9, 1}));
    EXPECT_EQ(index.ItemsOf(6), Items({11})) << "another key's list is untouched";
    live.Clear();
    EXPECT_EQ(index.EntryCount(), 0u);
}
