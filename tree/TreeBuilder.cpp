#include "tree/TreeBuilder.h"

#include "host/HostDoor.h"
#include "interaction/MousePoint.h"
#include "model/TreeItems.h"
#include "model/UndoStack.h"
#include "platform/TreeCtrl.h"

#include "model/BranchUndo.h"
#include "state/ItemPictures.h"

#include <memory>
#include <string>

namespace {
// Items and undo actions are recorded once the tree holds this many items.
constexpr UINT kUndoThreshold = 3;
} // namespace

HTREEITEM CTreeBuilder::AddAssembly(const wchar_t* name, uint32_t typeID, uint32_t dataID, bool isolated)
{
    if (!name) return nullptr;
    std::unique_ptr<ItemRecord> record(new ItemRecord());
    record->typeID = typeID;
    record->dataID = dataID;
    record->bIsAssembly = 1;
    record->bIsolated = isolated ? 1 : 0;

    NewItem assembly;
    assembly.hParent = TVI_ROOT;
    assembly.text = name;
    assembly.pRecord = record.get();
    assembly.image = kImageAssembly;
    const HTREEITEM hItem = m_inserter.InsertItem(Request(assembly));
    if (!hItem) return nullptr;
    ItemRecord* const pRecord = record.release(); // the item owns it now
    m_host.TellAdded(hItem, *pRecord, true);
    return hItem;
}

HTREEITEM CTreeBuilder::AddTreeItem(const wchar_t* name, HTREEITEM hParent, ItemRecord* pRecord, CItemRef* pAdded)
{
    return InsertChild(name, hParent, TVI_LAST, pRecord, pAdded);
}

HTREEITEM CTreeBuilder::InsertTreeItem(const wchar_t* name, HTREEITEM hParent, HTREEITEM hInsertAfter,
                                       ItemRecord* pRecord)
{
    if (!hInsertAfter) hInsertAfter = TVI_FIRST;
    if (hInsertAfter != TVI_FIRST && hInsertAfter != TVI_LAST && !IsChildOf(hInsertAfter, hParent))
        return nullptr;
    return InsertChild(name, hParent, hInsertAfter, pRecord);
}

bool CTreeBuilder::IsChildOf(HTREEITEM hItem, HTREEITEM hParent)
{
    return hItem && hParent && m_items.IsLiveItem(hItem) && m_control.GetParentItem(hItem) == hParent;
}

HTREEITEM CTreeBuilder::InsertChild(const wchar_t* name, HTREEITEM hParent, HTREEITEM hInsertAfter,
                                    ItemRecord* pRecord, CItemRef* pAdded)
{
    if (!hParent) return nullptr;
    std::unique_ptr<ItemRecord> owned(pRecord ? nullptr : new ItemRecord());
    if (!pRecord) pRecord = owned.get();

    NewItem part;
    part.hParent = hParent;
    part.hInsertAfter = hInsertAfter;
    part.text = name ? name : kUnnamed;
    part.pRecord = pRecord;
    part.image = kImagePart;
    part.stateImage = INDEXTOSTATEIMAGEMASK(kStateOff);
    const HTREEITEM hItem = CreateItem(part);
    if (!hItem) return nullptr;
    owned.release(); // the item owns it now: the record just attached, no need to ask for it
    if (pAdded) *pAdded = m_items.Ref(hItem);
    m_host.TellAdded(hItem, *pRecord, false);
    return hItem;
}

TVINSERTSTRUCTW CTreeBuilder::Request(const NewItem& item)
{
    TVINSERTSTRUCTW insert{};
    insert.hParent = item.hParent;
    insert.hInsertAfter = item.hInsertAfter;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM;
    insert.item.pszText = const_cast<wchar_t*>(item.text ? item.text : L""); // the control copies it
    insert.item.lParam = reinterpret_cast<LPARAM>(item.pRecord);
    if (item.image >= 0) {
        insert.item.mask |= TVIF_IMAGE | TVIF_SELECTEDIMAGE;
        insert.item.iImage = insert.item.iSelectedImage = item.image;
    }
    if (item.stateImage != 0) {
        insert.item.mask |= TVIF_STATE;
        insert.item.state = item.stateImage;
        insert.item.stateMask = TVIS_STATEIMAGEMASK;
    }
    return insert;
}

HTREEITEM CTreeBuilder::CreateItem(const NewItem& item)
{
    if (!item.hParent || item.hParent == TVI_ROOT) return nullptr;
    const HTREEITEM hParent = item.hParent;

    // The mark is never cleared once set (not even when the last child goes), so a parent
    // that has counted a child already shows it.
    ItemRecord* const pParentRecord = m_items.GetRecord(hParent);
    if (!pParentRecord || pParentRecord->nChildren == 0) m_control.SetItemChildren(hParent, 1);

    ItemRecord* const pRecord = item.pRecord;
    uint32_t key = 0;
    if (pRecord) {
        key = pRecord->key;
        if (pParentRecord) {
            pRecord->typeID = pParentRecord->typeID;
            pRecord->dataID = pParentRecord->dataID;
            pRecord->bIsolated = pParentRecord->bIsolated;
            ++pParentRecord->nChildren;
        }
    }

    const HTREEITEM hItem = m_inserter.InsertItem(Request(item));
    if (!hItem) {
        // The control refused: take back the parent's count; the record was not attached.
        if (pRecord && pParentRecord && m_items.IsLiveItem(hParent) && m_items.GetRecord(hParent) == pParentRecord)
            --pParentRecord->nChildren;
        return nullptr;
    }

    // The tree knows its items: no need to ask the control to count them.
    if (m_items.LiveItemCount() >= kUndoThreshold)
        m_undo.PushInsertion(hItem);
    else
        m_undo.Clear();

    if (key != 0) m_items.RegisterItemKey(hItem, key);
    return hItem;
}

void CTreeBuilder::InsertNewItem(uint32_t key, const wchar_t* name, HTREEITEM hParent)
{
    if (!hParent) hParent = m_control.HitTest(m_point.Get());
    if (!hParent) return;
    const ItemRecord* const pParent = m_items.GetRecord(hParent);
    const CItemRef parent = m_items.Ref(hParent);
    if (!m_host.MayAddUnder(hParent, pParent)) return;
    // The host may have removed the target while it was asked.
    if (!m_items.Resolve(parent)) return;

    auto* const pRecord = new ItemRecord();
    pRecord->key = key;
    // The host hears of the new item and may remove it (and add others) meanwhile.
    CItemRef item;
    const HTREEITEM hItem = AddTreeItem(name, hParent, pRecord, &item);
    if (!hItem) {
        delete pRecord;
        return;
    }
    if (m_items.Resolve(item)) {
        const ItemRecord* const pNew = m_items.GetRecord(hItem);
        m_host.TellCreated(hItem, pNew);
    }
    if (m_items.Resolve(item)) m_items.UnregisterAncestorKeys(hItem);
    m_control.InvalidateAll();
}
