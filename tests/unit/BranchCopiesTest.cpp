// Branch copies, driven through the tree object the way the clipboard and drops use them.
#include "RVHostKit/HostObjects.h"
#include "RVHostKit/HostWindow.h"
#include "tree/RVTreeCtrl.h"

#include <gtest/gtest.h>

using namespace RVHostKit;

namespace {

class BranchCopies : public ::testing::Test
{
protected:
    // Gearbox (4/9) ─┬─ Housing (key 100) ─┬─ Left (101)
    //                │                     └─ Right (102)
    //                └─ Shaft (200)
    // Frame (5/8) ─── Strut (300)
    void SetUp() override
    {
        ASSERT_TRUE(tree.Create(window.get()));
        tree.Host().SetViewer(nullptr, view);
        gearbox = tree.Builder().AddAssembly(L"Gearbox", 4, 9, false);
        housing = Add(gearbox, L"Housing", 100);
        left = Add(housing, L"Left", 101);
        right = Add(housing, L"Right", 102);
        shaft = Add(gearbox, L"Shaft", 200);
        frame = tree.Builder().AddAssembly(L"Frame", 5, 8, false);
        strut = Add(frame, L"Strut", 300);
    }
    void TearDown() override
    {
        FreeItemCopies(list);
        tree.DestroyWindow();
        view->Release();
    }
    HTREEITEM Add(HTREEITEM parent, const wchar_t* name, uint32_t key)
    {
        auto* record = new ItemRecord();
        record->key = key;
        return tree.Builder().AddTreeItem(name, parent, record);
    }
    std::vector<std::wstring> Texts(HTREEITEM parent)
    {
        std::vector<std::wstring> out;
        for (HTREEITEM c = tree.GetChildItem(parent); c; c = tree.GetNextSiblingItem(c)) out.push_back(tree.GetItemText(c));
        return out;
    }
    UINT StateImage(HTREEITEM item) { return tree.GetItemState(item, TVIS_STATEIMAGEMASK) >> 12; }

    CCallLog log;
    CTestView3D* view = new CTestView3D(log);
    CHostWindow window;
    CRVTreeCtrl tree;
    ItemCopyList list;
    HTREEITEM gearbox{}, housing{}, left{}, right{}, shaft{}, frame{}, strut{};
};

} // namespace

TEST_F(BranchCopies, CollectingGivesPreOrderCopiesWithTheirParents)
{
    ASSERT_TRUE(tree.Copies().CollectBranch(list, housing, nullptr));
    ASSERT_EQ(list.GetCount(), 3);
    const ItemCopy* const* c = list.GetData();
    EXPECT_EQ(c[0]->hItem, housing);
    EXPECT_EQ(c[0]->hParent, nullptr);
    EXPECT_EQ(c[0]->hInsertAfter, TVI_LAST);
    EXPECT_EQ(c[1]->hItem, left);
    EXPECT_EQ(c[1]->hParent, housing);
    EXPECT_EQ(c[2]->hItem, right);
    EXPECT_EQ(c[2]->hParent, housing);
    EXPECT_STREQ(c[1]->pszText, L"Left");
    EXPECT_EQ(c[1]->pRecord->key, 101u);
    EXPECT_NE(c[1]->pRecord, tree.Items().GetRecord(left)) << "a copy of the record, not the record";

    EXPECT_FALSE(tree.Copies().CollectBranch(list, gearbox, nullptr)) << "assemblies are not copied";
    EXPECT_FALSE(tree.Copies().CollectBranch(list, nullptr, nullptr));
    EXPECT_EQ(list.GetCount(), 3);
}

TEST_F(BranchCopies, CaptureTakesTheStateFromTheRecordAndTheWholeLabel)
{
    tree.Items().GetRecord(left)->state = 1;
    tree.Pictures().SetStatePicture(left, kStateUnloaded);
    tree.Pictures().SetStatePicture(right, kStateUnloaded);
    // Longer than the first read's buffer: a copy must not lose the end of a label.
    tree.SetItemText(shaft, std::wstring(200, L'x').c_str());
    ItemCopy onCopy, offCopy, longCopy;
    tree.Copies().CaptureItem(onCopy, left);
    tree.Copies().CaptureItem(offCopy, right);
    tree.Copies().CaptureItem(longCopy, shaft);
    EXPECT_EQ(onCopy.state >> 12, 1u);
    EXPECT_EQ(offCopy.state >> 12, 2u);
    EXPECT_EQ(std::wstring(longCopy.pszText), std::wstring(200, L'x'));
}

