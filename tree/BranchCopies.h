// Branch copies: a branch is captured into a list of detached item copies (pre-order, each
// copy after its parent's), which outlive their items and can later be created again next to
// or below another item through the ordinary item creation.
#pragma once
#include "model/GrowArray.h"
#include "model/ItemCopy.h"

#include <windows.h>
#include <commctrl.h>

#include <functional>

class CItemLocks;
class CItemRemoval;
class CTreeBuilder;
class CTreeCtrl;
class CTreeItems;
class CUndoStack;

class CBranchCopies
{
public:
    CBranchCopies(CTreeCtrl& control, CTreeItems& items, CUndoStack& undo, CItemLocks& locks, CTreeBuilder& builder,
                  CItemRemoval& removal)
        : m_control(control), m_items(items), m_undo(undo), m_locks(locks), m_builder(builder), m_removal(removal)
    {
    }

    // What the walk of a copy tells whoever asked for it, so that nobody walks the branch
    // again: every item it reaches, with its record (null for none), its level below the
    // branch's top and whether it was left out (an assembly, with its whole branch).
    using VisitFn = std::function<void(HTREEITEM hItem, ItemRecord* pRecord, int level, bool leftOut)>;

    // Appends copies of the item and its descendants (assemblies left out with their
    // branches); false, appending nothing, for no item or an assembly.
    bool CollectBranch(ItemCopyList& list, HTREEITEM hItem, HTREEITEM hParentId, const VisitFn& visit = nullptr);
    // Copies the item; returns its record as the control holds it (null for none).
    ItemRecord* CaptureItem(ItemCopy& copy, HTREEITEM hItem);
    // A copy with a record of its own, sharing the original's text.
    static ItemCopy* CloneItemCopy(const ItemCopy& copy);
    // Creating copies of locked items asks the host whether they may be locked: every method
    // below that creates items may call out to the host, and returns the new item only while
    // it lives (null when the host removed it meanwhile). The list must outlive the call.

    // Creates the list's items after (or before) the target; returns the new root or null.
    HTREEITEM PasteAsSiblings(HTREEITEM hTarget, const ItemCopyList& list, bool before);
    // Creates the list's items as the target's last children; returns the new root or null.
    HTREEITEM PasteAsChildren(HTREEITEM hTarget, const ItemCopyList& list);
    // Copies a live item and its branch as the new parent's last child; the new item or null.
    HTREEITEM CopyBranch(HTREEITEM hSource, HTREEITEM hNewParent);
    // Re-creates a live item below the new parent after hInsertAfter (0: first) and moves its
    // children under the new item; the caller removes the source itself.
    HTREEITEM MoveBranchBefore(HTREEITEM hSource, HTREEITEM hNewParent, HTREEITEM hInsertAfter);

private:
    // Creates an item from a copy, whose record it hands to the item; the item, locked when
    // the copy was (which asks the host), or null.
    HTREEITEM CreateFromCopy(ItemCopy& copy, HTREEITEM hParent, HTREEITEM hInsertAfter);
    HTREEITEM Paste(HTREEITEM hReceiver, HTREEITEM hTarget, const ItemCopyList& list, bool siblings, bool before);

    CTreeCtrl& m_control;
    CTreeItems& m_items;
    CUndoStack& m_undo;
    CItemLocks& m_locks;
    CTreeBuilder& m_builder;
    CItemRemoval& m_removal;
};
