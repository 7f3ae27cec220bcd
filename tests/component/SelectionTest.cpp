// The tree's own multi-selection through the interface: marks, messages inside the sink's
// selection lock, the count-then-fetch queries and the key queries.
#include "host/Component.h"
#include "RVHostKit/TreeReader.h"

#include <gtest/gtest.h>

#include <algorithm>

using Log = std::vector<std::string>;

namespace {

constexpr UINT kFocused = 0x0001;

class Selection : public ::testing::Test
{
protected:
    // The kit's gearbox, collapsed: selecting must open what it shows.
    void SetUp() override
    {
        ASSERT_TRUE(host.rv);
        const GearboxTree g(host, false);
        gearbox = g.gearbox, housing = g.housing, left = g.left, right = g.right;
        shaft = g.shaft, frame = g.frame, strut = g.strut;
    }
    static ULONG_PTR H(HTREEITEM item) { return CTestHost::H(item); }
    UINT Marks(HTREEITEM item)
    {
        return static_cast<UINT>(SendMessageA(host.Tree(), TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item),
                                              TVIS_SELECTED | kFocused));
    }
    int Count()
    {
        int n = -1;
        host.rv->GetNumSelected(&n);
        return n;
    }
    ULONG_PTR First()
    {
        ULONG_PTR item = 99;
        host.rv->GetSelectedItem(&item);
        return item;
    }
    CTestHost host;
    HTREEITEM gearbox{}, housing{}, left{}, right{}, shaft{}, frame{}, strut{};
};

} // namespace

TEST_F(Selection, SelectItemWithNotificationHasItsSequenceInsideTheLock)
{
    host.rv->SelectItem(H(shaft), 1, 0, 0);
    EXPECT_EQ(host.log.Take(), (Log{"Sink::SetSelectionLock(1)", Msg("0x1E", "Shaft"), Msg("0x1F", "Shaft"),
                                    Msg("0x1D", "Shaft"), "Sink::SetSelectionLock(0)"}));
    EXPECT_EQ(Marks(shaft), TVIS_SELECTED | kFocused);
    ULONG_PTR current = 0;
    host.rv->GetCurrentItem(&current);
    EXPECT_EQ(current, H(shaft));

    host.rv->SelectItem(H(left), 1, 1, 0);
    EXPECT_EQ(host.log.Take(), (Log{"Sink::SetSelectionLock(1)", Msg("0x1E", "Left"), Msg("0x20", "Left"),
                                    Msg("0x1D", "Left"), "Sink::SetSelectionLock(0)"}));
    EXPECT_EQ(Marks(shaft), static_cast<UINT>(TVIS_SELECTED)) << "the focus moved, the selection stayed";
    EXPECT_EQ(Count(), 2);

    host.rv->SelectItem(H(shaft), 1, 0, 0); // already selected
    EXPECT_EQ(Count(), 2) << "no second entry";
    EXPECT_EQ(host.log.Take().size(), 5u) << "the messages still go out";
    host.rv->GetCurrentItem(&current);
    EXPECT_EQ(current, H(shaft));
    EXPECT_EQ(First(), H(shaft)) << "the earliest selected item still selected";
}

TEST_F(Selection, AssembliesWithTypeZeroGetOnlyTheBrackets)
{
    HTREEITEM untyped = host.AddAssembly(L"Untyped", 0, 0);
    host.log.Clear();
    host.rv->SelectItem(H(untyped), 1, 0, 0);
    EXPECT_EQ(host.log.Take(), (Log{"Sink::SetSelectionLock(1)", Msg("0x1E", "Untyped", 0, 0),
                                    Msg("0x1D", "Untyped", 0, 0), "Sink::SetSelectionLock(0)"}));
}

TEST_F(Selection, SelectingByModelNodeMarksEveryItemOfTheKey)
{
    host.rv->SelectItem(H(left), 1, 0, 1);
    EXPECT_EQ(Count(), 3);
    for (HTREEITEM item : {left, right, strut}) EXPECT_TRUE(Marks(item) & TVIS_SELECTED);
    const Log log = host.log.Take();
    EXPECT_EQ(std::count_if(log.begin(), log.end(), [](const std::string& e) { return e.find("0x1F") != std::string::npos; }), 1)
        << "only the item passed is reported as selected";
}

