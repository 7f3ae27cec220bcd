// Methods that forward to the tree window or to one tree-control call.
#include "host/Component.h"
#include "RVHostKit/Input.h"

#include <gtest/gtest.h>

namespace {

class Forwarding : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(host.rv);
        tree = host.Tree();
        ASSERT_NE(tree, nullptr);
        // root ─┬─ a ── a1
        //       ├─ b
        //       └─ c
        // root2
        root = host.InsertRaw(TVI_ROOT, "root");
        a = host.InsertRaw(root, "a");
        a1 = host.InsertRaw(a, "a1");
        b = host.InsertRaw(root, "b");
        c = host.InsertRaw(root, "c");
        root2 = host.InsertRaw(TVI_ROOT, "root2");
        host.log.Clear();
    }

    UINT StateOf(HTREEITEM item) const
    {
        return static_cast<UINT>(SendMessageA(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), 0xFFFF));
    }

    ULONG_PTR Next(ULONG_PTR item, UINT code)
    {
        ULONG_PTR out = 99;
        EXPECT_EQ(host.rv->GetNextItem(item, code, &out), S_OK);
        return out;
    }

    CTestHost host;
    HWND tree = nullptr;
    HTREEITEM root{}, a{}, a1{}, b{}, c{}, root2{};
};

using H = CTestHost;

} // namespace

TEST_F(Forwarding, ShowMoveAndInvalidateActOnTheTreeWindow)
{
    host.rv->MoveWindow(5, 6, 200, 300);
    RECT rect{};
    GetWindowRect(tree, &rect);
    MapWindowPoints(nullptr, host.parent.get(), reinterpret_cast<POINT*>(&rect), 2);
    EXPECT_EQ(rect.left, 5);
    EXPECT_EQ(rect.top, 6);
    EXPECT_EQ(rect.right - rect.left, 200);
    EXPECT_EQ(rect.bottom - rect.top, 300);

    host.rv->ShowWindow(SW_SHOW);
    EXPECT_TRUE(IsWindowVisible(tree) || !IsWindowVisible(host.parent.get()));
    EXPECT_TRUE(GetWindowLongA(tree, GWL_STYLE) & WS_VISIBLE);
    host.rv->ShowWindow(SW_HIDE);
    EXPECT_FALSE(GetWindowLongA(tree, GWL_STYLE) & WS_VISIBLE);

    ShowWindow(host.parent.get(), SW_SHOW);
    host.rv->ShowWindow(SW_SHOW);
    UpdateWindow(tree);
    RECT dirty{};
    EXPECT_FALSE(GetUpdateRect(tree, &dirty, FALSE));
    host.rv->Invalidate();
    EXPECT_TRUE(GetUpdateRect(tree, &dirty, FALSE));
    EXPECT_EQ(dirty.right - dirty.left, 200 - 2 * GetSystemMetrics(SM_CXEDGE));
    ShowWindow(host.parent.get(), SW_HIDE);
}

