// The sender of host messages: holds the host's IMessage handler (one counted reference) and
// puts each message on the wire in one of its four forms. Every result starts at 0, so without
// a handler every question reads as consent; the handler's HRESULT is never looked at.
#pragma once
#include "RVWindow.h"
#include "host/HostMessages.h"
#include "model/ItemRecord.h"
#include "platform/ComPtr.h"

#include <commctrl.h>

class CHostMessenger
{
public:
    void SetHandler(IMessage* pIMessage) { m_pIMessage = pIMessage; }
    IMessage* Handler() const { return m_pIMessage.get(); }
    void Release() { m_pIMessage.Release(); }

    // Form 1: SendWithDataID(record's dataID, typeID, code, 4, item). Nothing for item 0;
    // dataID 0 for an item without a record.
    long Send(uint32_t typeID, HostMessage code, HTREEITEM hItem, const ItemRecord* pRecord);
    // Form 2: Send(typeID, code, 4, item).
    long SendForm2(uint32_t typeID, HostMessage code, HTREEITEM hItem);
    // Form 3: Send(0, code, 0, null).
    long SendForm3(HostMessage code);
    // Form 4: IMessage2::Send(typeID, code, 4, item), IMessage2 asked for each time.
    long Send2(uint32_t typeID, HostMessage code, HTREEITEM hItem);

private:
    CComPtr<IMessage> m_pIMessage;
};
