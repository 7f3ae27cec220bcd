#include "render/RedrawSuspension.h"

#include "platform/TreeCtrl.h"

#include <windows.h>

void CRedrawSuspension::Suspend()
{
    if (m_nCount == 0) {
        m_control.SetRedraw(false);
        for (IRedrawListener* pListener : m_listeners) pListener->OnRedrawSuspended();
    }
    ++m_nCount;
}

void CRedrawSuspension::Resume()
{
    const bool wasSuspended = m_nCount > 0;
    if (m_nCount > 0) --m_nCount;
    if (m_nCount > 0) return;
    if (wasSuspended)
        for (IRedrawListener* pListener : m_listeners) pListener->OnRedrawResuming();
    m_control.SetRedraw(true);
    if (!m_bPaintHeld) return;
    // The screen still shows the rows as they were before the suspension: one paint now.
    m_bPaintHeld = false;
    const HWND hWnd = m_control.GetHwnd();
    ::InvalidateRect(hWnd, nullptr, FALSE);
    ::UpdateWindow(hWnd);
}
