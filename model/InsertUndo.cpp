#include "model/InsertUndo.h"

CInsertUndo::CInsertUndo(IUndoTarget& tree, HTREEITEM hItem) : CUndoAction(tree), m_item(tree.LiveItems(), hItem) {}

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
