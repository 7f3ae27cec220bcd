#include "host/HostViewer.h"

void CHostViewer::SetViewer(IVisibilityManager* pVisibility, IView3DObjects* pView)
{
    m_visibility = pVisibility;
    m_view = pView;
}

void CHostViewer::Release()
{
    m_visibility.Release();
    m_view.Release();
    m_sink.Release();
}

void CHostViewer::LockSelection(bool locked)
{
    if (const CComPtr<IRavlinWindowSink> sink = m_sink) sink->SetSelectionLock(locked ? TRUE : FALSE);
}

bool CHostViewer::ShowKey(uint32_t key, bool shown)
{
    const CComPtr<IVisibilityManager> visibility = m_visibility;
    const CComPtr<IRavlinWindowSink> sink = m_sink;
    if (!visibility || !sink) return true;
    LONG locked = 0;
    sink->IsVisibilityLock(&locked);
    if (locked) return true;
    sink->SetVisibilityLock(TRUE);
    const HRESULT hr = shown ? visibility->SetVisible(key) : visibility->SetInvisible(key);
    sink->SetVisibilityLock(FALSE);
    return hr == S_OK;
}

bool CHostViewer::AskKeyShown(uint32_t key, LONG& on)
{
    const CComPtr<IVisibilityManager> visibility = m_visibility;
    if (!visibility) return false;
    visibility->GetVisibility(key, &on);
    return true;
}

bool CHostViewer::AskFirstSelectedKey(ULONG& key)
{
    const CComPtr<IRavlinWindowSink> sink = m_sink;
    if (!sink) return false;
    sink->GetFirstSelectedOrvaneItem(&key);
    return true;
}

bool CHostViewer::AskMayLock(uint32_t key)
{
    CComPtr<IViewNodeQuery> query;
    if (FAILED(m_view.QueryInterface(&query)) || !query) return false;
    LONG allowed = 0;
    query->CanLockNode(key, &allowed);
    return allowed != 0;
}

void CHostViewer::Redraw3D()
{
    if (const CComPtr<IView3DObjects> view = m_view) view->Draw();
}

void CHostViewer::OfferMenu(unsigned long mask)
{
    if (const CComPtr<IRavlinWindowSink> sink = m_sink) sink->SetMenuMask(mask);
}

void CHostViewer::TellSelectedTypeID(uint32_t typeID)
{
    if (const CComPtr<IRavlinWindowSink> sink = m_sink) sink->NotifySelectedTypeID(static_cast<int>(typeID));
}

void CHostViewer::ShowMenu(POINT screenPoint, long menuKey)
{
    if (const CComPtr<IRavlinWindowSink> sink = m_sink) sink->NotifyRButtonUp(0, screenPoint, static_cast<int>(menuKey));
}
