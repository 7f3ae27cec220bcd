#include "model/RecordLookup.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace {

// A control stand-in: items are small integers, each with a record and a parent, and every
// question the lookup asks it is counted.
class CFakeControl final : public IItemSource
{
public:
    ItemRecord* QueryRecord(HTREEITEM hItem, bool& known) override
    {
        ++recordQueries;
        const auto it = records.find(hItem);
        known = it != records.end();
        return known ? it->second : nullptr;
    }
    HTREEITEM QueryParent(HTREEITEM hItem) override
    {
        ++parentQueries;
        const auto it = parents.find(hItem);
        return it == parents.end() ? nullptr : it->second;
    }

    std::map<HTREEITEM, ItemRecord*> records;
    std::map<HTREEITEM, HTREEITEM> parents;
    int recordQueries = 0;
    int parentQueries = 0;
};

HTREEITEM Item(int n)
{
    return reinterpret_cast<HTREEITEM>(static_cast<uintptr_t>(n) * 16);
}

class RecordLookup : public ::testing::Test
{
protected:
    RecordLookup() : lookup(control)
    {
        for (int i = 1; i <= 20; ++i) control.records[Item(i)] = &storage[i];
    }

    ItemRecord storage[21]{};
    CFakeControl control;
    CRecordLookup lookup;
};

} // namespace

TEST_F(RecordLookup, RepeatedLookupsAreAnsweredFromTheCache)
{
    EXPECT_EQ(lookup.GetRecord(Item(1)), &storage[1]);
    EXPECT_EQ(lookup.GetRecord(Item(1)), &storage[1]);
    EXPECT_EQ(lookup.GetRecord(Item(2)), &storage[2]);
    EXPECT_EQ(lookup.GetRecord(Item(1)), &storage[1]);
    EXPECT_EQ(control.recordQueries, 2);
}

TEST_F(RecordLookup, EleventhDistinctItemEvictsTheFirst)
{
    for (int i = 1; i <= 11; ++i) lookup.GetRecord(Item(i));
    EXPECT_EQ(control.recordQueries, 11);
    EXPECT_EQ(lookup.CacheCount(), 10);
    lookup.GetRecord(Item(2));
    EXPECT_EQ(control.recordQueries, 11) << "item 2 is still cached";
    lookup.GetRecord(Item(1));
    EXPECT_EQ(control.recordQueries, 12) << "item 1 was evicted";
}

TEST_F(RecordLookup, UsingAnItemKeepsItAndEvictsTheLeastRecentlyUsed)
{
    for (int i = 1; i <= 10; ++i) {
        lookup.GetRecord(Item(i));
        if (i == 5) lookup.GetRecord(Item(1));
    }
    lookup.GetRecord(Item(11));
    const int before = control.recordQueries;
    lookup.GetRecord(Item(1));
    EXPECT_EQ(control.recordQueries, before) << "item 1 stayed";
    lookup.GetRecord(Item(2));
    EXPECT_EQ(control.recordQueries, before + 1) << "item 2 went instead";
}

TEST_F(RecordLookup, CounterWrapRestartsStampsSoUnusedEntriesGoFirst)
{
    for (int i = 1; i <= 10; ++i) lookup.GetRecord(Item(i));
    lookup.SetUseCounter(0xFFFFFFFEu);
    lookup.GetRecord(Item(7)); // the counter reaches 0xFFFFFFFF: restart at 1, all stamps 0
    EXPECT_EQ(lookup.UseCounter(), 1u);
    EXPECT_EQ(lookup.CacheStamps().GetData()[6], 1u);
    EXPECT_EQ(lookup.CacheStamps().GetData()[0], 0u);
    lookup.GetRecord(Item(3));
    lookup.GetRecord(Item(11)); // evicts the lowest index with stamp 0: item 1
    EXPECT_EQ(lookup.CachedItems().GetData()[0], Item(11));
    lookup.GetRecord(Item(12)); // then item 2
    EXPECT_EQ(lookup.CachedItems().GetData()[1], Item(12));
}

