// Removing items through the interface: reports, freed records, counts, keys and selection.
#include "host/Component.h"
#include "RVHostKit/TreeReader.h"

#include <gtest/gtest.h>

#include <set>

using Log = std::vector<std::string>;

namespace {

class Removal : public ::testing::Test
{
protected:
    // Gearbox (4/9) ─┬─ Housing (key 100) ─┬─ Left (101)
    //                │                     └─ Right (102)
    //                └─ Shaft (200)
    void SetUp() override
    {
        ASSERT_TRUE(host.rv);
        gearbox = host.AddAssembly(L"Gearbox", 4, 9);
        housing = host.AddItem(gearbox, L"Housing", NewRecord(100));
        left = host.AddItem(housing, L"Left", NewRecord(101));
        right = host.AddItem(housing, L"Right", NewRecord(102));
        shaft = host.AddItem(gearbox, L"Shaft", NewRecord(200));
        host.log.Clear();
    }
    static ULONG_PTR H(HTREEITEM item) { return CTestHost::H(item); }
    ItemRecord* Record(HTREEITEM item) { return Inspect(host.Tree(), item).record; }
    int KeyCount(ULONG key)
    {
        int n = -1;
        host.rv->IsOrvaneKeyPresent(key, &n);
        return n;
    }
    static Log Deleted(const char* item)
    {
        return {Format("IMessage::SendWithDataID(dataID=9, wID=4, wMsg=0x16, Size=4, data=%s)", item),
                "Sink::SetSelectionLock(1)", "Sink::SetSelectionLock(0)"};
    }

    CFreeCounter frees;
    CTestHost host;
    HTREEITEM gearbox{}, housing{}, left{}, right{}, shaft{};
};

Log Join(std::initializer_list<Log> parts)
{
    Log out;
    for (const Log& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

} // namespace

TEST_F(Removal, ABranchIsReportedItemByItemAndItsRecordsFreedOnce)
{
    ItemRecord* records[] = {Record(housing), Record(left), Record(right)};
    host.rv->RemoveTreeItem(H(housing));
    EXPECT_EQ(host.log.Take(), Join({Deleted("Left"), Deleted("Right"), Deleted("Housing")}))
        << "children before their parent, as the control deletes them";
    for (ItemRecord* r : records) EXPECT_EQ(frees.FreesOf(r), 1);
    EXPECT_EQ(ChildrenOf(host.Tree(), gearbox), std::vector<HTREEITEM>{shaft});
    EXPECT_EQ(Record(gearbox)->nChildren, 1u);
    EXPECT_EQ(KeyCount(100), 0);
    EXPECT_EQ(KeyCount(101), 0);
    host.ReleaseComponent();
    for (ItemRecord* r : records) EXPECT_EQ(frees.FreesOf(r), 1) << "not again at teardown";
}

TEST_F(Removal, RemovingTheOnlyOnChildLowersBothCounts)
{
    host.rv->SetHTIState(H(left), 1, 0);
    ASSERT_EQ(Record(housing)->nChildrenOn, 1u);
    host.rv->RemoveTreeItem(H(left));
    EXPECT_EQ(Record(housing)->nChildren, 1u);
    EXPECT_EQ(Record(housing)->nChildrenOn, 0u);
}

TEST_F(Removal, RemovalClearsTheKeysOfEveryAncestor)
{
    HTREEITEM deep = host.AddItem(left, L"Deep", NewRecord(300));
    host.rv->RemoveTreeItem(H(deep));
    EXPECT_EQ(Record(left)->key, 0u);
    EXPECT_EQ(Record(housing)->key, 0u);
    EXPECT_EQ(KeyCount(101), 0);
    EXPECT_EQ(KeyCount(100), 0);
    EXPECT_EQ(KeyCount(102), 1) << "a sibling keeps its key";
}

TEST_F(Removal, RemoveAllChildrenKeepsTheItem)
{
    host.rv->RemoveAllChildren(H(gearbox));
    EXPECT_TRUE(ChildrenOf(host.Tree(), gearbox).empty());
    EXPECT_EQ(Record(gearbox)->nChildren, 0u);
    EXPECT_EQ(host.log.Matching("IMessage::SendWithDataID").size(), 4u);
}

TEST_F(Removal, TheCurrentAndSelectedItemsGoWithTheirItems)
{
    host.rv->SelectItem(H(right), 0, 0, 0);
    host.rv->SelectItem(H(shaft), 0, 0, 0);
    host.rv->RemoveTreeItem(H(housing));
    int n = -1;
    host.rv->GetNumSelected(&n);
    EXPECT_EQ(n, 1);
    ULONG_PTR current = 99;
    host.rv->GetCurrentItem(&current);
    EXPECT_EQ(current, 0u) << "a removal leaves no current item";
    ULONG_PTR first = 0;
    host.rv->GetSelectedItem(&first);
    EXPECT_EQ(first, H(shaft));
}

TEST_F(Removal, RootsItemsWithoutRecordsAndBadHandles)
{
    HTREEITEM bare = host.InsertRaw(gearbox, "bare");
    host.log.Clear();
    host.rv->RemoveTreeItem(H(bare));
    EXPECT_EQ(host.log.Take(), Join({{"IMessage::SendWithDataID(dataID=0, wID=0, wMsg=0x16, Size=4, data=bare)",
                                      "Sink::SetSelectionLock(1)", "Sink::SetSelectionLock(0)"}}));
    EXPECT_EQ(Record(gearbox)->nChildren, 2u) << "an item the parent never counted takes nothing off";
    for (ULONG_PTR item : {ULONG_PTR(0), ULONG_PTR(0xDEAD), H(bare)}) {
        EXPECT_EQ(host.rv->RemoveTreeItem(item), S_OK);
        EXPECT_EQ(host.rv->RemoveAllChildren(item), S_OK);
    }
    EXPECT_TRUE(host.log.Entries().empty());
    host.rv->RemoveTreeItem(H(gearbox));
    EXPECT_TRUE(ChildrenOf(host.Tree(), TVI_ROOT).empty());
}

TEST_F(Removal, TheHostMayRemoveAndDeselectFromInsideTheReports)
{
    host.rv->SelectItem(H(left), 0, 0, 0);
    host.rv->SelectItem(H(shaft), 0, 0, 0);
    bool removedShaft = false;
    host.message->onMessage = [&](unsigned short msg, BYTE*) {
        if (msg == 0x16 && !removedShaft) {
            removedShaft = true;
            host.rv->RemoveTreeItem(H(shaft));
            host.rv->DeselectAll();
        }
    };
    host.rv->RemoveTreeItem(H(housing));
    host.message->onMessage = nullptr; // it refers to this test's locals
    EXPECT_TRUE(removedShaft);
    EXPECT_TRUE(ChildrenOf(host.Tree(), gearbox).empty()) << "the removal asked for during a deletion ran after it";
    int n = -1;
    host.rv->GetNumSelected(&n);
    EXPECT_EQ(n, 0);
    EXPECT_EQ(Record(gearbox)->nChildren, 0u);
}

TEST_F(Removal, DestroyingTheWindowReportsEveryItemOnce)
{
    host.ReleaseComponent();
    const Log deletions = host.log.Matching("IMessage::SendWithDataID(dataID=9, wID=4, wMsg=0x16");
    EXPECT_EQ(deletions.size(), 5u);
    EXPECT_EQ(std::set<std::string>(deletions.begin(), deletions.end()).size(), 5u);
}
