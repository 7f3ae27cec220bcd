#include "selection/ItemLocks.h"

#include "tree/RVTreeCtrl.h"
#include "state/ItemPictures.h"

long CItemLocks::IsLocked(HTREEITEM hItem)
{
    const ItemRecord* const pRecord = hItem ? m_tree.GetRecord(hItem) : nullptr;
    return pRecord ? static_cast<long>(pRecord->bLocked) : 0;
}

bool CItemLocks::MayLock(const ItemRecord& record)
{
    if (record.nChildren != 0 || record.bIsAssembly) return true;
    return record.key != 0 && m_tree.Host().AskMayLock(record.key);
}

void CItemLocks::LockItem(HTREEITEM hItem, long bLock)
{
    if (!hItem) return;
    CRedrawScope noRedraw(m_tree.Redraw());
    ItemRecord* const pRecord = m_tree.GetRecord(hItem);
    const CItemRef item = m_tree.Ref(hItem);
    if (!pRecord || !MayLock(*pRecord)) return;
    // The host was asked: it may have removed the item meanwhile, or handed it another record.
    if (!m_tree.Resolve(item) || m_tree.GetRecord(hItem) != pRecord) return;
    pRecord->bLocked = static_cast<uint32_t>(bLock);
    if (bLock) {
        m_tree.Pictures().SetImage(hItem, pRecord->bIsAssembly ? kImageLockedAssembly : kImageLockedPart);
        m_tree.Expand(hItem, TVE_COLLAPSE);
    } else {
        m_tree.Pictures().SetImage(hItem, pRecord->bIsAssembly ? kImageAssembly : kImagePart);
    }
}
