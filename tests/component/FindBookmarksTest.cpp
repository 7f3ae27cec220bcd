// Find through the platform's find dialog, driven as a user drives it (its edit box, check
// boxes, direction and Find Next), and bookmarks through the interface and the commands.
#include "host/Component.h"
#include "RVHostKit/Input.h"

#include <gtest/gtest.h>

using Log = std::vector<std::string>;

namespace {

// The find dialog's controls.
constexpr int kFindWhat = 0x480, kWholeWord = 0x410, kMatchCase = 0x411, kUp = 0x420, kDown = 0x421;
const std::string kFinished = "0|0|Finished searching through the list.";

BOOL CALLBACK FindDialogWindow(HWND hWnd, LPARAM out)
{
    char cls[16] = {};
    GetClassNameA(hWnd, cls, sizeof cls);
    if (std::string(cls) == "#32770" && IsWindowVisible(hWnd)) *reinterpret_cast<HWND*>(out) = hWnd;
    return TRUE;
}

class Find : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(host.rv);
        for (const wchar_t* name : {L"Bolt", L"bolt_2", L"Bolts", L"ab-ab", L"abab"}) roots.push_back(host.AddAssembly(name));
        host.ShowTree();
        TakeMessageBoxes();
    }
    HWND Dialog() const
    {
        HWND found = nullptr;
        EnumThreadWindows(GetCurrentThreadId(), FindDialogWindow, reinterpret_cast<LPARAM>(&found));
        return found;
    }
    // The user types the text, sets the options and presses Find Next.
    void Set(const char* text, bool matchCase, bool wholeWord, bool up = false)
    {
        SetDlgItemTextA(Dialog(), kFindWhat, text);
        SetOptions(matchCase, wholeWord, up);
    }
    void Set(const wchar_t* text, bool matchCase, bool wholeWord)
    {
        SetDlgItemTextW(Dialog(), kFindWhat, text);
        SetOptions(matchCase, wholeWord, false);
    }
    void SetOptions(bool matchCase, bool wholeWord, bool up)
    {
        const HWND dialog = Dialog();
        CheckDlgButton(dialog, kMatchCase, matchCase ? BST_CHECKED : BST_UNCHECKED);
        CheckDlgButton(dialog, kWholeWord, wholeWord ? BST_CHECKED : BST_UNCHECKED);
        CheckRadioButton(dialog, kUp, kDown, up ? kUp : kDown);
    }
    // Find Next; the name selected afterwards, or the message the user was shown.
    std::string FindNext()
    {
        SendMessageA(Dialog(), WM_COMMAND, IDOK, 0);
        const Log shown = TakeMessageBoxes();
        if (!shown.empty()) return shown.back();
        ULONG_PTR item = 0;
        host.rv->GetSelectedItem(&item);
        return host.TextOf(CTestHost::T(item));
    }

    CTestHost host;
    std::vector<HTREEITEM> roots;
};

} // namespace

TEST_F(Find, FindNextWalksDownWithoutWrappingUnderEveryOption)
{
    const struct { const char* text; bool matchCase, wholeWord, up; Log found; } cases[] = {
        {"bolt", false, false, false, {"Bolt", "bolt_2", "Bolts", kFinished, "Bolt"}},
        {"bolt", false, true, false, {"Bolt", kFinished, "Bolt"}},
        {"bolt", true, false, false, {"bolt_2", kFinished, "bolt_2"}},
        {"ab", false, true, false, {"ab-ab", kFinished}},
        {"ab", false, false, true, {"abab", "ab-ab", kFinished}},
    };
    for (const auto& c : cases) {
        // Each search from the top: closing the dialog forgets where the last one stopped.
        host.rv->ShowFindDialog();
        ASSERT_NE(Dialog(), nullptr);
        Set(c.text, c.matchCase, c.wholeWord, c.up);
        Log found;
        for (size_t i = 0; i < c.found.size(); ++i) found.push_back(FindNext());
        EXPECT_EQ(found, c.found) << c.text << (c.matchCase ? " case" : "") << (c.wholeWord ? " word" : "");
        SendMessageA(Dialog(), WM_COMMAND, IDCANCEL, 0);
    }
}

TEST_F(Find, WideLabelsAreFoundInEitherCaseAndAsWholeWords)
{
    const HTREEITEM gearbox = host.AddAssembly(L"\u9F7F\u8F6E\u7BB1 \u8F74\u627F\u5EA7");
    const HTREEITEM ball = host.AddAssembly(L"\u0448\u0430\u0440\u0438\u043A");
    const HTREEITEM sphere = host.AddAssembly(L"\u03C3\u03C6\u03B1\u03B9\u03C1\u03B1-\u0448\u0430\u0440");
    const wchar_t* const sphereUpper = L"\u03A3\u03A6\u0391\u0399\u03A1\u0391";
    const wchar_t* const ballUpper = L"\u0428\u0410\u0420";
    const struct { const wchar_t* text; bool matchCase, wholeWord; HTREEITEM found; } cases[] = {
        {L"\u8F74\u627F", false, false, gearbox}, // a CJK word inside a label
        {sphereUpper, false, false, sphere},
        {sphereUpper, true, false, nullptr},
        {ballUpper, false, false, ball},
        {ballUpper, false, true, sphere}, // a letter follows it in the first label
    };
    const wchar_t* previous = L"";
    for (const auto& c : cases) {
        host.rv->ShowFindDialog();
        ASSERT_NE(Dialog(), nullptr);
        wchar_t offered[32] = {};
        GetDlgItemTextW(Dialog(), kFindWhat, offered, 32);
        EXPECT_STREQ(offered, previous) << "the dialog offers the last text";
        previous = c.text;
        Set(c.text, c.matchCase, c.wholeWord);
        SendMessageA(Dialog(), WM_COMMAND, IDOK, 0);
        ULONG_PTR selected = 0;
        host.rv->GetSelectedItem(&selected);
        const bool finished = TakeMessageBoxes() == Log{kFinished};
        EXPECT_EQ(finished ? nullptr : CTestHost::T(selected), c.found) << (&c - cases);
        SendMessageA(Dialog(), WM_COMMAND, IDCANCEL, 0);
    }
}

