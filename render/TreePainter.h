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

class CRedrawSuspension;
class CTreeCtrl;
class CWindowScale;

// What the painter needs to know of the user's side.
class IPaintConditions
{
public:
    // A drag or a button's expansion runs: the control draws for itself, background and all.
    virtual bool ControlDrawsItself() const = 0;
    // The item whose label an edit box covers; null when no label is edited.
    virtual HTREEITEM EditedItem() const = 0;

protected:
    ~IPaintConditions() = default;
};

class CTreePainter
{
public:
    CTreePainter(CTreeCtrl& control, CRedrawSuspension& redraw, const CWindowScale& scale,
                 const IPaintConditions& conditions)
        : m_control(control), m_redraw(redraw), m_scale(scale), m_conditions(conditions)
    {
        TakeSystemColours();
    }
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

    CTreeCtrl& m_control;
    CRedrawSuspension& m_redraw;
    const CWindowScale& m_scale;
    const IPaintConditions& m_conditions;
    COLORREF m_highlight = 0;
    COLORREF m_highlightText = 0;
    COLORREF m_focusText = 0; // an item with only the focus mark
};
