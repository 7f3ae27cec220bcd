// An entry of the one-level undo stack. Each action may own a chained next action, destroyed
// with it.
#pragma once

class CRVTreeCtrl;

class CUndoAction
{
public:
    explicit CUndoAction(CRVTreeCtrl& tree) : m_tree(tree) {}
    virtual void Undo() = 0;
    virtual ~CUndoAction() { delete m_pNext; }
    CUndoAction(const CUndoAction&) = delete;
    CUndoAction& operator=(const CUndoAction&) = delete;

    void SetNext(CUndoAction* pNext) { m_pNext = pNext; }
    CUndoAction* GetNext() const { return m_pNext; }

protected:
    CUndoAction* m_pNext = nullptr; // owned
    CRVTreeCtrl& m_tree;
};
