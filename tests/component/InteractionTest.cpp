// The user's hands on the tree, driven as a user drives it: button and key messages to the
// tree window, the cursor where the component reads it, Ctrl held through real input.
#include "host/Component.h"
#include "RVHostKit/Input.h"

#include <gtest/gtest.h>

#include <string>

using Log = std::vector<std::string>;

namespace {

const std::string kLock1 = "Sink::SetSelectionLock(1)";
const std::string kLock0 = "Sink::SetSelectionLock(0)";

class UserInput : public ::testing::Test, protected ShownGearbox
{
protected:
    static ULONG_PTR H(HTREEITEM item) { return CTestHost::H(item); }
    POINT At(HTREEITEM item, ItemPart part = ItemPart::Label) const { return ItemPoint(tree, item, part); }
    void Press(POINT pt, WPARAM keys = 0) { SendMessageA(tree, WM_LBUTTONDOWN, keys | MK_LBUTTON, MAKELPARAM(pt.x, pt.y)); }
    void Release(POINT pt, WPARAM keys = 0) { SendMessageA(tree, WM_LBUTTONUP, keys, MAKELPARAM(pt.x, pt.y)); }
    bool Selected(HTREEITEM item) const
    {
        return (SendMessageA(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), TVIS_SELECTED) & TVIS_SELECTED) != 0;
    }
    bool Expanded(HTREEITEM item) const
    {
        return (SendMessageA(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
    }
    HWND EditWindow() const { return reinterpret_cast<HWND>(SendMessageA(tree, TVM_GETEDITCONTROL, 0, 0)); }
};

} // namespace

// ---- Left button ----

TEST_F(UserInput, APlainClickClearsAtThePressAndSelectsAtTheRelease)
{
    host.rv->SelectItem(H(g.shaft), 0, 0, 0);
    host.log.Clear();
    Press(At(g.left));
    const std::string begin = "IMessage::Send(wID=0, wMsg=0x1E, Size=0, data=0)";
    const std::string end = "IMessage::Send(wID=0, wMsg=0x1D, Size=0, data=0)";
    EXPECT_EQ(host.log.Take(), (Log{kLock1, begin, kLock1, kLock0, Msg("0x21", "Shaft"), end, kLock0}));
    EXPECT_FALSE(Selected(g.shaft));
    Release(At(g.left));
    EXPECT_EQ(host.log.Take(), (Log{kLock1, Msg("0x1E", "Left"), Msg("0x1F", "Left"), Msg("0x1D", "Left"), kLock0}));
    EXPECT_TRUE(Selected(g.left));

    // A plain click on a selected label changes nothing; Ctrl+click takes it and its key twins
    // out at once, and the release does nothing more.
    Click(tree, At(g.left));
    EXPECT_EQ(host.log.Take(), Log{});
    host.rv->SelectItem(H(g.right), 0, 1, 0);
    host.log.Clear();
    Click(tree, At(g.left), MK_CONTROL);
    EXPECT_FALSE(Selected(g.left));
    EXPECT_FALSE(Selected(g.right));
    EXPECT_EQ(host.log.Matching("IMessage"),
              (Log{begin, Msg("0x21", "Left"), Msg("0x21", "Right"), Msg("0x21", "Strut", 5, 8), end}));
}

TEST_F(UserInput, AClickOnAnIconOrEmptySpaceKeepsTheSelection)
{
    host.rv->SelectItem(H(g.shaft), 0, 0, 0);
    host.log.Clear();
    Click(tree, At(g.left, ItemPart::Icon));
    Click(tree, POINT{5, 390});
    EXPECT_EQ(host.log.Take(), Log{});
    EXPECT_TRUE(Selected(g.shaft));
}

TEST_F(UserInput, TheButtonCollapsesAndExpandsWithTheHostTold)
{
    Click(tree, At(g.housing, ItemPart::Button));
    EXPECT_EQ(host.log.Take(), Log{Form2("0x31", "Housing")});
    EXPECT_FALSE(Expanded(g.housing));
    Click(tree, At(g.housing, ItemPart::Button));
    EXPECT_EQ(host.log.Take(), (Log{Form2("0x1B", "Housing"), Form2("0x32", "Housing"), Form2("0x1A", "Housing")}));
    EXPECT_TRUE(Expanded(g.housing));

    host.rv->LockItem(H(g.housing), 1);
    host.log.Clear();
    const bool expanded = Expanded(g.housing);
    Click(tree, At(g.housing, ItemPart::Button));
    EXPECT_EQ(host.log.Take(), Log{}) << "a locked item keeps its branch as it is";
    EXPECT_EQ(Expanded(g.housing), expanded);
}

TEST_F(UserInput, TheStatePictureSwitchesAnItemInsideTheHostsBrackets)
{
    Click(tree, At(g.shaft, ItemPart::StateIcon));
    const Log log = host.log.Take();
    ASSERT_GE(log.size(), 6u);
    EXPECT_EQ(Log(log.begin(), log.begin() + 2), (Log{"IMessage::QueryInterface(IMessage2) -> ok",
                                                        "IMessage2::Send(wID=4, wMsg=0x42, Size=4, data=Shaft)"}));
    EXPECT_EQ(log[2], Msg("0x25", "Shaft"));
    EXPECT_EQ(Log(log.end() - 4, log.end()), (Log{Msg("0x26", "Shaft"), "IMessage::QueryInterface(IMessage2) -> ok",
                                                  "IMessage2::Send(wID=4, wMsg=0x43, Size=4, data=Shaft)",
                                                  "View3D::Draw"}));
    LONG state = 0;
    host.rv->GetHTIState(H(g.shaft), &state);
    EXPECT_EQ(state, 1);

    host.rv->SetFailState(H(g.shaft), 1);
    host.log.Clear();
    Click(tree, At(g.shaft, ItemPart::StateIcon));
    EXPECT_EQ(host.log.Take(), Log{}) << "an item showing the failed picture is not switched";
}

// ---- Keys and the last mouse point ----

TEST_F(UserInput, KeysAreReportedForTheItemAtTheLastMousePoint)
{
    PressKey(tree, 'A');
    EXPECT_EQ(host.log.Take(), Log{}) << "before any click the last mouse point hits nothing";

    SetCursorTo(tree, At(g.shaft));
    RightClick(tree, At(g.shaft));
    host.rv->SelectItem(H(g.left), 0, 0, 0);
    host.log.Clear();
    PressKey(tree, VK_DOWN);
    SendMessageA(tree, WM_CHAR, 'x', 1);
    EXPECT_EQ(host.log.Take(), Log{Msg("0x1C", "Shaft")});
}

// ---- Label editing ----

TEST_F(UserInput, ADoubleClickOnALabelEditsItAndEnterKeepsTheTextWhenItGoesUp)
{
    DoubleClick(tree, At(g.shaft, ItemPart::Icon));
    EXPECT_EQ(EditWindow(), nullptr) << "not from the icon";

    DoubleClick(tree, At(g.shaft));
    const HWND edit = EditWindow();
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(host.log.Matching("IMessage").back(), Msg("0x17", "Shaft"));
    host.log.Clear();
    SetWindowTextA(edit, "Bolt");
    SendMessageA(edit, WM_KEYDOWN, VK_RETURN, 1);
    EXPECT_TRUE(IsWindow(edit)) << "Enter acts when the key goes up";
    SendMessageA(edit, WM_KEYUP, VK_RETURN, 0xC0000001);
    EXPECT_FALSE(IsWindow(edit));
    EXPECT_EQ(host.TextOf(g.shaft), "Bolt");
    EXPECT_EQ(host.log.Take(), Log{Msg("0x13", "Shaft")});
}

TEST_F(UserInput, EveryWayAnEditEndsKeepsOrDiscardsTheTextAsTheUserMeant)
{
    const std::wstring longLabel(300, L'L');
    // Every ending that discards leaves the label and tells the host nothing; every ending
    // that keeps the text sets it, every character as typed, and reports it once.
    struct Case { const char* how; std::wstring typed; std::wstring label; };
    const Case cases[] = {
        {"escape", L"Gone", L"Shaft"},
        {"discard", L"Gone", L"Shaft"},  // the control (or the host) ends it as discarded
        {"discard", L"", L"Shaft"},
        {"focus", L"Kept", L"Kept"},
        {"click", L"Clicked", L"Clicked"},
        {"commit", L"Committed \u4E2D", L"Committed \u4E2D"},
        {"enter", longLabel, longLabel},
        {"enter", L"Gr\u00FC\u00DFe \u4E2D", L"Gr\u00FC\u00DFe \u4E2D"},
        // Edits a host starts with the control's own message end the same ways.
        {"host edit, discard", L"Gone", L"Shaft"},
        {"host edit, commit", L"Committed", L"Committed"},
    };
    for (const Case& c : cases) {
        const std::string how = c.how;
        if (how.rfind("host edit", 0) == 0)
            SendMessageW(tree, TVM_EDITLABELW, 0, reinterpret_cast<LPARAM>(g.shaft));
        else
            host.rv->EditItemLabel(H(g.shaft));
        const HWND edit = EditWindow();
        ASSERT_NE(edit, nullptr) << c.how;
        SetWindowTextW(edit, c.typed.c_str());
        host.log.Clear();
        if (how == "escape") SendMessageA(edit, WM_KEYUP, VK_ESCAPE, 0xC0000001);
        if (how == "enter") SendMessageA(edit, WM_KEYUP, VK_RETURN, 0xC0000001);
        if (how == "focus") SetFocus(host.parent.get());
        if (how == "click") Click(tree, POINT{5, 390});
        if (how.find("discard") != std::string::npos || how.find("commit") != std::string::npos)
            SendMessageA(tree, TVM_ENDEDITLABELNOW, how.find("discard") != std::string::npos, 0);
        EXPECT_FALSE(IsWindow(edit)) << c.how;
        EXPECT_EQ(host.WideTextOf(g.shaft), c.label) << c.how;
        const Log heard = host.log.Matching("IMessage::SendWithDataID(dataID=9, wID=4, wMsg=0x13");
        EXPECT_EQ(heard.size(), c.label == L"Shaft" ? 0u : 1u) << c.how;
        host.rv->SetItemText(H(g.shaft), const_cast<wchar_t*>(L"Shaft"), 6);
    }
}

TEST_F(UserInput, EditsStillWorkWithTheControlSwitchedToEightBitNotifications)
{
    // A host may switch the control back to 8-bit notifications.
    SendMessageA(tree, TVM_SETUNICODEFORMAT, FALSE, 0);
    host.rv->EditItemLabel(H(g.shaft));
    ASSERT_TRUE(TypeLabel(tree, L"Bolt \u4E2D"));
    EXPECT_EQ(host.WideTextOf(g.shaft), L"Bolt \u4E2D") << "the edit box has the whole text";
    EXPECT_EQ(host.log.Take(), (Log{Msg("0x17", "Shaft"), Msg("0x13", "Shaft")}));

    // An edit the host starts with the control's own message ends with the notification's text.
    const auto edit = reinterpret_cast<HWND>(SendMessageA(tree, TVM_EDITLABELA, 0, reinterpret_cast<LPARAM>(g.shaft)));
    ASSERT_NE(edit, nullptr);
    SetWindowTextA(edit, "Nut");
    SendMessageA(tree, TVM_ENDEDITLABELNOW, FALSE, 0);
    EXPECT_EQ(host.WideTextOf(g.shaft), L"Nut");
}

TEST_F(UserInput, AnEditTheHostRefusesOrWhoseItemGoesLeavesNothingBehind)
{
    host.message->answers[0x17] = 1;
    host.rv->EditItemLabel(H(g.shaft));
    EXPECT_EQ(EditWindow(), nullptr);
    host.message->answers.clear();

    // Removed while the host hears of the edit: no edit of a gone item.
    host.message->onMessage = [&](unsigned short code, BYTE*) {
        if (code == 0x17) host.rv->RemoveTreeItem(H(g.shaft));
    };
    host.rv->EditItemLabel(H(g.shaft));
    host.message->onMessage = nullptr;
    EXPECT_EQ(EditWindow(), nullptr);

    // Removed while the edit runs: the edit goes with it, changing nothing.
    host.rv->EditItemLabel(H(g.left));
    const HWND edit = EditWindow();
    ASSERT_NE(edit, nullptr);
    SetWindowTextA(edit, "Changed");
    host.log.Clear();
    host.rv->RemoveTreeItem(H(g.left));
    EXPECT_FALSE(IsWindow(edit));
    EXPECT_EQ(host.log.Matching("IMessage::SendWithDataID(dataID=9, wID=4, wMsg=0x13"), Log{});
}

// ---- Right button and the context menu ----

TEST_F(UserInput, ARightPressSetsTheMenuMaskAndTheMenuGoesToTheHost)
{
    host.rv->SelectItem(H(g.left), 0, 0, 0);
    host.log.Clear();
    SetCursorTo(tree, POINT{5, 390});
    RightClick(tree, POINT{5, 390});
    const Log overNothing = host.log.Take();
    ASSERT_FALSE(overNothing.empty());
    EXPECT_EQ(overNothing[0], "Sink::SetMenuMask(0x0)");

    SetCursorTo(tree, At(g.shaft));
    host.message->answers[0x33] = 7;
    SendMessageA(tree, WM_RBUTTONDOWN, MK_RBUTTON, 0);
    EXPECT_EQ(host.log.Take(), (Log{"Sink::SetMenuMask(0x3EFF)", Msg("0x22", "Shaft")}));
    SendMessageA(tree, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(tree), MAKELPARAM(120, 80));
    EXPECT_EQ(host.log.Take(), (Log{"Sink::NotifySelectedTypeID(4)", Form2("0x33", "Shaft"),
                                    "Sink::NotifyRButtonUp(0x0, (120,80), 7)"}));
    EXPECT_TRUE(Selected(g.left)) << "the right press moves only the focus mark";
    EXPECT_FALSE(Selected(g.shaft));

    SetCursorTo(tree, At(g.housing));
    SendMessageA(tree, WM_RBUTTONDOWN, MK_RBUTTON, 0);
    EXPECT_EQ(host.log.Take(), (Log{"Sink::SetMenuMask(0x3FFF)", Msg("0x22", "Housing")}));
}

// ---- Drag and drop ----

TEST_F(UserInput, DraggingABranchOntoAnItemMovesItWithEveryHostMessageInOrder)
{
    Drag(tree, At(g.shaft), At(g.housing));
    // The control may give the new item the moved item's handle again: then it has its name.
    const HTREEITEM moved = Next(Next(Next(g.housing, TVGN_CHILD), TVGN_NEXT), TVGN_NEXT);
    const char* const movedName = moved == g.shaft ? "Shaft" : "Shaft'";
    host.log.Name(moved, movedName);
    EXPECT_EQ(host.log.Take(),
              (Log{kLock1, "IMessage::Send(wID=0, wMsg=0x1E, Size=0, data=0)",
                   "IMessage::Send(wID=0, wMsg=0x1D, Size=0, data=0)", kLock0, // the press clears the selection
                   kLock1, kLock0,                                              // the drag deselects Shaft
                   Msg("0x12", "Shaft"), Msg("0x19", "Housing"), Msg("0x3F", "Housing"), Msg("0x0A", "Shaft"),
                   Msg("0x16", "Shaft"), kLock1, kLock0, Msg("0x2A", "Gearbox"), Msg("0x10", "Housing"),
                   Msg("0x0F", movedName), Msg("0x27", movedName, 0)}));
    EXPECT_EQ(Children(g.gearbox), Log{"Housing"});
    EXPECT_EQ(Children(g.housing), (Log{"Left", "Right", "Shaft"}));
    for (HTREEITEM item : {g.gearbox, g.housing, g.left, g.right, moved, g.frame, g.strut})
        EXPECT_EQ(SendMessageA(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), TVIS_DROPHILITED), 0);
    EXPECT_NE(GetCapture(), tree);
}


