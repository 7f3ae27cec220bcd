#include "tree/ItemRemoval.h"

#include "host/HostDoor.h"
#include "interaction/FindBookmarks.h"
#include "model/TreeItems.h"
#include "model/UndoStack.h"
#include "platform/TreeCtrl.h"
#include "render/RedrawSuspension.h"
#include "selection/Selection.h"
#include "tree/BranchCopies.h"

#include "model/BranchUndo.h"

#include <algorithm>
#include <memory>
#include <utility>

void CItemRemoval::RemoveTreeItem(HTREEITEM hItem)
{
    if (!hItem) return;
    if (m_nInDeletion > 0) {
        m_pending.emplace_back(m_items.LiveItems(), hItem);
        return;
    }
    CRedrawScope noRedraw(m_redraw);
    // One walk takes the undo copy and the branch's keys: its items leave the key index (and
    // the find position and bookmark) before the first deletion is reported.
    int depth = 0; // levels below the item
    std::vector<std::pair<HTREEITEM, int>> leftOut; // assembly branches the copy left out
    const auto forget = [&](HTREEITEM x, ItemRecord* pRecord, int level) {
        m_items.UnregisterItemKey(x, pRecord);
        m_find.Forget(x, false); // the count goes when the item does
        depth = std::max(depth, level);
    };
    const auto forgetBranch = [&](HTREEITEM hTop, int topLevel) {
        m_items.LiveItems().WalkBranch(hTop, topLevel, [&](HTREEITEM x, int level, int& childLevel) {
            forget(x, m_items.GetRecord(x), level);
            childLevel = level + 1;
            return true;
        });
    };
    if (const HTREEITEM hParent = m_items.GetParent(hItem)) {
        auto undo = std::make_unique<CRemoveUndo>(m_undo.Target(), hParent);
        m_copies.CollectBranch(undo->Branch(), hItem, nullptr,
                               [&](HTREEITEM x, ItemRecord* pRecord, int level, bool bLeftOut) {
                                   if (bLeftOut)
                                       leftOut.emplace_back(x, level);
                                   else
                                       forget(x, pRecord, level);
                               });
        m_undo.Push(undo.release());
        for (const auto& branch : leftOut) forgetBranch(branch.first, branch.second);
    } else {
        forgetBranch(hItem, 0); // a root: nothing to undo
    }
    m_items.UnregisterAncestorKeys(hItem);
    // Only the item leaves its parent's counts; the items below go with their parents.
    const HTREEITEM hOuterTop = std::exchange(m_hRemovalTop, hItem);
    // The control deletes a branch children first, as it recurses through it: within the
    // guard that is one message; a deeper branch goes leaf by leaf, in the same order.
    if (depth <= kMaxControlDeletionDepth)
        DeleteBranch(hItem);
    else
        DeleteBranchFromLeaves(hItem);
    m_hRemovalTop = hOuterTop;
    m_selection.SetFocusItem(nullptr);
    RemovePending();
}

void CItemRemoval::ScrollOffBranch(HTREEITEM hTop, bool bLeaf)
{
    const HTREEITEM hFirst = m_control.GetNextItem(nullptr, TVGN_FIRSTVISIBLE);
    if (!hFirst) return;
    if (bLeaf) {
        if (hFirst != hTop) return;
    } else {
        HTREEITEM a = hFirst;
        while (a && a != hTop) a = m_control.GetParentItem(a);
        if (!a) return;
    }
    HTREEITEM hTarget = m_control.GetNextItem(hTop, TVGN_PREVIOUSVISIBLE);
    for (HTREEITEM a = hTop; !hTarget && a; a = m_control.GetParentItem(a)) hTarget = m_control.GetNextSiblingItem(a);
    if (hTarget) m_control.SelectItem(hTarget, TVGN_FIRSTVISIBLE);
}

void CItemRemoval::DeleteBranch(HTREEITEM hItem)
{
    ScrollOffBranch(hItem, false);
    m_control.DeleteItem(hItem);
}

