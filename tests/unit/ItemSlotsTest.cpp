// The key index's table of registrations: every registration stays findable however the
// others come and go (a removal shifts the entries after it back), items registered more than
// once give up each registration, and the table grows and shrinks with them.
#include "model/ItemSlots.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {
HTREEITEM Item(int n)
{
    return reinterpret_cast<HTREEITEM>(static_cast<uintptr_t>(n) * 16);
}
} // namespace

TEST(ItemSlots, EveryRegistrationStaysFindableWhileOthersComeAndGo)
{
    CItemSlots slots;
    for (int n = 1; n <= 3000; ++n) slots.Insert(Item(n), {static_cast<uint32_t>(n % 7), n});
    ASSERT_EQ(slots.Count(), 3000u);
    CItemSlots::Slot taken{};
    for (int n = 3; n <= 3000; n += 3) {
        ASSERT_TRUE(slots.Take(Item(n), static_cast<uint32_t>(n % 7), false, taken));
        EXPECT_EQ(taken.index, n);
    }
    for (int n = 1; n <= 3000; ++n) {
        const bool kept = n % 3 != 0;
        EXPECT_EQ(slots.Find(Item(n), static_cast<uint32_t>(n % 7), n) != nullptr, kept) << n;
    }
    EXPECT_FALSE(slots.Take(Item(3), 3, true, taken)) << "taken already";
    for (int n = 1; n <= 3000; ++n) slots.Take(Item(n), 0, true, taken);
    EXPECT_EQ(slots.Count(), 0u);
    slots.Insert(Item(5), {1, 0});
    EXPECT_NE(slots.Find(Item(5), 1, 0), nullptr) << "after shrinking to its smallest";
}

TEST(ItemSlots, AnItemRegisteredSeveralTimesGivesUpEachByKeyOrAll)
{
    CItemSlots slots;
    slots.Insert(Item(1), {5, 0});
    slots.Insert(Item(2), {5, 1});
    slots.Insert(Item(1), {5, 2});
    slots.Insert(Item(1), {6, 0});
    CItemSlots::Slot taken{};
    int underFive = 0;
    while (slots.Take(Item(1), 5, false, taken)) {
        EXPECT_EQ(taken.key, 5u);
        ++underFive;
    }
    EXPECT_EQ(underFive, 2);
    ASSERT_NE(slots.Find(Item(1), 6, 0), nullptr) << "the registration under another key stays";
    slots.Find(Item(1), 6, 0)->index = 4;
    ASSERT_TRUE(slots.Take(Item(1), 0, true, taken));
    EXPECT_EQ(taken.index, 4) << "a moved place is what is taken out";
    EXPECT_EQ(slots.Count(), 1u);
}