TEST_F(Forwarding, PostMessagePostsToTheTreeWindow)
{
    host.rv->PostMessage(WM_USER + 42, 0xDEADBEEF, 7);
    MSG msg{};
    ASSERT_TRUE(PeekMessageA(&msg, tree, WM_USER + 42, WM_USER + 42, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 0xDEADBEEFu);
    EXPECT_EQ(msg.lParam, 7);
}

TEST_F(Forwarding, ExpandPassesItsActionThrough)
{
    host.rv->Expand(H::H(a), TVE_EXPAND);
    EXPECT_TRUE(StateOf(a) & TVIS_EXPANDED);
    host.rv->Expand(H::H(a), TVE_TOGGLE);
    EXPECT_FALSE(StateOf(a) & TVIS_EXPANDED);
    host.rv->Expand(H::H(a), TVE_TOGGLE);
    EXPECT_TRUE(StateOf(a) & TVIS_EXPANDED);
    host.rv->Expand(H::H(a), TVE_COLLAPSE);
    EXPECT_FALSE(StateOf(a) & TVIS_EXPANDED);
    EXPECT_TRUE(host.log.Entries().empty()) << "no host message for a programmatic expansion";
}

TEST_F(Forwarding, EnsureVisibleExpandsTheAncestors)
{
    host.rv->EnsureVisible(H::H(a1));
    EXPECT_TRUE(StateOf(root) & TVIS_EXPANDED);
    EXPECT_TRUE(StateOf(a) & TVIS_EXPANDED);
}

TEST_F(Forwarding, NavigationFollowsTheControlsRelations)
{
    ULONG_PTR out = 0;
    host.rv->GetRootItem(&out);
    EXPECT_EQ(out, H::H(root));
    host.rv->GetChildItem(H::H(root), &out);
    EXPECT_EQ(out, H::H(a));
    host.rv->GetNextSiblingItem(H::H(a), &out);
    EXPECT_EQ(out, H::H(b));
    host.rv->GetPrevSiblingItem(H::H(c), &out);
    EXPECT_EQ(out, H::H(b));
    host.rv->GetPrevSiblingItem(H::H(a), &out);
    EXPECT_EQ(out, 0u);
    host.rv->GetChildItem(H::H(b), &out);
    EXPECT_EQ(out, 0u);

    EXPECT_EQ(Next(0, TVGN_ROOT), H::H(root));
    EXPECT_EQ(Next(H::H(root), TVGN_NEXT), H::H(root2));
    EXPECT_EQ(Next(H::H(a1), TVGN_PARENT), H::H(a));
    EXPECT_EQ(Next(0, TVGN_FIRSTVISIBLE), H::H(root));
    host.rv->Expand(H::H(root), TVE_EXPAND);
    EXPECT_EQ(Next(H::H(root), TVGN_NEXTVISIBLE), H::H(a));
}

TEST_F(Forwarding, ZeroForeignAndDeletedHandlesYieldZeroResults)
{
    const ULONG_PTR foreign = 0x12345678;
    const ULONG_PTR gone = H::H(c);
    SendMessageA(tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(c));

    for (ULONG_PTR bad : {ULONG_PTR(0), foreign, gone, reinterpret_cast<ULONG_PTR>(TVI_ROOT)}) {
        ULONG_PTR out = 99;
        host.rv->GetChildItem(bad, &out);
        EXPECT_EQ(out, 0u);
        out = 99;
        host.rv->GetNextSiblingItem(bad, &out);
        EXPECT_EQ(out, 0u);
        out = 99;
        host.rv->GetPrevSiblingItem(bad, &out);
        EXPECT_EQ(out, 0u);
        LONG flag = 99;
        host.rv->ItemHasChildren(bad, &flag);
        EXPECT_EQ(flag, 0);
        wchar_t text[16] = L"unchanged";
        EXPECT_EQ(host.rv->GetItemText(bad, text, 16), S_OK);
        EXPECT_STREQ(text, L"");
        host.rv->Expand(bad, TVE_EXPAND);
        host.rv->EnsureVisible(bad);
        EXPECT_EQ(host.rv->SetItemText(bad, const_cast<wchar_t*>(L"x"), 1), S_OK);
    }
    EXPECT_EQ(Next(foreign, TVGN_CHILD), 0u);
    EXPECT_EQ(Next(gone, TVGN_NEXT), 0u);
    EXPECT_EQ(host.TextOf(root), "root");
}

TEST_F(Forwarding, NullOutPointersAreRefused)
{
    EXPECT_EQ(host.rv->GetRootItem(nullptr), E_POINTER);
    EXPECT_EQ(host.rv->GetNextItem(H::H(root), TVGN_CHILD, nullptr), E_POINTER);
    EXPECT_EQ(host.rv->GetChildItem(H::H(root), nullptr), E_POINTER);
    EXPECT_EQ(host.rv->GetNextSiblingItem(H::H(a), nullptr), E_POINTER);
    EXPECT_EQ(host.rv->GetPrevSiblingItem(H::H(b), nullptr), E_POINTER);
    EXPECT_EQ(host.rv->ItemHasChildren(H::H(root), nullptr), E_POINTER);
    EXPECT_EQ(host.rv->GetItemText(H::H(root), nullptr, 10), E_POINTER);
    EXPECT_EQ(host.rv->SetItemText(H::H(root), nullptr, 0), E_POINTER);
    EXPECT_EQ(host.TextOf(root), "root");
}

TEST_F(Forwarding, ItemHasChildrenReadsTheControlsChildrenIndicator)
{
    LONG flag = 0;
    host.rv->ItemHasChildren(H::H(root), &flag);
    EXPECT_EQ(flag, 1);
    host.rv->ItemHasChildren(H::H(b), &flag);
    EXPECT_EQ(flag, 0);
    TVITEMA item{};
    item.mask = TVIF_HANDLE | TVIF_CHILDREN;
    item.hItem = b;
    item.cChildren = 1;
    SendMessageA(tree, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    host.rv->ItemHasChildren(H::H(b), &flag);
    EXPECT_EQ(flag, 1) << "marked to have children";
}

TEST_F(Forwarding, SetItemTextReportsNothing)
{
    EXPECT_EQ(host.rv->SetItemText(H::H(b), const_cast<wchar_t*>(L"Bracket \u00e9"), 0), S_OK);
    EXPECT_EQ(host.WideTextOf(b), L"Bracket \u00e9");
    EXPECT_TRUE(host.log.Entries().empty());
}

TEST_F(Forwarding, GetItemTextKeepsWithinSize)
{
    host.rv->SetItemText(H::H(a), const_cast<wchar_t*>(L"Gearbox"), 0);
    wchar_t text[8];
    wmemset(text, L'#', 8);
    EXPECT_EQ(host.rv->GetItemText(H::H(a), text, 4), S_OK);
    EXPECT_STREQ(text, L"Gea");
    EXPECT_EQ(text[4], L'#') << "nothing written beyond Size";

    wmemset(text, L'#', 8);
    EXPECT_EQ(host.rv->GetItemText(H::H(a), text, 1), S_OK);
    EXPECT_EQ(text[0], L'\0');
    EXPECT_EQ(text[1], L'#');

    wmemset(text, L'#', 8);
    EXPECT_EQ(host.rv->GetItemText(H::H(a), text, 0), E_INVALIDARG);
    EXPECT_EQ(host.rv->GetItemText(H::H(a), text, -3), E_INVALIDARG);
    EXPECT_EQ(text[0], L'#');

    EXPECT_EQ(host.rv->GetItemText(H::H(a), text, 8), S_OK);
    EXPECT_STREQ(text, L"Gearbox");

    // A character of two units is kept whole or not at all; a lone half is a unit of its own.
    host.rv->SetItemText(H::H(a), const_cast<wchar_t*>(L"ab\U0001F527c"), 0);
    EXPECT_EQ(host.rv->GetItemText(H::H(a), text, 4), S_OK);
    EXPECT_STREQ(text, L"ab");
    EXPECT_EQ(host.rv->GetItemText(H::H(a), text, 5), S_OK);
    EXPECT_STREQ(text, L"ab\U0001F527");
    host.rv->SetItemText(H::H(a), const_cast<wchar_t*>(L"ab\xD83D" L"c"), 0);
    EXPECT_EQ(host.rv->GetItemText(H::H(a), text, 4), S_OK);
    EXPECT_STREQ(text, L"ab\xD83D");
}

TEST(ForwardingParents, NotificationsReachTheTreeUnderAnEightBitParentToo)
{
    CFreeCounter frees;
    CTestHost host(false);
    ItemRecord* record = NewRecord(3);
    HTREEITEM item = host.InsertRaw(TVI_ROOT, "x", record);
    SendMessageA(host.Tree(), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(item));
    EXPECT_EQ(frees.FreesOf(record), 1);
    ULONG_PTR data = 1;
    host.rv->GetItemData(CTestHost::H(item), &data);
    EXPECT_EQ(data, 0u);
}

namespace {
BOOL CALLBACK CountProp(HWND, LPSTR, HANDLE, ULONG_PTR count)
{
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}
int PropCount(HWND hWnd)
{
    int count = 0;
    EnumPropsExA(hWnd, CountProp, reinterpret_cast<LPARAM>(&count));
    return count;
}
} // namespace

// Two trees in one host window, released in either order: each keeps hearing of its own
// deletions, and the host's window keeps its own procedure and no property of ours.
TEST(ForwardingParents, TwoTreesShareAHostWindowWhichKeepsItsOwnProcedure)
{
    for (const bool firstGoesFirst : {true, false}) {
        CTestHost first;
        const HWND window = first.parent.get();
        const LONG_PTR procedure = GetWindowLongPtrW(window, GWLP_WNDPROC);
        const int props = PropCount(window);
        CTestHost second(true, false);
        second.rv->Init(reinterpret_cast<ULONG_PTR>(window), second.vis, second.view, second.manage);
        IMessage* handler = second.message;
        second.rv->SetMessageHandler(&handler);
        EXPECT_EQ(GetWindowLongPtrW(window, GWLP_WNDPROC), procedure);
        EXPECT_EQ(PropCount(window), props);

        CTestHost& leaving = firstGoesFirst ? first : second;
        CTestHost& staying = firstGoesFirst ? second : first;
        const HTREEITEM root = staying.AddAssembly(L"Root", 4, 9);
        const HTREEITEM part = staying.AddItem(root, L"Part", NewRecord(1));
        leaving.ReleaseComponent();
        staying.log.Clear();
        staying.rv->RemoveTreeItem(CTestHost::H(part));
        EXPECT_EQ(staying.log.Matching("IMessage::SendWithDataID").size(), 1u) << "its deletion still reported";
        staying.ReleaseComponent();
        EXPECT_EQ(GetWindowLongPtrW(window, GWLP_WNDPROC), procedure);
        EXPECT_EQ(PropCount(window), props);
    }
}