TEST_F(BranchCopies, PastingBelowAnotherParentTakesItsIdentifiers)
{
    tree.Items().GetRecord(left)->dataItemID = 55;
    tree.Items().GetRecord(right)->dataItemID = 66;
    tree.Copies().CollectBranch(list, housing, nullptr);
    const HTREEITEM root = tree.Copies().PasteAsChildren(strut, list);
    ASSERT_EQ(root, nullptr) << "a keyed leaf takes no children";
    const HTREEITEM pasted = tree.Copies().PasteAsChildren(frame, list);
    ASSERT_NE(pasted, nullptr);
    EXPECT_EQ(Texts(frame), (std::vector<std::wstring>{L"Strut", L"Housing"}));
    EXPECT_EQ(Texts(pasted), (std::vector<std::wstring>{L"Left", L"Right"}));
    for (HTREEITEM item : {pasted, tree.GetChildItem(pasted)}) {
        EXPECT_EQ(tree.Items().GetRecord(item)->typeID, 5u);
        EXPECT_EQ(tree.Items().GetRecord(item)->dataID, 8u);
        EXPECT_EQ(tree.Items().GetRecord(item)->dataItemID, 0u) << "another data set";
    }
    EXPECT_EQ(tree.Items().GetRecord(pasted)->nChildren, 2u) << "counted once, as its children were made";
    EXPECT_EQ(tree.Items().GetRecord(frame)->nChildren, 2u);

    // Within the same data set the host's identifiers survive.
    FreeItemCopies(list);
    tree.Copies().CollectBranch(list, left, nullptr);
    const HTREEITEM again = tree.Copies().PasteAsSiblings(right, list, false);
    EXPECT_EQ(tree.Items().GetRecord(again)->dataItemID, 55u);
}

TEST_F(BranchCopies, SiblingsLandAfterOrBeforeTheTarget)
{
    tree.Copies().CollectBranch(list, shaft, nullptr);
    tree.Copies().PasteAsSiblings(left, list, false);
    EXPECT_EQ(Texts(housing), (std::vector<std::wstring>{L"Left", L"Shaft", L"Right"}));
    tree.Copies().PasteAsSiblings(left, list, true);
    EXPECT_EQ(Texts(housing), (std::vector<std::wstring>{L"Shaft", L"Left", L"Shaft", L"Right"}));
    EXPECT_EQ(tree.Copies().PasteAsSiblings(gearbox, list, false), nullptr) << "beside a root";
    EXPECT_EQ(list.GetCount(), 1) << "the list keeps its copies";
}

TEST_F(BranchCopies, APasteClearsTheAncestorKeysAndRecordsOneUndoForTheRoot)
{
    tree.Copies().CollectBranch(list, strut, nullptr);
    const int undoBefore = tree.Undo().Count();
    const HTREEITEM pasted = tree.Copies().PasteAsChildren(right, list); // right has key 102 and no children
    EXPECT_EQ(pasted, nullptr);
    const HTREEITEM below = tree.Copies().PasteAsChildren(housing, list);
    ASSERT_NE(below, nullptr);
    EXPECT_EQ(tree.Items().GetRecord(housing)->key, 0u);
    EXPECT_EQ(tree.Items().KeyIndex().CountOf(100), 0);
    EXPECT_EQ(tree.Items().GetRecord(below)->key, 300u);
    EXPECT_EQ(tree.Items().KeyIndex().CountOf(300), 2) << "the copy shows the same key";
    EXPECT_EQ(tree.Undo().Count(), undoBefore + 2) << "one for the item made, one for the new root";
}

TEST_F(BranchCopies, IsolatedItemsStayInTheirDataSet)
{
    const HTREEITEM fixture = tree.Builder().AddAssembly(L"Fixture", 7, 3, true);
    const HTREEITEM plate = Add(fixture, L"Plate", 0);
    tree.Copies().CollectBranch(list, plate, nullptr);
    EXPECT_EQ(tree.Copies().PasteAsChildren(gearbox, list), nullptr) << "out of an isolated assembly";
    FreeItemCopies(list);
    tree.Copies().CollectBranch(list, shaft, nullptr);
    EXPECT_EQ(tree.Copies().PasteAsChildren(fixture, list), nullptr) << "into one from another data set";
    const HTREEITEM sameSet = tree.Builder().AddAssembly(L"Same set", 7, 3, true);
    FreeItemCopies(list);
    tree.Copies().CollectBranch(list, plate, nullptr);
    EXPECT_NE(tree.Copies().PasteAsChildren(sameSet, list), nullptr);
}

TEST_F(BranchCopies, LockedSourcesAreLockedAgainAndListsPasteTwice)
{
    tree.Locks().LockItem(housing, 1);
    tree.Copies().CollectBranch(list, housing, nullptr);
    const HTREEITEM first = tree.Copies().PasteAsChildren(frame, list);
    const HTREEITEM second = tree.Copies().PasteAsChildren(frame, list);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(first, second);
    EXPECT_EQ(tree.Items().GetRecord(first)->bLocked, 1u);
    EXPECT_NE(tree.Items().GetRecord(first), tree.Items().GetRecord(second)) << "independent records";
    TVITEMW item{};
    item.mask = TVIF_HANDLE | TVIF_IMAGE;
    item.hItem = first;
    tree.GetItem(item);
    EXPECT_EQ(item.iImage, kImageLockedPart);
    EXPECT_EQ(list.GetCount(), 3);
}

TEST_F(BranchCopies, ADeepBranchIsCopiedWithoutRecursion)
{
    HTREEITEM item = shaft;
    for (int i = 0; i < 3000; ++i) item = Add(item, L"n", 0);
    ASSERT_TRUE(tree.Copies().CollectBranch(list, shaft, nullptr));
    EXPECT_EQ(list.GetCount(), 3001);
    const HTREEITEM pasted = tree.Copies().PasteAsChildren(frame, list);
    ASSERT_NE(pasted, nullptr);
    int depth = 0;
    for (HTREEITEM x = pasted; x; x = tree.GetChildItem(x)) ++depth;
    EXPECT_EQ(depth, 3001);
}
