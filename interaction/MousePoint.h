// The last mouse point: where the last press or click was. Every key and menu command acts on
// the item there. Before the first click or right press it hits nothing.
#pragma once
#include "platform/TreeCtrl.h"

class CMousePoint
{
public:
    explicit CMousePoint(CTreeCtrl& control) : m_control(control) {}

    POINT Get() const { return m_pt; }
    void Set(POINT pt) { m_pt = pt; }
    // The item at the point, null for none.
    HTREEITEM HitItem(UINT* pFlags = nullptr) { return m_control.HitTest(m_pt, pFlags); }

private:
    CTreeCtrl& m_control;
    POINT m_pt{-1, -1};
};
