// Branch copies: a branch is captured into a list of detached item copies (pre-order, each
// copy after its parent's), which outlive their items and can later be created again next to
// or below another item through the ordinary item creation.
#pragma once
#include "model/GrowArray.h"
#include "model/ItemCopy.h"

#include <windows.h>
#include <commctrl.h>

class CRVTreeCtrl;

using ItemCopyList = CGrowArray<ItemCopy*>;

class CBranchCopies
{
public:
    explicit CBranchCopies(CRVTreeCtrl& tree) : m_tree(tree) {}

    // Appends copies of the item and its descendants (assemblies left out with their
    // branches); false, appending nothing, for no item or an assembly.
    bool CollectBranch(ItemCopyList& list, HTREEITEM hItem, HTREEITEM hParentId);
    void CaptureItem(ItemCopy& copy, HTREEITEM hItem);
    static void FreeItemCopies(ItemCopyList& list);
    // A copy with a record of its own, sharing the original's text.
    static ItemCopy* CloneItemCopy(const ItemCopy& copy);
    // Creates the list's items after (or before) the target; returns the new root or null.
    HTREEITEM PasteAsSiblings(HTREEITEM hTarget, const ItemCopyList& list, bool before);
    // Creates the list's items as the target's last children; returns the new root or null.
    HTREEITEM PasteAsChildren(HTREEITEM hTarget, const ItemCopyList& list);

private:
    HTREEITEM Paste(HTREEITEM hReceiver, HTREEITEM hTarget, const ItemCopyList& list, bool siblings, bool before);

    CRVTreeCtrl& m_tree;
};
