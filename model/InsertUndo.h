// The undo action recorded for an insertion made through item creation.
#pragma once
#include "model/UndoAction.h"

#include <windows.h>
#include <commctrl.h>

class CInsertUndo final : public CUndoAction
{
public:
    CInsertUndo(CRVTreeCtrl& tree, HTREEITEM hItem) : CUndoAction(tree), m_hItem(hItem) {}
    // Taking an insertion back removes the item; that needs item removal, which the tree
    // does not have yet, so the action only records what it would remove.
    void Undo() override {}
    HTREEITEM Item() const { return m_hItem; }

private:
    HTREEITEM m_hItem;
};
