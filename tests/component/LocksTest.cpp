// Item locks: the host's permission, the padlock images and the closed branch.
#include "host/Component.h"
#include "RVHostKit/TreeReader.h"

#include <gtest/gtest.h>

using Log = std::vector<std::string>;

namespace {

class Locks : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(host.rv);
        assembly = host.AddAssembly(L"Gearbox", 4, 9);
        housing = host.AddItem(assembly, L"Housing", NewRecord(20));
        cover = host.AddItem(housing, L"Cover", NewRecord(21));
        keyless = host.AddItem(assembly, L"Keyless");
        host.log.Clear();
    }
    ShownItem Shown(HTREEITEM item) { return Inspect(host.Tree(), item); }
    LONG Locked(HTREEITEM item)
    {
        LONG value = -1;
        EXPECT_EQ(host.rv->IsLocked(CTestHost::H(item), &value), S_OK);
        return value;
    }

    CTestHost host;
    HTREEITEM assembly{}, housing{}, cover{}, keyless{};
};

using H = CTestHost;

} // namespace

TEST_F(Locks, ALeafPartAsksTheViewObjectForItsKey)
{
    host.rv->LockItem(H::H(cover), 1);
    EXPECT_EQ(host.log.Take(), (Log{"View3D::QueryInterface(IViewNodeQuery) -> ok", "NodeQuery::CanLockNode(21)"}));
    EXPECT_EQ(Locked(cover), 1);
    EXPECT_EQ(Shown(cover).image, 2);
    EXPECT_EQ(host.view->RefCount(), 2) << "the query interface is released at once";

    host.view->canLock[21] = 0;
    host.rv->LockItem(H::H(cover), 0);
    EXPECT_EQ(Locked(cover), 1) << "unlocking needs the permission too";
    host.view->canLock[21] = 1;
    Shown(cover).record->tag = 3;
    host.rv->LockItem(H::H(cover), 0);
    EXPECT_EQ(Locked(cover), 0);
    EXPECT_EQ(Shown(cover).image, 0) << "LockItem never shows the prohibited images";
}

TEST_F(Locks, WithoutPermissionALeafPartStaysAsItIs)
{
    host.rv->LockItem(H::H(keyless), 1);
    EXPECT_EQ(Locked(keyless), 0) << "key 0";
    EXPECT_TRUE(host.log.Entries().empty()) << "not even asked";

    host.view->offerNodeQuery = false;
    host.rv->LockItem(H::H(cover), 1);
    EXPECT_EQ(Locked(cover), 0);

    CTestHost noView(true, false);
    noView.rv->Init(reinterpret_cast<ULONG_PTR>(noView.parent.get()), nullptr, nullptr, nullptr);
    HTREEITEM a = noView.AddAssembly(L"a");
    HTREEITEM leaf = noView.AddItem(a, L"leaf", NewRecord(5));
    noView.rv->LockItem(H::H(leaf), 1);
    LONG value = -1;
    noView.rv->IsLocked(H::H(leaf), &value);
    EXPECT_EQ(value, 0);
}

TEST_F(Locks, AssembliesAndItemsWithChildrenLockWithoutAskingAndCollapse)
{
    host.rv->Expand(H::H(assembly), TVE_EXPAND);
    ASSERT_TRUE(Shown(assembly).expanded);
    host.rv->LockItem(H::H(assembly), 5);
    EXPECT_EQ(Locked(assembly), 5) << "the value itself is stored";
    EXPECT_EQ(Shown(assembly).image, 3);
    EXPECT_FALSE(Shown(assembly).expanded);
    host.rv->LockItem(H::H(housing), 1);
    EXPECT_EQ(Shown(housing).image, 2);
    EXPECT_TRUE(host.log.Entries().empty());

    host.rv->LockItem(H::H(assembly), 0);
    EXPECT_EQ(Shown(assembly).image, 1);
}

TEST_F(Locks, ALockedItemRefusesTheControlsExpansion)
{
    host.rv->LockItem(H::H(housing), 1); // never expanded: the control asks before expanding
    SendMessageA(host.Tree(), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(housing));
    EXPECT_FALSE(Shown(housing).expanded);
    host.rv->LockItem(H::H(housing), 0);
    SendMessageA(host.Tree(), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(housing));
    EXPECT_TRUE(Shown(housing).expanded);
}

TEST_F(Locks, LockItemSuspendsRedrawAroundItsWork)
{
    CMessageSpy spy(host.Tree(), {WM_SETREDRAW});
    host.rv->LockItem(H::H(assembly), 1);
    ASSERT_EQ(spy.seen.size(), 2u);
    EXPECT_EQ(spy.seen[0].wParam, 0u);
    EXPECT_EQ(spy.seen[1].wParam, 1u);
    spy.seen.clear();
    host.rv->LockItem(H::H(keyless), 1); // refused: redraw still comes back
    ASSERT_EQ(spy.seen.size(), 2u);
    EXPECT_EQ(spy.seen[1].wParam, 1u);
}

TEST_F(Locks, BadHandlesAndItemsWithoutRecordsAreLeftAlone)
{
    HTREEITEM bare = host.InsertRaw(assembly, "bare");
    for (ULONG_PTR item : {ULONG_PTR(0), ULONG_PTR(0xBAD), H::H(bare)}) {
        EXPECT_EQ(host.rv->LockItem(item, 1), S_OK);
        LONG value = -1;
        host.rv->IsLocked(item, &value);
        EXPECT_EQ(value, 0);
    }
    EXPECT_EQ(Shown(bare).image, 0);
    EXPECT_EQ(host.rv->IsLocked(H::H(assembly), nullptr), E_POINTER);
}

TEST(LocksUnderAnEightBitHost, TheExpansionRefusalReachesTheTreeToo)
{
    CTestHost host(false);
    HTREEITEM a = host.AddAssembly(L"a");
    HTREEITEM b = host.AddItem(a, L"b");
    host.AddItem(b, L"c");
    host.rv->LockItem(CTestHost::H(b), 1);
    SendMessageA(host.Tree(), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(b));
    EXPECT_FALSE(Inspect(host.Tree(), b).expanded);
}