TEST_F(Find, TheDialogOpensOnceKeepsItsTextAndGoesWithTheTree)
{
    host.message->answers[0x0C] = 1;
    host.rv->ShowFindDialog();
    EXPECT_EQ(Dialog(), nullptr) << "the host refused";
    host.message->answers.clear();

    host.rv->ShowFindDialog();
    const HWND dialog = Dialog();
    ASSERT_NE(dialog, nullptr);
    host.rv->ShowFindDialog();
    EXPECT_EQ(Dialog(), dialog) << "one dialog at a time";
    Set("abab", false, false);
    EXPECT_EQ(FindNext(), "abab");
    SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_FALSE(IsWindow(dialog));

    host.rv->ShowFindDialog();
    char text[32] = {};
    GetDlgItemTextA(Dialog(), kFindWhat, text, sizeof text);
    EXPECT_STREQ(text, "abab");
    const HWND second = Dialog();
    host.ReleaseComponent();
    EXPECT_FALSE(IsWindow(second)) << "the dialog never outlives the tree";
}

TEST_F(Find, BookmarksWrapAroundAndAreCountedOnce)
{
    host.rv->SetBookmark(CTestHost::H(roots[1]), 1);
    host.rv->SetBookmark(CTestHost::H(roots[1]), 1);
    host.rv->SetBookmark(CTestHost::H(roots[3]), 1);
    const HWND tree = host.Tree();
    const auto maskAt = [&](HTREEITEM item) {
        SetCursorTo(tree, ItemPoint(tree, item, ItemPart::Label));
        host.log.Clear();
        SendMessageA(tree, WM_RBUTTONDOWN, MK_RBUTTON, 0);
        return host.log.Entries().front();
    };
    EXPECT_EQ(maskAt(roots[0]), "Sink::SetMenuMask(0x1FEFF)");
    const auto next = [&](LONG forward) {
        host.rv->GotoBookmark(forward);
        const Log shown = TakeMessageBoxes();
        if (!shown.empty()) return shown.back();
        ULONG_PTR item = 0;
        host.rv->GetSelectedItem(&item);
        return host.TextOf(CTestHost::T(item));
    };
    EXPECT_EQ((Log{next(1), next(1), next(1), next(0)}), (Log{"bolt_2", "ab-ab", "bolt_2", "ab-ab"}));

    // Taking one off twice counts it once; its assembly picture comes back.
    host.rv->SetBookmark(CTestHost::H(roots[1]), 0);
    host.rv->SetBookmark(CTestHost::H(roots[1]), 0);
    TVITEMA item{};
    item.mask = TVIF_HANDLE | TVIF_IMAGE;
    item.hItem = roots[1];
    SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(item.iImage, 1);
    // A bookmarked item removed takes its bookmark with it.
    host.rv->RemoveTreeItem(CTestHost::H(roots[3]));
    EXPECT_EQ(maskAt(roots[0]), "Sink::SetMenuMask(0x3EFF)");
    EXPECT_EQ(next(1), "0|0|No bookmarks found.");
}

TEST_F(Find, TheBookmarkCommandsToggleAndClearAsTheHostAllows)
{
    const HWND tree = host.Tree();
    const auto command = [&](UINT id, HTREEITEM at) {
        SetCursorTo(tree, ItemPoint(tree, at, ItemPart::Label));
        SendMessageA(tree, WM_RBUTTONDOWN, MK_RBUTTON, 0);
        host.log.Clear();
        host.rv->PostMessage(WM_COMMAND, id, 0);
        PumpMessages();
        return host.log.Take();
    };
    EXPECT_EQ(command(32798, roots[2]), Log{Msg("0x37", "Bolts", 0, 0)});
    host.message->answers[0x39] = 1;
    EXPECT_EQ(command(32801, roots[0]), Log{Msg("0x39", "Bolt", 0, 0)});
    command(32800, roots[0]);
    ULONG_PTR selected = 0;
    host.rv->GetSelectedItem(&selected);
    EXPECT_EQ(CTestHost::T(selected), roots[2]) << "the refused clearing kept the bookmark";
    host.message->answers.clear();
    command(32801, roots[0]);
    EXPECT_EQ(command(32798, roots[2]), Log{Msg("0x37", "Bolts", 0, 0)}) << "cleared: set again";
    EXPECT_EQ(command(32798, roots[2]), Log{Msg("0x38", "Bolts", 0, 0)});
}
