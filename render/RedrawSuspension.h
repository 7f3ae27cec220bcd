// Counted redraw suspension: repainting is off exactly while the count is above 0, switched
// off when the count leaves 0 and on when it returns to 0 (and again by a resume at 0).
#pragma once

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
    explicit CRedrawSuspension(CTreeCtrl& tree) : m_tree(tree) {}
    void SetListener(IRedrawListener* pListener) { m_pListener = pListener; }
    void Suspend();
    void Resume();
    int Count() const { return m_nCount; }

private:
    CTreeCtrl& m_tree;
    IRedrawListener* m_pListener = nullptr;
    int m_nCount = 0;
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