TEST_F(Selection, DeselectItemThroughTheInterfaceReportsOnlyTheBranchBelow)
{
    host.rv->SelectItem(H(housing), 0, 0, 0);
    host.log.Clear();
    host.rv->DeselectItem(H(housing));
    EXPECT_EQ(host.log.Take(), (Log{"Sink::SetSelectionLock(1)", Form2("0x21", "Left"), Form2("0x21", "Right"),
                                    "Sink::SetSelectionLock(0)"}));
    EXPECT_EQ(Count(), 0);
    EXPECT_EQ(Marks(housing), 0u) << "neither selected nor current";
}

TEST_F(Selection, DeselectAllIsSilent)
{
    host.rv->SelectItem(H(left), 0, 0, 0);
    host.rv->SelectItem(H(shaft), 0, 0, 0);
    host.log.Clear();
    host.rv->DeselectAll();
    EXPECT_EQ(Count(), 0);
    ULONG_PTR current = 99;
    host.rv->GetCurrentItem(&current);
    EXPECT_EQ(current, 0u);
    EXPECT_EQ(First(), 0u);
    EXPECT_TRUE(host.log.Entries().empty());
    EXPECT_EQ(Marks(left), 0u);
    EXPECT_EQ(Marks(shaft), 0u);
}

TEST_F(Selection, SelectedItemsAreFetchedOnceWithTheRightSize)
{
    HTREEITEM untyped = host.AddAssembly(L"Untyped", 0, 0);
    for (HTREEITEM item : {left, untyped, strut}) host.rv->SelectItem(H(item), 0, 0, 0);
    int size = -1;
    host.rv->CalcSelectedItems(0, &size);
    EXPECT_EQ(size, 1) << "typeID 0 is not a wildcard";
    host.rv->CalcSelectedItems(4, &size);
    ASSERT_EQ(size, 1);
    ULONG_PTR items[4] = {};
    EXPECT_EQ(host.rv->GetSelectedItems(items, 2), E_FAIL);
    EXPECT_EQ(host.rv->GetSelectedItems(items, 1), S_OK) << "the list waited for the right size";
    EXPECT_EQ(items[0], H(left));
    EXPECT_EQ(host.rv->GetSelectedItems(items, 1), E_FAIL) << "fetched once";
    EXPECT_EQ(host.rv->GetSelectedItems(nullptr, 0), S_OK);

    host.rv->CalcSelectedItemsByDataID(0, &size);
    EXPECT_EQ(size, 3) << "dataID 0 counts every selected item";
    host.rv->CalcSelectedItemsByDataID(8, &size);
    EXPECT_EQ(size, 1);
    ULONG_PTR byData[4] = {7, 7, 7, 7};
    EXPECT_EQ(host.rv->GetSelectedItemsByDataID(0, 2, byData), S_OK);
    EXPECT_EQ(byData[0], H(left));
    EXPECT_EQ(byData[1], H(untyped));
    EXPECT_EQ(byData[2], 7u) << "nothing beyond Size";
    EXPECT_EQ(host.rv->CalcSelectedItemsByDataID(0, nullptr), E_INVALIDARG);
    EXPECT_EQ(host.rv->GetSelectedItemsByDataID(0, 2, nullptr), E_FAIL);
}

TEST_F(Selection, KeyQueriesAnswerFromTheKeyIndex)
{
    int n = -1;
    host.rv->IsOrvaneKeyPresent(101, &n);
    EXPECT_EQ(n, 3);
    host.rv->IsOrvaneKeyPresent(999, &n);
    EXPECT_EQ(n, 0);
    host.rv->CalcOrvaneMappedItems(101, &n);
    ASSERT_EQ(n, 3);
    ULONG_PTR items[3] = {};
    EXPECT_EQ(host.rv->GetOrvaneMappedItems(items, 3), S_OK);
    EXPECT_EQ(std::vector<ULONG_PTR>(items, items + 3), (std::vector<ULONG_PTR>{H(left), H(right), H(strut)}));
    host.rv->CalcOrvaneMappedItems(999, &n);
    EXPECT_EQ(n, 0);
    EXPECT_EQ(host.rv->GetOrvaneMappedItems(nullptr, 0), S_OK);
}

TEST_F(Selection, SelectItemsSelectsEveryItemOfTheKeyAndOpensTheirAncestors)
{
    EXPECT_EQ(host.rv->SelectItems(101, 1, 1), S_FALSE);
    EXPECT_EQ(Count(), 3);
    EXPECT_TRUE(Inspect(host.Tree(), housing).expanded);
    EXPECT_TRUE(Inspect(host.Tree(), gearbox).expanded);
    EXPECT_TRUE(Inspect(host.Tree(), frame).expanded);
    EXPECT_EQ(host.rv->SelectItems(101, 0, 0), S_FALSE);
    EXPECT_EQ(Count(), 0);
    EXPECT_EQ(host.rv->SelectItems(999, 1, 1), S_FALSE);
}

