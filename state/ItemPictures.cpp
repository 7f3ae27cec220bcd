#include "state/ItemPictures.h"

#include "model/TreeItems.h"
#include "platform/TreeCtrl.h"
#include "render/RedrawSuspension.h"

int CItemPictures::BaseImage(const ItemRecord& record)
{
    if (record.bIsAssembly) return record.bLocked ? kImageLockedAssembly : kImageAssembly;
    return record.bLocked ? kImageLockedPart : kImagePart;
}

void CItemPictures::SetImage(HTREEITEM hItem, int image)
{
    if (hItem) m_control.SetItemImage(hItem, image, image);
}

void CItemPictures::SetStatePicture(HTREEITEM hItem, UINT index)
{
    // Only the low four bits of the index fit in the state image field.
    if (hItem) m_control.SetItemState(hItem, (index << 12) & TVIS_STATEIMAGEMASK, TVIS_STATEIMAGEMASK);
}

UINT CItemPictures::GetStatePicture(HTREEITEM hItem)
{
    return hItem ? (m_control.GetItemState(hItem, TVIS_STATEIMAGEMASK) >> 12) : 0;
}

void CItemPictures::SetNormalIconState(HTREEITEM hItem)
{
    if (!hItem) return;
    const ItemRecord* const pRecord = m_items.GetRecord(hItem);
    if (!pRecord) return;
    SetStatePicture(hItem, pRecord->state ? kStateOn : kStateOff);
}

void CItemPictures::SetFailState(HTREEITEM hItem, long bOn)
{
    if (bOn)
        SetStatePicture(hItem, kStateFailed);
    else
        SetNormalIconState(hItem);
}

bool CItemPictures::GetFailState(HTREEITEM hItem)
{
    return hItem && GetStatePicture(hItem) == kStateFailed;
}

void CItemPictures::SetItemGUIState(HTREEITEM hItem, long bOn)
{
    if (!hItem) return;
    // An item without a record is not counted by its parent: leave it (and the count) alone.
    const ItemRecord* const pRecord = m_items.GetRecord(hItem);
    if (!pRecord || pRecord->bIsAssembly) return;
    if (const HTREEITEM hParent = m_items.GetParent(hItem)) {
        ItemRecord* const pParent = m_items.GetRecord(hParent);
        if (pParent && static_cast<uint32_t>(bOn) != m_items.GetHTIState(hParent)) {
            if (bOn)
                ++pParent->nChildrenOn;
            else
                --pParent->nChildrenOn;
        }
    }
    SetStatePicture(hItem, bOn ? kStateOn : kStateOff);
}

void CItemPictures::SetMarkImage(HTREEITEM hItem, long bOn, int markImage)
{
    if (!hItem) return;
    if (bOn) {
        SetImage(hItem, markImage);
        return;
    }
    if (const ItemRecord* const pRecord = m_items.GetRecord(hItem)) SetImage(hItem, BaseImage(*pRecord));
}

bool CItemPictures::IsPhantomIcon(HTREEITEM hItem)
{
    if (!hItem) return false;
    TVITEMW item{};
    item.mask = TVIF_HANDLE | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    item.hItem = hItem;
    return m_control.GetItem(item) && item.iImage == kImagePhantom && item.iSelectedImage == kImagePhantom;
}

void CItemPictures::SetAssemblyIcon(HTREEITEM hItem, long bOn)
{
    if (!hItem) return;
    TVITEMW item{};
    item.mask = TVIF_HANDLE | TVIF_CHILDREN;
    item.hItem = hItem;
    if (!m_control.GetItem(item)) return;
    item.cChildren = bOn ? 1 : 0;
    m_control.SetItem(item);
    if (ItemRecord* const pRecord = m_items.GetRecord(hItem)) pRecord->bAssemblyIcon = static_cast<uint32_t>(bOn);
}

long CItemPictures::GetAssemblyIcon(HTREEITEM hItem)
{
    const ItemRecord* const pRecord = hItem ? m_items.GetRecord(hItem) : nullptr;
    return pRecord ? static_cast<long>(pRecord->bAssemblyIcon) : 0;
}

void CItemPictures::SetProhibitedIcon(HTREEITEM hItem, long bOn)
{
    if (!hItem) return;
    CRedrawScope noRedraw(m_redraw);
    const ItemRecord* const pRecord = m_items.GetRecord(hItem);
    if (!pRecord) return;
    const bool locked = pRecord->bLocked != 0;
    if (pRecord->bIsAssembly) {
        if (locked)
            SetImage(hItem, kImageLockedAssembly);
        else if (!bOn)
            SetImage(hItem, kImageAssembly);
        return;
    }
    if (bOn)
        SetImage(hItem, locked ? kImageProhibitedLocked : kImageProhibited);
    else
        SetImage(hItem, locked ? kImageLockedPart : kImagePart);
}
