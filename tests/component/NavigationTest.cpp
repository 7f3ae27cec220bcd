// Walking and shaping the tree through the interface, with the expansion messages.
#include "host/Component.h"
#include "RVHostKit/TreeReader.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>

using Log = std::vector<std::string>;

namespace {

class Navigation : public ::testing::Test
{
protected:
    // Gearbox ─┬─ Housing ─┬─ Left half
    //          │           └─ Right half ── Insert
    //          ├─ Shaft
    //          └─ Cover
    // Frame ─── Strut
    void SetUp() override
    {
        ASSERT_TRUE(host.rv);
        gearbox = host.AddAssembly(L"Gearbox", 4, 9);
        housing = host.AddItem(gearbox, L"Housing");
        left = host.AddItem(housing, L"Left half");
        right = host.AddItem(housing, L"Right half");
        insert = host.AddItem(right, L"Insert");
        shaft = host.AddItem(gearbox, L"Shaft");
        cover = host.AddItem(gearbox, L"Cover");
        frame = host.AddAssembly(L"Frame", 5, 8);
        strut = host.AddItem(frame, L"Strut");
        host.log.Clear();
    }
    int Depth(HTREEITEM item)
    {
        int depth = -1;
        EXPECT_EQ(host.rv->GetDepth(H(item), &depth), S_OK);
        return depth;
    }
    int OpenLevels(HTREEITEM item)
    {
        int depth = -1;
        EXPECT_EQ(host.rv->GetDeepestOpenLevel(H(item), &depth), S_OK);
        return depth;
    }
    bool Expanded(HTREEITEM item) { return Inspect(host.Tree(), item).expanded; }
    static ULONG_PTR H(HTREEITEM item) { return CTestHost::H(item); }
    static std::string Form2(const char* code, unsigned typeID, const char* item)
    {
        return Format("IMessage::Send(wID=%u, wMsg=%s, Size=4, data=%s)", typeID, code, item);
    }

    CTestHost host;
    HTREEITEM gearbox{}, housing{}, left{}, right{}, insert{}, shaft{}, cover{}, frame{}, strut{};
};

} // namespace

TEST_F(Navigation, ChildrenByIndexAndTheirCount)
{
    int count = -1;
    host.rv->GetNumChildren(H(gearbox), &count);
    EXPECT_EQ(count, 3);
    ULONG_PTR child = 99;
    host.rv->GetChild(H(gearbox), 1, &child);
    EXPECT_EQ(child, H(shaft));
    host.rv->GetChild(H(gearbox), count, &child);
    EXPECT_EQ(child, 0u) << "one past the last child";
    for (int index : {-1, -1000, 1000000}) {
        child = 99;
        host.rv->GetChild(H(gearbox), index, &child);
        EXPECT_EQ(child, 0u) << index;
    }
    child = 99;
    host.rv->GetChild(0, 0, &child);
    EXPECT_EQ(child, 0u);
    host.rv->GetNumChildren(0, &count);
    EXPECT_EQ(count, 0);
    host.rv->GetNumChildren(H(insert), &count);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(host.rv->GetNumChildren(H(gearbox), nullptr), E_POINTER);
}

TEST_F(Navigation, ParentsComeFromTheTreeOrAreZero)
{
    ULONG_PTR parent = 99;
    host.rv->GetParentItem(H(insert), &parent);
    EXPECT_EQ(parent, H(right));
    host.rv->GetParentItem(H(gearbox), &parent);
    EXPECT_EQ(parent, 0u);
    parent = 99;
    host.rv->GetParentItem(0x999, &parent);
    EXPECT_EQ(parent, 0u);
}

TEST_F(Navigation, DepthCountsEveryLevelWhetherOpenOrNot)
{
    EXPECT_EQ(Depth(insert), 1);
    EXPECT_EQ(Depth(housing), 3);
    EXPECT_EQ(Depth(gearbox), 4);
    EXPECT_EQ(Depth(frame), 2);
    EXPECT_EQ(Depth(nullptr), 4) << "the deepest of all roots";
    int depth = -1;
    host.rv->GetDepth(0x999, &depth);
    EXPECT_EQ(depth, 0) << "not an item of this tree";

    CTestHost empty;
    empty.rv->GetDepth(0, &depth);
    EXPECT_EQ(depth, 0);
}

