#include "selection/Selection.h"

#include "tree/BranchWalk.h"
#include "tree/RVTreeCtrl.h"

bool CSelection::IsMarked(HTREEITEM hItem)
{
    return (m_tree.GetItemState(hItem, TVIS_SELECTED) & TVIS_SELECTED) != 0;
}

void CSelection::Mark(HTREEITEM hItem, bool selected)
{
    m_tree.SetItemState(hItem, selected ? TVIS_SELECTED : 0, TVIS_SELECTED);
}

void CSelection::Lock(bool locked)
{
    // Our own reference: the host may replace its sink from inside the call.
    CComPtr<IRavlinWindowSink> sink(m_tree.GetSink());
    if (sink) sink->SetSelectionLock(locked ? TRUE : FALSE);
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
    if (m_hCurrentItem && m_tree.IsLiveItem(m_hCurrentItem)) m_tree.SetItemState(m_hCurrentItem, 0, kFocusedMark);
    if (hItem) m_tree.SetItemState(hItem, kFocusedMark, kFocusedMark);
    m_hCurrentItem = hItem;
}

void CSelection::OnRedrawSuspended()
{
    m_bFocusDeferred = true;
    m_focusMarked = CItemRef(m_tree.LiveItems(), m_hCurrentItem);
}

void CSelection::OnRedrawResuming()
{
    m_bFocusDeferred = false;
    const HTREEITEM hMarked = m_focusMarked.Get(m_tree.LiveItems());
    m_focusMarked = CItemRef();
    if (hMarked == m_hCurrentItem) return;
    if (hMarked) m_tree.SetItemState(hMarked, 0, kFocusedMark);
    if (m_hCurrentItem && m_tree.IsLiveItem(m_hCurrentItem)) m_tree.SetItemState(m_hCurrentItem, kFocusedMark, kFocusedMark);
}

void CSelection::SelectItem(HTREEITEM hItem, bool bNotify, bool bAppend, bool bIsOrvane)
{
    if (!hItem) return;
    Lock(true);
    SetFocusItem(hItem);
    const ItemRecord* const pRecord = m_tree.GetRecord(hItem);
    const ItemRecord words = pRecord ? *pRecord : ItemRecord{};
    if (bNotify) m_tree.SendHostMessage(words.typeID, HM_BEGINSELCHANGE, hItem, &words);
    if (m_tree.IsLiveItem(hItem) && !IsMarked(hItem)) {
        Mark(hItem, true);
        if (!IsListed(hItem)) Append(hItem);
    }
    if (bNotify && words.typeID != 0)
        m_tree.SendHostMessage(words.typeID, bAppend ? HM_SELECTEDAPPEND : HM_SELECTED, hItem, &words);
    if (bIsOrvane && words.key != 0) {
        CGrowArray<HTREEITEM> twins;
        m_tree.States().GetKeyItems(words.key, twins);
        for (int i = 0; i < twins.GetCount(); ++i) {
            const HTREEITEM twin = twins.GetData()[i];
            if (twin == hItem || !m_tree.IsLiveItem(twin) || IsMarked(twin)) continue;
            Mark(twin, true);
            if (!IsListed(twin)) Append(twin);
        }
    }
    if (bNotify) m_tree.SendHostMessage(words.typeID, HM_ENDSELCHANGE, hItem, &words);
    Lock(false);
}

void CSelection::DeselectItem(HTREEITEM hItem, bool bNotify, bool bKeyTwins)
{
    if (!hItem) return;
    Lock(true);
    if (bNotify) m_tree.Messenger().SendForm3(HM_BEGINSELCHANGE);
    if (hItem == m_hCurrentItem) SetFocusItem(nullptr);

    CGrowArray<HTREEITEM> targets;
    const ItemRecord* const pRecord = m_tree.GetRecord(hItem);
    if (bKeyTwins && pRecord && pRecord->key != 0) m_tree.States().GetKeyItems(pRecord->key, targets);
    if (targets.IsEmpty()) targets.Add(hItem);
    for (int i = 0; i < targets.GetCount(); ++i) {
        const HTREEITEM t = targets.GetData()[i];
        if (!m_tree.IsLiveItem(t) || !IsMarked(t)) continue;
        // Off the list with its mark, before the host hears of it and may select it again.
        Mark(t, false);
        Unlist(t);
        const ItemRecord* const pTarget = m_tree.GetRecord(t);
        if (bNotify && pTarget && pTarget->typeID != 0) m_tree.SendHostMessage(pTarget->typeID, HM_DESELECTED, t, pTarget);
    }
    if (m_tree.IsLiveItem(hItem)) NotifyBranchDeselected(hItem);
    if (bNotify) m_tree.Messenger().SendForm3(HM_ENDSELCHANGE);
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
    for (HTREEITEM hChild = m_tree.GetChildItem(hItem); hChild;) {
        WalkBranch(m_tree, hChild, 0, [&](HTREEITEM x, int, int&) {
            if (const ItemRecord* const pRecord = m_tree.GetRecord(x))
                m_tree.Messenger().SendForm2(pRecord->typeID, HM_DESELECTED, x);
            return true;
        });
        hChild = m_tree.IsLiveItem(hChild) ? m_tree.GetNextSiblingItem(hChild) : nullptr;
    }
}

