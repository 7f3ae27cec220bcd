#include "RVHostKit/HostObjects.h"

// A method body of a host object. The Windows SDK's RVHOSTKIT_METHODIMP carries the nothrow that
// STDMETHOD gives the declarations; mingw-w64's lacks it, which clang reports as a mismatch.
#define RVHOSTKIT_METHODIMP COM_DECLSPEC_NOTHROW HRESULT STDMETHODCALLTYPE

namespace RVHostKit
{

namespace {

template <class I>
HRESULT Give(I* p, void** ppv)
{
    *ppv = p;
    p->AddRef();
    return S_OK;
}

} // namespace

// ---- CTestMessage ----

RVHOSTKIT_METHODIMP CTestMessage::QueryInterface(REFIID iid, void** ppv)
{
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IMessage)) return Give(static_cast<IMessage*>(this), ppv);
    if (IsEqualIID(iid, IID_IMessage2)) {
        m_log.Add(Format("IMessage::QueryInterface(IMessage2) -> %s", offerMessage2 ? "ok" : "none"));
        if (offerMessage2) return Give(static_cast<IMessage2*>(&m_message2), ppv);
    }
    return E_NOINTERFACE;
}

HRESULT CTestMessage::Answer(unsigned short wMsg, BYTE* data, LONG* pResult)
{
    if (onMessage) onMessage(wMsg, data);
    if (pResult) {
        const auto it = answers.find(wMsg);
        if (it != answers.end()) *pResult = it->second;
    }
    return S_OK;
}

RVHOSTKIT_METHODIMP CTestMessage::Send(ULONG wID, USHORT wMsg, ULONG Size, BYTE* data, LONG* pResult)
{
    m_log.Add(Format("IMessage::Send(wID=%lu, wMsg=%s, Size=%lu, data=%s)", wID, m_log.MessageText(wMsg).c_str(),
                     Size, m_log.HandleText(reinterpret_cast<uintptr_t>(data)).c_str()));
    return Answer(wMsg, data, pResult);
}

RVHOSTKIT_METHODIMP CTestMessage::SendWithDataID(ULONG dataID, ULONG wID, USHORT wMsg, ULONG Size, BYTE* data,
                                          LONG* pResult)
{
    m_log.Add(Format("IMessage::SendWithDataID(dataID=%lu, wID=%lu, wMsg=%s, Size=%lu, data=%s)", dataID,
                     wID, m_log.MessageText(wMsg).c_str(), Size,
                     m_log.HandleText(reinterpret_cast<uintptr_t>(data)).c_str()));
    return Answer(wMsg, data, pResult);
}

RVHOSTKIT_METHODIMP CTestMessage::CMessage2::Send(ULONG wID, USHORT wMsg, ULONG Size, BYTE* data, LONG* pResult)
{
    m_owner.m_log.Add(Format("IMessage2::Send(wID=%lu, wMsg=%s, Size=%lu, data=%s)", wID,
                             m_owner.m_log.MessageText(wMsg).c_str(), Size,
                             m_owner.m_log.HandleText(reinterpret_cast<uintptr_t>(data)).c_str()));
    return m_owner.Answer(wMsg, data, pResult);
}

// ---- CTestSink ----

RVHOSTKIT_METHODIMP CTestSink::QueryInterface(REFIID iid, void** ppv)
{
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IRavlinWindowSink)) return Give(this, ppv);
    return E_NOINTERFACE;
}

RVHOSTKIT_METHODIMP CTestSink::SetSelectionLock(LONG bLock)
{
    m_log.Add(Format("Sink::SetSelectionLock(%ld)", static_cast<long>(bLock)));
    selectionLock = bLock;
    return S_OK;
}

RVHOSTKIT_METHODIMP CTestSink::SetVisibilityLock(LONG bLock)
{
    m_log.Add(Format("Sink::SetVisibilityLock(%ld)", static_cast<long>(bLock)));
    visibilityLock = bLock;
    return S_OK;
}

RVHOSTKIT_METHODIMP CTestSink::IsSelectionLock(LONG* pbLock)
{
    m_log.Add("Sink::IsSelectionLock");
    if (pbLock) *pbLock = selectionLock;
    return S_OK;
}

RVHOSTKIT_METHODIMP CTestSink::IsVisibilityLock(LONG* pbLock)
{
    m_log.Add("Sink::IsVisibilityLock");
    if (pbLock) *pbLock = visibilityLock;
    return S_OK;
}

