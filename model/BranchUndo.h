// The undo actions of a branch's insertion and of its removal. Each remembers its items by
// reference, so an action whose item is gone never acts on a later item with the same handle value.
#pragma once
#include "model/ItemCopy.h"
#include "model/ItemRef.h"
#include "model/UndoAction.h"

class CInsertUndo final : public CUndoAction
{
public:
    CInsertUndo(IUndoTarget& tree, HTREEITEM hItem);
    CInsertUndo(IUndoTarget& tree, const CItemRef& item) : CUndoAction(tree), m_item(item) {}
    // Takes the inserted item's branch away, while it lives.
    void Undo() override;
    // The inserted item while it is live, else null.
    HTREEITEM Item() const;

private:
    CItemRef m_item;
};

// The removed branch (assemblies are not copied) and the item that was its parent.
class CRemoveUndo final : public CUndoAction
{
public:
    CRemoveUndo(IUndoTarget& tree, HTREEITEM hFormerParent);
    ~CRemoveUndo() override { FreeItemCopies(m_branch); }
    // Pastes the branch back as the former parent's last child, while that parent lives.
    void Undo() override;
    ItemCopyList& Branch() { return m_branch; }
    HTREEITEM FormerParent() const;

private:
    CItemRef m_parent;
    ItemCopyList m_branch;
};