void CSelection::ClearSelection()
{
    Lock(true);
    m_tree.Messenger().SendForm3(HM_BEGINSELCHANGE);
    while (!m_selection.IsEmpty()) {
        const HTREEITEM hItem = m_selection.GetData()[0];
        DeselectItem(hItem, false, false);
        if (m_tree.IsLiveItem(hItem)) {
            const ItemRecord* const pRecord = m_tree.GetRecord(hItem);
            if (pRecord && pRecord->typeID != 0) m_tree.SendHostMessage(pRecord->typeID, HM_DESELECTED, hItem, pRecord);
        }
        // An item that had lost its mark is still listed: take it off so the loop ends.
        Unlist(hItem);
    }
    m_tree.Messenger().SendForm3(HM_ENDSELCHANGE);
    SetFocusItem(nullptr);
    EmptySelection();
    Lock(false);
}

void CSelection::DeselectAll()
{
    for (int i = 0; i < m_selection.GetCount(); ++i)
        if (m_tree.IsLiveItem(m_selection.GetData()[i])) Mark(m_selection.GetData()[i], false);
    SetFocusItem(nullptr);
    EmptySelection();
}

void CSelection::SelectItems(uint32_t key, bool bSelect, bool bSetVisible)
{
    // One suspension for the whole batch: the expansions below nest inside it, so the control
    // lays itself out once at the end instead of once per item.
    CRedrawScope noRedraw(m_tree.Redraw());
    CGrowArray<HTREEITEM> items;
    m_tree.States().GetKeyItems(key, items);
    for (int i = 0; i < items.GetCount(); ++i) {
        const HTREEITEM hItem = items.GetData()[i];
        if (!m_tree.IsLiveItem(hItem)) continue;
        if (bSelect)
            SelectItem(hItem, false, false, false);
        else
            DeselectItem(hItem, false, false);
        m_tree.Navigator().ExpandAncestors(hItem);
        if (bSelect && bSetVisible && items.GetCount() == 1) {
            m_tree.Navigator().ExpandWaiting();
            m_tree.EnsureVisible(hItem);
        }
    }
}

void CSelection::RefreshSelectionMarks()
{
    for (int i = 0; i < m_selection.GetCount(); ++i) {
        const HTREEITEM hItem = m_selection.GetData()[i];
        const UINT state = m_tree.GetItemState(hItem, TVIS_SELECTED | TVIS_DROPHILITED);
        if (!(state & TVIS_SELECTED)) Mark(hItem, true);
        if (state & TVIS_DROPHILITED) m_tree.SetItemState(hItem, 0, TVIS_DROPHILITED);
    }
}

int CSelection::CalcSelectedItems(uint32_t typeID)
{
    Empty(m_selQuery);
    for (int i = 0; i < m_selection.GetCount(); ++i) {
        const HTREEITEM hItem = m_selection.GetData()[i];
        const ItemRecord* const pRecord = m_tree.GetRecord(hItem);
        if (pRecord && pRecord->typeID == typeID) m_selQuery.Add(hItem);
    }
    return m_selQuery.GetCount();
}

int CSelection::CalcOrvaneMappedItems(uint32_t key)
{
    Empty(m_mappedQuery);
    m_tree.States().GetKeyItems(key, m_mappedQuery);
    return m_mappedQuery.GetCount();
}

int CSelection::IsOrvaneKeyPresent(uint32_t key)
{
    const CKeyIndex::ItemList* const list = m_tree.KeyIndex().Find(key);
    return list ? list->GetCount() : 0;
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
        const ItemRecord* const pRecord = m_tree.GetRecord(m_selection.GetData()[i]);
        if (dataID == 0 || (pRecord && pRecord->dataID == dataID)) ++count;
    }
    return count;
}

void CSelection::GetSelectedByDataID(uint32_t dataID, ULONG_PTR* pItems, int size)
{
    int written = 0;
    for (int i = 0; i < m_selection.GetCount() && written < size; ++i) {
        const HTREEITEM hItem = m_selection.GetData()[i];
        const ItemRecord* const pRecord = m_tree.GetRecord(hItem);
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
