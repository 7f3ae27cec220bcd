#include "model/ItemRemoval.h"

#include "model/BranchWalk.h"
#include "model/InsertUndo.h"
#include "model/RVTreeCtrl.h"

#include <memory>

void CItemRemoval::RemoveTreeItem(HTREEITEM hItem)
{
    if (!hItem) return;
    if (m_nInDeletion > 0) {
        m_pending.emplace_back(m_tree, hItem);
        return;
    }
    if (const HTREEITEM hParent = m_tree.GetParent(hItem)) {
        auto undo = std::make_unique<CRemoveUndo>(m_tree, hParent);
        m_tree.Copies().CollectBranch(undo->Branch(), hItem, nullptr);
        m_tree.PushUndo(undo.release());
        ItemRecord* const pParent = m_tree.GetRecord(hParent);
        const ItemRecord* const pRecord = m_tree.GetRecord(hItem);
        // An item without a record was never counted by its parent.
        if (pParent && pRecord) {
            if (pParent->nChildren > 0) --pParent->nChildren;
            if (pRecord->state && pParent->nChildrenOn > 0) --pParent->nChildrenOn;
        }
    }
    CRedrawScope noRedraw(m_tree.Redraw());
    m_tree.UnregisterAncestorKeys(hItem);
    WalkBranch(m_tree, hItem, 0, [&](HTREEITEM x, int, int&) {
        m_tree.UnregisterItemKey(x);
        if (x == m_tree.FindPosition()) m_tree.SetFindPosition(nullptr);
        if (x == m_tree.LastBookmark()) m_tree.SetLastBookmark(nullptr);
        return true;
    });
    // Leaf by leaf: the control's own deletion of a branch recurses through it.
    m_tree.DeleteBranchFromLeaves(hItem);
    m_tree.Selection().SetFocusItem(nullptr);
    RemovePending();
}

void CItemRemoval::RemovePending()
{
    while (!m_pending.empty() && m_nInDeletion == 0) {
        const CItemRef next = m_pending.front();
        m_pending.erase(m_pending.begin());
        if (const HTREEITEM hItem = next.Get(m_tree)) RemoveTreeItem(hItem);
    }
}

void CItemRemoval::RemoveAllChildren(HTREEITEM hItem)
{
    if (!hItem) return;
    for (HTREEITEM hChild = m_tree.GetChildItem(hItem); hChild;) {
        const HTREEITEM hNext = m_tree.GetNextSiblingItem(hChild);
        RemoveTreeItem(hChild);
        // The host may have removed the next sibling while it heard of this removal.
        hChild = m_tree.IsLiveItem(hNext) ? hNext : (m_tree.IsLiveItem(hItem) ? m_tree.GetChildItem(hItem) : nullptr);
    }
}

void CItemRemoval::OnDeleteItem(HTREEITEM hItem)
{
    if (!hItem) return;
    ++m_nInDeletion;
    const ItemRecord* const pRecord = m_tree.GetRecord(hItem);
    m_tree.SendHostMessage(pRecord ? pRecord->typeID : 0, HM_ITEMDELETED, hItem, pRecord);
    m_tree.Selection().DeselectItem(hItem, false, false);
    --m_nInDeletion;
}
