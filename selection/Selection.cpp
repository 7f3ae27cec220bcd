#include "selection/Selection.h"

#include "tree/BranchWalk.h"
#include "host/HostDoor.h"
#include "model/TreeItems.h"
#include "platform/TreeCtrl.h"

#include <vector>

bool CSelection::IsMarked(HTREEITEM hItem)
{
    return (m_control.GetItemState(hItem, TVIS_SELECTED) & TVIS_SELECTED) != 0;
}

void CSelection::Mark(HTREEITEM hItem, bool selected)
{
    m_control.SetItemState(hItem, selected ? TVIS_SELECTED : 0, TVIS_SELECTED);
}

void CSelection::Lock(bool locked)
{
    m_host.LockSelection(locked);
}

void CSelection::Empty(CGrowArray<HTREEITEM>& list)
{
    list.SetSize(0);
    list.FreeExtra();
}

void CSelection::SetFocusItem(HTREEITEM hItem)
{
    if (m_bFocusDeferred) {
        m_hCurrentItem = hItem;
        return;
    }
    if (m_hCurrentItem && m_items.IsLiveItem(m_hCurrentItem)) m_control.SetItemState(m_hCurrentItem, 0, kFocusedMark);
    if (hItem) m_control.SetItemState(hItem, kFocusedMark, kFocusedMark);
    m_hCurrentItem = hItem;
}

void CSelection::OnRedrawSuspended()
{
    m_bFocusDeferred = true;
    m_focusMarked = CItemRef(m_items.LiveItems(), m_hCurrentItem);
}

void CSelection::OnRedrawResuming()
{
    m_bFocusDeferred = false;
    const HTREEITEM hMarked = m_focusMarked.Get(m_items.LiveItems());
    m_focusMarked = CItemRef();
    if (hMarked == m_hCurrentItem) return;
    if (hMarked) m_control.SetItemState(hMarked, 0, kFocusedMark);
    if (m_hCurrentItem && m_items.IsLiveItem(m_hCurrentItem))
        m_control.SetItemState(m_hCurrentItem, kFocusedMark, kFocusedMark);
}

void CSelection::SelectItem(HTREEITEM hItem, bool bNotify, bool bAppend, bool bIsOrvane)
{
    if (!hItem) return;
    // Every call out below may remove the item and give its handle to another.
    const CItemRef item = m_items.Ref(hItem);
    Lock(true);
    if (m_items.Resolve(item)) SetFocusItem(hItem);
    const ItemRecord* const pRecord = m_items.Resolve(item) ? m_items.GetRecord(hItem) : nullptr;
    const ItemRecord words = pRecord ? *pRecord : ItemRecord{};
    if (bNotify) m_host.TellSelectionBegins(hItem, words);
    if (m_items.Resolve(item) && !IsMarked(hItem)) {
        Mark(hItem, true);
        if (!IsListed(hItem)) Append(hItem);
    }
    if (bNotify && words.typeID != 0) m_host.TellSelected(hItem, words, bAppend);
    if (bIsOrvane && words.key != 0) {
        for (const CItemRef& twin : m_items.KeyItems(words.key)) {
            const HTREEITEM hTwin = m_items.Resolve(twin);
            if (!hTwin || twin == item || IsMarked(hTwin)) continue;
            Mark(hTwin, true);
            if (!IsListed(hTwin)) Append(hTwin);
        }
    }
    if (bNotify) m_host.TellSelectionEnds(hItem, words);
    Lock(false);
}

