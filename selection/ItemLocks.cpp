#include "selection/ItemLocks.h"

#include "host/HostDoor.h"
#include "model/TreeItems.h"
#include "platform/TreeCtrl.h"
#include "render/RedrawSuspension.h"
#include "state/ItemPictures.h"

long CItemLocks::IsLocked(HTREEITEM hItem)
{
    const ItemRecord* const pRecord = hItem ? m_items.GetRecord(hItem) : nullptr;
    return pRecord ? static_cast<long>(pRecord->bLocked) : 0;
}

bool CItemLocks::MayLock(const ItemRecord& record)
{
    if (record.nChildren != 0 || record.bIsAssembly) return true;
    return record.key != 0 && m_host.AskMayLock(record.key);
}

void CItemLocks::LockItem(HTREEITEM hItem, long bLock)
{
    if (!hItem) return;
    CRedrawScope noRedraw(m_redraw);
    ItemRecord* const pRecord = m_items.GetRecord(hItem);
    const CItemRef item = m_items.Ref(hItem);
    if (!pRecord || !MayLock(*pRecord)) return;
    // The host was asked: it may have removed the item meanwhile, or handed it another record.
    if (!m_items.Resolve(item) || m_items.GetRecord(hItem) != pRecord) return;
    pRecord->bLocked = static_cast<uint32_t>(bLock);
    if (bLock) {
        m_pictures.SetImage(hItem, pRecord->bIsAssembly ? kImageLockedAssembly : kImageLockedPart);
        m_control.Expand(hItem, TVE_COLLAPSE);
    } else {
        m_pictures.SetImage(hItem, pRecord->bIsAssembly ? kImageAssembly : kImagePart);
    }
}
