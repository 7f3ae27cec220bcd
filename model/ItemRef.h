// A remembered item: its handle and the serial number of the insertion that made it. It
// resolves to the item only while that very item is live, never to a later item that the
// control gave the same handle value.
#pragma once
#include "model/LiveItems.h"

#include <cstdint>

class CItemRef
{
public:
    CItemRef() = default;
    CItemRef(const CLiveItems& items, HTREEITEM hItem) : m_hItem(hItem), m_nSerial(items.SerialOf(hItem)) {}
    // A reference kept apart as its handle and serial and put together again.
    static CItemRef Remembered(HTREEITEM hItem, uint64_t serial)
    {
        CItemRef item;
        item.m_hItem = hItem;
        item.m_nSerial = serial;
        return item;
    }
    // The item, or null when it is gone.
    HTREEITEM Get(const CLiveItems& items) const
    {
        return m_nSerial != 0 && items.SerialOf(m_hItem) == m_nSerial ? m_hItem : nullptr;
    }
    HTREEITEM Handle() const { return m_hItem; }
    // The same insertion (two references to items that are gone are equal only to themselves).
    bool operator==(const CItemRef& other) const { return m_hItem == other.m_hItem && m_nSerial == other.m_nSerial; }
    bool operator!=(const CItemRef& other) const { return !(*this == other); }

private:
    HTREEITEM m_hItem = nullptr;
    uint64_t m_nSerial = 0;
};
