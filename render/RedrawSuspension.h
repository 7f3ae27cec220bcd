// Counted redraw suspension: repainting is off exactly while the count is above 0, switched
// off when the count leaves 0 and on when it returns to 0 (and again by a resume at 0).
// A paint that comes while the count is above 0 (a host pumping messages during a long series)
// leaves the screen as it is, since the control draws nothing then; the resume that ends the
// suspension brings the window up to date at once.
#pragma once

class CTreeCtrl;

class CRedrawSuspension
{
public:
    explicit CRedrawSuspension(CTreeCtrl& tree) : m_tree(tree) {}
    void Suspend();
    void Resume();
    int Count() const { return m_nCount; }
    bool IsSuspended() const { return m_nCount > 0; }
    // A paint was left undone while suspended.
    void OnPaintHeld() { m_bPaintHeld = true; }

private:
    CTreeCtrl& m_tree;
    int m_nCount = 0;
    bool m_bPaintHeld = false;
};

// Suspends for a scope.
class CRedrawScope
{
public:
    explicit CRedrawScope(CRedrawSuspension& redraw) : m_redraw(redraw) { m_redraw.Suspend(); }
    ~CRedrawScope() { m_redraw.Resume(); }
    CRedrawScope(const CRedrawScope&) = delete;
    CRedrawScope& operator=(const CRedrawScope&) = delete;

private:
    CRedrawSuspension& m_redraw;
};