void CSelection::DeselectItem(HTREEITEM hItem, bool bNotify, bool bKeyTwins)
{
    if (!hItem) return;
    const CItemRef item = m_items.Ref(hItem);
    Lock(true);
    if (bNotify) m_host.TellSelectionBegins();
    const ItemRecord* const pRecord = m_items.Resolve(item) ? m_items.GetRecord(hItem) : nullptr;
    if (m_items.Resolve(item) && hItem == m_hCurrentItem) SetFocusItem(nullptr);

    std::vector<CItemRef> targets;
    if (bKeyTwins && pRecord && pRecord->key != 0) targets = m_items.KeyItems(pRecord->key);
    if (targets.empty()) targets.push_back(item);
    for (const CItemRef& target : targets) {
        const HTREEITEM t = m_items.Resolve(target);
        if (!t || !IsMarked(t)) continue;
        // Off the list with its mark, before the host hears of it and may select it again.
        Mark(t, false);
        Unlist(t);
        const ItemRecord* const pTarget = m_items.GetRecord(t);
        if (bNotify && pTarget && pTarget->typeID != 0) m_host.TellDeselected(t, *pTarget);
    }
    if (const HTREEITEM hNow = m_items.Resolve(item)) NotifyBranchDeselected(hNow);
    if (bNotify) m_host.TellSelectionEnds();
    Lock(false);
}

void CSelection::OnItemDeleting(HTREEITEM hItem)
{
    // The host sees what deselecting a leaf shows it: the lock pair. The item's marks go with
    // the item, so only the lists are put right, without a message to the control.
    Lock(true);
    if (hItem == m_hCurrentItem) m_hCurrentItem = nullptr;
    Unlist(hItem);
    Lock(false);
}

void CSelection::NotifyBranchDeselected(HTREEITEM hItem)
{
    // Every item below, depth first, selected or not; items without a record are passed by.
    for (HTREEITEM hChild = m_control.GetChildItem(hItem); hChild;) {
        const CItemRef child = m_items.Ref(hChild);
        WalkBranch(m_control, m_items, hChild, 0, [&](HTREEITEM x, int, int&) {
            if (const ItemRecord* const pRecord = m_items.GetRecord(x)) m_host.TellDeselectedByType(pRecord->typeID, x);
            return true;
        });
        hChild = m_items.Resolve(child) ? m_control.GetNextSiblingItem(hChild) : nullptr;
    }
}

void CSelection::ClearSelection()
{
    Lock(true);
    m_host.TellSelectionBegins();
    SetFocusItem(nullptr);
    // The items selected now, by reference: the host hears of each deselection and may remove
    // items or select others meanwhile. What it selects while it hears stays selected.
    std::vector<CItemRef> items;
    for (int i = 0; i < m_selection.GetCount(); ++i) items.push_back(m_items.Ref(m_selection.GetData()[i]));
    for (const CItemRef& item : items) {
        const HTREEITEM hItem = m_items.Resolve(item);
        if (!hItem || !IsListed(hItem)) continue;
        DeselectItem(hItem, false, false);
        if (m_items.Resolve(item)) {
            const ItemRecord* const pRecord = m_items.GetRecord(hItem);
            if (pRecord && pRecord->typeID != 0) m_host.TellDeselected(hItem, *pRecord);
        }
        // An item that had lost its mark is still listed: take it off. (A gone item has left
        // the list with the item.)
        if (m_items.Resolve(item) && !IsMarked(hItem)) Unlist(hItem);
    }
    if (m_selection.IsEmpty()) EmptySelection();
    m_host.TellSelectionEnds();
    Lock(false);
}

void CSelection::DeselectAll()
{
    for (int i = 0; i < m_selection.GetCount(); ++i)
        if (m_items.IsLiveItem(m_selection.GetData()[i])) Mark(m_selection.GetData()[i], false);
    SetFocusItem(nullptr);
    EmptySelection();
}

void CSelection::SelectItems(uint32_t key, bool bSelect, bool bSetVisible)
{
    // One suspension for the whole batch: the expansions below nest inside it, so the control
    // lays itself out once at the end instead of once per item.
    CRedrawScope noRedraw(m_redraw);
    const std::vector<CItemRef> items = m_items.KeyItems(key);
    for (const CItemRef& item : items) {
        const HTREEITEM hItem = m_items.Resolve(item);
        if (!hItem) continue;
        if (bSelect)
            SelectItem(hItem, false, false, false);
        else
            DeselectItem(hItem, false, false);
        if (m_items.Resolve(item)) m_reveal.ExpandAncestors(hItem);
        if (bSelect && bSetVisible && items.size() == 1 && m_items.Resolve(item)) {
            m_reveal.ExpandWaiting();
            if (m_items.Resolve(item)) m_control.EnsureVisible(hItem);
        }
    }
}

