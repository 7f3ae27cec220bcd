#include "tree/BranchCopies.h"

#include "model/TreeItems.h"
#include "model/UndoStack.h"
#include "platform/TreeCtrl.h"
#include "selection/ItemLocks.h"
#include "tree/ItemRemoval.h"
#include "tree/TreeBuilder.h"

#include "tree/BranchWalk.h"
#include "model/BranchUndo.h"
#include "state/ItemPictures.h"

#include <cwchar>
#include <map>
#include <memory>
#include <vector>

namespace {
// A copy's item, with its label, record and state picture.
NewItem AsNewItem(const ItemCopy& copy, HTREEITEM hParent, HTREEITEM hInsertAfter)
{
    NewItem item;
    item.hParent = hParent;
    item.hInsertAfter = hInsertAfter;
    item.text = copy.pszText;
    item.pRecord = copy.pRecord;
    item.stateImage = copy.state & TVIS_STATEIMAGEMASK;
    return item;
}
} // namespace

bool CBranchCopies::CollectBranch(ItemCopyList& list, HTREEITEM hItem, HTREEITEM hParentId, const VisitFn& visit)
{
    if (!hItem) return false;
    // Each child copy names its source's parent: the item the walk last took one level up.
    std::vector<HTREEITEM> levels;
    bool taken = false;
    // The walk follows the live items' links (it calls nothing out): only the copies ask the
    // control, for each item's label.
    m_items.LiveItems().WalkBranch(hItem, 0, [&](HTREEITEM h, int level, int& childLevel) {
        auto copy = std::make_unique<ItemCopy>();
        ItemRecord* const pSource = CaptureItem(*copy, h);
        const bool leftOut = pSource && pSource->bIsAssembly;
        if (visit) visit(h, pSource, level, leftOut);
        if (leftOut) return false; // with its whole branch
        copy->hParent = level == 0 ? hParentId : levels[static_cast<size_t>(level - 1)];
        copy->hInsertAfter = TVI_LAST;
        list.Add(copy.release());
        levels.resize(static_cast<size_t>(level) + 1);
        levels[static_cast<size_t>(level)] = h;
        childLevel = level + 1;
        taken = true;
        return true;
    });
    return taken;
}

ItemRecord* CBranchCopies::CaptureItem(ItemCopy& copy, HTREEITEM hItem)
{
    wchar_t text[ItemCopy::kTextCapacity] = {};
    TVITEMW item{};
    item.mask = TVIF_HANDLE | TVIF_TEXT | TVIF_PARAM | TVIF_STATE;
    item.hItem = hItem;
    item.stateMask = 0xFFFF;
    item.pszText = text;
    item.cchTextMax = ItemCopy::kTextCapacity;
    m_control.GetItem(item);

    copy.mask = TVIF_TEXT | TVIF_PARAM | TVIF_STATE;
    copy.hItem = hItem;
    copy.stateMask = TVIS_STATEIMAGEMASK;
    // A label that filled the buffer may be longer: a copy keeps the whole of it.
    const wchar_t* const pText = item.pszText ? item.pszText : L"";
    if (std::wcslen(pText) + 1 >= static_cast<size_t>(ItemCopy::kTextCapacity))
        copy.SetText(m_control.GetItemText(hItem).c_str());
    else
        copy.SetText(pText);
    delete copy.pRecord;
    copy.pRecord = new ItemRecord();
    if (const auto* pSource = reinterpret_cast<const ItemRecord*>(item.lParam)) {
        *copy.pRecord = *pSource;
        copy.state = INDEXTOSTATEIMAGEMASK(pSource->state ? kStateOn : kStateOff);
    } else {
        copy.state = item.state;
    }
    return reinterpret_cast<ItemRecord*>(item.lParam);
}

ItemCopy* CBranchCopies::CloneItemCopy(const ItemCopy& copy)
{
    auto* clone = new ItemCopy();
    clone->hParent = copy.hParent;
    clone->hInsertAfter = copy.hInsertAfter;
    clone->mask = copy.mask;
    clone->hItem = copy.hItem;
    clone->state = copy.state;
    clone->stateMask = copy.stateMask;
    clone->pszText = copy.pszText;
    clone->ownsText = false;
    clone->cchTextMax = copy.cchTextMax;
    clone->pRecord = new ItemRecord(*copy.pRecord);
    return clone;
}