TEST(DragAndDrop, EveryVetoAndRefusalStopsTheDropWhereItSays)
{
    const Log untouched{"Housing", "Shaft"};
    struct Case { const char* what; unsigned short veto; WPARAM keys; Log gearbox; Log housing; bool hostPastes = false; };
    const Case cases[] = {
        {"drag refused", 0x12, 0, untouched, {"Left", "Right"}},
        {"drop refused", 0x19, 0, untouched, {"Left", "Right"}},
        {"child drop refused", 0x3F, 0, untouched, {"Left", "Right"}},
        {"cut refused: a copy", 0x0A, 0, untouched, {"Left", "Right", "Shaft"}},
        {"Ctrl: a copy", 0, MK_CONTROL, untouched, {"Left", "Right", "Shaft"}},
        {"paste refused after the cut", 0x10, 0, {"Housing"}, {"Left", "Right"}},
        {"the host pastes", 0, 0, {"Housing"}, {"Left", "Right"}, true},
    };
    for (const Case& c : cases) {
        ShownGearbox t;
        if (c.veto) t.host.message->answers[c.veto] = 1;
        if (c.hostPastes) t.host.rv->EnableLocalPaste(0);
        const HWND tree = t.host.Tree();
        // Ctrl held at the press would make a Ctrl+click: a copy holds it at the release.
        const POINT to = ItemPoint(tree, t.g.housing, ItemPart::Label);
        StartDrag(tree, ItemPoint(tree, t.g.shaft, ItemPart::Label), to);
        {
            std::unique_ptr<CHoldKey> ctrl(c.keys ? new CHoldKey(VK_CONTROL) : nullptr);
            SendMessageA(tree, WM_LBUTTONUP, c.keys, MAKELPARAM(to.x, to.y));
        }
        EXPECT_EQ(t.Children(t.g.gearbox), c.gearbox) << c.what;
        EXPECT_EQ(t.Children(t.g.housing), c.housing) << c.what;
        EXPECT_NE(GetCapture(), tree) << c.what;
        // Ctrl keeps the item but the host still hears it was cut away.
        if (c.keys) {
            EXPECT_EQ(t.host.log.Matching("IMessage::SendWithDataID(dataID=9, wID=4, wMsg=0x2A").size(), 1u);
        }
        if (c.hostPastes) {
            EXPECT_EQ(t.host.log.Matching("IMessage::SendWithDataID(dataID=9, wID=4, wMsg=0x3E").size(), 1u)
                << "asked to paste into Housing";
        }
    }
}

