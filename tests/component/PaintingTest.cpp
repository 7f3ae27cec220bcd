// What the tree paints, read from a 32-bit picture it paints into through WM_PRINTCLIENT (the
// same code that paints the screen).
#include "host/Component.h"
#include "RVHostKit/Input.h"
#include "RVHostKit/TreeReader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

class Painting : public ::testing::Test, protected ShownGearbox
{
protected:
    static constexpr DWORD kUntouched = 0x010203;

    // What the tree paints through WM_PRINTCLIENT into a 32-bit picture of its client area
    // that starts out in a colour the tree never uses, top-down rows.
    std::vector<DWORD> Picture()
    {
        RECT client{};
        GetClientRect(tree, &client);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = client.right;
        info.bmiHeader.biHeight = -client.bottom;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        HDC dc = CreateCompatibleDC(nullptr);
        HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ old = SelectObject(dc, bitmap);
        auto* pixels = static_cast<DWORD*>(bits);
        std::fill(pixels, pixels + client.right * client.bottom, kUntouched);
        SendMessageA(tree, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
        GdiFlush();
        std::vector<DWORD> picture(pixels, pixels + client.right * client.bottom);
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
        return picture;
    }

    // Counts the pixels of a colour inside an item's label rectangle in a fresh picture.
    int PixelsOf(HTREEITEM item, COLORREF colour)
    {
        RECT client{};
        GetClientRect(tree, &client);
        const std::vector<DWORD> pixels = Picture();
        RECT label{};
        memcpy(&label, &item, sizeof item);
        SendMessageA(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&label));
        const DWORD wanted = (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
        int count = 0;
        for (LONG y = std::max(label.top, 0L); y < std::min(label.bottom, client.bottom); ++y)
            for (LONG x = std::max(label.left, 0L); x < std::min(label.right, client.right); ++x)
                if ((pixels[static_cast<size_t>(y * client.right + x)] & 0xFFFFFF) == wanted) ++count;
        return count;
    }

    // Whether the label's top and bottom rows and its left column are all of a colour: the
    // text inside it (which may reach the right edge) is framed by that colour's fill.
    bool LabelEdgesAre(HTREEITEM item, COLORREF colour)
    {
        RECT client{};
        GetClientRect(tree, &client);
        const std::vector<DWORD> pixels = Picture();
        const RECT label = LabelRect(item);
        const DWORD wanted = (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
        auto is = [&](LONG x, LONG y) { return (pixels[static_cast<size_t>(y * client.right + x)] & 0xFFFFFF) == wanted; };
        for (LONG x = label.left; x < label.right; ++x)
            if (!is(x, label.top) || !is(x, label.bottom - 1)) return false;
        for (LONG y = label.top; y < label.bottom; ++y)
            if (!is(label.left, y)) return false;
        return label.right > label.left;
    }

    RECT LabelRect(HTREEITEM item)
    {
        RECT label{};
        memcpy(&label, &item, sizeof item);
        SendMessageA(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&label));
        return label;
    }

    // The width of a label's text and the height of a line in the tree's font.
    SIZE TextSize(HTREEITEM item)
    {
        wchar_t text[256]{};
        TVITEMW tvi{};
        tvi.mask = TVIF_TEXT;
        tvi.hItem = item;
        tvi.pszText = text;
        tvi.cchTextMax = 256;
        SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tvi));
        HDC dc = GetDC(tree);
        HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(tree, WM_GETFONT, 0, 0)));
        SIZE size{};
        GetTextExtentPoint32W(dc, text, static_cast<int>(wcslen(text)), &size);
        SelectObject(dc, old);
        ReleaseDC(tree, dc);
        return size;
    }

    int IconSize(int list)
    {
        int cx = 0, cy = 0;
        ImageList_GetIconSize(reinterpret_cast<HIMAGELIST>(SendMessageA(tree, TVM_GETIMAGELIST, list, 0)), &cx, &cy);
        return cx == cy ? cx : -1;
    }

    // The window is told it is at a DPI, as a host moved to another monitor would tell it.
    void MoveToDpi(UINT dpi)
    {
        SetPropW(tree, L"RVWindow.Dpi", reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(dpi)));
        SendMessageW(tree, 0x02E3 /* WM_DPICHANGED_AFTERPARENT */, 0, 0);
    }
};

} // namespace

