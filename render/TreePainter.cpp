#include "render/TreePainter.h"

#include "platform/Handles.h"
#include "platform/TreeCtrl.h"
#include "render/RedrawSuspension.h"
#include "render/WindowScale.h"
#include "selection/Selection.h"

#include <string>

namespace {
constexpr UINT kFocusedMark = CSelection::kFocusedMark;

// Text and background colours for a scope, put back afterwards.
class CColours
{
public:
    CColours(HDC hDC, COLORREF text) : m_hDC(hDC), m_text(::SetTextColor(hDC, text)) {}
    // With a background colour the text cell is filled with it.
    CColours(HDC hDC, COLORREF text, COLORREF background) : CColours(hDC, text)
    {
        m_background = ::SetBkColor(hDC, background);
        m_nBkMode = ::SetBkMode(hDC, OPAQUE);
        m_bSetBackground = true;
    }
    ~CColours()
    {
        ::SetTextColor(m_hDC, m_text);
        if (!m_bSetBackground) return;
        ::SetBkColor(m_hDC, m_background);
        ::SetBkMode(m_hDC, m_nBkMode);
    }
    CColours(const CColours&) = delete;
    CColours& operator=(const CColours&) = delete;

private:
    HDC m_hDC;
    COLORREF m_text;
    COLORREF m_background = 0;
    int m_nBkMode = 0;
    bool m_bSetBackground = false;
};
} // namespace

void CTreePainter::OnPaint()
{
    const CPaintDC paint(m_control.GetHwnd());
    if (m_redraw.IsSuspended()) {
        // The control would draw nothing now: the screen keeps what it shows until the
        // suspension ends.
        m_redraw.OnPaintHeld();
        return;
    }
    RECT clip{};
    ::GetClipBox(paint.get(), &clip);
    Paint(paint.get(), clip);
}

void CTreePainter::OnPrintClient(HDC hDC)
{
    if (m_redraw.IsSuspended()) return; // nothing to show until the suspension ends
    RECT client{};
    ::GetClientRect(m_control.GetHwnd(), &client);
    Paint(hDC, client);
}

void CTreePainter::Paint(HDC hTarget, const RECT& clip)
{
    RECT client{};
    ::GetClientRect(m_control.GetHwnd(), &client);
    if (client.right <= 0 || client.bottom <= 0) return;
    const CMemoryDCOwner memory(::CreateCompatibleDC(hTarget));
    const CBitmapOwner bitmap(::CreateCompatibleBitmap(hTarget, client.right, client.bottom));
    if (!memory || !bitmap) return;
    {
        const CSelectObject selected(memory.get(), bitmap.get());
        const CRgnOwner region(::CreateRectRgnIndirect(&clip));
        ::SelectClipRgn(memory.get(), region.get());
        m_control.DefaultProcessing(WM_PAINT, reinterpret_cast<WPARAM>(memory.get()), 0);
        RepaintLabels(memory.get());
        ::BitBlt(hTarget, clip.left, clip.top, clip.right - clip.left, clip.bottom - clip.top, memory.get(), clip.left,
                 clip.top, SRCCOPY);
        ::SelectClipRgn(memory.get(), nullptr);
    }
}

void CTreePainter::RepaintLabels(HDC hDC)
{
    // One label font for the paint, made from the window's font (the stock GUI font without).
    LOGFONTW description{};
    HFONT hWindowFont = m_control.GetFont();
    if (!hWindowFont) hWindowFont = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    ::GetObjectW(hWindowFont, sizeof description, &description);
    const CFontOwner font(::CreateFontIndirectW(&description));
    const CSelectObject selectedFont(hDC, font.get());

    const HTREEITEM hEdited = m_conditions.EditedItem();
    // The text's place in the label, 2 and 1 pixels at 96 DPI.
    const int textX = m_scale.Pixels(2);
    const int textY = m_scale.Pixels(1);
    // The rows that show, and the partly shown row below them.
    UINT budget = m_control.GetVisibleCount() + 1;
    for (HTREEITEM hItem = m_control.GetNextItem(nullptr, TVGN_FIRSTVISIBLE); hItem && budget > 0;
         hItem = m_control.GetNextItem(hItem, TVGN_NEXTVISIBLE), --budget) {
        if (hEdited && hItem == hEdited) continue; // the edit window shows it
        const UINT state = m_control.GetItemState(hItem, TVIS_SELECTED | TVIS_DROPHILITED | kFocusedMark);
        if ((state & TVIS_DROPHILITED) && !(state & TVIS_SELECTED)) continue; // the control's drawing stays
        RECT label{};
        if (!m_control.GetItemRect(hItem, label, true)) continue;
        const std::wstring text = m_control.GetItemText(hItem);
        const int x = label.left + textX;
        const int y = label.top + textY;
        if (state & TVIS_SELECTED) {
            // The whole label in the highlight, whatever the control drew there, the text kept
            // inside it.
            const CColours colours(hDC, m_highlightText, m_highlight);
            ::ExtTextOutW(hDC, x, y, ETO_OPAQUE | ETO_CLIPPED, &label, text.c_str(), static_cast<UINT>(text.size()),
                          nullptr);
        } else if (state & kFocusedMark) {
            const CColours colours(hDC, m_focusText);
            ::TextOutW(hDC, x, y, text.c_str(), static_cast<int>(text.size()));
        } else {
            ::TextOutW(hDC, x, y, text.c_str(), static_cast<int>(text.size()));
        }
    }
}

void CTreePainter::TakeSystemColours()
{
    m_highlight = ::GetSysColor(COLOR_HIGHLIGHT);
    m_highlightText = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
    m_focusText = ::GetSysColor(COLOR_GRAYTEXT);
}

bool CTreePainter::OnEraseBkgnd(LRESULT& result)
{
    if (m_conditions.ControlDrawsItself()) return false;
    result = 1; // nothing erased, nothing flickers: the paint covers the whole clip box
    return true;
}