TEST(DragAndDrop, DropsIntoItsOwnBranchOrOntoItsParentOrAnotherDataSetDoNothing)
{
    ShownGearbox t;
    const HTREEITEM other = t.host.AddIsolatedAssembly(L"Other", 6, 7);
    const HTREEITEM bolt = t.host.AddItem(other, L"Bolt", NewRecord(300));
    t.host.rv->ExpandToDepth(0, -1);
    const HWND tree = t.host.Tree();
    const auto at = [&](HTREEITEM item) { return ItemPoint(tree, item, ItemPart::Label); };
    Drag(tree, at(t.g.housing), at(t.g.left));  // into its own branch
    Drag(tree, at(t.g.left), at(t.g.housing));  // onto its own parent
    t.host.rv->SetNoDropInto(CTestHost::H(t.g.shaft), 1);
    Drag(tree, at(t.g.left), at(t.g.shaft));    // onto an item marked no-drop
    t.host.rv->LockItem(CTestHost::H(t.g.housing), 1);
    Drag(tree, at(t.g.shaft), at(t.g.housing)); // into a locked branch
    t.host.log.Clear();
    Drag(tree, at(bolt), at(t.g.shaft));        // out of an isolated data set
    EXPECT_EQ(t.host.log.Matching("IMessage::SendWithDataID(dataID=9, wID=4, wMsg=0x3F").size(), 0u)
        << "refused before the host is asked";
    EXPECT_EQ(t.Children(t.g.gearbox), (Log{"Housing", "Shaft"}));
    EXPECT_EQ(t.Children(t.g.housing), (Log{"Left", "Right"}));
    EXPECT_EQ(t.Children(other), Log{"Bolt"});
    EXPECT_EQ(t.host.log.Matching("IMessage::SendWithDataID(dataID=9, wID=4, wMsg=0x0A").size(), 0u);
}