void CSelection::RefreshSelectionMarks()
{
    for (int i = 0; i < m_selection.GetCount(); ++i) {
        const HTREEITEM hItem = m_selection.GetData()[i];
        const UINT state = m_control.GetItemState(hItem, TVIS_SELECTED | TVIS_DROPHILITED);
        if (!(state & TVIS_SELECTED)) Mark(hItem, true);
        if (state & TVIS_DROPHILITED) m_control.SetItemState(hItem, 0, TVIS_DROPHILITED);
    }
}

int CSelection::CalcSelectedItems(uint32_t typeID)
{
    Empty(m_selQuery);
    for (int i = 0; i < m_selection.GetCount(); ++i) {
        const HTREEITEM hItem = m_selection.GetData()[i];
        const ItemRecord* const pRecord = m_items.GetRecord(hItem);
        if (pRecord && pRecord->typeID == typeID) m_selQuery.Add(hItem);
    }
    return m_selQuery.GetCount();
}

int CSelection::CalcOrvaneMappedItems(uint32_t key)
{
    Empty(m_mappedQuery);
    m_items.GetKeyItems(key, m_mappedQuery);
    return m_mappedQuery.GetCount();
}

int CSelection::IsOrvaneKeyPresent(uint32_t key)
{
    return m_items.KeyIndex().CountOf(key);
}

bool CSelection::Fetch(CGrowArray<HTREEITEM>& list, ULONG_PTR* pItems, int size)
{
    if (size != list.GetCount()) return false;
    for (int i = 0; i < size; ++i) pItems[i] = reinterpret_cast<ULONG_PTR>(list.GetData()[i]);
    Empty(list);
    return true;
}

int CSelection::CountSelectedByDataID(uint32_t dataID)
{
    int count = 0;
    for (int i = 0; i < m_selection.GetCount(); ++i) {
        const ItemRecord* const pRecord = m_items.GetRecord(m_selection.GetData()[i]);
        if (dataID == 0 || (pRecord && pRecord->dataID == dataID)) ++count;
    }
    return count;
}

void CSelection::GetSelectedByDataID(uint32_t dataID, ULONG_PTR* pItems, int size)
{
    int written = 0;
    for (int i = 0; i < m_selection.GetCount() && written < size; ++i) {
        const HTREEITEM hItem = m_selection.GetData()[i];
        const ItemRecord* const pRecord = m_items.GetRecord(hItem);
        if (dataID == 0 || (pRecord && pRecord->dataID == dataID)) pItems[written++] = reinterpret_cast<ULONG_PTR>(hItem);
    }
}

void CSelection::Append(HTREEITEM hItem)
{
    m_selection.Add(hItem);
    m_listed.insert(hItem);
}

void CSelection::Unlist(HTREEITEM hItem)
{
    const int i = m_selection.Find(hItem);
    if (i < 0) return;
    m_selection.RemoveAt(i);
    m_listed.erase(hItem); // listed once at most
}

void CSelection::EmptySelection()
{
    Empty(m_selection);
    m_listed.clear();
}

void CSelection::Forget(HTREEITEM hItem)
{
    m_listed.erase(hItem);
    for (CGrowArray<HTREEITEM>* list : {&m_selection, &m_selQuery, &m_mappedQuery})
        for (int i = list->GetCount() - 1; i >= 0; --i)
            if (list->GetData()[i] == hItem) list->RemoveAt(i);
    if (m_hCurrentItem == hItem) m_hCurrentItem = nullptr;
}
