// A remembered item: its handle and the serial number of the insertion that made it. It
// resolves to the item only while that very item is live, never to a later item that the
// control gave the same handle value.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <cstdint>

class CRVTreeCtrl;

class CItemRef
{
public:
    CItemRef() = default;
    CItemRef(const CRVTreeCtrl& tree, HTREEITEM hItem);
    // The item, or null when it is gone.
    HTREEITEM Get(const CRVTreeCtrl& tree) const;
    HTREEITEM Handle() const { return m_hItem; }

private:
    HTREEITEM m_hItem = nullptr;
    uint64_t m_nSerial = 0;
};
