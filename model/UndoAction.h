// An entry of the one-level undo stack. Each action may own a chained next action, destroyed
// with it.
#pragma once
#include "model/ItemCopy.h"
#include "model/LiveItems.h"

// The tree as its undo actions see it; the tree window is one.
class IUndoTarget
{
public:
    virtual const CLiveItems& LiveItems() const = 0;
    virtual void SetItemLabel(HTREEITEM hItem, const wchar_t* text) = 0;
    // Takes an inserted item's branch away again, the host told first.
    virtual void TakeBackInsertion(HTREEITEM hItem) = 0;
    // Pastes a removed branch back as the parent's last child, the host told after.
    virtual void RestoreBranch(HTREEITEM hParent, const ItemCopyList& branch) = 0;

protected:
    ~IUndoTarget() = default;
};

class CUndoAction
{
public:
    explicit CUndoAction(IUndoTarget& tree) : m_tree(tree) {}
    virtual void Undo() = 0;
    virtual ~CUndoAction() { delete m_pNext; }
    CUndoAction(const CUndoAction&) = delete;
    CUndoAction& operator=(const CUndoAction&) = delete;

    void SetNext(CUndoAction* pNext) { m_pNext = pNext; }
    CUndoAction* GetNext() const { return m_pNext; }

protected:
    CUndoAction* m_pNext = nullptr; // owned
    IUndoTarget& m_tree;
};