HTREEITEM CBranchCopies::PasteAsSiblings(HTREEITEM hTarget, const ItemCopyList& list, bool before)
{
    const HTREEITEM hReceiver = hTarget ? m_items.GetParent(hTarget) : nullptr;
    if (!hReceiver) return nullptr;
    return Paste(hReceiver, hTarget, list, true, before);
}

HTREEITEM CBranchCopies::PasteAsChildren(HTREEITEM hTarget, const ItemCopyList& list)
{
    if (!hTarget) return nullptr;
    const ItemRecord* const pTarget = m_items.GetRecord(hTarget);
    if (!m_control.GetChildItem(hTarget) && pTarget && pTarget->key != 0) return nullptr;
    return Paste(hTarget, hTarget, list, false, false);
}

HTREEITEM CBranchCopies::Paste(HTREEITEM hReceiver, HTREEITEM hTarget, const ItemCopyList& list, bool siblings,
                               bool before)
{
    const ItemRecord* const pReceiver = m_items.GetRecord(hReceiver);
    const uint32_t typeID = pReceiver ? pReceiver->typeID : 0;
    const uint32_t dataID = pReceiver ? pReceiver->dataID : 0;
    if (list.GetCount() == 0) return nullptr;
    const ItemCopy& first = *list.GetData()[0];

    // Items of an isolated assembly move only within their own data set.
    const bool isolated = (pReceiver && pReceiver->bIsolated) || (first.pRecord && first.pRecord->bIsolated);
    if (isolated && !(pReceiver && first.pRecord && pReceiver->dataID == first.pRecord->dataID)) return nullptr;

    HTREEITEM hFirstAfter = TVI_LAST;
    if (siblings) {
        hFirstAfter = hTarget;
        if (before) {
            hFirstAfter = m_control.GetPrevSiblingItem(hTarget);
            if (!hFirstAfter) hFirstAfter = TVI_FIRST;
        }
    }
    // Where each copy goes, by its source's parent: the receiver, or the copy made of that
    // parent. They are held by reference: locking a copy asks the host, who may remove items
    // meanwhile and add others that take their handles.
    std::map<HTREEITEM, CItemRef> created;
    created[first.hParent] = m_items.Ref(hReceiver);
    CItemRef root;
    for (int i = 0; i < list.GetCount(); ++i) {
        const ItemCopy& copy = *list.GetData()[i];
        const auto parent = created.find(copy.hParent);
        // A copy whose parent's copy was not created, or has gone, is not created either.
        const HTREEITEM hParent = parent == created.end() ? nullptr : m_items.Resolve(parent->second);
        if (!hParent) continue;
        std::unique_ptr<ItemCopy> clone(CloneItemCopy(copy));
        ItemRecord& record = *clone->pRecord;
        // The copy's children are counted again as they are created under it.
        record.nChildren = 0;
        record.nChildrenOn = 0;
        // The host's identifier inside a data set means nothing in another one.
        if (dataID == 0 || dataID != record.dataID) record.dataItemID = 0;
        if (record.typeID != typeID) {
            record.typeID = typeID;
            record.dataID = dataID;
        }

        const HTREEITEM hNew =
            m_builder.CreateItem(AsNewItem(*clone, hParent, siblings && i == 0 ? hFirstAfter : TVI_LAST));
        if (!hNew) continue;
        clone->pRecord = nullptr; // the item owns it now
        if (record.state != 0) {
            ItemRecord* const pParent = m_items.GetRecord(hParent);
            if (pParent && pParent->nChildrenOn < pParent->nChildren) ++pParent->nChildrenOn;
        }
        const CItemRef added = m_items.Ref(hNew);
        created[copy.hItem] = added;
        if (root == CItemRef()) root = added;
        // Asks the host (the lock's permission).
        if (record.bLocked) m_locks.LockItem(hNew, 1);
    }

    const HTREEITEM hRoot = m_items.Resolve(root);
    if (hRoot) {
        m_items.UnregisterAncestorKeys(hRoot);
        m_undo.PushInsertion(hRoot);
    }
    return hRoot;
}

