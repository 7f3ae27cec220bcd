#include "host/HostMessenger.h"

namespace {
BYTE* AsData(HTREEITEM hItem)
{
    return reinterpret_cast<BYTE*>(hItem);
}
} // namespace

long CHostMessenger::Send(uint32_t typeID, HostMessage code, HTREEITEM hItem, const ItemRecord* pRecord)
{
    LONG result = 0;
    if (!hItem || !m_pIMessage) return 0;
    // Keep the handler alive through the call, whatever the host does inside it.
    CComPtr<IMessage> handler(m_pIMessage);
    handler->SendWithDataID(pRecord ? pRecord->dataID : 0, typeID, code, 4, AsData(hItem), &result);
    return result;
}

long CHostMessenger::SendForm2(uint32_t typeID, HostMessage code, HTREEITEM hItem)
{
    LONG result = 0;
    if (!m_pIMessage) return 0;
    CComPtr<IMessage> handler(m_pIMessage);
    handler->Send(typeID, code, 4, AsData(hItem), &result);
    return result;
}

long CHostMessenger::SendForm3(HostMessage code)
{
    LONG result = 0;
    if (!m_pIMessage) return 0;
    CComPtr<IMessage> handler(m_pIMessage);
    handler->Send(0, code, 0, nullptr, &result);
    return result;
}

long CHostMessenger::Send2(uint32_t typeID, HostMessage code, HTREEITEM hItem)
{
    LONG result = 0;
    if (!hItem || !m_pIMessage) return 0;
    CComPtr<IMessage2> message2;
    if (FAILED(m_pIMessage.QueryInterface(&message2)) || !message2) return 0;
    message2->Send(typeID, code, 4, AsData(hItem), &result);
    return result;
}
