// The four wire forms, with the test host's message handler.
#include "host/HostMessenger.h"
#include "RVHostKit/HostObjects.h"

#include <gtest/gtest.h>

using namespace RVHostKit;

using Log = std::vector<std::string>;

namespace {

HTREEITEM Item(uintptr_t n)
{
    return reinterpret_cast<HTREEITEM>(n);
}

class HostMessengerTest : public ::testing::Test
{
protected:
    HostMessengerTest() : handler(new CTestMessage(log))
    {
        log.Name(0x1230, "item");
        messenger.SetHandler(handler);
    }
    ~HostMessengerTest() override
    {
        messenger.Release();
        handler->Release();
    }

    CCallLog log;
    CTestMessage* handler;
    CHostMessenger messenger;
};

} // namespace

TEST(HostMessages, FiftyOneCodesHaveNames)
{
    int named = 0;
    for (unsigned code = 0; code <= 0xFFFF; ++code)
        if (HostMessageName(static_cast<uint16_t>(code))) ++named;
    EXPECT_EQ(named, kHostMessageCount);
    EXPECT_STREQ(HostMessageName(0x34), "HM_ITEMADDED");
    EXPECT_STREQ(HostMessageName(0x43), "HM_POSTSTATECHANGE");
    EXPECT_EQ(HostMessageName(0x28), nullptr);
    EXPECT_EQ(HostMessageName(0x3A), nullptr);
}

TEST_F(HostMessengerTest, EachFormPutsItsValuesOnTheWire)
{
    ItemRecord record{};
    record.dataID = 77;
    handler->answers = {{HM_ITEMCUT, 5}, {HM_MENUQUERY, 9}, {HM_FINDQUERY, 1}, {HM_PRESTATECHANGE, 3}};
    EXPECT_EQ(messenger.Send(4, HM_ITEMCUT, Item(0x1230), &record), 5);
    EXPECT_EQ(messenger.Send(4, HM_ITEMADDED, Item(0x1230), nullptr), 0);
    EXPECT_EQ(messenger.SendForm2(4, HM_MENUQUERY, Item(0x1230)), 9);
    EXPECT_EQ(messenger.SendForm3(HM_FINDQUERY), 1);
    EXPECT_EQ(messenger.Send2(4, HM_PRESTATECHANGE, Item(0x1230)), 3);
    EXPECT_EQ(log.Take(), (Log{
        "IMessage::SendWithDataID(dataID=77, wID=4, wMsg=0x0A, Size=4, data=item)",
        "IMessage::SendWithDataID(dataID=0, wID=4, wMsg=0x34, Size=4, data=item)",
        "IMessage::Send(wID=4, wMsg=0x33, Size=4, data=item)",
        "IMessage::Send(wID=0, wMsg=0x0C, Size=0, data=0)",
        "IMessage::QueryInterface(IMessage2) -> ok",
        "IMessage2::Send(wID=4, wMsg=0x42, Size=4, data=item)",
    }));
    EXPECT_EQ(handler->RefCount(), 2) << "IMessage2 was released after the call";
}

TEST_F(HostMessengerTest, TheKitsLogCanNameEveryCodeOfEachForm)
{
    log.ShowMessageNames();
    EXPECT_EQ(messenger.Send(4, HM_ITEMADDED, Item(0x1230), nullptr), 0);
    EXPECT_EQ(messenger.SendForm2(4, HM_MENUQUERY, Item(0x1230)), 0);
    EXPECT_EQ(messenger.Send2(4, HM_POSTSTATECHANGE, Item(0x1230)), 0);
    EXPECT_EQ(messenger.Send(4, static_cast<HostMessage>(0x28), Item(0x1230), nullptr), 0);
    log.ShowMessageNames(false);
    EXPECT_EQ(messenger.SendForm3(HM_FINDQUERY), 0);
    EXPECT_EQ(log.Take(), (Log{
        "IMessage::SendWithDataID(dataID=0, wID=4, wMsg=HM_ITEMADDED, Size=4, data=item)",
        "IMessage::Send(wID=4, wMsg=HM_MENUQUERY, Size=4, data=item)",
        "IMessage::QueryInterface(IMessage2) -> ok",
        "IMessage2::Send(wID=4, wMsg=HM_POSTSTATECHANGE, Size=4, data=item)",
        "IMessage::SendWithDataID(dataID=0, wID=4, wMsg=0x28, Size=4, data=item)",
        "IMessage::Send(wID=0, wMsg=0x0C, Size=0, data=0)",
    })) << "a code the tree never sends keeps its number";
}

TEST_F(HostMessengerTest, NothingIsSentForItemZeroOrWithoutAHandler)
{
    ItemRecord record{};
    handler->answers = {{HM_ITEMCUT, 5}};
    EXPECT_EQ(messenger.Send(4, HM_ITEMCUT, nullptr, &record), 0);
    EXPECT_EQ(messenger.Send2(4, HM_PRESTATECHANGE, nullptr), 0);
    EXPECT_TRUE(log.Entries().empty());

    messenger.SetHandler(nullptr);
    EXPECT_EQ(messenger.Send(4, HM_ITEMCUT, Item(0x1230), &record), 0);
    EXPECT_EQ(messenger.SendForm2(4, HM_MENUQUERY, Item(0x1230)), 0);
    EXPECT_EQ(messenger.SendForm3(HM_FINDQUERY), 0);
    EXPECT_EQ(messenger.Send2(4, HM_PRESTATECHANGE, Item(0x1230)), 0);
    EXPECT_TRUE(log.Entries().empty());
    EXPECT_EQ(handler->RefCount(), 1);
}

TEST_F(HostMessengerTest, AHandlerWithoutIMessage2GetsNoFormFour)
{
    handler->offerMessage2 = false;
    handler->answers = {{HM_PRESTATECHANGE, 3}};
    EXPECT_EQ(messenger.Send2(4, HM_PRESTATECHANGE, Item(0x1230)), 0);
    EXPECT_EQ(log.Take(), (Log{"IMessage::QueryInterface(IMessage2) -> none"}));
}