TEST_F(Navigation, ExpandToDepthOneExpandsTheItemAloneWithThreeMessages)
{
    host.rv->ExpandToDepth(H(gearbox), 0);
    EXPECT_FALSE(Expanded(gearbox));
    EXPECT_TRUE(host.log.Entries().empty());

    host.rv->ExpandToDepth(H(gearbox), 1);
    EXPECT_TRUE(Expanded(gearbox));
    EXPECT_FALSE(Expanded(housing));
    EXPECT_EQ(host.log.Take(), (Log{Form2("0x1B", 4, "Gearbox"), Form2("0x32", 4, "Gearbox"),
                                    Form2("0x1A", 4, "Gearbox")}));
    EXPECT_EQ(OpenLevels(gearbox), 1);
    EXPECT_EQ(OpenLevels(housing), 0);
}

TEST_F(Navigation, ExpandToDepthGoesDownInPreOrder)
{
    host.rv->ExpandToDepth(H(gearbox), 2);
    EXPECT_TRUE(Expanded(gearbox));
    EXPECT_TRUE(Expanded(housing));
    EXPECT_FALSE(Expanded(right));
    EXPECT_EQ(OpenLevels(gearbox), 2);
    EXPECT_EQ(host.log.Take(), (Log{Form2("0x1B", 4, "Gearbox"), Form2("0x32", 4, "Gearbox"),
                                    Form2("0x1A", 4, "Gearbox"), Form2("0x1B", 4, "Housing"),
                                    Form2("0x32", 4, "Housing"), Form2("0x1A", 4, "Housing")}));

    host.rv->ExpandToDepth(0, -1);
    for (HTREEITEM item : {gearbox, housing, right, frame}) EXPECT_TRUE(Expanded(item));
    EXPECT_EQ(OpenLevels(nullptr), 3);
    EXPECT_EQ(OpenLevels(gearbox), 3);
}

TEST_F(Navigation, AnyNegativeOrHugeDepthOpensTheWholeBranch)
{
    for (int depth : {-2, INT_MIN, INT_MAX}) {
        host.rv->Collapse(0);
        host.rv->ExpandToDepth(H(gearbox), depth);
        for (HTREEITEM item : {gearbox, housing, right}) EXPECT_TRUE(Expanded(item)) << depth;
        EXPECT_FALSE(Expanded(frame)) << "only the branch asked for";
    }
}

TEST_F(Navigation, ALockedItemIsNeitherExpandedNorDescendedInto)
{
    host.rv->LockItem(H(housing), 1);
    host.log.Clear();
    host.rv->ExpandToDepth(0, -1);
    EXPECT_TRUE(Expanded(gearbox));
    EXPECT_FALSE(Expanded(housing));
    EXPECT_FALSE(Expanded(right));
    for (const auto& entry : host.log.Entries()) EXPECT_EQ(entry.find("Housing"), std::string::npos) << entry;
    for (const auto& entry : host.log.Entries()) EXPECT_EQ(entry.find("Right half"), std::string::npos) << entry;
}

TEST_F(Navigation, CollapseClosesEveryItemSilently)
{
    host.rv->ExpandToDepth(0, -1);
    host.log.Clear();
    host.rv->Collapse(0);
    for (HTREEITEM item : {gearbox, housing, right, frame}) EXPECT_FALSE(Expanded(item));
    EXPECT_TRUE(host.log.Entries().empty());
    EXPECT_EQ(OpenLevels(nullptr), 0);

    host.rv->ExpandToDepth(0, -1);
    host.rv->Collapse(0x999);
    EXPECT_TRUE(Expanded(gearbox)) << "a handle not of this tree does nothing";
    host.rv->ExpandToDepth(0x999, -1);
    host.rv->Collapse(H(housing));
    EXPECT_FALSE(Expanded(housing));
    EXPECT_FALSE(Expanded(right)) << "the whole branch";
    EXPECT_TRUE(Expanded(gearbox));
}

