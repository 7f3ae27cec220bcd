// Building a product structure through the interface, with the exact host messages.
#include "host/Component.h"
#include "RVHostKit/TreeReader.h"

#include <gtest/gtest.h>

using Log = std::vector<std::string>;

namespace {

std::string Added(const char* what, unsigned dataID, unsigned typeID, const char* item)
{
    return Format("IMessage::SendWithDataID(dataID=%u, wID=%u, wMsg=%s, Size=4, data=%s)", dataID, typeID, what, item);
}

class Building : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(host.rv); }
    ShownItem Shown(HTREEITEM item) { return Inspect(host.Tree(), item); }

    CFreeCounter frees;
    CTestHost host;
};

using H = CTestHost;

} // namespace

TEST_F(Building, AddAssemblyInsertsARootReportsItAndOwnsItsRecord)
{
    HTREEITEM gearbox = host.AddAssembly(L"Gearbox", 4, 9);
    ASSERT_NE(gearbox, nullptr);
    EXPECT_EQ(host.log.Take(), (Log{Added("0x36", 9, 4, "Gearbox")}));
    const ShownItem shown = Shown(gearbox);
    EXPECT_EQ(shown.text, "Gearbox");
    EXPECT_EQ(shown.image, 1);
    EXPECT_EQ(shown.selectedImage, 1);
    EXPECT_EQ(shown.stateImage, 0u) << "assemblies show no state picture";
    ASSERT_NE(shown.record, nullptr);
    EXPECT_EQ(shown.record->typeID, 4u);
    EXPECT_EQ(shown.record->dataID, 9u);
    EXPECT_EQ(shown.record->bIsAssembly, 1u);
    EXPECT_EQ(shown.record->bIsolated, 0u);
    EXPECT_EQ(shown.record->dataItemID, 0u);

    HTREEITEM second = host.AddAssembly(L"Frame");
    EXPECT_EQ(ChildrenOf(host.Tree(), TVI_ROOT), (std::vector<HTREEITEM>{gearbox, second})) << "appended";

    ItemRecord* record = shown.record;
    host.ReleaseComponent();
    EXPECT_EQ(frees.FreesOf(record), 1);
}

TEST_F(Building, AddAssemblyWithANullNameInsertsNothing)
{
    ULONG_PTR item = 77;
    EXPECT_EQ(host.rv->AddAssembly(nullptr, 0, 1, 2, &item), S_OK);
    EXPECT_EQ(item, 0u);
    EXPECT_TRUE(host.log.Entries().empty());
    EXPECT_TRUE(ChildrenOf(host.Tree(), TVI_ROOT).empty());
    EXPECT_EQ(host.rv->AddAssembly(const_cast<wchar_t*>(L"x"), 0, 1, 2, nullptr), E_POINTER);
    EXPECT_TRUE(ChildrenOf(host.Tree(), TVI_ROOT).empty());
}

TEST_F(Building, IsolatedAssembliesPassTheirMarkToEveryItemBelow)
{
    HTREEITEM fixture = host.AddIsolatedAssembly(L"Fixture", 7, 3);
    HTREEITEM plate = host.AddItem(fixture, L"Plate");
    HTREEITEM bolt = host.AddItem(plate, L"Bolt");
    EXPECT_EQ(Shown(fixture).record->bIsolated, 1u);
    EXPECT_EQ(Shown(plate).record->bIsolated, 1u);
    EXPECT_EQ(Shown(bolt).record->bIsolated, 1u);
    EXPECT_EQ(Shown(bolt).record->typeID, 7u);
    EXPECT_EQ(host.log.Take(), (Log{Added("0x36", 3, 7, "Fixture"), Added("0x34", 3, 7, "Plate"),
                                    Added("0x34", 3, 7, "Bolt")}));
}

