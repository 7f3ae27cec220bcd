#include "model/BranchUndo.h"

CInsertUndo::CInsertUndo(IUndoTarget& tree, HTREEITEM hItem) : CUndoAction(tree), m_item(tree.LiveItems(), hItem) {}

void CInsertUndo::Undo()
{
    if (const HTREEITEM hItem = Item()) m_tree.TakeBackInsertion(hItem);
}

HTREEITEM CInsertUndo::Item() const
{
    return m_item.Get(m_tree.LiveItems());
}

CRemoveUndo::CRemoveUndo(IUndoTarget& tree, HTREEITEM hFormerParent)
    : CUndoAction(tree), m_parent(tree.LiveItems(), hFormerParent)
{
}

HTREEITEM CRemoveUndo::FormerParent() const
{
    return m_parent.Get(m_tree.LiveItems());
}

void CRemoveUndo::Undo()
{
    const HTREEITEM hParent = FormerParent();
    if (hParent && m_branch.GetCount() > 0) m_tree.RestoreBranch(hParent, m_branch);
}
