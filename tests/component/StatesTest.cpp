// On/off states through the interface: the branch walk, key twins, the 3D calls inside the
// sink's lock, the upward pass, and the exact messages of a notified change.
#include "host/Component.h"
#include "RVHostKit/TreeReader.h"

#include <gtest/gtest.h>

using Log = std::vector<std::string>;

namespace {

class States : public ::testing::Test
{
protected:
    // Gearbox ─┬─ Housing (100) ─┬─ Left (101)
    //          │                 └─ Right (102)
    //          ├─ Shaft (200)
    //          └─ Bearing (300)
    // Frame ─── Bearing twin (300)
    void SetUp() override
    {
        ASSERT_TRUE(host.rv);
        gearbox = host.AddAssembly(L"Gearbox", 4, 9);
        housing = host.AddItem(gearbox, L"Housing", NewRecord(100));
        left = host.AddItem(housing, L"Left", NewRecord(101));
        right = host.AddItem(housing, L"Right", NewRecord(102));
        shaft = host.AddItem(gearbox, L"Shaft", NewRecord(200));
        bearing = host.AddItem(gearbox, L"Bearing", NewRecord(300));
        frame = host.AddAssembly(L"Frame", 5, 8);
        twin = host.AddItem(frame, L"Twin", NewRecord(300));
        host.log.Clear();
    }
    static ULONG_PTR H(HTREEITEM item) { return CTestHost::H(item); }
    ItemRecord& Record(HTREEITEM item) { return *Inspect(host.Tree(), item).record; }
    UINT Picture(HTREEITEM item) { return Inspect(host.Tree(), item).stateImage; }
    LONG State(HTREEITEM item)
    {
        LONG state = -1;
        EXPECT_EQ(host.rv->GetHTIState(H(item), &state), S_OK);
        return state;
    }
    static Log Viewer(const char* call)
    {
        return {"Sink::IsVisibilityLock", "Sink::SetVisibilityLock(1)", call, "Sink::SetVisibilityLock(0)"};
    }
    static std::string Form4(const char* code, const char* item)
    {
        return Format("IMessage2::Send(wID=4, wMsg=%s, Size=4, data=%s)", code, item);
    }