TEST_F(Building, AddTreeItemInheritsIdentifiersAndCountsTheChild)
{
    HTREEITEM gearbox = host.AddAssembly(L"Gearbox", 4, 9);
    host.log.Clear();
    ItemRecord* record = NewRecord(12, 9, 1);
    record->dataItemID = 555;
    HTREEITEM shaft = host.AddItem(gearbox, L"Shaft", record);
    ASSERT_NE(shaft, nullptr);
    EXPECT_EQ(host.log.Take(), (Log{Added("0x34", 9, 4, "Shaft")}));

    const ShownItem shown = Shown(shaft);
    EXPECT_EQ(shown.record, record) << "the host's record is attached";
    EXPECT_EQ(record->typeID, 4u) << "the parent's typeID replaces the caller's";
    EXPECT_EQ(record->dataID, 9u);
    EXPECT_EQ(record->dataItemID, 555u);
    EXPECT_EQ(record->key, 12u);
    EXPECT_EQ(shown.image, 0);
    EXPECT_EQ(shown.stateImage, 2u) << "new items show the off picture";
    EXPECT_EQ(Shown(gearbox).record->nChildren, 1u);
    EXPECT_EQ(Shown(gearbox).children, 1);

    HTREEITEM unnamed = host.AddItem(gearbox, nullptr);
    EXPECT_EQ(Shown(unnamed).text, "<unnamed>");
    ASSERT_NE(Shown(unnamed).record, nullptr) << "a record is made when none is given";
    EXPECT_EQ(Shown(unnamed).record->typeID, 4u);
    EXPECT_EQ(Shown(gearbox).record->nChildren, 2u);
    EXPECT_EQ(ChildrenOf(host.Tree(), gearbox), (std::vector<HTREEITEM>{shaft, unnamed}));
}

TEST_F(Building, BadParentsInsertNothingAndLeaveTheRecordToTheCaller)
{
    HTREEITEM gearbox = host.AddAssembly(L"Gearbox");
    HTREEITEM gone = host.AddItem(gearbox, L"gone");
    SendMessageA(host.Tree(), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(gone));
    host.log.Clear();

    ItemRecord* record = NewRecord(5);
    for (ULONG_PTR parent : {ULONG_PTR(0), H::H(gone), ULONG_PTR(0x4242), reinterpret_cast<ULONG_PTR>(TVI_ROOT)}) {
        ULONG_PTR item = 99;
        EXPECT_EQ(host.rv->AddTreeItem(const_cast<wchar_t*>(L"x"), 0, parent, reinterpret_cast<ULONG*>(record), &item), S_OK);
        EXPECT_EQ(item, 0u);
    }
    EXPECT_TRUE(host.log.Entries().empty());
    EXPECT_EQ(ChildrenOf(host.Tree(), gearbox).size(), 0u);
    EXPECT_EQ(Shown(gearbox).record->nChildren, 0u) << "the deleted child left the count as it went; no refusal entered it";
    host.ReleaseComponent();
    EXPECT_EQ(frees.FreesOf(record), 0) << "a record that was not attached stays the caller's";
    CoTaskMemFree(record);
}

TEST_F(Building, InsertTreeItemPlacesAfterASiblingOrFirst)
{
    HTREEITEM gearbox = host.AddAssembly(L"Gearbox", 4, 9);
    HTREEITEM a = host.AddItem(gearbox, L"a");
    HTREEITEM c = host.AddItem(gearbox, L"c");
    host.log.Clear();

    ULONG_PTR b = 0, first = 0;
    EXPECT_EQ(host.rv->InsertTreeItem(const_cast<char*>("b"), H::H(gearbox), H::H(a), nullptr, &b), S_OK);
    host.log.Name(b, "b");
    EXPECT_EQ(host.rv->InsertTreeItem(const_cast<char*>("first"), H::H(gearbox), 0, nullptr, &first), S_OK);
    host.log.Name(first, "first");
    EXPECT_EQ(ChildrenOf(host.Tree(), gearbox), (std::vector<HTREEITEM>{H::T(first), a, H::T(b), c}));
    EXPECT_EQ(host.log.Take(), (Log{Added("0x34", 9, 4, "b"), Added("0x34", 9, 4, "first")}));
    EXPECT_EQ(Shown(H::T(b)).stateImage, 2u);
    EXPECT_EQ(Shown(gearbox).record->nChildren, 4u);
}