TEST(DragAndDrop, InsertBeforeModePutsTheBranchBeforeTheTargetWhateverTheBand)
{
    ShownGearbox t;
    t.host.rv->DragDropInsertBeforeFlag(1);
    const HWND tree = t.host.Tree();
    Drag(tree, ItemPoint(tree, t.g.housing, ItemPart::Label), ItemPoint(tree, t.g.strut, ItemPart::Label));
    EXPECT_EQ(t.Children(t.g.gearbox), Log{"Shaft"});
    EXPECT_EQ(t.Children(t.g.frame), (Log{"Housing", "Strut"}));
    const auto moved = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(t.g.frame)));
    EXPECT_EQ(t.Children(moved), (Log{"Left", "Right"})) << "the children came along";
    EXPECT_EQ(t.host.log.Matching("IMessage::SendWithDataID(dataID=8, wID=5, wMsg=0x0F").size(), 1u);
    EXPECT_EQ(t.host.log.Matching("IMessage::SendWithDataID(dataID=9, wID=4, wMsg=0x0A").size(), 0u);
}

TEST(DragAndDrop, EveryWayADragEndsLeavesNoCaptureTimerOrHighlightAndDropsNothing)
{
    const char* const endings[] = {"escape", "capture", "release", "destroy"};
    for (const char* how : endings) {
        auto t = std::make_unique<ShownGearbox>();
        const HWND tree = t->host.Tree();
        StartDrag(tree, ItemPoint(tree, t->g.shaft, ItemPart::Label), ItemPoint(tree, t->g.housing, ItemPart::Label));
        ASSERT_EQ(GetCapture(), tree) << how;
        const std::string ending = how;
        if (ending == "escape") PressKey(tree, VK_ESCAPE);
        if (ending == "capture") SetCapture(t->host.parent.get());
        if (ending == "release") t->host.ReleaseComponent();
        if (ending == "destroy") t->host.parent.Destroy();
        EXPECT_NE(GetCapture(), tree) << how;
        if (IsWindow(tree)) {
            SendMessageA(tree, WM_LBUTTONUP, 0, MAKELPARAM(5, 5)); // a late release drops nothing
            EXPECT_EQ(t->Children(t->g.housing), (Log{"Left", "Right"})) << how;
            EXPECT_EQ(SendMessageA(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(t->g.housing), TVIS_DROPHILITED), 0) << how;
            // The scroll timer is gone: none of its ticks arrives.
            MSG msg;
            Sleep(100);
            EXPECT_FALSE(PeekMessageA(&msg, tree, WM_TIMER, WM_TIMER, PM_NOREMOVE)) << how;
        }
        ReleaseCapture();
        EXPECT_EQ(t->host.log.Matching("IMessage::SendWithDataID(dataID=9, wID=4, wMsg=0x0A").size(), 0u) << how;
    }
}

