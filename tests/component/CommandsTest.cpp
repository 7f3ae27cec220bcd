// The host's menu commands as a host sends them: a right press sets the point, the command id
// is posted through IRVWnd::PostMessage and runs when the message pump reaches it.
#include "host/Component.h"
#include "RVHostKit/Input.h"

#include <gtest/gtest.h>

using Log = std::vector<std::string>;

namespace {

class Commands : public ::testing::Test, protected ShownGearbox
{
protected:
    static ULONG_PTR H(HTREEITEM item) { return CTestHost::H(item); }
    // The right press that opens the host's menu, then the chosen command.
    void PointAt(POINT pt)
    {
        SetCursorTo(tree, pt);
        SendMessageA(tree, WM_RBUTTONDOWN, MK_RBUTTON, 0);
        host.log.Clear();
    }
    void PointAt(HTREEITEM item, ItemPart part = ItemPart::Label) { PointAt(ItemPoint(tree, item, part)); }
    void Command(UINT id)
    {
        host.rv->PostMessage(WM_COMMAND, id, 0);
        PumpMessages();
    }
    void CommandAt(UINT id, HTREEITEM item, ItemPart part = ItemPart::Label)
    {
        PointAt(item, part);
        Command(id);
    }
    int Mapped(ULONG key) const
    {
        int n = 0;
        host.rv->CalcOrvaneMappedItems(key, &n);
        return n;
    }
    int Image(HTREEITEM item) const
    {
        TVITEMA it{};
        it.mask = TVIF_HANDLE | TVIF_IMAGE;
        it.hItem = item;
        SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&it));
        return it.iImage;
    }
};

} // namespace

namespace {
// Everything a command can change that a host or user sees: host calls, messages to the user,
// and each row's label, picture and expansion.
std::string Observable(ShownGearbox& t)
{
    std::string seen;
    for (const std::string& entry : t.host.log.Take()) seen += entry + "\n";
    for (const std::string& shown : TakeMessageBoxes()) seen += shown + "\n";
    std::vector<HTREEITEM> pending{t.Next(nullptr, TVGN_ROOT)};
    while (!pending.empty()) {
        const HTREEITEM item = pending.back();
        pending.pop_back();
        if (!item) continue;
        TVITEMA it{};
        it.mask = TVIF_HANDLE | TVIF_IMAGE | TVIF_STATE;
        it.hItem = item;
        it.stateMask = TVIS_EXPANDED;
        SendMessageA(t.tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&it));
        seen += Format("%s %d %u;", t.host.TextOf(item).c_str(), it.iImage, it.state & TVIS_EXPANDED);
        pending.push_back(t.Next(item, TVGN_NEXT));
        pending.push_back(t.Next(item, TVGN_CHILD));
    }
    return seen;
}
} // namespace