TEST_F(Navigation, TheTraversalVisitsEveryItemOnceInPreOrder)
{
    std::vector<HTREEITEM> visited;
    for (ULONG_PTR item = H(gearbox); item;) {
        visited.push_back(CTestHost::T(item));
        ULONG_PTR next = 0;
        ASSERT_EQ(host.rv->GetNextTravItem(item, &next), S_OK);
        item = next;
        ASSERT_LT(visited.size(), 20u);
    }
    EXPECT_EQ(visited, (std::vector<HTREEITEM>{gearbox, housing, left, right, insert, shaft, cover, frame, strut}));
    EXPECT_TRUE(host.log.Entries().empty()) << "no item is marked as an assembly";
}

TEST_F(Navigation, TheTraversalTellsTheHostBeforeReadingAnAssemblysChildren)
{
    host.rv->SetAssemblyIcon(H(shaft), 1);
    HTREEITEM added = nullptr;
    host.message->onMessage = [&](unsigned short msg, BYTE* data) {
        if (msg == 0x35 && !added) added = host.AddItem(CTestHost::T(reinterpret_cast<ULONG_PTR>(data)), L"Key");
    };
    ULONG_PTR next = 0;
    host.rv->GetNextTravItem(H(shaft), &next);
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(next, H(added)) << "children added while the host was told are visited";
    EXPECT_EQ(host.log.Take(), (Log{"IMessage::SendWithDataID(dataID=9, wID=4, wMsg=0x35, Size=4, data=Shaft)",
                                    "IMessage::SendWithDataID(dataID=9, wID=4, wMsg=0x34, Size=4, data=Key)"}));

    host.message->onMessage = nullptr;
    EXPECT_EQ(host.rv->GetNextTravItem(H(shaft), nullptr), E_INVALIDARG);
    EXPECT_EQ(host.log.Take().size(), 1u) << "the message went out before the out pointer was checked";
    next = 99;
    host.rv->GetNextTravItem(H(strut), &next);
    EXPECT_EQ(next, 0u) << "the last item";
    host.rv->GetNextTravItem(H(insert), &next);
    EXPECT_EQ(next, H(shaft)) << "the next sibling of the nearest ancestor that has one";
}

TEST_F(Navigation, ExpansionStateIsReadFromTheControl)
{
    LONG expanded = 9;
    host.rv->IsItemExpanded(H(gearbox), &expanded);
    EXPECT_EQ(expanded, 0);
    host.rv->Expand(H(gearbox), TVE_EXPAND);
    host.rv->IsItemExpanded(H(gearbox), &expanded);
    EXPECT_EQ(expanded, 1);
    host.rv->IsItemExpanded(0, &expanded);
    EXPECT_EQ(expanded, 0);
}

TEST(NavigationDeep, AChainOfNestedItemsIsWalkedWithoutRecursion)
{
    // Deep enough that a recursive walk would exhaust the stack. Under Wine the control checks
    // each handle with a linear search, so the run grows with the square of the depth; set
    // RV_DEEP_CHAIN (for example to 100000) for a longer run.
    const char* fromEnv = std::getenv("RV_DEEP_CHAIN");
    const int kDepth = fromEnv ? std::atoi(fromEnv) : 20000;
    CTestHost host;
    HTREEITEM item = host.AddAssembly(L"root");
    const HTREEITEM root = item;
    host.rv->suspendRedraw();
    for (int i = 1; i < kDepth; ++i) item = host.AddItem(item, L"n");
    host.rv->resumeRedraw();
    int depth = 0;
    host.rv->GetDepth(CTestHost::H(root), &depth);
    EXPECT_EQ(depth, kDepth);
    host.rv->ExpandToDepth(CTestHost::H(root), -1);
    host.rv->GetDeepestOpenLevel(CTestHost::H(root), &depth);
    EXPECT_EQ(depth, kDepth - 1);
    host.rv->Collapse(0);
    host.rv->GetDeepestOpenLevel(0, &depth);
    EXPECT_EQ(depth, 0);
    host.rv->SetHTIState(CTestHost::H(CTestHost::T(CTestHost::H(root))), 1, 0);
    LONG state = 0;
    host.rv->GetHTIState(CTestHost::H(item), &state);
    EXPECT_EQ(state, 1) << "the deepest item was reached";
}
