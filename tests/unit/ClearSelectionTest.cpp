// ClearSelection, which the mouse and find code use: its messages and the order of the
// sink's selection lock.
#include "RVHostKit/HostObjects.h"
#include "RVHostKit/HostWindow.h"
#include "tree/RVTreeCtrl.h"

#include <gtest/gtest.h>

using namespace RVHostKit;

using Log = std::vector<std::string>;

TEST(ClearSelection, ReportsEveryItemAndItsBranchInsideNestedLocks)
{
    CCallLog log;
    auto* sink = new CTestSink(log);
    auto* message = new CTestMessage(log);
    CHostWindow window;
    {
        CRVTreeCtrl tree;
        ASSERT_TRUE(tree.Create(window.get()));
        tree.Host().SetSink(sink);
        tree.Host().SetMessageHandler(message);
        const HTREEITEM root = tree.Builder().AddAssembly(L"root", 4, 9, false);
        const HTREEITEM a = tree.Builder().AddTreeItem(L"a", root, nullptr);
        const HTREEITEM child = tree.Builder().AddTreeItem(L"child", a, nullptr);
        const HTREEITEM b = tree.Builder().AddTreeItem(L"b", root, nullptr);
        log.Name(a, "a");
        log.Name(child, "child");
        log.Name(b, "b");
        tree.Selection().SelectItem(a, false, false, false);
        tree.Selection().SelectItem(b, false, false, false);
        log.Clear();

        tree.Selection().ClearSelection();
        EXPECT_EQ(log.Take(), (Log{
            "Sink::SetSelectionLock(1)",
            "IMessage::Send(wID=0, wMsg=0x1E, Size=0, data=0)",
            "Sink::SetSelectionLock(1)", "IMessage::Send(wID=4, wMsg=0x21, Size=4, data=child)", "Sink::SetSelectionLock(0)",
            "IMessage::SendWithDataID(dataID=9, wID=4, wMsg=0x21, Size=4, data=a)",
            "Sink::SetSelectionLock(1)", "Sink::SetSelectionLock(0)",
            "IMessage::SendWithDataID(dataID=9, wID=4, wMsg=0x21, Size=4, data=b)",
            "IMessage::Send(wID=0, wMsg=0x1D, Size=0, data=0)",
            "Sink::SetSelectionLock(0)",
        }));
        EXPECT_EQ(tree.Selection().Count(), 0);
        EXPECT_EQ(tree.Selection().CurrentItem(), nullptr);
        tree.DestroyWindow();
    }
    sink->Release();
    message->Release();
}
