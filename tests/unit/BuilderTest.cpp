// Item creation inside the tree window: undo records, key registration, the last mouse point.
#include "RVHostKit/HostWindow.h"
#include "tree/RVTreeCtrl.h"

#include <gtest/gtest.h>

using namespace RVHostKit;

namespace {

class Builder : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(tree.Create(window.get())); }

    HTREEITEM Add(HTREEITEM parent, const wchar_t* name, uint32_t key = 0)
    {
        auto* record = new ItemRecord();
        record->key = key;
        return tree.Builder().AddTreeItem(name, parent, record);
    }
    std::vector<HTREEITEM> Listed(uint32_t key) const { return tree.Items().KeyIndex().ItemsOf(key); }

    CHostWindow window;
    CRVTreeCtrl tree;
};

} // namespace

TEST_F(Builder, UndoActionsAreRecordedFromTheThirdItemOn)
{
    HTREEITEM root = tree.Builder().AddAssembly(L"root", 1, 1, false);
    EXPECT_EQ(tree.Undo().Count(), 0) << "roots record nothing";
    Add(root, L"first");
    EXPECT_EQ(tree.Undo().Count(), 0) << "two items in the tree";
    HTREEITEM second = Add(root, L"second");
    EXPECT_EQ(tree.Undo().Count(), 1);
    Add(second, L"third");
    EXPECT_EQ(tree.Undo().Count(), 2);

    // Below three items each insertion empties the stack.
    tree.DeleteItem(root);
    HTREEITEM other = tree.Builder().AddAssembly(L"other", 1, 1, false);
    EXPECT_EQ(tree.Undo().Count(), 2);
    Add(other, L"only child");
    EXPECT_EQ(tree.Undo().Count(), 0);
}

TEST_F(Builder, KeysAreRegisteredInInsertionOrder)
{
    HTREEITEM a = tree.Builder().AddAssembly(L"a", 1, 1, false);
    HTREEITEM b = tree.Builder().AddAssembly(L"b", 1, 1, false);
    HTREEITEM inA = Add(a, L"in a", 12);
    HTREEITEM inB = Add(b, L"in b", 12);
    Add(b, L"keyless", 0);
    EXPECT_EQ(Listed(12), (std::vector<HTREEITEM>{inA, inB}));
    EXPECT_EQ(tree.Items().KeyIndex().EntryCount(), 1u);
}

TEST_F(Builder, AssembliesAreNeverRegisteredWhateverTheirRecordSays)
{
    tree.Builder().AddAssembly(L"a", 1, 1, false);
    EXPECT_EQ(tree.Items().KeyIndex().EntryCount(), 0u);
}

TEST_F(Builder, CreateItemRefusesRequestsWithoutAParent)
{
    NewItem root;
    root.hParent = TVI_ROOT;
    EXPECT_EQ(tree.Builder().CreateItem(root), nullptr);
    root.hParent = nullptr;
    EXPECT_EQ(tree.Builder().CreateItem(root), nullptr);
    EXPECT_EQ(tree.GetCount(), 0u);
}

TEST_F(Builder, InsertNewItemWithoutAParentUsesTheItemUnderTheLastMousePoint)
{
    HTREEITEM a = tree.Builder().AddAssembly(L"a", 1, 1, false);
    ::MoveWindow(tree.GetHwnd(), 0, 0, 200, 200, FALSE);
    RECT rect{};
    tree.GetItemRect(a, rect, true);
    tree.MousePoint().Set(POINT{rect.left + 2, (rect.top + rect.bottom) / 2});
    tree.Builder().InsertNewItem(9, L"new", nullptr);
    HTREEITEM child = tree.GetChildItem(a);
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(tree.Items().GetRecord(child)->key, 9u);
    EXPECT_EQ(Listed(9), std::vector<HTREEITEM>{child});

    tree.MousePoint().Set(POINT{150, 190}); // below every item
    tree.Builder().InsertNewItem(10, L"nowhere", nullptr);
    EXPECT_EQ(tree.Items().KeyIndex().CountOf(10), 0);
}