    CTestHost host;
    HTREEITEM gearbox{}, housing{}, left{}, right{}, shaft{}, bearing{}, frame{}, twin{};
};

Log Join(std::initializer_list<Log> parts)
{
    Log out;
    for (const Log& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

} // namespace

TEST_F(States, ANotifiedChangeHasItsFixedSequence)
{
    host.rv->SetHTIState(H(left), 1, 1);
    EXPECT_EQ(host.log.Take(), Join({{"IMessage::QueryInterface(IMessage2) -> ok", Form4("0x42", "Left"),
                                      Msg("0x25", "Left")},
                                     Viewer("Vis::SetVisible(101)"),
                                     {Msg("0x23", "Left"), Msg("0x26", "Left"),
                                      "IMessage::QueryInterface(IMessage2) -> ok", Form4("0x43", "Left")}}));
    EXPECT_EQ(State(left), 1);
    EXPECT_EQ(Picture(left), 1u);
    EXPECT_EQ(Record(left).bIsLoaded, 1u) << "an item switched on counts as loaded";
    EXPECT_EQ(Record(housing).nChildrenOn, 1u);
    EXPECT_EQ(State(housing), 0) << "one of two children on";
}

TEST_F(States, TheLastChildSwitchedOnSwitchesItsParentOn)
{
    host.rv->SetHTIState(H(left), 1, 0);
    host.log.Clear();
    host.rv->SetHTIState(H(right), 1, 0);
    EXPECT_EQ(host.log.Take(), Join({Viewer("Vis::SetVisible(102)"), {Msg("0x23", "Right"), Msg("0x23", "Housing")}}))
        << "the parent is switched internally: no 3D call for it";
    EXPECT_EQ(State(housing), 1);
    EXPECT_EQ(Picture(housing), 1u);
    EXPECT_EQ(Record(gearbox).nChildrenOn, 1u);
    EXPECT_EQ(State(gearbox), 0) << "assemblies are never switched by their children";

    host.rv->SetHTIState(H(left), 0, 0);
    EXPECT_EQ(host.log.Take(), Join({Viewer("Vis::SetInvisible(101)"), {Msg("0x24", "Left"), Msg("0x24", "Housing")}}));
    EXPECT_EQ(State(housing), 0);
    EXPECT_EQ(Picture(housing), 2u);
    EXPECT_EQ(Picture(left), 2u) << "loaded by now";
    EXPECT_EQ(Record(gearbox).nChildrenOn, 0u);
}

TEST_F(States, KeyTwinsChangeTogetherAndEachTellsTheViewer)
{
    host.rv->SetHTIState(H(bearing), 1, 0);
    EXPECT_EQ(host.log.Take(), Join({Viewer("Vis::SetVisible(300)"), {Msg("0x23", "Bearing")},
                                     Viewer("Vis::SetVisible(300)"), {Msg("0x23", "Twin", 5, 8)}}));
    EXPECT_EQ(State(twin), 1);
    EXPECT_EQ(Record(frame).nChildrenOn, 1u);
    LONG state = 0;
    host.rv->GetKeyState(300, &state);
    EXPECT_EQ(state, 1);
}

TEST_F(States, SetKeyStateSkipsItemsTheFirstChangeAlreadySwitched)
{
    host.rv->SetKeyState(300, 1);
    const Log log = host.log.Take();
    EXPECT_EQ(std::count(log.begin(), log.end(), Msg("0x25", "Bearing")), 1);
    EXPECT_EQ(std::count_if(log.begin(), log.end(), [](const std::string& e) { return e.find("0x25") != std::string::npos; }), 1)
        << "one notified change for the whole key";
    EXPECT_EQ(State(twin), 1);

    host.rv->SetKeyState(999, 1);
    EXPECT_TRUE(host.log.Entries().empty());
    LONG state = 7;
    host.rv->GetKeyState(999, &state);
    EXPECT_EQ(state, 0);
}

TEST_F(States, AnAssemblyPassesItsStateDownButKeepsItsOwn)
{
    host.rv->SetFailState(H(right), 1);
    host.rv->SetHTIState(H(gearbox), 1, 0);
    EXPECT_EQ(State(gearbox), 0);
    EXPECT_EQ(Picture(gearbox), 0u);
    for (HTREEITEM item : {housing, left, shaft, bearing, twin}) EXPECT_EQ(State(item), 1) << Inspect(host.Tree(), item).text;
    EXPECT_EQ(State(right), 0) << "a failed item keeps its state";
    EXPECT_EQ(Picture(right), 3u);
    EXPECT_EQ(State(housing), 1) << "the walk itself switched the housing";
    EXPECT_EQ(Record(housing).nChildrenOn, 1u);
}

TEST_F(States, AFailing3DCallStopsTheWalkThereButTheChangeIsClosed)
{
    host.vis->failures[102] = E_FAIL;
    host.rv->SetHTIState(H(housing), 1, 1);
    EXPECT_EQ(State(housing), 1);
    EXPECT_EQ(State(left), 1);
    EXPECT_EQ(State(right), 0) << "the failing item and the rest keep their state";
    const Log log = host.log.Take();
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log[log.size() - 1], Form4("0x43", "Housing"));
    EXPECT_EQ(log[log.size() - 3], Msg("0x26", "Housing"));

    host.vis->failures[102] = S_FALSE; // anything but S_OK fails
    host.rv->SetHTIState(H(right), 1, 0);
    EXPECT_EQ(State(right), 0);
}

TEST_F(States, AVisibilityLockSuppressesTheViewerButNotTheTree)
{
    host.sink->visibilityLock = 1;
    host.rv->SetHTIState(H(shaft), 1, 0);
    EXPECT_EQ(host.log.Take(), (Log{"Sink::IsVisibilityLock", Msg("0x23", "Shaft")}));
    EXPECT_EQ(State(shaft), 1);
}

TEST_F(States, WithoutAViewerOrSinkOnlyTheTreeChanges)
{
    CTestHost bare(true, false);
    bare.rv->Init(reinterpret_cast<ULONG_PTR>(bare.parent.get()), nullptr, nullptr, nullptr);
    HTREEITEM a = bare.AddAssembly(L"a");
    HTREEITEM part = bare.AddItem(a, L"part", NewRecord(7));
    bare.rv->SetHTIState(H(part), 1, 1);
    LONG state = 0;
    bare.rv->GetHTIState(H(part), &state);
    EXPECT_EQ(state, 1);
    EXPECT_TRUE(bare.log.Entries().empty()) << "no handler, no viewer, no sink";
}

TEST_F(States, AnUnloadedLeafSwitchedOffShowsTheNotLoadedPicture)
{
    Record(shaft).state = 1; // as the host may write it
    host.rv->SetHTIState(H(shaft), 0, 0);
    EXPECT_EQ(Picture(shaft), 4u);
    host.rv->SetHTIState(H(shaft), 1, 0);
    host.rv->SetHTIState(H(shaft), 0, 0);
    EXPECT_EQ(Picture(shaft), 2u) << "loaded once it was on";
}

TEST_F(States, ParentCountsStayWithinTheirBounds)
{
    Record(left).state = 1; // the host switched it behind the tree's back
    host.rv->SetHTIState(H(left), 0, 0);
    EXPECT_EQ(Record(housing).nChildrenOn, 0u) << "not below 0";
    host.rv->SetHTIState(H(left), 1, 0);
    host.rv->SetHTIState(H(right), 1, 0);
    Record(left).state = 0;
    host.rv->SetHTIState(H(left), 1, 0);
    EXPECT_EQ(Record(housing).nChildrenOn, 2u) << "not above nChildren";
}

TEST_F(States, TheHostReadsTheNewStateFromInsideTheMessage)
{
    std::vector<std::pair<std::string, LONG>> seen;
    host.message->onMessage = [&](unsigned short msg, BYTE* data) {
        if (msg != 0x23) return;
        LONG state = -1;
        host.rv->GetHTIState(reinterpret_cast<ULONG_PTR>(data), &state);
        seen.emplace_back(Inspect(host.Tree(), CTestHost::T(reinterpret_cast<ULONG_PTR>(data))).text, state);
    };
    host.rv->SetHTIState(H(housing), 1, 1);
    EXPECT_EQ(seen, (std::vector<std::pair<std::string, LONG>>{{"Housing", 1}, {"Left", 1}, {"Right", 1}}));
}

TEST_F(States, NullAndForeignHandlesChangeNothing)
{
    for (ULONG_PTR item : {ULONG_PTR(0), ULONG_PTR(0x5555)}) {
        EXPECT_EQ(host.rv->SetHTIState(item, 1, 1), S_OK);
        LONG state = 9;
        host.rv->GetHTIState(item, &state);
        EXPECT_EQ(state, 0);
    }
    EXPECT_TRUE(host.log.Entries().empty());
    EXPECT_EQ(host.rv->GetHTIState(H(left), nullptr), E_POINTER);
    EXPECT_EQ(host.rv->GetKeyState(300, nullptr), E_POINTER);
}