TEST_F(Selection, InsideAHostsSeriesQuestionsSeeTheExpansionsAndTheEndShowsOneFocus)
{
    host.rv->SelectItem(H(shaft), 0, 0, 0);
    host.rv->suspendRedraw();
    host.rv->SelectItems(101, 1, 0);
    LONG expanded = 0;
    host.rv->IsItemExpanded(H(housing), &expanded);
    EXPECT_EQ(expanded, 1) << "asked inside the series, the host sees what it asked for";
    ULONG_PTR current = 0;
    host.rv->GetCurrentItem(&current);
    EXPECT_EQ(current, H(strut));
    host.rv->SelectItems(200, 1, 0);
    host.rv->resumeRedraw();

    EXPECT_TRUE(Inspect(host.Tree(), frame).expanded);
    for (HTREEITEM item : {left, right, strut}) EXPECT_EQ(Marks(item), UINT{TVIS_SELECTED}) << "selected, not focused";
    EXPECT_EQ(Marks(shaft), UINT{TVIS_SELECTED | kFocused}) << "the last one selected has the focus, alone";
    host.rv->GetCurrentItem(&current);
    EXPECT_EQ(current, H(shaft));
}

TEST_F(Selection, TheControlsOwnSelectionIsRefused)
{
    SendMessageA(host.Tree(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(shaft));
    EXPECT_EQ(SendMessageA(host.Tree(), TVM_GETNEXTITEM, TVGN_CARET, 0), 0);
    EXPECT_EQ(Count(), 0);
}

TEST_F(Selection, SetStateAndGetStateActOnTheFirstSelectedItem)
{
    LONG state = 9;
    host.rv->SetState(1); // nothing selected: nothing happens
    host.rv->GetState(&state);
    EXPECT_EQ(state, 0);
    host.rv->SelectItem(H(shaft), 0, 0, 0);
    host.rv->SelectItem(H(left), 0, 0, 0);
    host.log.Clear();
    host.rv->SetState(1);
    host.rv->GetState(&state);
    EXPECT_EQ(state, 1);
    LONG shaftState = 0;
    host.rv->GetHTIState(H(shaft), &shaftState);
    EXPECT_EQ(shaftState, 1);
    for (const auto& entry : host.log.Entries()) EXPECT_EQ(entry.find("0x25"), std::string::npos) << "not notified";
}

TEST_F(Selection, ADeletedItemLeavesTheSelection)
{
    host.rv->SelectItem(H(right), 0, 0, 0);
    host.rv->SelectItem(H(left), 0, 0, 0);
    SendMessageA(host.Tree(), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(left));
    EXPECT_EQ(Count(), 1);
    ULONG_PTR current = 99;
    host.rv->GetCurrentItem(&current);
    EXPECT_EQ(current, 0u);
    EXPECT_EQ(First(), H(right));
}

TEST_F(Selection, TheHostMaySelectFromInsideSelectedAndRemoveFromInsideDeselected)
{
    bool nested = false;
    host.message->onMessage = [&](unsigned short msg, BYTE*) {
        if (msg == 0x1F && !nested) {
            nested = true;
            host.rv->SelectItem(H(shaft), 1, 1, 0);
        }
    };
    host.rv->SelectItem(H(left), 1, 0, 0);
    EXPECT_EQ(Count(), 2);
    ULONG_PTR current = 0;
    host.rv->GetCurrentItem(&current);
    EXPECT_EQ(current, H(shaft)) << "the outer selection had already moved the focus before it reported";

    bool removed = false;
    host.message->onMessage = [&](unsigned short msg, BYTE*) {
        if (msg == 0x21 && !removed) {
            removed = true;
            host.rv->RemoveTreeItem(H(right)); // a sibling the walk has not reached yet
        }
    };
    host.rv->DeselectItem(H(housing));
    host.message->onMessage = nullptr; // it refers to this test's locals
    EXPECT_TRUE(removed);
    EXPECT_EQ(ChildrenOf(host.Tree(), housing), std::vector<HTREEITEM>{left});
    EXPECT_EQ(Count(), 2) << "left and shaft stay selected";
}
