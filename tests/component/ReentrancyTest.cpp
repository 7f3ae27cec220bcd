// A host may do anything the interface allows from inside any call the component makes to it:
// call back in, remove items, add items, release its last reference. Small replays of what
// once went wrong, each asserting the tree afterwards.
#include "host/Component.h"
#include "RVHostKit/Input.h"
#include "RVHostKit/TreeReader.h"
#include "RVWindow/Commands.h"
#include "RVWindow/HostMessages.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

constexpr unsigned short kItemDeleted = 0x16, kBeginExpand = 0x1B, kSelected = 0x1F, kShown = 0x23,
                         kItemAdded = 0x34;

ULONG_PTR H(HTREEITEM item)
{
    return CTestHost::H(item);
}

HTREEITEM ParentOf(IRVWnd* rv, HTREEITEM item)
{
    ULONG_PTR parent = 0xBAD;
    rv->GetParentItem(H(item), &parent);
    return CTestHost::T(parent);
}

} // namespace

TEST(Reentrancy, AStateChangeFromInsideAShownMessageLeavesParentLookupsRight)
{
    CTestHost host;
    // A ─ P ─┬─ C1 (61)        B ─ Q ─ D (63)
    //        └─ C2 (62)
    const HTREEITEM a = host.AddAssembly(L"A"), b = host.AddAssembly(L"B");
    const HTREEITEM p = host.AddItem(a, L"P", NewRecord());
    const HTREEITEM c1 = host.AddItem(p, L"C1", NewRecord(61)), c2 = host.AddItem(p, L"C2", NewRecord(62));
    const HTREEITEM q = host.AddItem(b, L"Q", NewRecord());
    const HTREEITEM d = host.AddItem(q, L"D", NewRecord(63));
    bool nested = false;
    host.message->onMessage = [&](unsigned short msg, BYTE* data) {
        if (msg == kShown && CTestHost::T(reinterpret_cast<ULONG_PTR>(data)) == c1 && !nested) {
            nested = true;
            host.rv->SetHTIState(H(d), 1, 0);
        }
    };
    host.rv->SetHTIState(H(p), 1, 0);
    host.message->onMessage = nullptr;
    ASSERT_TRUE(nested);
    EXPECT_EQ(ParentOf(host.rv.get(), a), nullptr);
    EXPECT_EQ(ParentOf(host.rv.get(), b), nullptr);
    EXPECT_EQ(ParentOf(host.rv.get(), p), a);
    EXPECT_EQ(ParentOf(host.rv.get(), c2), p);
    EXPECT_EQ(ParentOf(host.rv.get(), d), q);
    for (HTREEITEM item : {p, c1, c2, q, d}) {
        LONG state = -1;
        host.rv->GetHTIState(H(item), &state);
        EXPECT_EQ(state, 1) << host.TextOf(item);
    }
    EXPECT_EQ(Inspect(host.Tree(), p).record->nChildrenOn, 2u);
    EXPECT_EQ(Inspect(host.Tree(), q).record->nChildrenOn, 1u);
}

// The host lets go of its last reference from inside a message; the call it was inside still
// finishes, and the object goes (reporting every item) when it returns.
struct ReleaseCase
{
    const char* name;
    unsigned short message;
    std::function<void(IRVWnd2*, HWND tree, HTREEITEM root, HTREEITEM part)> call;
};

class ReleaseInside : public ::testing::TestWithParam<ReleaseCase>
{
};

