// The live items' table: every handle stays findable however the others come and go (a
// removal shifts the cells after it back), freed entries are reused, and the table grows and
// shrinks with its items.
#include "model/ItemTable.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <set>

namespace {
HTREEITEM Item(int n)
{
    return reinterpret_cast<HTREEITEM>(static_cast<uintptr_t>(n) * 16);
}
} // namespace

TEST(ItemTable, EveryItemStaysFindableWhileOthersComeAndGo)
{
    CItemTable table;
    std::set<CItemTable::Index> entries;
    for (int n = 1; n <= 3000; ++n) {
        const CItemTable::Index i = table.Add(Item(n));
        table.At(i).serial = static_cast<uint64_t>(n);
        entries.insert(i);
    }
    ASSERT_EQ(entries.size(), 3000u) << "an entry each";
    for (int n = 3; n <= 3000; n += 3) table.Remove(table.Find(Item(n)));
    for (int n = 1; n <= 3000; ++n) {
        const CItemTable::Index i = table.Find(Item(n));
        if (n % 3 == 0) {
            EXPECT_EQ(i, CItemTable::kNone) << n;
        } else {
            ASSERT_NE(i, CItemTable::kNone) << n;
            EXPECT_EQ(table.At(i).serial, static_cast<uint64_t>(n)) << "its own entry";
        }
    }
    const CItemTable::Index reused = table.Add(Item(3));
    EXPECT_NE(entries.count(reused), 0u) << "a freed entry is reused";
    EXPECT_EQ(table.At(reused).serial, 0u) << "and comes zeroed";
    for (int n = 1; n <= 3000; ++n)
        if (const CItemTable::Index i = table.Find(Item(n))) table.Remove(i);
    EXPECT_EQ(table.Count(), 0u);
    const CItemTable::Index again = table.Add(Item(5));
    EXPECT_EQ(table.Find(Item(5)), again) << "after shrinking to nothing";
    EXPECT_EQ(table.Find(nullptr), CItemTable::kNone);
}
