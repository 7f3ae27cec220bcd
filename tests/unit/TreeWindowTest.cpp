// The tree window object with a real control: key index upkeep, path-aware parent lookups,
// live items and the undo stack.
#include "host/HostWindow.h"
#include "tree/RVTreeCtrl.h"

#include <gtest/gtest.h>

namespace {

class TreeWindow : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(tree.Create(window.get())); }

    HTREEITEM Insert(HTREEITEM parent, uint32_t key)
    {
        auto* record = new ItemRecord();
        record->key = key;
        TVINSERTSTRUCTA insert{};
        insert.hParent = parent;
        insert.hInsertAfter = TVI_LAST;
        insert.item.mask = TVIF_PARAM;
        insert.item.lParam = reinterpret_cast<LPARAM>(record);
        HTREEITEM item = tree.InsertItem(insert);
        tree.RegisterItemKey(item, key);
        return item;
    }

    std::vector<HTREEITEM> Listed(uint32_t key) const
    {
        const auto* list = tree.KeyIndex().Find(key);
        if (!list) return {};
        return std::vector<HTREEITEM>(list->GetData(), list->GetData() + list->GetCount());
    }

    CHostWindow window;
    CRVTreeCtrl tree;
};

class CCountedAction final : public CUndoAction
{
public:
    CCountedAction(CRVTreeCtrl& tree, int& destroyed) : CUndoAction(tree), m_destroyed(destroyed) {}
    ~CCountedAction() override { ++m_destroyed; }
    void Undo() override {}

private:
    int& m_destroyed;
};

} // namespace

TEST_F(TreeWindow, UnregisterAncestorKeysClearsEveryAncestorButTheItem)
{
    HTREEITEM root = Insert(TVI_ROOT, 1);
    HTREEITEM mid = Insert(root, 2);
    HTREEITEM leaf = Insert(mid, 3);
    HTREEITEM twin = Insert(root, 2); // a second item showing key 2
    tree.UnregisterAncestorKeys(leaf);
    EXPECT_EQ(tree.GetRecord(root)->key, 0u);
    EXPECT_EQ(tree.GetRecord(mid)->key, 0u);
    EXPECT_EQ(tree.GetRecord(leaf)->key, 3u);
    EXPECT_TRUE(Listed(1).empty());
    EXPECT_EQ(Listed(2), std::vector<HTREEITEM>{twin});
    EXPECT_EQ(Listed(3), std::vector<HTREEITEM>{leaf});
}

TEST_F(TreeWindow, UnregisterItemKeyClearsTheRecordKeyEvenWithoutAnEntry)
{
    HTREEITEM item = Insert(TVI_ROOT, 0);
    tree.GetRecord(item)->key = 44; // written by the host, never registered
    tree.UnregisterItemKey(item);
    EXPECT_EQ(tree.GetRecord(item)->key, 0u);
    EXPECT_EQ(tree.KeyIndex().Find(44), nullptr);
    tree.UnregisterItemKey(nullptr);
    Insert(TVI_ROOT, 0);
    EXPECT_EQ(tree.KeyIndex().EntryCount(), 0u) << "key 0 is never registered";
}

TEST_F(TreeWindow, ParentPathAnswersWithoutAskingTheControl)
{
    HTREEITEM x = Insert(TVI_ROOT, 0);
    HTREEITEM y = Insert(x, 0);
    HTREEITEM z = Insert(y, 0);
    HTREEITEM leaf = Insert(z, 0);
    tree.BuildAncestorPath(leaf);
    tree.ReleaseAncestorPath(); // parent path: [x, y, z]
    const unsigned long before = tree.MessagesSent();
    EXPECT_EQ(tree.GetParent(z), y);
    EXPECT_EQ(tree.GetParent(x), nullptr);
    EXPECT_EQ(tree.MessagesSent(), before);
    EXPECT_EQ(tree.GetParent(leaf), z);
    EXPECT_EQ(tree.MessagesSent(), before + 1) << "an item outside the path asks the control";
}

TEST_F(TreeWindow, RepeatedRecordLookupsSendNoMessages)
{
    HTREEITEM item = Insert(TVI_ROOT, 5);
    tree.GetRecord(item);
    const unsigned long before = tree.MessagesSent();
    for (int i = 0; i < 5; ++i) tree.GetRecord(item);
    EXPECT_EQ(tree.MessagesSent(), before);
}

TEST_F(TreeWindow, DeletedItemsLeaveTheLiveSetAndTheCache)
{
    HTREEITEM root = Insert(TVI_ROOT, 0);
    HTREEITEM child = Insert(root, 0);
    tree.GetRecord(child);
    EXPECT_TRUE(tree.IsLiveItem(child));
    EXPECT_EQ(tree.ResolveItem(reinterpret_cast<ULONG_PTR>(child)), child);
    tree.DeleteItem(root);
    EXPECT_FALSE(tree.IsLiveItem(root));
    EXPECT_FALSE(tree.IsLiveItem(child));
    EXPECT_EQ(tree.ResolveItem(reinterpret_cast<ULONG_PTR>(child)), nullptr);
    EXPECT_EQ(tree.Lookup().CachedItems().Find(child), -1);
    EXPECT_EQ(tree.LiveItemCount(), 0u);
}

TEST_F(TreeWindow, EnableLocalPasteSetsHostPastesOnlyForZero)
{
    tree.EnableLocalPaste(0);
    EXPECT_TRUE(tree.HostPastes());
    tree.EnableLocalPaste(5);
    EXPECT_FALSE(tree.HostPastes());
}

TEST_F(TreeWindow, ClearingTheUndoStackDestroysChainedActions)
{
    int destroyed = 0;
    auto* first = new CCountedAction(tree, destroyed);
    first->SetNext(new CCountedAction(tree, destroyed));
    tree.PushUndo(first);
    tree.PushUndo(new CCountedAction(tree, destroyed));
    EXPECT_EQ(tree.UndoCount(), 2);
    tree.ClearUndo();
    EXPECT_EQ(tree.UndoCount(), 0);
    EXPECT_EQ(destroyed, 3);
}

TEST_F(TreeWindow, ControlNotifiesInEightBitTextUnderAUnicodeParent)
{
    EXPECT_EQ(SendMessageA(tree.GetHwnd(), TVM_GETUNICODEFORMAT, 0, 0), FALSE);
}