TEST_F(RecordLookup, InvalidateForgetsTheCachedRecord)
{
    lookup.GetRecord(Item(4));
    ItemRecord replacement{};
    control.records[Item(4)] = &replacement;
    EXPECT_EQ(lookup.GetRecord(Item(4)), &storage[4]) << "still cached";
    lookup.InvalidateRecord(Item(4));
    EXPECT_EQ(lookup.CacheCount(), 0);
    EXPECT_EQ(lookup.GetRecord(Item(4)), &replacement);
}

TEST_F(RecordLookup, AnItemWithoutRecordIsCachedAndAnUnknownHandleIsNotRemembered)
{
    control.records[Item(98)] = nullptr;
    EXPECT_EQ(lookup.GetRecord(Item(98)), nullptr);
    EXPECT_EQ(lookup.GetRecord(Item(98)), nullptr);
    EXPECT_EQ(control.recordQueries, 1);
    // A handle the control does not know may come back as a new item's.
    EXPECT_EQ(lookup.GetRecord(Item(99)), nullptr);
    control.records[Item(99)] = &storage[1];
    EXPECT_EQ(lookup.GetRecord(Item(99)), &storage[1]);
}

TEST_F(RecordLookup, AncestorPathServesRecordsAndParentsRootFirst)
{
    // 1 ← 2 ← 3 ← 4
    control.parents = {{Item(2), Item(1)}, {Item(3), Item(2)}, {Item(4), Item(3)}};
    lookup.BuildAncestorPath(Item(4));
    ASSERT_EQ(lookup.RecordPathCount(), 3);
    control.recordQueries = control.parentQueries = 0;

    EXPECT_EQ(lookup.GetRecord(Item(2)), &storage[2]);
    EXPECT_EQ(lookup.GetParent(Item(3)), Item(2));
    EXPECT_EQ(lookup.GetParent(Item(1)), nullptr) << "the topmost entry is a root";
    EXPECT_EQ(control.recordQueries, 0);
    EXPECT_EQ(control.parentQueries, 0);

    lookup.SetPathEnabled(false);
    lookup.GetParent(Item(3));
    EXPECT_EQ(control.parentQueries, 1) << "a disabled record path is not consulted";
    lookup.SetPathEnabled(true);

    lookup.GetParent(Item(4));
    EXPECT_EQ(control.parentQueries, 2) << "the item itself is not in its path";
}

TEST_F(RecordLookup, ReleasedPathServesParentLookupsUntilAnItemOfItGoes)
{
    control.parents = {{Item(2), Item(1)}, {Item(3), Item(2)}, {Item(4), Item(3)}};
    lookup.BuildAncestorPath(Item(4));
    lookup.ReleaseAncestorPath();
    EXPECT_EQ(lookup.RecordPathCount(), 0);
    EXPECT_EQ(lookup.ParentPathCount(), 3);
    control.parentQueries = 0;

    EXPECT_EQ(lookup.GetParent(Item(3)), Item(2));
    EXPECT_EQ(lookup.GetParent(Item(1)), nullptr);
    EXPECT_EQ(control.parentQueries, 0);
    EXPECT_EQ(lookup.GetParent(Item(9)), nullptr);
    EXPECT_EQ(control.parentQueries, 1) << "an item outside the path asks the control";

    lookup.InvalidateRecord(Item(2));
    EXPECT_EQ(lookup.ParentPathCount(), 0);
    lookup.GetParent(Item(3));
    EXPECT_EQ(control.parentQueries, 2);
}

TEST_F(RecordLookup, InvalidatingAPathItemEmptiesTheRecordPath)
{
    control.parents = {{Item(2), Item(1)}, {Item(3), Item(2)}};
    lookup.BuildAncestorPath(Item(3));
    lookup.InvalidateRecord(Item(1));
    EXPECT_EQ(lookup.RecordPathCount(), 0);
    EXPECT_TRUE(lookup.IsPathEnabled()) << "the enable flag keeps its value";
}