TEST_F(Building, InsertTreeItemRefusesBadArgumentsWithoutInserting)
{
    HTREEITEM gearbox = host.AddAssembly(L"Gearbox");
    HTREEITEM frame = host.AddAssembly(L"Frame");
    HTREEITEM strut = host.AddItem(frame, L"strut");
    host.log.Clear();

    EXPECT_EQ(host.rv->InsertTreeItem(const_cast<char*>("x"), H::H(gearbox), 0, nullptr, nullptr), E_INVALIDARG);
    ULONG_PTR item = 99;
    EXPECT_EQ(host.rv->InsertTreeItem(const_cast<char*>("x"), H::H(gearbox), H::H(strut), nullptr, &item), S_OK);
    EXPECT_EQ(item, 0u) << "the insert-after item is not a child of the parent";
    item = 99;
    host.rv->InsertTreeItem(const_cast<char*>("x"), H::H(gearbox), 0x5151, nullptr, &item);
    EXPECT_EQ(item, 0u) << "not an item at all";
    item = 0;
    host.rv->InsertTreeItem(nullptr, H::H(gearbox), reinterpret_cast<ULONG_PTR>(TVI_LAST), nullptr, &item);
    EXPECT_NE(item, 0u);
    EXPECT_EQ(Shown(H::T(item)).text, "<unnamed>");
    EXPECT_EQ(ChildrenOf(host.Tree(), gearbox).size(), 1u);
}

TEST_F(Building, WithoutAHandlerItemsAreBuiltSilently)
{
    IMessage* none = nullptr;
    host.rv->SetMessageHandler(&none);
    HTREEITEM gearbox = host.AddAssembly(L"Gearbox", 1, 1);
    HTREEITEM shaft = host.AddItem(gearbox, L"Shaft");
    EXPECT_NE(shaft, nullptr);
    EXPECT_TRUE(host.log.Entries().empty());
}

TEST_F(Building, InsertNewItemAsksTheHostAndClearsTheAncestorKeys)
{
    ItemRecord* housingRecord = NewRecord(70);
    HTREEITEM gearbox = host.AddAssembly(L"Gearbox", 4, 9);
    HTREEITEM housing = host.AddItem(gearbox, L"Housing", housingRecord);
    host.log.Clear();

    EXPECT_EQ(host.rv->InsertNewItem(81, const_cast<char*>("Cover"), H::H(housing)), S_OK);
    const HTREEITEM cover = ChildrenOf(host.Tree(), housing).at(0);
    host.log.Name(cover, "Cover");
    EXPECT_EQ(host.log.Take(), (Log{Added("0x07", 9, 4, "Housing"), Added("0x34", 9, 4, "Cover"),
                                    Added("0x08", 9, 4, "Cover")}));
    EXPECT_EQ(Shown(cover).record->key, 81u);
    EXPECT_EQ(housingRecord->key, 0u) << "the ancestors leave the key index";
    EXPECT_EQ(Shown(cover).stateImage, 2u);

    host.message->answers[0x07] = 1; // the host vetoes
    host.rv->InsertNewItem(82, const_cast<char*>("Vetoed"), H::H(housing));
    EXPECT_EQ(ChildrenOf(host.Tree(), housing).size(), 1u);
    EXPECT_EQ(host.log.Take(), (Log{Added("0x07", 9, 4, "Housing")}));

    host.rv->InsertNewItem(83, const_cast<char*>("x"), 0x777); // not an item
    EXPECT_TRUE(host.log.Entries().empty());
}

TEST_F(Building, TheHostMayCallBackWhileAnInsertionIsReported)
{
    HTREEITEM gearbox = host.AddAssembly(L"Gearbox", 4, 9);
    std::vector<std::string> textsSeen;
    host.message->onMessage = [&](unsigned short msg, BYTE* data) {
        if (msg != 0x34) return;
        wchar_t text[32] = {};
        host.rv->GetItemText(reinterpret_cast<ULONG_PTR>(data), text, 32);
        char narrow[32] = {};
        WideCharToMultiByte(CP_ACP, 0, text, -1, narrow, 32, nullptr, nullptr);
        textsSeen.push_back(narrow);
        ULONG_PTR data0 = 0;
        host.rv->GetItemData(reinterpret_cast<ULONG_PTR>(data), &data0);
        EXPECT_NE(data0, 0u) << "the record is attached before the report";
    };
    host.AddItem(gearbox, L"Shaft");
    host.AddItem(gearbox, L"Gear");
    EXPECT_EQ(textsSeen, (std::vector<std::string>{"Shaft", "Gear"}));
}
