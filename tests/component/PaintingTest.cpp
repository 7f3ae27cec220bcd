// What the tree paints, read from a 32-bit picture it paints into through WM_PRINTCLIENT (the
// same code that paints the screen).
#include "host/Component.h"
#include "host/Input.h"
#include "host/ShownItems.h"

#include <gtest/gtest.h>

#include <algorithm>
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
};

} // namespace

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
