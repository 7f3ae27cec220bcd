// Counted redraw suspension: repainting is off exactly while the count is above 0, switched
// off when the count leaves 0 and on when it returns to 0 (and again by a resume at 0).
// A paint that comes while the count is above 0 (a host pumping messages during a long series)
// leaves the screen as it is, since the control draws nothing then; the resume that ends the
// suspension brings the window up to date at once.
#pragma once
#include <vector>

class CTreeCtrl;

// Told when repainting goes off and just before it comes back on: what nobody can see while
// it is off (a mark moving from item to item) can wait for the end.
class IRedrawListener
{
public:
    virtual void OnRedrawSuspended() = 0;
    virtual void OnRedrawResuming() = 0;

protected:
    ~IRedrawListener() = default;
};

class CRedrawSuspension
{
public:
    explicit CRedrawSuspension(CTreeCtrl& control) : m_control(control) {}
    // Listeners are told in the order they were added.
    void AddListener(IRedrawListener* pListener) { m_listeners.push_back(pListener); }
    void Suspend();
    void Resume();
    int Count() const { return m_nCount; }
    bool IsSuspended() const { return m_nCount > 0; }
    // A paint was left undone while suspended.
    void OnPaintHeld() { m_bPaintHeld = true; }

private:
    CTreeCtrl& m_control;
    std::vector<IRedrawListener*> m_listeners;
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