TEST_F(Painting, AtEveryDpiPicturesRowsAndLabelsFitAndTheSelectionCoversTheLabel)
{
    const struct { UINT dpi; int picture; } scales[] = {{120, 20}, {144, 24}, {192, 32}, {96, 16}};
    host.rv->SelectItem(CTestHost::H(g.left), 0, 0, 0);
    SetFocus(host.parent.get());
    const int rowAtStart = static_cast<int>(SendMessageA(tree, TVM_GETITEMHEIGHT, 0, 0));
    const UINT indentAtStart = static_cast<UINT>(SendMessageA(tree, TVM_GETINDENT, 0, 0));
    host.rv->MoveWindow(0, 0, 300, rowAtStart * 3);
    SendMessageA(tree, TVM_SELECTITEM, TVGN_FIRSTVISIBLE, reinterpret_cast<LPARAM>(g.housing));
    const std::string outline = Outline(host);
    for (const auto& s : scales) {
        MoveToDpi(s.dpi);
        EXPECT_EQ(IconSize(TVSIL_NORMAL), s.picture) << s.dpi;
        EXPECT_EQ(IconSize(TVSIL_STATE), s.picture) << s.dpi;
        const int row = static_cast<int>(SendMessageA(tree, TVM_GETITEMHEIGHT, 0, 0));
        EXPECT_GE(row, s.picture) << s.dpi;
        const int textX = MulDiv(2, static_cast<int>(s.dpi), 96);
        for (HTREEITEM item : {g.gearbox, g.housing, g.left, g.right, g.shaft}) {
            const SIZE text = TextSize(item);
            const RECT label = LabelRect(item);
            EXPECT_GE(row, text.cy) << s.dpi;
            EXPECT_GE(label.right - label.left, textX + text.cx) << s.dpi << " the text fits its label";
        }
        SendMessageA(tree, TVM_SELECTITEM, TVGN_FIRSTVISIBLE, reinterpret_cast<LPARAM>(g.left));
        EXPECT_TRUE(LabelEdgesAre(g.left, GetSysColor(COLOR_HIGHLIGHT))) << s.dpi;
        SendMessageA(tree, TVM_SELECTITEM, TVGN_FIRSTVISIBLE, reinterpret_cast<LPARAM>(g.housing));
        MoveToDpi(s.dpi == 96 ? 144 : 96);
        MoveToDpi(s.dpi);
        EXPECT_EQ(Next(nullptr, TVGN_FIRSTVISIBLE), g.housing) << s.dpi << " the first visible row stays";
    }
    EXPECT_EQ(Outline(host), outline);
    EXPECT_EQ(SendMessageA(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(g.left), TVIS_SELECTED), TVIS_SELECTED);
    HDC screen = GetDC(nullptr);
    MoveToDpi(static_cast<UINT>(GetDeviceCaps(screen, LOGPIXELSX)));
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(SendMessageA(tree, TVM_GETITEMHEIGHT, 0, 0), rowAtStart) << "back at the screen's DPI as it began";
    EXPECT_EQ(static_cast<UINT>(SendMessageA(tree, TVM_GETINDENT, 0, 0)), indentAtStart);
    RemovePropW(tree, L"RVWindow.Dpi");
}

TEST_F(Painting, ASystemColourChangeRepaintsTheSelectionInTheNewHighlight)
{
    host.rv->SelectItem(CTestHost::H(g.left), 0, 0, 0);
    const int element = COLOR_HIGHLIGHT;
    const COLORREF before = GetSysColor(COLOR_HIGHLIGHT);
    const COLORREF scheme = RGB(0, 128, 0) == before ? RGB(128, 0, 128) : RGB(0, 128, 0);
    SetSysColors(1, &element, &scheme);
    SendMessageA(tree, WM_SYSCOLORCHANGE, 0, 0);
    const bool covered = LabelEdgesAre(g.left, scheme);
    SetSysColors(1, &element, &before);
    SendMessageA(tree, WM_SYSCOLORCHANGE, 0, 0);
    EXPECT_TRUE(covered) << "the label in the scheme's highlight";
    EXPECT_TRUE(LabelEdgesAre(g.left, before)) << "and back";
}

TEST_F(Painting, TheTreesSelectionShowsInHighlightColoursAlsoWithoutTheFocus)
{
    host.rv->SelectItem(CTestHost::H(g.left), 0, 0, 0);
    host.rv->SelectItem(CTestHost::H(g.right), 0, 1, 0);
    SetFocus(host.parent.get());
    const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
    EXPECT_GT(PixelsOf(g.left, highlight), 20);
    EXPECT_GT(PixelsOf(g.right, highlight), 20);
    EXPECT_EQ(PixelsOf(g.shaft, highlight), 0);
}

