// The tree window object with a real control: key index upkeep, path-aware parent lookups,
// live items and the undo stack.
#include "RVHostKit/HostWindow.h"
#include "RVHostKit/Input.h"
#include "model/BranchUndo.h"
#include "model/RenameUndo.h"
#include "platform/MessageCounter.h"
#include "tree/RVTreeCtrl.h"

#include <gtest/gtest.h>

using namespace RVHostKit;

namespace {

class TreeWindow : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(tree.Create(window.get())); }

    HTREEITEM Insert(HTREEITEM parent, uint32_t key)
    {
        auto* record = new ItemRecord();
        record->key = key;
        TVINSERTSTRUCTW insert{};
        insert.hParent = parent;
        insert.hInsertAfter = TVI_LAST;
        insert.item.mask = TVIF_PARAM;
        insert.item.lParam = reinterpret_cast<LPARAM>(record);
        HTREEITEM item = tree.InsertItem(insert);
        tree.Items().RegisterItemKey(item, key);
        return item;
    }

    std::vector<HTREEITEM> Listed(uint32_t key) const { return tree.Items().KeyIndex().ItemsOf(key); }

    CHostWindow window;
    CMessageCounter counter; // goes after the tree, which reports to it
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
    tree.Items().UnregisterAncestorKeys(leaf);
    EXPECT_EQ(tree.Items().GetRecord(root)->key, 0u);
    EXPECT_EQ(tree.Items().GetRecord(mid)->key, 0u);
    EXPECT_EQ(tree.Items().GetRecord(leaf)->key, 3u);
    EXPECT_TRUE(Listed(1).empty());
    EXPECT_EQ(Listed(2), std::vector<HTREEITEM>{twin});
    EXPECT_EQ(Listed(3), std::vector<HTREEITEM>{leaf});
}

TEST_F(TreeWindow, UnregisterItemKeyClearsTheRecordKeyEvenWithoutAnEntry)
{
    HTREEITEM item = Insert(TVI_ROOT, 0);
    tree.Items().GetRecord(item)->key = 44; // written by the host, never registered
    tree.Items().UnregisterItemKey(item);
    EXPECT_EQ(tree.Items().GetRecord(item)->key, 0u);
    EXPECT_EQ(tree.Items().KeyIndex().CountOf(44), 0);
    tree.Items().UnregisterItemKey(nullptr);
    Insert(TVI_ROOT, 0);
    EXPECT_EQ(tree.Items().KeyIndex().EntryCount(), 0u) << "key 0 is never registered";
}

TEST_F(TreeWindow, ParentPathAnswersWithoutAskingTheControl)
{
    HTREEITEM x = Insert(TVI_ROOT, 0);
    HTREEITEM y = Insert(x, 0);
    HTREEITEM z = Insert(y, 0);
    HTREEITEM leaf = Insert(z, 0);
    tree.Items().Lookup().BuildAncestorPath(leaf);
    tree.Items().Lookup().ReleaseAncestorPath(); // parent path: [x, y, z]
    tree.SetSentMessageHook(&counter);
    const unsigned long before = counter.Sent();
    EXPECT_EQ(tree.Items().GetParent(z), y);
    EXPECT_EQ(tree.Items().GetParent(x), nullptr);
    EXPECT_EQ(counter.Sent(), before);
    EXPECT_EQ(tree.Items().GetParent(leaf), z);
    EXPECT_EQ(counter.Sent(), before) << "an item outside the path is answered by the live items";
}

TEST_F(TreeWindow, RepeatedRecordLookupsSendNoMessages)
{
    HTREEITEM item = Insert(TVI_ROOT, 5);
    tree.Items().GetRecord(item);
    tree.SetSentMessageHook(&counter);
    const unsigned long before = counter.Sent();
    for (int i = 0; i < 5; ++i) tree.Items().GetRecord(item);
    EXPECT_EQ(counter.Sent(), before);
}

TEST_F(TreeWindow, DeletedItemsLeaveTheLiveSetAndTheCache)
{
    HTREEITEM root = Insert(TVI_ROOT, 0);
    HTREEITEM child = Insert(root, 0);
    tree.Items().GetRecord(child);
    EXPECT_TRUE(tree.Items().IsLiveItem(child));
    EXPECT_EQ(tree.Items().ResolveItem(reinterpret_cast<ULONG_PTR>(child)), child);
    tree.DeleteItem(root);
    EXPECT_FALSE(tree.Items().IsLiveItem(root));
    EXPECT_FALSE(tree.Items().IsLiveItem(child));
    EXPECT_EQ(tree.Items().ResolveItem(reinterpret_cast<ULONG_PTR>(child)), nullptr);
    EXPECT_EQ(tree.Items().Lookup().CachedItems().Find(child), -1);
    EXPECT_EQ(tree.Items().LiveItemCount(), 0u);
}

TEST_F(TreeWindow, EnableLocalPasteSetsHostPastesOnlyForZero)
{
    tree.Clipboard().EnableLocalPaste(0);
    EXPECT_TRUE(tree.Clipboard().HostPastes());
    tree.Clipboard().EnableLocalPaste(5);
    EXPECT_FALSE(tree.Clipboard().HostPastes());
}

TEST_F(TreeWindow, ClearingTheUndoStackDestroysChainedActions)
{
    int destroyed = 0;
    auto* first = new CCountedAction(tree, destroyed);
    first->SetNext(new CCountedAction(tree, destroyed));
    tree.Undo().Push(first);
    tree.Undo().Push(new CCountedAction(tree, destroyed));
    EXPECT_EQ(tree.Undo().Count(), 2);
    tree.Undo().Clear();
    EXPECT_EQ(tree.Undo().Count(), 0);
    EXPECT_EQ(destroyed, 3);
}

