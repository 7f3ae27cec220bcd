#include "selection/Selection.h"

#include "tree/BranchWalk.h"
#include "tree/RVTreeCtrl.h"

#include <vector>

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
    m_tree.Host().LockSelection(locked);
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
    // Every call out below may remove the item and give its handle to another.
    const CItemRef item = m_tree.Ref(hItem);
    Lock(true);
    if (m_tree.Resolve(item)) SetFocusItem(hItem);
    const ItemRecord* const pRecord = m_tree.Resolve(item) ? m_tree.GetRecord(hItem) : nullptr;
    const ItemRecord words = pRecord ? *pRecord : ItemRecord{};
    if (bNotify) m_tree.SendHostMessage(words.typeID, HM_BEGINSELCHANGE, hItem, &words);
    if (m_tree.Resolve(item) && !IsMarked(hItem)) {
        Mark(hItem, true);
        if (!IsListed(hItem)) Append(hItem);
    }
    if (bNotify && words.typeID != 0)
        m_tree.SendHostMessage(words.typeID, bAppend ? HM_SELECTEDAPPEND : HM_SELECTED, hItem, &words);
    if (bIsOrvane && words.key != 0) {
        for (const CItemRef& twin : m_tree.States().KeyItems(words.key)) {
            const HTREEITEM hTwin = m_tree.Resolve(twin);
            if (!hTwin || twin == item || IsMarked(hTwin)) continue;
            Mark(hTwin, true);
            if (!IsListed(hTwin)) Append(hTwin);
        }
    }
    if (bNotify) m_tree.SendHostMessage(words.typeID, HM_ENDSELCHANGE, hItem, &words);
    Lock(false);
}

void CSelection::DeselectItem(HTREEITEM hItem, bool bNotify, bool bKeyTwins)
{
    if (!hItem) return;
    const CItemRef item = m_tree.Ref(hItem);
    Lock(true);
    if (bNotify) m_tree.Messenger().SendForm3(HM_BEGINSELCHANGE);
    const ItemRecord* const pRecord = m_tree.Resolve(item) ? m_tree.GetRecord(hItem) : nullptr;
    if (m_tree.Resolve(item) && hItem == m_hCurrentItem) SetFocusItem(nullptr);

    std::vector<CItemRef> targets;
    if (bKeyTwins && pRecord && pRecord->key != 0) targets = m_tree.States().KeyItems(pRecord->key);
    if (targets.empty()) targets.push_back(item);
    for (const CItemRef& target : targets) {
        const HTREEITEM t = m_tree.Resolve(target);
        if (!t || !IsMarked(t)) continue;
        // Off the list with its mark, before the host hears of it and may select it again.
        Mark(t, false);
        Unlist(t);
        const ItemRecord* const pTarget = m_tree.GetRecord(t);
        if (bNotify && pTarget && pTarget->typeID != 0) m_tree.SendHostMessage(pTarget->typeID, HM_DESELECTED, t, pTarget);
    }
    if (const HTREEITEM hNow = m_tree.Resolve(item)) NotifyBranchDeselected(hNow);
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
        const CItemRef child = m_tree.Ref(hChild);
        WalkBranch(m_tree, hChild, 0, [&](HTREEITEM x, int, int&) {
            if (const ItemRecord* const pRecord = m_tree.GetRecord(x))
                m_tree.Messenger().SendForm2(pRecord->typeID, HM_DESELECTED, x);
            return true;
        });
        hChild = m_tree.Resolve(child) ? m_tree.GetNextSiblingItem(hChild) : nullptr;
    }
}

void CSelection::ClearSelection()
{
    Lock(true);
    m_tree.Messenger().SendForm3(HM_BEGINSELCHANGE);
    SetFocusItem(nullptr);
    // The items selected now, by reference: the host hears of each deselection and may remove
    // items or select others meanwhile. What it selects while it hears stays selected.
    std::vector<CItemRef> items;
    for (int i = 0; i < m_selection.GetCount(); ++i) items.push_back(m_tree.Ref(m_selection.GetData()[i]));
    for (const CItemRef& item : items) {
        const HTREEITEM hItem = m_tree.Resolve(item);
        if (!hItem || !IsListed(hItem)) continue;
        DeselectItem(hItem, false, false);
        if (m_tree.Resolve(item)) {
            const ItemRecord* const pRecord = m_tree.GetRecord(hItem);
            if (pRecord && pRecord->typeID != 0) m_tree.SendHostMessage(pRecord->typeID, HM_DESELECTED, hItem, pRecord);
        }
        // An item that had lost its mark is still listed: take it off. (A gone item has left
        // the list with the item.)
        if (m_tree.Resolve(item) && !IsMarked(hItem)) Unlist(hItem);
    }
    if (m_selection.IsEmpty()) EmptySelection();
    m_tree.Messenger().SendForm3(HM_ENDSELCHANGE);
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
    const std::vector<CItemRef> items = m_tree.States().KeyItems(key);
    for (const CItemRef& item : items) {
        const HTREEITEM hItem = m_tree.Resolve(item);
        if (!hItem) continue;
        if (bSelect)
            SelectItem(hItem, false, false, false);
        else
            DeselectItem(hItem, false, false);
        if (m_tree.Resolve(item)) m_tree.Navigator().ExpandAncestors(hItem);
        if (bSelect && bSetVisible && items.size() == 1 && m_tree.Resolve(item)) {
            m_tree.Navigator().ExpandWaiting();
            if (m_tree.Resolve(item)) m_tree.EnsureVisible(hItem);
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