void CItemRemoval::DeleteBranchFromLeaves(HTREEITEM hItem)
{
    // path holds the items from the branch's top down to the current one.
    std::vector<HTREEITEM> path;
    if (hItem == TVI_ROOT) {
        for (HTREEITEM root = m_control.GetRootItem(); root; root = m_control.GetRootItem())
            DeleteBranchFromLeaves(root);
        return;
    }
    if (hItem) path.push_back(hItem);
    while (!path.empty()) {
        if (const HTREEITEM hChild = m_control.GetChildItem(path.back())) {
            path.push_back(hChild);
            continue;
        }
        ScrollOffBranch(path.back(), true);
        if (!m_control.DeleteItem(path.back())) return; // the control refused: stop rather than loop
        path.pop_back();
    }
}

LRESULT CItemRemoval::OnControlDeleteItem()
{
    ++m_nControlDeleting;
    const LRESULT result = m_control.DefaultProcessing();
    if (--m_nControlDeleting == 0 && std::exchange(m_bSizeWaiting, false)) {
        RECT client{};
        ::GetClientRect(m_control.GetHwnd(), &client);
        m_control.DefaultProcessing(WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
    }
    return result;
}

bool CItemRemoval::HoldSizeDuringDeletion()
{
    if (m_nControlDeleting == 0) return false;
    m_bSizeWaiting = true;
    return true;
}

void CItemRemoval::DeferLayoutRequest(UINT msg, WPARAM wParam, HTREEITEM hItem)
{
    m_pendingLayout.push_back({msg, wParam, CItemRef(m_items.LiveItems(), hItem)});
}

void CItemRemoval::RemovePending()
{
    while (!m_pending.empty() && m_nInDeletion == 0) {
        const CItemRef next = m_pending.front();
        m_pending.erase(m_pending.begin());
        if (const HTREEITEM hItem = next.Get(m_items.LiveItems())) RemoveTreeItem(hItem);
    }
    while (!m_pendingLayout.empty() && m_nInDeletion == 0) {
        const LayoutRequest next = m_pendingLayout.front();
        m_pendingLayout.erase(m_pendingLayout.begin());
        const HTREEITEM hItem = next.item.Get(m_items.LiveItems());
        if (hItem && next.msg == TVM_EXPAND)
            m_control.Expand(hItem, static_cast<UINT>(next.wParam));
        else if (hItem)
            m_control.EnsureVisible(hItem);
    }
}

void CItemRemoval::RemoveAllChildren(HTREEITEM hItem)
{
    if (!hItem) return;
    // The children the item has now, taken before the first removal: the host may remove or
    // add items while it hears of each one, and a removal asked for during a deletion only
    // waits, so the list must not be read again from the control as it goes.
    std::vector<CItemRef> children;
    for (HTREEITEM hChild = m_control.GetChildItem(hItem); hChild; hChild = m_control.GetNextSiblingItem(hChild))
        children.emplace_back(m_items.LiveItems(), hChild);
    for (const CItemRef& child : children)
        if (const HTREEITEM hChild = child.Get(m_items.LiveItems())) RemoveTreeItem(hChild);
}

void CItemRemoval::OnDeleteItem(HTREEITEM hItem, const ItemRecord* pRecord, bool bTearingDown)
{
    if (!hItem) return;
    ++m_nInDeletion;
    m_host.TellDeleted(hItem, pRecord);
    m_selection.OnItemDeleting(hItem);
    // Inside a removal only its top item has a parent that stays; at teardown every parent goes.
    if (!bTearingDown && (!m_hRemovalTop || hItem == m_hRemovalTop)) LeaveParentCounts(hItem);
    --m_nInDeletion;
}

void CItemRemoval::LeaveParentCounts(HTREEITEM hItem)
{
    // Done as the item goes, after the last call to the host about it, with the state it has
    // then: the host may switch it on or off while it hears of its branch's deletion.
    const HTREEITEM hParent = m_items.GetParent(hItem);
    ItemRecord* const pParent = hParent ? m_items.GetRecord(hParent) : nullptr;
    const ItemRecord* const pRecord = m_items.GetRecord(hItem);
    // An item without a record was never counted by its parent.
    if (!pParent || !pRecord) return;
    if (pParent->nChildren > 0) --pParent->nChildren;
    if (pRecord->state && pParent->nChildrenOn > 0) --pParent->nChildrenOn;
}