TEST(TreeWindowParents, ControlNotifiesInUnicodeUnderAnEightBitParentToo)
{
    CHostWindow eightBit(false);
    CRVTreeCtrl tree;
    ASSERT_TRUE(tree.Create(eightBit.get()));
    EXPECT_EQ(SendMessageA(tree.GetHwnd(), TVM_GETUNICODEFORMAT, 0, 0), TRUE);
}

// One Undo reverts a whole move drop: the top action takes the pasted branch away and has the
// dragged branch's removal chained to it; a label edit saves the label before it begins.
TEST_F(TreeWindow, AMoveDropLeavesOneActionThatRevertsItAndAnEditSavesTheLabel)
{
    const HTREEITEM root = tree.Builder().AddAssembly(L"Root", 1, 1, false);
    const HTREEITEM a = tree.Builder().AddTreeItem(L"A", root, nullptr);
    const HTREEITEM b = tree.Builder().AddTreeItem(L"B", root, nullptr);
    tree.Builder().AddTreeItem(L"C", b, nullptr);
    tree.Navigator().ExpandToDepth(nullptr, -1);
    ShowWindow(window.get(), SW_SHOW);
    SetWindowPos(tree.GetHwnd(), nullptr, 0, 0, 300, 400, SWP_NOZORDER | SWP_SHOWWINDOW);
    Drag(tree.GetHwnd(), ItemPoint(tree.GetHwnd(), b, ItemPart::Label), ItemPoint(tree.GetHwnd(), a, ItemPart::Label));

    const HTREEITEM moved = tree.GetChildItem(a);
    ASSERT_NE(moved, nullptr);
    EXPECT_EQ(tree.GetNextSiblingItem(a), nullptr) << "B left the root";
    EXPECT_EQ(tree.GetItemText(tree.GetChildItem(moved)), L"C");
    auto* const insert = dynamic_cast<CInsertUndo*>(tree.Undo().Top());
    ASSERT_NE(insert, nullptr);
    EXPECT_EQ(insert->Item(), moved);
    auto* const removal = dynamic_cast<CRemoveUndo*>(insert->GetNext());
    ASSERT_NE(removal, nullptr);
    EXPECT_EQ(removal->FormerParent(), root);
    EXPECT_EQ(removal->Branch().GetCount(), 2) << "the dragged item and its child";
    EXPECT_EQ(removal->GetNext(), nullptr);

    tree.LabelEditing().EditLabel(moved);
    tree.LabelEditing().EndEdit(true);
    auto* const rename = dynamic_cast<CRenameUndo*>(tree.Undo().Top());
    ASSERT_NE(rename, nullptr);
    tree.SetItemText(moved, L"Renamed");
    rename->Undo();
    EXPECT_EQ(tree.GetItemText(moved), L"B");
}

// Paints, drags and label edits give back every handle they make.
TEST_F(TreeWindow, PaintsDragsAndEditsLeaveTheOwnedHandleCountWhereItWas)
{
    const HTREEITEM root = tree.Builder().AddAssembly(L"Root", 1, 1, false);
    const HTREEITEM a = tree.Builder().AddTreeItem(L"A", root, nullptr);
    const HTREEITEM b = tree.Builder().AddTreeItem(L"B", root, nullptr);
    tree.Navigator().ExpandToDepth(nullptr, -1);
    ShowWindow(window.get(), SW_SHOW);
    SetWindowPos(tree.GetHwnd(), nullptr, 0, 0, 300, 400, SWP_NOZORDER | SWP_SHOWWINDOW);
    const HWND hWnd = tree.GetHwnd();
    tree.Selection().SelectItem(a, false, false, false);
    // The control makes drag images only for a tree with pictures.
    HIMAGELIST pictures = ImageList_Create(16, 16, ILC_COLOR32, 1, 1);
    ImageList_AddIcon(pictures, LoadIcon(nullptr, IDI_APPLICATION));
    tree.SetImageList(pictures, TVSIL_NORMAL);
    const long before = rvdetail::OwnedHandleCount();

    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 300, 400);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(memory, bitmap);
    for (int i = 0; i < 1000; ++i) {
        if (i % 2) {
            SendMessageA(hWnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
        } else {
            InvalidateRect(hWnd, nullptr, TRUE);
            UpdateWindow(hWnd);
        }
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    EXPECT_EQ(rvdetail::OwnedHandleCount(), before) << "paints";

    const POINT from = ItemPoint(hWnd, b, ItemPart::Label), to = ItemPoint(hWnd, a, ItemPart::Label);
    for (int i = 0; i < 100; ++i) {
        StartDrag(hWnd, from, to);
        EXPECT_EQ(rvdetail::OwnedHandleCount(), before + 1) << "the drag image while the drag runs";
        PressKey(hWnd, VK_ESCAPE);
    }
    EXPECT_EQ(rvdetail::OwnedHandleCount(), before) << "drags";

    for (int i = 0; i < 100; ++i) {
        tree.LabelEditing().EditLabel(a);
        tree.LabelEditing().EndEdit(i % 2 == 0);
    }
    EXPECT_EQ(rvdetail::OwnedHandleCount(), before) << "label edits";
    tree.SetImageList(nullptr, TVSIL_NORMAL);
    ImageList_Destroy(pictures);
}