TEST_P(ReleaseInside, TheCallFinishesAndTheObjectGoesAfterIt)
{
    const ReleaseCase& c = GetParam();
    CTestHost host;
    const HTREEITEM root = host.AddAssembly(L"Root", 4, 9);
    const HTREEITEM sub = host.AddItem(root, L"Sub", NewRecord());
    const HTREEITEM part = host.AddItem(sub, L"Part", NewRecord(7));
    host.AddItem(sub, L"Other", NewRecord(8));
    host.rv->ExpandToDepth(H(root), -1);
    host.ShowTree();
    const HWND tree = host.Tree();
    host.log.Clear();
    bool released = false;
    host.message->onMessage = [&](unsigned short msg, BYTE*) {
        if (msg == c.message && !released) {
            released = true;
            host.ReleaseComponent();
        }
    };
    IRVWnd2* const rv = host.rv.get(); // the host's reference goes inside the call
    c.call(rv, tree, root, part);
    host.message->onMessage = nullptr;
    ASSERT_TRUE(released);
    EXPECT_FALSE(IsWindow(tree)) << "the object went when the call returned";
    const std::string deleted = Format("wMsg=0x%x", kItemDeleted);
    size_t reports = 0;
    for (const std::string& entry : host.log.Entries())
        if (entry.find(deleted) != std::string::npos) ++reports;
    EXPECT_EQ(reports, c.message == kItemAdded ? 5u : 4u) << "every item reported once, removed or torn down";
    EXPECT_EQ(host.message->RefCount(), 1) << "the handler's reference was given back";
    EXPECT_EQ(host.sink->RefCount(), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Messages, ReleaseInside,
    ::testing::Values(
        ReleaseCase{"ItemDeleted", kItemDeleted,
                    [](IRVWnd2* rv, HWND, HTREEITEM, HTREEITEM part) { rv->RemoveTreeItem(H(part)); }},
        ReleaseCase{"Selected", kSelected,
                    [](IRVWnd2* rv, HWND, HTREEITEM, HTREEITEM part) { rv->SelectItem(H(part), 1, 0, 0); }},
        ReleaseCase{"Shown", kShown,
                    [](IRVWnd2* rv, HWND, HTREEITEM, HTREEITEM part) { rv->SetHTIState(H(part), 1, 0); }},
        ReleaseCase{"ItemAdded", kItemAdded,
                    [](IRVWnd2* rv, HWND, HTREEITEM root, HTREEITEM) {
                        ULONG_PTR added = 0;
                        rv->AddTreeItem(const_cast<wchar_t*>(L"New"), 0, H(root), nullptr, &added);
                    }},
        ReleaseCase{"BeginExpand", kBeginExpand,
                    [](IRVWnd2* rv, HWND, HTREEITEM root, HTREEITEM) { rv->ExpandToDepth(H(root), 2); }},
        // Edits the edit box ends itself: Enter's key-up in it, and its loss of the focus.
        ReleaseCase{"LabelChangedByEnter", HM_LABELCHANGED,
                    [](IRVWnd2* rv, HWND tree, HTREEITEM, HTREEITEM part) {
                        rv->EditItemLabel(H(part));
                        TypeLabel(tree, L"Renamed");
                    }},
        ReleaseCase{"LabelChangedByFocusLoss", HM_LABELCHANGED,
                    [](IRVWnd2* rv, HWND tree, HTREEITEM, HTREEITEM part) {
                        rv->EditItemLabel(H(part));
                        const HWND edit = reinterpret_cast<HWND>(SendMessageA(tree, TVM_GETEDITCONTROL, 0, 0));
                        SetWindowTextW(edit, L"Renamed");
                        SetFocus(edit);
                        SetFocus(GetParent(tree));
                    }}),
    [](const ::testing::TestParamInfo<ReleaseCase>& info) { return std::string(info.param.name); });

TEST(Reentrancy, AdditionsFromInsideADeletionAreRefusedAndTheTreeStaysWhole)
{
    CTestHost host;
    const HTREEITEM root = host.AddAssembly(L"Root", 4, 9);
    const HTREEITEM doomed = host.AddItem(root, L"Doomed", NewRecord(5));
    host.AddItem(doomed, L"Child", NewRecord(6));
    std::vector<HRESULT> results;
    std::vector<ULONG_PTR> handles;
    host.message->onMessage = [&](unsigned short msg, BYTE*) {
        if (msg != kItemDeleted || !results.empty()) return;
        ULONG_PTR added = 0xBAD;
        results.push_back(host.rv->AddTreeItem(const_cast<wchar_t*>(L"Late"), 0, H(doomed), nullptr, &added));
        handles.push_back(added);
        added = 0xBAD;
        results.push_back(host.rv->AddAssembly(const_cast<wchar_t*>(L"Late root"), 0, 1, 1, &added));
        handles.push_back(added);
        added = 0xBAD;
        results.push_back(host.rv->InsertTreeItem(const_cast<char*>("Late"), H(root), 0, nullptr, &added));
        handles.push_back(added);
        results.push_back(host.rv->InsertNewItem(9, const_cast<char*>("Late"), H(root)));
    };
    host.rv->RemoveTreeItem(H(doomed));
    host.message->onMessage = nullptr;
    EXPECT_EQ(results, std::vector<HRESULT>(4, E_UNEXPECTED));
    EXPECT_EQ(handles, std::vector<ULONG_PTR>(3, 0));
    EXPECT_TRUE(ChildrenOf(host.Tree(), root).empty());
    EXPECT_EQ(ChildrenOf(host.Tree(), TVI_ROOT), std::vector<HTREEITEM>{root});
    EXPECT_EQ(Inspect(host.Tree(), root).record->nChildren, 0u);
    ULONG_PTR added = 0;
    EXPECT_EQ(host.rv->AddTreeItem(const_cast<wchar_t*>(L"After"), 0, H(root), nullptr, &added), S_OK);
    EXPECT_NE(added, 0u) << "additions work again once the deletion is over";
}

// Root ─ Sub ─ 30 parts, scrolled so that part 10 is the first visible row and part 12
// selected. The control must never be laying out its rows from a row it is deleting.
class ScrolledTree : public ::testing::Test
{
protected:
    void SetUp() override
    {
        host.rv->MoveWindow(0, 0, 200, 150);
        host.rv->ShowWindow(SW_SHOW);
        root = host.AddAssembly(L"Root", 4, 9);
        sub = host.AddItem(root, L"Sub", NewRecord());
        for (int i = 0; i < 30; ++i) parts.push_back(host.AddItem(sub, L"Part", NewRecord(100 + i)));
        host.rv->ExpandToDepth(H(root), 2);
        SendMessageA(host.Tree(), TVM_SELECTITEM, TVGN_FIRSTVISIBLE, reinterpret_cast<LPARAM>(parts[10]));
        host.rv->SelectItem(H(parts[12]), 0, 0, 0);
        PumpMessages();
        host.log.Clear();
    }
    CTestHost host;
    HTREEITEM root{}, sub{};
    std::vector<HTREEITEM> parts;
};

TEST_F(ScrolledTree, ReleasingReportsEveryItem)
{
    host.ReleaseComponent();
    EXPECT_EQ(host.log.Matching("IMessage::SendWithDataID").size(), 32u);
}

TEST_F(ScrolledTree, TheHostAsksForLayoutWhileTheBranchOfTheFirstVisibleRowGoes)
{
    int reports = 0;
    host.message->onMessage = [&](unsigned short msg, BYTE*) {
        if (msg != kItemDeleted) return;
        ++reports;
        host.rv->EnsureVisible(H(root));
        host.rv->Collapse(H(root));
        host.rv->ExpandToDepth(H(root), 2);
    };
    host.rv->RemoveTreeItem(H(sub));
    host.message->onMessage = nullptr;
    EXPECT_EQ(reports, 31);
    EXPECT_TRUE(ChildrenOf(host.Tree(), root).empty());
}

TEST(Reentrancy, RemovingAllChildrenFromInsideADeletionWaitsAndEnds)
{
    CTestHost host;
    const HTREEITEM root = host.AddAssembly(L"Root", 4, 9);
    const HTREEITEM first = host.AddItem(root, L"First", NewRecord(1));
    const HTREEITEM other = host.AddAssembly(L"Other", 4, 9);
    for (const wchar_t* name : {L"A", L"B", L"C"}) host.AddItem(other, name, NewRecord());
    bool asked = false;
    host.message->onMessage = [&](unsigned short msg, BYTE*) {
        if (msg == kItemDeleted && !asked) {
            asked = true;
            host.rv->RemoveAllChildren(H(other)); // every removal asked for here has to wait
        }
    };
    host.rv->RemoveTreeItem(H(first));
    host.message->onMessage = nullptr;
    EXPECT_TRUE(asked);
    EXPECT_TRUE(ChildrenOf(host.Tree(), root).empty());
    EXPECT_TRUE(ChildrenOf(host.Tree(), other).empty()) << "the waiting removals ran after the deletion";
    EXPECT_EQ(Inspect(host.Tree(), other).record->nChildren, 0u);
}

TEST(Reentrancy, NothingKeptForARemovedItemReachesTheItemThatGetsItsHandle)
{
    // R ─┬─ X (504) ─ Y (no record)
    //    ├─ B ─ N (new item, 503)
    //    └─ P (no record)
    CTestHost host;
    const HTREEITEM r = host.AddAssembly(L"R");
    const HTREEITEM x = host.AddItem(r, L"X", NewRecord(504));
    host.InsertRaw(x, "Y");
    const HTREEITEM b = host.AddItem(r, L"B", NewRecord());
    host.rv->InsertNewItem(503, const_cast<char*>("N"), H(b));
    host.InsertRaw(r, "P");

    // Inside the expansion report the host removes X; inside the selection locks that follow,
    // the root (twice), a deselection of B and a state change of R.
    int locks = 0;
    host.message->onMessage = [&](unsigned short msg, BYTE*) {
        if (msg == kBeginExpand) host.rv->RemoveTreeItem(H(x));
    };
    host.log.onCall = [&] {
        if (host.log.Entries().back().rfind("Sink::SetSelectionLock", 0) != 0) return;
        switch (++locks) {
        case 1: case 2: host.rv->RemoveTreeItem(H(r)); break;
        case 3: host.rv->DeselectItem(H(b)); break;
        case 4: host.rv->SetHTIState(H(r), 1, 1); break;
        default: break;
        }
    };
    host.rv->ExpandToDepth(H(x), 2);
    host.log.onCall = nullptr;
    host.message->onMessage = nullptr;
    EXPECT_TRUE(ChildrenOf(host.Tree(), TVI_ROOT).empty());

    // New items take the old handles (and records the old addresses): each answers its own.
    ULONG_PTR root = 0, item = 0;
    host.rv->AddAssembly(const_cast<wchar_t*>(L"R2"), 0, 1, 1, &root);
    ItemRecord* const record = NewRecord(504);
    host.rv->InsertTreeItem(const_cast<char*>("X2"), root, 0, reinterpret_cast<ULONG*>(record), &item);
    ASSERT_NE(item, 0u);
    ULONG_PTR answered = 0;
    host.rv->GetItemData(item, &answered);
    EXPECT_EQ(answered, reinterpret_cast<ULONG_PTR>(record));
    EXPECT_EQ(ParentOf(host.rv.get(), CTestHost::T(item)), CTestHost::T(root));
    int present = 0;
    host.rv->IsOrvaneKeyPresent(504, &present);
    EXPECT_EQ(present, 1);
    host.rv->IsOrvaneKeyPresent(503, &present);
    EXPECT_EQ(present, 0);
}

// The user's paths with the host changing the tree from inside a question asked deep within
// them: the lock permission of a copied locked part, a drop question. Whatever the host
// removes there, nothing goes under the items that take the removed items' handles, the paste
// keeps the list it started with, and Undo undoes the last thing that was done.
struct UserPathCase
{
    const char* what;
    const char* inside;   // the host call the host acts in: the start of its log entry, or a message
    std::function<void(ShownGearbox&)> act; // the host's doing in there
    std::function<void(ShownGearbox&)> user;
    const char* after;
    const char* afterUndo;
};

class UserPaths : public ::testing::TestWithParam<UserPathCase>
{
};

namespace {
POINT LabelOf(ShownGearbox& t, HTREEITEM item)
{
    return ItemPoint(t.tree, item, ItemPart::Label);
}

void AddItems(ShownGearbox& t, int count)
{
    for (int i = 1; i <= count; ++i) t.host.AddItem(t.g.gearbox, (L"N" + std::to_wstring(i)).c_str(), NewRecord());
}

void PasteHousingInto(ShownGearbox& t, HTREEITEM target)
{
    ChooseMenuCommand(t.host.rv.get(), t.tree, LabelOf(t, t.g.housing), RVCMD_COPY);
    ChooseMenuCommand(t.host.rv.get(), t.tree, LabelOf(t, target), RVCMD_PASTE);
}
} // namespace

TEST_P(UserPaths, NothingLandsUnderTheHostsNewItemsAndUndoUndoesTheLastThingDone)
{
    const UserPathCase& c = GetParam();
    ShownGearbox t;
    t.host.rv->LockItem(H(t.g.left), 1); // a locked part with a key: copying it asks the host
    t.host.log.Clear();
    bool acted = false;
    t.host.log.onCall = [&] {
        const std::string entry = t.host.log.Entries().back();
        if (acted || entry.find(c.inside) == std::string::npos) return;
        acted = true;
        c.act(t);
    };
    c.user(t);
    t.host.log.onCall = nullptr;
    ASSERT_TRUE(acted) << c.what;
    EXPECT_EQ(Outline(t.host), c.after) << c.what;
    ChooseMenuCommand(t.host.rv.get(), t.tree, LabelOf(t, t.g.gearbox), RVCMD_UNDO);
    EXPECT_EQ(Outline(t.host), c.afterUndo) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Questions, UserPaths,
    ::testing::Values(
        UserPathCase{"a paste; the host removes its target and adds items", "NodeQuery::CanLockNode",
                     [](ShownGearbox& t) {
                         t.host.rv->RemoveTreeItem(H(t.g.frame));
                         AddItems(t, 4);
                     },
                     [](ShownGearbox& t) { PasteHousingInto(t, t.g.frame); },
                     "Gearbox(Housing(Left,Right),Shaft,N1,N2,N3,N4)", "Gearbox(Housing(Left,Right),Shaft,N1,N2,N3)"},
        UserPathCase{"an insert-before drop; the host removes the new copy and adds items", "NodeQuery::CanLockNode",
                     [](ShownGearbox& t) {
                         t.host.rv->RemoveTreeItem(H(t.Next(t.g.strut, TVGN_PREVIOUS)));
                         AddItems(t, 3);
                     },
                     [](ShownGearbox& t) {
                         t.host.rv->DragDropInsertBeforeFlag(1);
                         Drag(t.tree, LabelOf(t, t.g.housing), LabelOf(t, t.g.strut));
                     },
                     "Gearbox(Housing(Left,Right),Shaft,N1,N2,N3),Frame(Strut)",
                     "Gearbox(Housing(Left,Right),Shaft,N1,N2),Frame(Strut)"},
        UserPathCase{"a paste; the host copies another item from its menu", "NodeQuery::CanLockNode",
                     [](ShownGearbox& t) {
                         ChooseMenuCommand(t.host.rv.get(), t.tree, LabelOf(t, t.g.shaft), RVCMD_COPY);
                     },
                     [](ShownGearbox& t) { PasteHousingInto(t, t.g.frame); },
                     "Gearbox(Housing(Left,Right),Shaft),Frame(Strut,Housing(Left,Right))",
                     "Gearbox(Housing(Left,Right),Shaft),Frame(Strut)"},
        UserPathCase{"a drop; the host removes the dragged item and adds items", "wMsg=0x3F",
                     [](ShownGearbox& t) {
                         t.host.rv->RemoveTreeItem(H(t.g.shaft));
                         AddItems(t, 2);
                     },
                     [](ShownGearbox& t) { Drag(t.tree, LabelOf(t, t.g.shaft), LabelOf(t, t.g.frame)); },
                     "Gearbox(Housing(Left,Right),N1,N2),Frame(Strut)", "Gearbox(Housing(Left,Right),N1),Frame(Strut)"}));

// Expansions that wait for the end of the host's suspension are an optimisation nobody sees:
// each sequence of calls shows the same visible rows, expanded marks and answers inside a
// suspension as outside one.
TEST(Reentrancy, WaitingExpansionsAnswerAsIfTheyHadHappenedWhenAskedFor)
{
    // Asm ─┬─ B1 ─ K1 (81)
    //      ├─ B2 ─ K2 (82)
    //      └─ B3 ─ K3 (83)      all collapsed
    using Step = std::function<std::string(CTestHost&, HTREEITEM b2)>;
    const Step select = [](CTestHost& h, HTREEITEM) { h.rv->SelectItems(82, 1, 0); return std::string(); };
    const Step walk = [](CTestHost& h, HTREEITEM) {
        std::string rows;
        ULONG_PTR row = 0;
        h.rv->GetNextItem(0, TVGN_FIRSTVISIBLE, &row);
        for (; row; h.rv->GetNextItem(row, TVGN_NEXTVISIBLE, &row)) rows += h.TextOf(CTestHost::T(row)) + " ";
        return "rows " + rows;
    };
    const Step mark = [](CTestHost& h, HTREEITEM b2) {
        const LRESULT state = SendMessageA(h.Tree(), TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(b2), TVIS_EXPANDED);
        return std::string(state & TVIS_EXPANDED ? "mark expanded" : "mark collapsed");
    };
    const Step asked = [](CTestHost& h, HTREEITEM b2) {
        LONG expanded = -1;
        h.rv->IsItemExpanded(H(b2), &expanded);
        return "expanded " + std::to_string(expanded);
    };
    const Step lock = [](CTestHost& h, HTREEITEM b2) { h.rv->LockItem(H(b2), 1); return std::string(); };
    const Step unlock = [](CTestHost& h, HTREEITEM b2) { h.rv->LockItem(H(b2), 0); return std::string(); };
    const Step collapse = [](CTestHost& h, HTREEITEM b2) { h.rv->Collapse(H(b2)); return std::string(); };
    const std::vector<std::vector<Step>> sequences = {
        {select, walk, mark, asked, walk},
        {select, mark},
        {select, lock, unlock},
        {select, collapse},
    };
    for (size_t i = 0; i < sequences.size(); ++i) {
        std::vector<std::string> seen[2];
        for (int suspended = 0; suspended < 2; ++suspended) {
            CTestHost host;
            const HTREEITEM assembly = host.AddAssembly(L"Asm", 4, 9);
            HTREEITEM b2 = nullptr;
            for (int b = 1; b <= 3; ++b) {
                const HTREEITEM branch = host.AddItem(assembly, (L"B" + std::to_wstring(b)).c_str(), NewRecord());
                host.AddItem(branch, (L"K" + std::to_wstring(b)).c_str(), NewRecord(80 + static_cast<uint32_t>(b)));
                if (b == 2) b2 = branch;
            }
            host.rv->ExpandToDepth(H(assembly), 1);
            host.ShowTree();
            if (suspended) host.rv->suspendRedraw();
            for (const Step& step : sequences[i]) seen[suspended].push_back(step(host, b2));
            if (suspended) host.rv->resumeRedraw();
            seen[suspended].push_back("after: " + walk(host, b2) + ", " + mark(host, b2));
        }
        EXPECT_EQ(seen[1], seen[0]) << "sequence " << i;
    }
}

// A press on a label clears the selection first; an item the host selects again while it hears
// of the clearing stays selected, in the list and in the tree alike.
TEST(Reentrancy, AnItemTheHostSelectsWhileAPressClearsTheSelectionStaysSelected)
{
    ShownGearbox t;
    t.host.rv->SelectItem(H(t.g.left), 0, 1, 0);
    t.host.rv->SelectItem(H(t.g.right), 0, 1, 0);
    bool again = false;
    t.host.message->onMessage = [&](unsigned short msg, BYTE* data) {
        if (msg != HM_DESELECTED || CTestHost::T(reinterpret_cast<ULONG_PTR>(data)) != t.g.left || again) return;
        again = true;
        t.host.rv->SelectItem(H(t.g.left), 1, 1, 0);
    };
    Click(t.tree, ItemPoint(t.tree, t.g.shaft, ItemPart::Label));
    t.host.message->onMessage = nullptr;
    ASSERT_TRUE(again);
    std::vector<std::string> marked;
    for (HTREEITEM item : {t.g.gearbox, t.g.housing, t.g.left, t.g.right, t.g.shaft, t.g.frame, t.g.strut})
        if (SendMessageA(t.tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), TVIS_SELECTED)) marked.push_back(t.host.TextOf(item));
    EXPECT_EQ(marked, (std::vector<std::string>{"Left", "Shaft"}));
    int selected = 0;
    t.host.rv->GetNumSelected(&selected);
    EXPECT_EQ(selected, 2);
}