// Every command id against the three places a right press can leave the last mouse point: an
// item's icon, empty space and an item's label. Each try starts from a fresh tree.
TEST(CommandHitRules, EachCommandActsOnlyWhereItsHitRuleIsMet)
{
    enum Hit { Label, AnyItem, None };
    enum Prepare { Nothing, Clipboard, Locked, Collapsed, Bookmark };
    const struct { UINT id; Hit hit; bool withChildren; Prepare prepare; } rules[] = {
        {101, AnyItem, false, Nothing},  {102, Label, false, Nothing},    {103, Label, false, Nothing},
        {104, None, false, Nothing},     {105, None, false, Nothing},     {106, Label, false, Clipboard},
        {107, Label, false, Nothing},    {108, AnyItem, false, Nothing},  {109, Label, false, Nothing},
        {32778, AnyItem, false, Nothing}, {32779, AnyItem, true, Nothing}, {32781, Label, false, Clipboard},
        {32783, AnyItem, true, Collapsed}, {32786, AnyItem, true, Nothing}, {32787, AnyItem, true, Locked},
        {32797, None, false, Nothing},   {32798, AnyItem, false, Nothing}, {32799, None, false, Nothing},
        {32800, None, false, Nothing},   {32801, None, false, Bookmark},
    };
    const auto actsAt = [](UINT id, bool withChildren, Prepare prepare, ItemPart* part) {
        ShownGearbox t;
        const HTREEITEM item = withChildren ? t.g.housing : t.g.shaft;
        const auto pointAt = [&](POINT pt) {
            SetCursorTo(t.tree, pt);
            SendMessageA(t.tree, WM_RBUTTONDOWN, MK_RBUTTON, 0);
        };
        const auto command = [&](UINT which) {
            t.host.rv->PostMessage(WM_COMMAND, which, 0);
            PumpMessages();
        };
        if (prepare == Clipboard) {
            pointAt(ItemPoint(t.tree, t.g.left, ItemPart::Label));
            command(109);
        }
        if (prepare == Locked) t.host.rv->LockItem(CTestHost::H(item), 1);
        if (prepare == Collapsed) t.host.rv->Collapse(CTestHost::H(item));
        if (prepare == Bookmark) t.host.rv->SetBookmark(CTestHost::H(t.g.left), 1);
        pointAt(part ? ItemPoint(t.tree, item, *part) : POINT{5, 390});
        t.host.log.Clear();
        TakeMessageBoxes();
        const std::string before = Observable(t);
        command(id);
        SendMessageA(t.tree, TVM_ENDEDITLABELNOW, TRUE, 0);
        return Observable(t) != before;
    };
    TakeMessageBoxes();
    for (const auto& rule : rules) {
        ItemPart icon = ItemPart::Icon, label = ItemPart::Label;
        EXPECT_EQ(actsAt(rule.id, rule.withChildren, rule.prepare, &icon), rule.hit != Label) << rule.id << " on an icon";
        EXPECT_EQ(actsAt(rule.id, rule.withChildren, rule.prepare, nullptr), rule.hit == None) << rule.id << " on nothing";
        EXPECT_TRUE(actsAt(rule.id, rule.withChildren, rule.prepare, &label)) << rule.id << " on a label";
    }
}

TEST_F(Commands, CutAndPasteMoveABranchWithItsKeys)
{
    CommandAt(102, g.housing);
    const Log deleted = {"Sink::SetSelectionLock(1)", "Sink::SetSelectionLock(0)"};
    EXPECT_EQ(host.log.Take(), (Log{Msg("0x0A", "Housing"), Msg("0x16", "Left"), deleted[0], deleted[1],
                                    Msg("0x16", "Right"), deleted[0], deleted[1], Msg("0x16", "Housing"),
                                    deleted[0], deleted[1], Msg("0x2A", "Gearbox")}));
    EXPECT_EQ(Children(g.gearbox), Log{"Shaft"});
    EXPECT_EQ(Mapped(101), 1);

    CommandAt(103, g.shaft);
    EXPECT_EQ(host.log.Take(), Log{Msg("0x10", "Shaft")}) << "a keyed leaf takes no children";
    CommandAt(103, g.frame);
    const HTREEITEM pasted = LastChild(g.frame);
    host.log.Name(pasted, "Housing'");
    EXPECT_EQ(host.log.Take(), (Log{Msg("0x10", "Frame", 5, 8), Msg("0x0F", "Housing'", 5, 8)}));
    EXPECT_EQ(Children(pasted), (Log{"Left", "Right"}));
    EXPECT_EQ(Mapped(101), 3) << "the pasted items show their keys again";

    // The clipboard stays: a second paste makes a second copy.
    CommandAt(106, g.shaft);
    EXPECT_EQ(Children(g.gearbox), (Log{"Shaft", "Housing"}));
}

TEST_F(Commands, VetoesAndRefusalsStopWhereTheySay)
{
    host.message->answers[0x0A] = 1; // a refused cut still fills the clipboard
    CommandAt(102, g.left);
    EXPECT_EQ(Children(g.housing), (Log{"Left", "Right"}));
    host.rv->SetNoDropInto(H(g.shaft), 1);
    CommandAt(103, g.shaft);
    EXPECT_EQ(host.log.Take(), Log{}) << "a paste into a no-drop item sends nothing at all";
    CommandAt(32781, g.shaft);
    EXPECT_EQ(Children(g.gearbox), (Log{"Housing", "Left", "Shaft"})) << "paste before still works";

    host.message->answers[0x0B] = 1;
    CommandAt(107, g.shaft);
    EXPECT_EQ(Children(g.gearbox), (Log{"Housing", "Left", "Shaft"}));

    CommandAt(109, g.gearbox); // an assembly leaves the clipboard empty
    CommandAt(106, g.housing);
    EXPECT_EQ(Children(g.gearbox), (Log{"Housing", "Left", "Shaft"}));
}