TEST(DragAndDrop, TheTreeScrollsOnlyWhileTheCursorIsNearAnEdge)
{
    CTestHost host;
    const HTREEITEM root = host.AddAssembly(L"Root", 1, 1);
    for (int i = 0; i < 40; ++i) host.AddItem(root, (L"Part " + std::to_wstring(i)).c_str(), NewRecord(1000u + i));
    host.rv->ExpandToDepth(0, -1);
    host.ShowTree(200, 120);
    const HWND tree = host.Tree();
    const HTREEITEM first = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_FIRSTVISIBLE, 0));
    const auto firstVisible = [&] {
        return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_FIRSTVISIBLE, 0));
    };
    const auto pumpFor = [](DWORD ms) {
        const DWORD until = GetTickCount() + ms;
        while (GetTickCount() < until) {
            PumpMessages();
            Sleep(5);
        }
    };
    const HTREEITEM part = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(root)));
    StartDrag(tree, ItemPoint(tree, part, ItemPart::Label), POINT{60, 50});
    RECT client{};
    GetClientRect(tree, &client);
    SetCursorTo(tree, POINT{60, client.bottom / 2});
    pumpFor(300);
    EXPECT_EQ(firstVisible(), first) << "away from the edges nothing scrolls";
    SetCursorTo(tree, POINT{60, client.bottom - 2});
    pumpFor(400);
    EXPECT_NE(firstVisible(), first) << "within 5 pixels of the bottom it scrolls every tick";
    PressKey(tree, VK_ESCAPE);
}