HTREEITEM CBranchCopies::CreateFromCopy(ItemCopy& copy, HTREEITEM hParent, HTREEITEM hInsertAfter)
{
    ItemRecord* const pRecord = copy.pRecord;
    if (!pRecord) return nullptr;
    // The copy's children are counted again as they are created under it, and the host's
    // identifier inside a data set means nothing in another one.
    pRecord->nChildren = 0;
    pRecord->nChildrenOn = 0;
    const ItemRecord* const pParent = m_items.GetRecord(hParent);
    const uint32_t dataID = pParent ? pParent->dataID : 0;
    if (dataID == 0 || dataID != pRecord->dataID) pRecord->dataItemID = 0;

    const HTREEITEM hNew = m_builder.CreateItem(AsNewItem(copy, hParent, hInsertAfter));
    if (!hNew) return nullptr;
    copy.pRecord = nullptr; // the item owns it now
    if (pRecord->state != 0) {
        ItemRecord* const pCounted = m_items.GetRecord(hParent);
        if (pCounted && pCounted->nChildrenOn < pCounted->nChildren) ++pCounted->nChildrenOn;
    }
    if (!pRecord->bLocked) return hNew;
    const CItemRef added = m_items.Ref(hNew);
    m_locks.LockItem(hNew, 1); // asks the host (the lock's permission)
    return m_items.Resolve(added);
}

HTREEITEM CBranchCopies::CopyBranch(HTREEITEM hSource, HTREEITEM hNewParent)
{
    if (!hSource || !hNewParent || hNewParent == TVI_ROOT) return nullptr;
    if (!m_items.IsLiveItem(hSource) || !m_items.IsLiveItem(hNewParent)) return nullptr;
    // The copy of each level goes below the copy of the level above it. Copies are held by
    // reference: locking one asks the host, who may remove items and add others meanwhile.
    std::vector<CItemRef> copies{m_items.Ref(hNewParent)};
    CItemRef root;
    WalkBranch(m_control, m_items, hSource, 0, [&](HTREEITEM hItem, int level, int& childLevel) {
        const HTREEITEM hParent = m_items.Resolve(copies[static_cast<size_t>(level)]);
        if (!hParent) return false; // nothing to copy it into
        ItemCopy copy;
        CaptureItem(copy, hItem);
        const HTREEITEM hNew = CreateFromCopy(copy, hParent, TVI_LAST);
        if (!hNew) return false; // nothing to copy its children into
        if (level == 0) root = m_items.Ref(hNew);
        copies.resize(static_cast<size_t>(level) + 2);
        copies[static_cast<size_t>(level) + 1] = m_items.Ref(hNew);
        childLevel = level + 1;
        return true;
    });
    return m_items.Resolve(root);
}

HTREEITEM CBranchCopies::MoveBranchBefore(HTREEITEM hSource, HTREEITEM hNewParent, HTREEITEM hInsertAfter)
{
    if (!m_items.IsLiveItem(hSource) || !m_items.IsLiveItem(hNewParent)) return nullptr;
    const CItemRef source = m_items.Ref(hSource);
    ItemCopy copy;
    CaptureItem(copy, hSource);
    const HTREEITEM hNew = CreateFromCopy(copy, hNewParent, hInsertAfter ? hInsertAfter : TVI_FIRST);
    if (!hNew) return nullptr;
    const CItemRef moved = m_items.Ref(hNew);
    // Each child is copied before it is removed; a child that cannot be copied, or that stays
    // (the host's doing), stays where it is. Copying asks the host: every item is resolved
    // again after it.
    for (;;) {
        const HTREEITEM hFrom = m_items.Resolve(source);
        const HTREEITEM hTo = m_items.Resolve(moved);
        const HTREEITEM hChild = hFrom && hTo ? m_control.GetChildItem(hFrom) : nullptr;
        if (!hChild) break;
        const CItemRef child = m_items.Ref(hChild);
        if (!CopyBranch(hChild, hTo)) break;
        if (m_items.Resolve(child)) m_removal.RemoveTreeItem(hChild);
        if (m_items.Resolve(child)) break;
    }
    return m_items.Resolve(moved);
}
