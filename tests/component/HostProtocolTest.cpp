// The host message senders and redraw suspension, seen from the host's side.
#include "host/Component.h"
#include "RVHostKit/TreeReader.h"

#include <gtest/gtest.h>

namespace {

std::vector<WPARAM> RedrawSwitches(const CMessageSpy& spy)
{
    std::vector<WPARAM> out;
    for (const auto& s : spy.seen) out.push_back(s.wParam);
    return out;
}

} // namespace

TEST(RedrawSuspension, SwitchesOnlyWhenTheCountPassesBetweenZeroAndOne)
{
    CTestHost host;
    CMessageSpy spy(host.Tree(), {WM_SETREDRAW});
    host.rv->suspendRedraw();
    host.rv->suspendRedraw();
    EXPECT_EQ(RedrawSwitches(spy), (std::vector<WPARAM>{FALSE}));
    host.rv->resumeRedraw();
    EXPECT_EQ(RedrawSwitches(spy), (std::vector<WPARAM>{FALSE})) << "still suspended";
    host.rv->resumeRedraw();
    EXPECT_EQ(RedrawSwitches(spy), (std::vector<WPARAM>{FALSE, TRUE}));
    host.rv->resumeRedraw();
    EXPECT_EQ(RedrawSwitches(spy), (std::vector<WPARAM>{FALSE, TRUE, TRUE})) << "a resume at 0 switches on again";
    host.rv->suspendRedraw();
    EXPECT_EQ(RedrawSwitches(spy), (std::vector<WPARAM>{FALSE, TRUE, TRUE, FALSE})) << "the count stayed at 0";
    host.rv->resumeRedraw();
}

TEST(RedrawSuspension, InternalSuspensionsNestInsideTheHosts)
{
    CTestHost host;
    HTREEITEM a = host.AddAssembly(L"a");
    CMessageSpy spy(host.Tree(), {WM_SETREDRAW});
    host.rv->suspendRedraw();
    host.rv->SetProhibitedIcon(CTestHost::H(a), 1);
    host.rv->LockItem(CTestHost::H(a), 1);
    EXPECT_EQ(RedrawSwitches(spy), (std::vector<WPARAM>{FALSE}));
    host.rv->resumeRedraw();
    EXPECT_EQ(RedrawSwitches(spy), (std::vector<WPARAM>{FALSE, TRUE}));
}

TEST(HostProtocol, ReplacingTheHandlerRedirectsMessages)
{
    CTestHost host;
    CCallLog otherLog;
    auto* other = new CTestMessage(otherLog);
    IMessage* handler = other;
    host.rv->SetMessageHandler(&handler);
    EXPECT_EQ(host.message->RefCount(), 1);
    host.AddAssembly(L"a", 1, 2);
    EXPECT_TRUE(host.log.Entries().empty());
    EXPECT_EQ(otherLog.Entries().size(), 1u);
    host.ReleaseComponent();
    EXPECT_EQ(other->RefCount(), 1);
    other->Release();
}

TEST(HostProtocol, ResultsStartAtZeroWhateverTheHostLeavesUntouched)
{
    CTestHost host;
    HTREEITEM a = host.AddAssembly(L"a", 1, 2);
    // The host answers nothing (it does not write the result): the question reads as consent.
    host.message->answers.clear();
    host.rv->InsertNewItem(5, const_cast<char*>("child"), CTestHost::H(a));
    EXPECT_EQ(ChildrenOf(host.Tree(), a).size(), 1u);
}
