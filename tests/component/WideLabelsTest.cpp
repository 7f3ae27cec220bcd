// Labels keep every character: a name given to a wide method, typed into the label edit box,
// copied and pasted or put back by Undo comes back from GetItemText exactly as it was given.
// The two methods that take 8-bit names read them in the system code page.
#include "host/Component.h"
#include "RVHostKit/Input.h"
#include "RVWindow/Commands.h"

#include <gtest/gtest.h>

namespace {

ULONG_PTR H(HTREEITEM item)
{
    return CTestHost::H(item);
}

struct Name
{
    const char* what;
    std::wstring text;
};

std::vector<Name> Names()
{
    std::wstring many;
    while (many.size() < 10000) many += L"\u4E2D\u03A9x";
    many.resize(10000);
    return {
        {"Latin with accents", L"Zahnr\u00E4der \u00C5ngstr\u00F6m fa\u00E7ade na\u00EFve \u00DF"},
        {"CJK", L"\u9F7F\u8F6E\u7BB1 \u30AE\u30A2 \uAE30\uC5B4"},
        {"Greek and Cyrillic", L"\u03A3\u03C6\u03B1\u03B9\u03C1\u03B1 \u0428\u0435\u0441\u0442\u0435\u0440\u043D\u044F"},
        {"combining marks", L"e\u0301 a\u0308 n\u0303 \u0915\u094D"},
        {"surrogate pair", L"\U0001F527 bolt \U00020BB7"},
        {"lone surrogates", L"lone \xD83D half \xDC27 end"},
        {"10,000 characters", many},
    };
}

// The label as a host reads it, with room for exactly the name and its terminator; what lies
// beyond that room must stay untouched.
std::wstring LabelOf(CTestHost& host, HTREEITEM item, const std::wstring& expected)
{
    std::wstring buffer(expected.size() + 2, L'#');
    host.rv->GetItemText(H(item), &buffer[0], static_cast<int>(expected.size() + 1));
    if (buffer.back() != L'#') return L"<written beyond Size>";
    return buffer.c_str();
}

std::string InCodePage(const std::wstring& text)
{
    const int size = WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, &narrow[0], size, nullptr, nullptr);
    return narrow.c_str();
}

HTREEITEM Next(HWND tree, HTREEITEM item, UINT code)
{
    return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, code, reinterpret_cast<LPARAM>(item)));
}

} // namespace

TEST(WideLabels, EveryNameComesBackAsGivenThroughEveryRoute)
{
    for (const Name& name : Names()) {
        CTestHost host;
        const wchar_t* const text = name.text.c_str();
        const HTREEITEM assembly = host.AddAssembly(text, 4, 9);
        const HTREEITEM added = host.AddItem(assembly, text, NewRecord(7));
        const HTREEITEM renamed = host.AddItem(assembly, L"Shaft", NewRecord(8));
        const HTREEITEM edited = host.AddItem(assembly, L"Housing", NewRecord(9));
        host.rv->SetItemText(H(renamed), const_cast<wchar_t*>(text), 0);
        host.ShowTree();
        const HWND tree = host.Tree();
        EXPECT_EQ(LabelOf(host, assembly, name.text), name.text) << name.what << ": AddAssembly";
        EXPECT_EQ(LabelOf(host, added, name.text), name.text) << name.what << ": AddTreeItem";
        EXPECT_EQ(LabelOf(host, renamed, name.text), name.text) << name.what << ": SetItemText";
        // The kit names the item in its log by the whole name, in the system code page.
        host.log.Add("named " + host.log.HandleText(H(added)));
        EXPECT_EQ(host.log.Entries().back(), "named " + InCodePage(name.text)) << name.what << ": the kit's name";

        host.rv->EditItemLabel(H(edited));
        ASSERT_TRUE(TypeLabel(tree, text)) << name.what;
        EXPECT_EQ(LabelOf(host, edited, name.text), name.text) << name.what << ": typed in the edit box";

        // Undo of the next edit puts the name back.
        host.rv->EditItemLabel(H(edited));
        ASSERT_TRUE(TypeLabel(tree, L"Bearing")) << name.what;
        ChooseMenuCommand(host.rv.get(), tree, ItemPoint(tree, edited, ItemPart::Label), RVCMD_UNDO);
        EXPECT_EQ(LabelOf(host, edited, name.text), name.text) << name.what << ": Undo of a rename";

        ChooseMenuCommand(host.rv.get(), tree, ItemPoint(tree, added, ItemPart::Label), RVCMD_COPY);
        ChooseMenuCommand(host.rv.get(), tree, ItemPoint(tree, added, ItemPart::Label), RVCMD_PASTEAFTER);
        const HTREEITEM pasted = Next(tree, added, TVGN_NEXT);
        ASSERT_NE(pasted, renamed) << name.what << ": nothing pasted";
        EXPECT_EQ(LabelOf(host, pasted, name.text), name.text) << name.what << ": copied and pasted";
    }
}

TEST(WideLabels, TheEightBitMethodsReadTheSystemCodePage)
{
    if (GetACP() != 1252) GTEST_SKIP() << "the names below are written in code page 1252";
    CTestHost host;
    const HTREEITEM assembly = host.AddAssembly(L"Gearbox", 4, 9);
    ULONG_PTR inserted = 0;
    char greeting[] = "Gr\xFC\xDF" "e \x80";
    ASSERT_EQ(host.rv->InsertTreeItem(greeting, H(assembly), 0, nullptr, &inserted), S_OK);
    EXPECT_EQ(host.WideTextOf(CTestHost::T(inserted)), L"Gr\u00FC\u00DF" L"e \u20AC");
    ASSERT_EQ(host.rv->InsertTreeItem(nullptr, H(assembly), 0, nullptr, &inserted), S_OK);
    EXPECT_EQ(host.WideTextOf(CTestHost::T(inserted)), L"<unnamed>");

    char summer[] = "\xE9t\xE9";
    EXPECT_EQ(host.rv->InsertNewItem(12, summer, H(assembly)), S_OK);
    HTREEITEM last = nullptr;
    for (HTREEITEM c = Next(host.Tree(), assembly, TVGN_CHILD); c; c = Next(host.Tree(), c, TVGN_NEXT)) last = c;
    EXPECT_EQ(host.WideTextOf(last), L"\u00E9t\u00E9");
}