TEST_F(Painting, ADropHighlightStaysTheControlsAndAPartlyShownLastRowIsRepainted)
{
    const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
    SendMessageA(tree, TVM_SELECTITEM, TVGN_DROPHILITE, reinterpret_cast<LPARAM>(g.shaft));
    EXPECT_GT(PixelsOf(g.shaft, highlight), 20) << "the control's own drop highlight";
    SendMessageA(tree, TVM_SELECTITEM, TVGN_DROPHILITE, 0);

    // Six and a half rows: the seventh, Strut, shows its upper half.
    const int row = static_cast<int>(SendMessageA(tree, TVM_GETITEMHEIGHT, 0, 0));
    host.rv->MoveWindow(0, 0, 300, row * 13 / 2);
    host.rv->SelectItem(CTestHost::H(g.strut), 0, 0, 0);
    SetFocus(host.parent.get());
    EXPECT_GT(PixelsOf(g.strut, highlight), 5);
}

TEST_F(Painting, AnItemWithOnlyTheFocusMarkIsGreyUnlessItIsBeingEdited)
{
    SetCursorTo(tree, ItemPoint(tree, g.shaft, ItemPart::Label));
    SendMessageA(tree, WM_RBUTTONDOWN, MK_RBUTTON, 0); // the right press moves only the focus mark
    const COLORREF grey = GetSysColor(COLOR_GRAYTEXT);
    EXPECT_GT(PixelsOf(g.shaft, grey), 5);
    EXPECT_EQ(PixelsOf(g.left, grey), 0);
    host.rv->EditItemLabel(CTestHost::H(g.shaft));
    EXPECT_EQ(PixelsOf(g.shaft, grey), 0) << "the edit window shows the label being edited";
}

TEST_F(Painting, TheBackgroundIsErasedOnlyWhileADragRuns)
{
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 8, 8);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    SetPixel(dc, 2, 2, RGB(1, 2, 3));
    EXPECT_EQ(SendMessageA(tree, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0), 1);
    EXPECT_EQ(GetPixel(dc, 2, 2), RGB(1, 2, 3)) << "reported erased, nothing touched";
    StartDrag(tree, ItemPoint(tree, g.shaft, ItemPart::Label), ItemPoint(tree, g.housing, ItemPart::Label));
    SendMessageA(tree, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    EXPECT_NE(GetPixel(dc, 2, 2), RGB(1, 2, 3)) << "erased while dragging";
    PressKey(tree, VK_ESCAPE);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

TEST_F(Painting, APaintWhileRedrawIsSuspendedLeavesTheScreenAndTheLastResumeBringsItUpToDate)
{
    const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
    UpdateWindow(tree);
    host.rv->suspendRedraw();
    host.rv->suspendRedraw();
    host.rv->SelectItem(CTestHost::H(g.shaft), 0, 0, 0);
    host.rv->SetItemText(CTestHost::H(g.left), const_cast<wchar_t*>(L"Renamed"), 7);

    // A host keeping its window responsive pumps a paint meanwhile: it is taken, and nothing
    // is painted (the control would have drawn blank rows).
    CMessageSpy paints(tree, {WM_PAINT});
    InvalidateRect(tree, nullptr, FALSE);
    UpdateWindow(tree);
    EXPECT_EQ(paints.seen.size(), 1u);
    RECT update{};
    EXPECT_FALSE(GetUpdateRect(tree, &update, FALSE));
    const std::vector<DWORD> whileSuspended = Picture();
    EXPECT_EQ(std::count(whileSuspended.begin(), whileSuspended.end(), kUntouched),
              static_cast<std::ptrdiff_t>(whileSuspended.size())) << "nothing painted";

    host.rv->resumeRedraw();
    EXPECT_EQ(paints.seen.size(), 1u) << "still suspended";
    host.rv->resumeRedraw();
    EXPECT_EQ(paints.seen.size(), 2u) << "one paint at the last resume";
    EXPECT_FALSE(GetUpdateRect(tree, &update, FALSE)) << "nothing left invalid";
    EXPECT_GT(PixelsOf(g.shaft, highlight), 20);
}