TEST(DragAndDrop, TheHostMayRemoveTheDraggedItemOrTheTargetOrLetGoOfTheTreeInAnyMessage)
{
    // What stays below Gearbox: a target gone before the cut keeps the dragged item; a cut
    // accepted before the target went leaves it removed (its undo action can bring it back).
    struct Case { unsigned short code; const char* removes; Log gearbox; };
    const Case cases[] = {{0x12, "dragged", {"Housing"}}, {0x19, "dragged", {"Housing"}},
                          {0x3F, "target", {"Shaft"}},    {0x0A, "target", {"Shaft"}},
                          {0x10, "target", {}},           {0x27, "tree", {}}};
    for (const Case& c : cases) {
        ShownGearbox t;
        const HWND tree = t.host.Tree();
        const std::string what = c.removes;
        t.host.message->onMessage = [&](unsigned short code, BYTE*) {
            if (code != c.code) return;
            if (what == "dragged") t.host.rv->RemoveTreeItem(CTestHost::H(t.g.shaft));
            if (what == "target") t.host.rv->RemoveTreeItem(CTestHost::H(t.g.housing));
            if (what == "tree") t.host.ReleaseComponent();
        };
        Drag(tree, ItemPoint(tree, t.g.shaft, ItemPart::Label), ItemPoint(tree, t.g.housing, ItemPart::Label));
        t.host.message->onMessage = nullptr;
        EXPECT_NE(GetCapture(), tree) << c.code;
        if (what == "tree")
            EXPECT_FALSE(IsWindow(tree));
        else
            EXPECT_EQ(t.Children(t.g.gearbox), c.gearbox) << c.code;
    }
}