TEST_F(Commands, TheHostPastesOrThePasteGoesAfterWhenAskedTo)
{
    CommandAt(109, g.shaft);
    host.rv->MakePasteLikeInsert(1);
    CommandAt(103, g.left);
    EXPECT_EQ(Children(g.housing), (Log{"Left", "Shaft", "Right"}));
    EXPECT_EQ(host.log.Matching("IMessage::SendWithDataID(dataID=9, wID=4, wMsg=0x0F").size(), 1u)
        << "pasted after the item, the host still hears of a child";

    host.rv->EnableLocalPaste(0);
    CommandAt(103, g.left);
    EXPECT_EQ(host.log.Take(), (Log{Msg("0x10", "Left"), Msg("0x3E", "Left")}));
    CommandAt(106, g.left, ItemPart::Icon);
    EXPECT_EQ(host.log.Take(), Log{Msg("0x3D", "Left")}) << "anywhere on the row";
    EXPECT_EQ(Children(g.housing), (Log{"Left", "Shaft", "Right"}));
}

TEST_F(Commands, UndoPutsBackARemovedBranchWithItsKeysOnlyOnce)
{
    CommandAt(107, g.housing);
    EXPECT_EQ(Mapped(101), 1);
    host.log.Clear();
    Command(32797);
    const HTREEITEM back = LastChild(g.gearbox);
    host.log.Name(back, "Housing'");
    EXPECT_EQ(host.log.Take(), Log{Msg("0x0F", "Housing'")});
    EXPECT_EQ(Children(g.gearbox), (Log{"Shaft", "Housing"}));
    EXPECT_EQ(Children(back), (Log{"Left", "Right"}));
    EXPECT_EQ(Mapped(101), 3);
    Command(32797);
    EXPECT_EQ(host.log.Take(), Log{}) << "the second Undo has nothing left";
    EXPECT_EQ(Children(g.gearbox), (Log{"Shaft", "Housing"}));
}

TEST_F(Commands, UndoAfterARenameOrADragRevertsJustThat)
{
    CommandAt(108, g.shaft);
    HWND edit = reinterpret_cast<HWND>(SendMessageA(tree, TVM_GETEDITCONTROL, 0, 0));
    ASSERT_NE(edit, nullptr);
    SetWindowTextA(edit, "Bolt");
    SendMessageA(edit, WM_KEYUP, VK_RETURN, 0xC0000001);
    host.log.Clear();
    Command(32797);
    EXPECT_EQ(host.TextOf(g.shaft), "Shaft");
    EXPECT_EQ(host.log.Take(), Log{}) << "a rename is undone silently";

    Drag(tree, ItemPoint(tree, g.shaft, ItemPart::Label), ItemPoint(tree, g.housing, ItemPart::Label));
    EXPECT_EQ(Children(g.housing), (Log{"Left", "Right", "Shaft"}));
    Command(32797);
    EXPECT_EQ(Children(g.housing), (Log{"Left", "Right"}));
    EXPECT_EQ(Children(g.gearbox), (Log{"Housing", "Shaft"})) << "one Undo reverts the whole move";
}

TEST_F(Commands, NewItemAsksTheHostAndEditsTheNewLabel)
{
    CommandAt(101, g.shaft, ItemPart::Icon);
    EXPECT_EQ(host.log.Take(), Log{Msg("0x07", "Shaft")}) << "asked, but only a label takes a new item";

    CommandAt(101, g.shaft);
    const HTREEITEM added = Next(g.shaft, TVGN_CHILD);
    ASSERT_NE(added, nullptr);
    host.log.Name(added, "New Item");
    EXPECT_EQ(host.log.Take(), (Log{Msg("0x07", "Shaft"), Msg("0x34", "New Item"), Msg("0x17", "New Item"),
                                    Msg("0x08", "New Item")}));
    EXPECT_NE(SendMessageA(tree, TVM_GETEDITCONTROL, 0, 0), 0);
    EXPECT_EQ(host.TextOf(added), "New Item");

    PointAt(POINT{5, 390});
    Command(105);
    const HTREEITEM assembly = LastChild(nullptr);
    host.log.Name(assembly, "<unnamed>");
    EXPECT_EQ(host.log.Matching("IMessage::SendWithDataID(dataID=0, wID=0, wMsg=0x11"), Log{Msg("0x11", "<unnamed>", 0, 0)});
}

