// Double-buffered painting of the tree window: the control paints itself into an off-screen
// bitmap, the labels of the visible items are painted again on top (the tree's own selection
// in the highlight colours whether or not the window has the focus, an item with only the
// focus mark in grey) and the clip box goes to the screen in one copy. The colours are the
// system's, taken again when they change; the label's offsets scale with the window's DPI. The same code paints
// into a device context a host hands in (WM_PRINTCLIENT), for snapshots. While redrawing is
// suspended nothing is painted: the control draws nothing then.
#pragma once
#include <windows.h>
#include <commctrl.h>

class CRVTreeCtrl;

class CTreePainter
{
public:
    explicit CTreePainter(CRVTreeCtrl& tree) : m_tree(tree) { TakeSystemColours(); }
    void OnPaint();
    // WM_SYSCOLORCHANGE: the system's colours anew.
    void OnSysColorChange() { TakeSystemColours(); }
    void OnPrintClient(HDC hDC);
    // The background is erased only while a drag or a button expansion runs; true when the
    // message was answered here.
    bool OnEraseBkgnd(LRESULT& result);

private:
    // Paints the clip rectangle of the client area into the target.
    void Paint(HDC hTarget, const RECT& clip);
    void RepaintLabels(HDC hDC);
    void TakeSystemColours();

    CRVTreeCtrl& m_tree;
    COLORREF m_highlight = 0;
    COLORREF m_highlightText = 0;
    COLORREF m_focusText = 0; // an item with only the focus mark
};
