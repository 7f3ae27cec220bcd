// Remembered items: an undo action of a deleted item never acts for a later item that the
// control gives the same handle value; selection marks are put back as listed.
#include "RVHostKit/HostWindow.h"
#include "model/BranchUndo.h"
#include "tree/RVTreeCtrl.h"

#include <gtest/gtest.h>

using namespace RVHostKit;

TEST(ItemRef, ADeletedItemsUndoActionDoesNotResolveToALaterItemWithItsHandle)
{
    CHostWindow window;
    CRVTreeCtrl tree;
    ASSERT_TRUE(tree.Create(window.get()));
    const HTREEITEM root = tree.Builder().AddAssembly(L"root", 1, 1, false);
    const HTREEITEM item = tree.Builder().AddTreeItem(L"item", root, nullptr);
    CInsertUndo undo(tree, item);
    EXPECT_EQ(undo.Item(), item);
    tree.DeleteItem(item);
    EXPECT_EQ(undo.Item(), nullptr);

    // The control tends to hand out a freed handle value again; whether or not it does, the
    // action must not take the new item for its own.
    HTREEITEM reused = nullptr;
    for (int i = 0; i < 50 && !reused; ++i) {
        const HTREEITEM fresh = tree.Builder().AddTreeItem(L"fresh", root, nullptr);
        if (fresh == item) reused = fresh;
    }
    EXPECT_EQ(undo.Item(), nullptr);
    if (reused) {
        EXPECT_TRUE(tree.Items().IsLiveItem(reused)) << "the handle value was reused by a live item";
    }
    tree.DestroyWindow();
}

TEST(SelectionMarks, RefreshPutsBackLostMarksAndClearsDropHighlights)
{
    CHostWindow window;
    CRVTreeCtrl tree;
    ASSERT_TRUE(tree.Create(window.get()));
    const HTREEITEM root = tree.Builder().AddAssembly(L"root", 1, 1, false);
    const HTREEITEM a = tree.Builder().AddTreeItem(L"a", root, nullptr);
    tree.Selection().SelectItem(a, false, false, false);
    tree.SetItemState(a, TVIS_DROPHILITED, TVIS_SELECTED | TVIS_DROPHILITED);
    tree.Selection().RefreshSelectionMarks();
    EXPECT_EQ(tree.GetItemState(a, TVIS_SELECTED | TVIS_DROPHILITED), static_cast<UINT>(TVIS_SELECTED));
    tree.DestroyWindow();
}
