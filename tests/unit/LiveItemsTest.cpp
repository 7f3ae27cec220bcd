// The live items' child links against the control's own order, through insertions anywhere
// (first, last, after a sibling, sorted, after an item elsewhere), deletions anywhere and
// sorts sent to the window; and the compact insertion entries of the undo stack.
#include "RVHostKit/HostWindow.h"
#include "model/BranchUndo.h"
#include "tree/RVTreeCtrl.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace RVHostKit;

namespace {

// A comparison that calls every pair out of order: whatever order the control makes of it,
// the links must follow.
int CALLBACK OutOfOrder(LPARAM, LPARAM, LPARAM)
{
    return 1;
}

class LiveLinks : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tree.Create(window.get()));
        root = tree.Builder().AddAssembly(L"Root", 1, 1, false);
    }
    void TearDown() override { tree.DestroyWindow(); }

    HTREEITEM Insert(HTREEITEM hParent, HTREEITEM hInsertAfter, const wchar_t* text)
    {
        TVINSERTSTRUCTW insert{};
        insert.hParent = hParent;
        insert.hInsertAfter = hInsertAfter;
        insert.item.mask = TVIF_TEXT;
        insert.item.pszText = const_cast<wchar_t*>(text);
        // Through the window, as a host's insertion comes.
        return reinterpret_cast<HTREEITEM>(
            SendMessageW(tree.GetHwnd(), TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
    }
    // The labels of the item's children, as the control orders them and as the links do.
    std::vector<std::wstring> ControlChildren(HTREEITEM hParent)
    {
        std::vector<std::wstring> labels;
        for (HTREEITEM h = tree.GetChildItem(hParent); h; h = tree.GetNextSiblingItem(h))
            labels.push_back(tree.GetItemText(h));
        return labels;
    }
    std::vector<std::wstring> LinkedChildren(HTREEITEM hParent)
    {
        std::vector<std::wstring> labels;
        HTREEITEM hPrevious = nullptr;
        for (HTREEITEM h = tree.Items().LiveItems().FirstChildOf(hParent); h; h = tree.Items().LiveItems().NextSiblingOf(h)) {
            EXPECT_EQ(tree.Items().LiveItems().PrevSiblingOf(h), hPrevious) << "the way back matches the way there";
            hPrevious = h;
            labels.push_back(tree.GetItemText(h));
        }
        return labels;
    }
    // Every level of the tree, roots included, in the control's order.
    void ExpectInStep()
    {
        std::vector<HTREEITEM> parents{nullptr};
        while (!parents.empty()) {
            const HTREEITEM hParent = parents.back();
            parents.pop_back();
            EXPECT_EQ(LinkedChildren(hParent), ControlChildren(hParent));
            for (HTREEITEM h = hParent ? tree.GetChildItem(hParent) : tree.GetRootItem(); h; h = tree.GetNextSiblingItem(h))
                parents.push_back(h);
        }
    }
    static std::vector<std::wstring> Labels(std::initializer_list<const wchar_t*> labels)
    {
        return std::vector<std::wstring>(labels.begin(), labels.end());
    }

    CHostWindow window;
    CRVTreeCtrl tree;
    HTREEITEM root = nullptr;
};

} // namespace

TEST_F(LiveLinks, FollowInsertionsAnywhereAndDeletionsAnywhere)
{
    const HTREEITEM c = Insert(root, TVI_LAST, L"C");
    Insert(root, TVI_FIRST, L"A");
    const HTREEITEM e = Insert(root, TVI_LAST, L"E");
    Insert(root, c, L"D");                  // after a sibling
    Insert(root, TVI_SORT, L"B");           // the control decides
    const HTREEITEM other = tree.Builder().AddAssembly(L"Other", 1, 1, false);
    const HTREEITEM x = Insert(other, TVI_LAST, L"X");
    Insert(root, x, L"F");                  // after an item below another parent
    Insert(c, TVI_LAST, L"C1");
    Insert(c, TVI_FIRST, L"C0");
    ExpectInStep();
    EXPECT_EQ(LinkedChildren(root), ControlChildren(root));

    tree.DeleteItem(e);                     // from the middle
    tree.DeleteItem(tree.GetChildItem(root)); // the first
    ExpectInStep();
    tree.DeleteItem(c);                     // a branch
    Insert(root, TVI_LAST, L"G");           // appended after the deletions
    ExpectInStep();
    tree.DeleteItem(other);                 // a root
    ExpectInStep();
}

TEST_F(LiveLinks, FollowSortsSentToTheWindowAndRemovalPutsBackTheSortedOrder)
{
    const HTREEITEM sub = Insert(root, TVI_LAST, L"Sub");
    for (const wchar_t* label : {L"delta", L"alpha", L"charlie", L"bravo"}) Insert(sub, TVI_LAST, label);
    const HTREEITEM deep = Insert(sub, TVI_FIRST, L"echo");
    Insert(deep, TVI_LAST, L"z");
    Insert(deep, TVI_LAST, L"y");
    SendMessageW(tree.GetHwnd(), TVM_SORTCHILDREN, TRUE, reinterpret_cast<LPARAM>(sub));
    ExpectInStep();
    TVSORTCB outOfOrder{};
    outOfOrder.hParent = sub;
    outOfOrder.lpfnCompare = OutOfOrder;
    SendMessageW(tree.GetHwnd(), TVM_SORTCHILDRENCB, 0, reinterpret_cast<LPARAM>(&outOfOrder));
    ExpectInStep();

    const std::vector<std::wstring> sorted = ControlChildren(sub);
    tree.Removal().RemoveTreeItem(sub);
    EXPECT_EQ(tree.GetChildItem(root), nullptr);
    tree.Commands().Undo();
    const HTREEITEM back = tree.GetChildItem(root);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(ControlChildren(back), sorted) << "the undo copy took the children in the control's order";
    ExpectInStep();
}

// One entry per insertion, of which only the top one ever becomes an action: it undoes the
// last item added, and clearing the stack destroys only the actions pushed as objects.
TEST_F(LiveLinks, InsertionsAreUndoneFromCompactEntries)
{
    int destroyed = 0;
    struct CountedAction final : CUndoAction
    {
        CountedAction(IUndoTarget& target, int& count) : CUndoAction(target), m_count(count) {}
        ~CountedAction() override { ++m_count; }
        void Undo() override {}
        int& m_count;
    };
    const HTREEITEM first = tree.Builder().AddTreeItem(L"first", root, nullptr);
    tree.Undo().Push(new CountedAction(tree, destroyed));
    tree.Builder().AddTreeItem(L"second", root, nullptr);
    const HTREEITEM third = tree.Builder().AddTreeItem(L"third", root, nullptr);
    const int count = tree.Undo().Count();
    auto* const top = dynamic_cast<CInsertUndo*>(tree.Undo().Top());
    ASSERT_NE(top, nullptr);
    EXPECT_EQ(top->Item(), third);
    EXPECT_EQ(tree.Undo().Count(), count) << "looking at the top leaves it there";
    tree.Commands().Undo();
    EXPECT_FALSE(tree.Items().IsLiveItem(third));
    EXPECT_TRUE(tree.Items().IsLiveItem(first));
    EXPECT_EQ(tree.Undo().Count(), 0);
    EXPECT_EQ(destroyed, 1) << "the one action object pushed went with the stack";
}