RVHOSTKIT_METHODIMP CTestSink::SetMenuMask(ULONG mask)
{
    m_log.Add(Format("Sink::SetMenuMask(0x%lX)", mask));
    return S_OK;
}

RVHOSTKIT_METHODIMP CTestSink::GetFirstSelectedOrvaneItem(ULONG* pKey)
{
    m_log.Add("Sink::GetFirstSelectedOrvaneItem");
    if (pKey) *pKey = firstSelectedKey;
    return S_OK;
}

RVHOSTKIT_METHODIMP CTestSink::NotifySelectedTypeID(int typeID)
{
    m_log.Add(Format("Sink::NotifySelectedTypeID(%d)", typeID));
    return S_OK;
}

RVHOSTKIT_METHODIMP CTestSink::NotifyRButtonUp(UINT nFlags, POINT point, int menuKey)
{
    m_log.Add(Format("Sink::NotifyRButtonUp(0x%X, (%ld,%ld), %d)", nFlags, point.x, point.y, menuKey));
    return S_OK;
}

// ---- CTestVisibility ----

RVHOSTKIT_METHODIMP CTestVisibility::QueryInterface(REFIID iid, void** ppv)
{
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IVisibilityManager)) return Give(this, ppv);
    return E_NOINTERFACE;
}

RVHOSTKIT_METHODIMP CTestVisibility::SetVisible(ULONG keyIn)
{
    m_log.Add(Format("Vis::SetVisible(%lu)", keyIn));
    const auto it = failures.find(keyIn);
    return it == failures.end() ? S_OK : it->second;
}

RVHOSTKIT_METHODIMP CTestVisibility::SetInvisible(ULONG keyIn)
{
    m_log.Add(Format("Vis::SetInvisible(%lu)", keyIn));
    const auto it = failures.find(keyIn);
    return it == failures.end() ? S_OK : it->second;
}

RVHOSTKIT_METHODIMP CTestVisibility::GetVisibility(ULONG keyIn, LONG* pOnOrOff)
{
    m_log.Add(Format("Vis::GetVisibility(%lu)", keyIn));
    const auto it = visibility.find(keyIn);
    if (pOnOrOff) *pOnOrOff = it == visibility.end() ? 0 : it->second;
    return S_OK;
}

// ---- CTestView3D ----

RVHOSTKIT_METHODIMP CTestView3D::QueryInterface(REFIID iid, void** ppv)
{
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IView3DObjects))
        return Give(static_cast<IView3DObjects*>(this), ppv);
    if (IsEqualIID(iid, IID_IViewNodeQuery)) {
        m_log.Add(Format("View3D::QueryInterface(IViewNodeQuery) -> %s", offerNodeQuery ? "ok" : "none"));
        if (offerNodeQuery) return Give(static_cast<IViewNodeQuery*>(this), ppv);
    }
    return E_NOINTERFACE;
}

RVHOSTKIT_METHODIMP CTestView3D::Draw()
{
    m_log.Add("View3D::Draw");
    return S_OK;
}

RVHOSTKIT_METHODIMP CTestView3D::IsNodeLoaded(ULONG key, LONG* pbLoaded)
{
    m_log.Add(Format("NodeQuery::IsNodeLoaded(%lu)", key));
    if (pbLoaded) *pbLoaded = 1;
    return S_OK;
}

RVHOSTKIT_METHODIMP CTestView3D::IsNodeVisible(ULONG key, LONG* pbVisible)
{
    m_log.Add(Format("NodeQuery::IsNodeVisible(%lu)", key));
    if (pbVisible) *pbVisible = 1;
    return S_OK;
}

RVHOSTKIT_METHODIMP CTestView3D::CanLockNode(ULONG key, LONG* pbCanLock)
{
    m_log.Add(Format("NodeQuery::CanLockNode(%lu)", key));
    const auto it = canLock.find(key);
    if (pbCanLock) *pbCanLock = it == canLock.end() ? 1 : it->second;
    return S_OK;
}

// ---- CTestManage3D ----

RVHOSTKIT_METHODIMP CTestManage3D::QueryInterface(REFIID iid, void** ppv)
{
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IManage3DObjects)) return Give(this, ppv);
    return E_NOINTERFACE;
}

} // namespace RVHostKit
