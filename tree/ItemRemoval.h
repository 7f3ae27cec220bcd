// Items leave the tree by request (RemoveTreeItem, with an undo record, parent counts and key
// upkeep) and as the control deletes them (every deleted item is reported, deselected,
// forgotten and its record freed).
#pragma once
#include "model/ItemRecord.h"
#include "model/ItemRef.h"

#include <vector>

#include <windows.h>
#include <commctrl.h>

class CBranchCopies;
class CFindBookmarks;
class CHostDoor;
class CRedrawSuspension;
class CSelection;
class CTreeCtrl;
class CTreeItems;
class CUndoStack;

class CItemRemoval
{
public:
    CItemRemoval(CTreeCtrl& control, CTreeItems& items, CHostDoor& host, CUndoStack& undo, CRedrawSuspension& redraw,
                 CSelection& selection, CFindBookmarks& find, CBranchCopies& copies)
        : m_control(control), m_items(items), m_host(host), m_undo(undo), m_redraw(redraw), m_selection(selection),
          m_find(find), m_copies(copies)
    {
    }
    bool InDeletion() const { return m_nInDeletion > 0; }

    void RemoveTreeItem(HTREEITEM hItem);
    void RemoveAllChildren(HTREEITEM hItem);
    // The control is deleting the item (TVN_DELETEITEM) with this record; bTearingDown while
    // the window itself goes.
    void OnDeleteItem(HTREEITEM hItem, const ItemRecord* pRecord, bool bTearingDown);
    // Expanding, collapsing or scrolling to an item lays the control out, which it cannot do
    // in the middle of its deletion (Wine's control has no first row then): asked for from
    // inside a deletion report, it waits like a removal.
    void DeferLayoutRequest(UINT msg, WPARAM wParam, HTREEITEM hItem);
    // Carries out the removals and layout requests the host made while the control was deleting.
    void RemovePending();
    // Deletes a branch (TVI_ROOT: every item) leaf by leaf, children before their parent, so
    // that the control never recurses through a deep branch (its own deletion does).
    void DeleteBranchFromLeaves(HTREEITEM hItem);
    bool HasPending() const { return !m_pending.empty() || !m_pendingLayout.empty(); }
    // The control's own processing of TVM_DELETEITEM (whoever sent it), with a size change
    // that came meanwhile passed on after it.
    LRESULT OnControlDeleteItem();
    // Wine's control updates its scroll bars in the middle of a deletion, before it has chosen
    // a new first visible row, and lays out its rows from none as the scroll bars resize it: a
    // size change then waits until the deletion is over. True when it was held.
    bool HoldSizeDuringDeletion();

private:
    // Takes the deleted item off its parent's counts of children and of children that are on.
    void LeaveParentCounts(HTREEITEM hItem);
    // Deletes a branch with one message; the control deletes the children first, recursing
    // through the branch.
    void DeleteBranch(HTREEITEM hItem);
    // The control must never be deleting its first visible row's item when code outside it
    // runs: Wine's control drops its first visible row (or keeps a deleted one) until the
    // deletion ends, and lays out its rows from it if it is asked to do anything meanwhile, as
    // a host may from inside the deletion's notifications. The first visible row moves off the
    // branch beforehand: to the row above it, else to the first row after it.
    void ScrollOffBranch(HTREEITEM hTop, bool bLeaf);

    // The control cannot delete items from inside its own deletion: removals asked for then
    // wait here until it has finished.
    std::vector<CItemRef> m_pending;
    struct LayoutRequest { UINT msg; WPARAM wParam; CItemRef item; };
    std::vector<LayoutRequest> m_pendingLayout;
    int m_nInDeletion = 0;
    int m_nControlDeleting = 0;  // the control's deletions under way
    bool m_bSizeWaiting = false; // a size change came during one
    // The item RemoveTreeItem is deleting with its branch.
    HTREEITEM m_hRemovalTop = nullptr;
    // How deep a branch the control may delete itself: its deletion recurses, about 150 bytes
    // of stack a level (1 MB held 6,500 levels under Wine); deeper branches go leaf by leaf.
    static constexpr int kMaxControlDeletionDepth = 1000;
    CTreeCtrl& m_control;
    CTreeItems& m_items;
    CHostDoor& m_host;
    CUndoStack& m_undo;
    CRedrawSuspension& m_redraw;
    CSelection& m_selection;
    CFindBookmarks& m_find;
    CBranchCopies& m_copies;
};