TEST_F(Commands, LockCommandsNeedChildrenAndShowTheirPictures)
{
    CommandAt(32786, g.shaft);
    EXPECT_EQ(Image(g.shaft), 0) << "an item without children is not locked";
    CommandAt(32786, g.housing);
    EXPECT_EQ(Image(g.housing), 2);
    EXPECT_EQ(SendMessageA(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(g.housing), TVIS_EXPANDED), 0);
    CommandAt(32787, g.housing);
    EXPECT_EQ(Image(g.housing), 0);
    CommandAt(32779, g.gearbox);
    EXPECT_EQ(Image(g.gearbox), 3);
    CommandAt(32779, g.gearbox);
    EXPECT_EQ(Image(g.gearbox), 1);
    EXPECT_EQ(host.log.Take(), Log{}) << "the lock commands send nothing";
}

TEST_F(Commands, BindingToThe3DSelectionTakesItsKeyAndVisibility)
{
    host.sink->firstSelectedKey = 555;
    host.vis->visibility[555] = 1;
    CommandAt(32778, g.shaft);
    EXPECT_EQ(host.log.Take(), (Log{"Sink::GetFirstSelectedOrvaneItem", Msg("0x12", "Shaft"), "Vis::GetVisibility(555)",
                                    "Sink::IsVisibilityLock", "Sink::SetVisibilityLock(1)", "Vis::SetVisible(555)",
                                    "Sink::SetVisibilityLock(0)", Msg("0x23", "Shaft")}));
    EXPECT_EQ(Mapped(555), 1);
    EXPECT_EQ(Mapped(200), 0);
    LONG state = 0;
    host.rv->GetHTIState(H(g.shaft), &state);
    EXPECT_EQ(state, 1);

    host.sink->firstSelectedKey = 0;
    CommandAt(32778, g.shaft);
    EXPECT_EQ(Mapped(555), 0);
    LONG failed = 0;
    host.rv->GetFailState(H(g.shaft), &failed);
    EXPECT_EQ(failed, 1);
    CommandAt(32778, g.housing);
    EXPECT_EQ(host.log.Take(), Log{}) << "an item with children is not bound";
}

TEST(CommandsWithoutATree, ACommandPostedBeforeInitOrAfterTheWindowWentDoesNothing)
{
    CTestHost host(true, false);
    EXPECT_EQ(host.rv->PostMessage(WM_COMMAND, 105, 0), S_OK);
    PumpMessages();
    host.Init();
    host.parent.Destroy();
    EXPECT_EQ(host.rv->PostMessage(WM_COMMAND, 105, 0), S_OK);
    PumpMessages();
    EXPECT_EQ(host.log.Matching("IMessage::SendWithDataID(dataID=0, wID=0, wMsg=0x36").size(), 0u);
}

TEST_F(Commands, UndoTakesBackAnAddedItemAndLeavesAGoneItemAlone)
{
    host.AddItem(g.shaft, L"Bolt");
    host.log.Clear();
    Command(32797);
    EXPECT_EQ(host.log.Matching("IMessage::SendWithDataID(dataID=9, wID=4, wMsg=0x0B"), Log{Msg("0x0B", "Bolt")});
    EXPECT_EQ(Children(g.shaft), Log{});

    // The renamed item goes behind the component's back: its undo action finds nothing.
    CommandAt(108, g.left);
    SendMessageA(tree, TVM_ENDEDITLABELNOW, FALSE, 0);
    SendMessageA(tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(g.left));
    host.log.Clear();
    Command(32797);
    EXPECT_EQ(host.log.Take(), Log{});
    EXPECT_EQ(Children(g.housing), Log{"Right"});
}
