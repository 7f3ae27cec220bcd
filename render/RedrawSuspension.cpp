#include "render/RedrawSuspension.h"

#include "platform/TreeCtrl.h"

void CRedrawSuspension::Suspend()
{
    if (m_nCount == 0) m_tree.SetRedraw(false);
    ++m_nCount;
}

void CRedrawSuspension::Resume()
{
    if (m_nCount > 0) --m_nCount;
    if (m_nCount > 0) return;
    m_tree.SetRedraw(true);
}
