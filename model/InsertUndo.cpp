#include "model/InsertUndo.h"

#include "model/RVTreeCtrl.h"

CInsertUndo::CInsertUndo(CRVTreeCtrl& tree, HTREEITEM hItem) : CUndoAction(tree), m_item(tree, hItem) {}

HTREEITEM CInsertUndo::Item() const
{
    return m_item.Get(m_tree);
}

CRemoveUndo::CRemoveUndo(CRVTreeCtrl& tree, HTREEITEM hFormerParent) : CUndoAction(tree), m_parent(tree, hFormerParent) {}

HTREEITEM CRemoveUndo::FormerParent() const
{
    return m_parent.Get(m_tree);
}
