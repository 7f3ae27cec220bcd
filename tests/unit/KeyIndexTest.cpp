#include "model/KeyIndex.h"

#include <gtest/gtest.h>

namespace {
HTREEITEM Item(int n)
{
    return reinterpret_cast<HTREEITEM>(static_cast<uintptr_t>(n) * 16);
}
std::vector<HTREEITEM> ListOf(const CKeyIndex& index, uint32_t key)
{
    const auto* list = index.Find(key);
    if (!list) return {};
    return std::vector<HTREEITEM>(list->GetData(), list->GetData() + list->GetCount());
}
} // namespace

TEST(KeyIndex, KeepsItemsInRegistrationOrderAndEmptiedEntriesGo)
{
    CKeyIndex index;
    index.Register(5, Item(1));
    index.Register(5, Item(2));
    index.Register(7, Item(3));
    EXPECT_EQ(ListOf(index, 5), (std::vector<HTREEITEM>{Item(1), Item(2)}));

    EXPECT_TRUE(index.Unregister(5, Item(1)));
    EXPECT_EQ(ListOf(index, 5), (std::vector<HTREEITEM>{Item(2)}));
    EXPECT_TRUE(index.Unregister(5, Item(2)));
    EXPECT_EQ(index.Find(5), nullptr) << "an emptied entry goes";
    EXPECT_EQ(index.EntryCount(), 1u);
    index.Forget(Item(3));
    EXPECT_EQ(index.EntryCount(), 0u);
    EXPECT_FALSE(index.Unregister(6, Item(2)));
    EXPECT_EQ(index.Find(6), nullptr);
}

TEST(KeyIndex, UnregisterRemovesEveryOccurrence)
{
    CKeyIndex index;
    index.Register(9, Item(1));
    index.Register(9, Item(2));
    index.Register(9, Item(1));
    index.Register(9, Item(1));
    index.Unregister(9, Item(1));
    EXPECT_EQ(ListOf(index, 9), (std::vector<HTREEITEM>{Item(2)}));
}

TEST(KeyIndex, ForgetRemovesAnItemFromEveryList)
{
    CKeyIndex index;
    index.Register(1, Item(4));
    index.Register(2, Item(4));
    index.Register(2, Item(5));
    index.Forget(Item(4));
    EXPECT_TRUE(ListOf(index, 1).empty());
    EXPECT_EQ(ListOf(index, 2), (std::vector<HTREEITEM>{Item(5)}));
}

TEST(KeyIndex, ItemsLeavingFromAnywhereKeepTheOthersInOrderWithNewOnesAfterThem)
{
    CKeyIndex index;
    for (int n = 1; n <= 10; ++n) index.Register(5, Item(n));
    index.Register(6, Item(4));
    for (int n = 2; n <= 10; n += 2) index.Unregister(5, Item(n));
    index.Register(5, Item(11));
    EXPECT_EQ(ListOf(index, 5), (std::vector<HTREEITEM>{Item(1), Item(3), Item(5), Item(7), Item(9), Item(11)}));
    // Leaving again after the list was read (and closed up), down to the newest item.
    for (int n : {9, 1, 5, 7}) index.Forget(Item(n));
    index.Unregister(5, Item(3));
    EXPECT_EQ(ListOf(index, 5), (std::vector<HTREEITEM>{Item(11)}));
    EXPECT_EQ(ListOf(index, 6), (std::vector<HTREEITEM>{Item(4)})) << "another key's list is untouched";
    index.Forget(Item(11));
    EXPECT_EQ(index.Find(5), nullptr);
    EXPECT_EQ(index.EntryCount(), 1u);
}

// A key's list holds its first items inline and moves to the heap and back as it grows and is
// closed up, keeping the order throughout.
TEST(KeyIndex, AListKeepsItsOrderAcrossItsInlineAndHeapRoom)
{
    CKeyIndex index;
    std::vector<HTREEITEM> expected;
    for (int n = 1; n <= 40; ++n) {
        index.Register(3, Item(n));
        expected.push_back(Item(n));
        ASSERT_EQ(ListOf(index, 3), expected) << "after " << n << " items";
    }
    for (int n = 1; n <= 38; ++n) index.Forget(Item(n));
    EXPECT_EQ(ListOf(index, 3), (std::vector<HTREEITEM>{Item(39), Item(40)}));
    index.Register(3, Item(41));
    index.Register(3, Item(42));
    EXPECT_EQ(ListOf(index, 3), (std::vector<HTREEITEM>{Item(39), Item(40), Item(41), Item(42)}));
}
