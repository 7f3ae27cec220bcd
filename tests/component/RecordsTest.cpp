// Item records through the interface: the shared record, its words, and their ownership.
#include "host/Component.h"

#include <gtest/gtest.h>

namespace {

class Records : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(host.rv);
        rootRecord = NewRecord(0, 4, 9);
        rootRecord->bIsAssembly = 1;
        root = host.InsertRaw(TVI_ROOT, "assembly", rootRecord);
        partRecord = NewRecord(12, 4, 9);
        partRecord->bIsLoaded = 1;
        partRecord->bIsPartiallyLoaded = 1;
        part = host.InsertRaw(root, "part", partRecord);
        bare = host.InsertRaw(root, "no record");
    }

    ULONG_PTR DataOf(HTREEITEM item)
    {
        ULONG_PTR data = 99;
        EXPECT_EQ(host.rv->GetItemData(CTestHost::H(item), &data), S_OK);
        return data;
    }

    CFreeCounter frees;
    CTestHost host;
    HTREEITEM root{}, part{}, bare{};
    ItemRecord* rootRecord = nullptr;
    ItemRecord* partRecord = nullptr;
};

using H = CTestHost;

} // namespace

TEST_F(Records, GetItemDataHandsOutTheRecordItself)
{
    EXPECT_EQ(DataOf(part), reinterpret_cast<ULONG_PTR>(partRecord));
    EXPECT_EQ(DataOf(bare), 0u);
    EXPECT_EQ(DataOf(nullptr), 0u);
    EXPECT_EQ(host.rv->GetItemData(H::H(part), nullptr), E_POINTER);
}

TEST_F(Records, SetItemDataReplacesThePointerAndTheCachedCopy)
{
    EXPECT_EQ(DataOf(part), reinterpret_cast<ULONG_PTR>(partRecord)); // now cached
    ItemRecord* replacement = NewRecord(30);
    EXPECT_EQ(host.rv->SetItemData(H::H(part), reinterpret_cast<ULONG_PTR>(replacement)), S_OK);
    EXPECT_EQ(DataOf(part), reinterpret_cast<ULONG_PTR>(replacement));
    EXPECT_EQ(frees.FreesOf(partRecord), 0) << "the previous record stays the caller's";

    // The replacement belongs to the tree now and is freed with its item.
    host.ReleaseComponent();
    EXPECT_EQ(frees.FreesOf(replacement), 1);
    EXPECT_EQ(frees.FreesOf(partRecord), 0);
    CoTaskMemFree(partRecord);
}

TEST_F(Records, FlagsAreReadFromTheRecordWords)
{
    LONG value = 99;
    host.rv->IsAssembly(H::H(root), &value);
    EXPECT_EQ(value, 1);
    host.rv->IsAssembly(H::H(part), &value);
    EXPECT_EQ(value, 0);
    host.rv->IsItemLoaded(H::H(part), &value);
    EXPECT_EQ(value, 1);
    host.rv->IsItemPartiallyLoaded(H::H(part), &value);
    EXPECT_EQ(value, 1);

    // The host writes record words directly; the tree reads them as they are now.
    partRecord->bIsLoaded = 0;
    host.rv->IsItemLoaded(H::H(part), &value);
    EXPECT_EQ(value, 0);

    for (ULONG_PTR noRecord : {H::H(bare), ULONG_PTR(0), ULONG_PTR(0xABCDEF)}) {
        value = 99;
        host.rv->IsAssembly(noRecord, &value);
        EXPECT_EQ(value, 0);
        value = 99;
        host.rv->IsItemLoaded(noRecord, &value);
        EXPECT_EQ(value, 0);
        value = 99;
        host.rv->IsItemPartiallyLoaded(noRecord, &value);
        EXPECT_EQ(value, 0);
    }
    EXPECT_EQ(host.rv->IsAssembly(H::H(root), nullptr), E_POINTER);
    EXPECT_EQ(host.rv->IsItemLoaded(H::H(root), nullptr), E_POINTER);
    EXPECT_EQ(host.rv->IsItemPartiallyLoaded(H::H(root), nullptr), E_POINTER);
}

TEST_F(Records, TagsAndNoDropIntoAreStoredInTheRecord)
{
    EXPECT_EQ(host.rv->SetItemTag(H::H(part), 0xC0FFEE), S_OK);
    EXPECT_EQ(partRecord->tag, 0xC0FFEEu);
    ULONG tag = 0;
    EXPECT_EQ(host.rv->GetItemTag(H::H(part), &tag), S_OK);
    EXPECT_EQ(tag, 0xC0FFEEu);

    EXPECT_EQ(host.rv->GetItemTag(H::H(part), nullptr), E_INVALIDARG);
    tag = 5;
    EXPECT_EQ(host.rv->GetItemTag(0, &tag), S_OK);
    EXPECT_EQ(tag, 0u);
    tag = 5;
    host.rv->GetItemTag(H::H(bare), &tag);
    EXPECT_EQ(tag, 0u);
    EXPECT_EQ(host.rv->SetItemTag(H::H(bare), 3), S_OK);
    EXPECT_EQ(host.rv->SetItemTag(0, 3), S_OK);

    EXPECT_EQ(host.rv->SetNoDropInto(H::H(root), 5), S_OK);
    EXPECT_EQ(rootRecord->bNoDropInto, 5u) << "the value itself, not reduced to 0 or 1";
    host.rv->SetNoDropInto(H::H(root), 0);
    EXPECT_EQ(rootRecord->bNoDropInto, 0u);
    EXPECT_EQ(host.rv->SetNoDropInto(H::H(bare), 1), S_OK);
    EXPECT_EQ(host.rv->SetNoDropInto(0x999, 1), S_OK);
}

TEST_F(Records, DeletingAnItemFreesItsRecordAndForgetsItsHandle)
{
    EXPECT_EQ(DataOf(part), reinterpret_cast<ULONG_PTR>(partRecord)); // cached before the deletion
    SendMessageA(host.Tree(), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(part));
    EXPECT_EQ(frees.FreesOf(partRecord), 1);
    EXPECT_EQ(DataOf(part), 0u) << "a deleted item's handle yields nothing";
    LONG value = 99;
    host.rv->IsItemLoaded(H::H(part), &value);
    EXPECT_EQ(value, 0);
    host.rv->SetItemTag(H::H(part), 1);
    host.rv->SetItemData(H::H(part), reinterpret_cast<ULONG_PTR>(rootRecord));

    // A new item may get the same handle value; it is looked up afresh.
    ItemRecord* fresh = NewRecord(77);
    HTREEITEM again = host.InsertRaw(root, "again", fresh);
    EXPECT_EQ(DataOf(again), reinterpret_cast<ULONG_PTR>(fresh));
    EXPECT_EQ(fresh->tag, 0u);
}
