// The undo stack: owns its actions, the latest on top.
#pragma once
#include "model/ArrayStack.h"
#include "model/UndoAction.h"

class CUndoStack
{
public:
    // The actions act on the target.
    explicit CUndoStack(IUndoTarget& target) : m_target(target) {}
    CUndoStack(const CUndoStack&) = delete;
    CUndoStack& operator=(const CUndoStack&) = delete;
    ~CUndoStack() { Clear(); }

    IUndoTarget& Target() { return m_target; }
    void Push(CUndoAction* pAction) { m_actions.push(pAction); }
    // Takes the top action off the stack (the caller owns it); null when there is none.
    CUndoAction* Pop() { return m_actions.GetCount() > 0 ? m_actions.pop() : nullptr; }
    CUndoAction* Top() { return m_actions.GetCount() ? *m_actions.At(0) : nullptr; }
    int Count() const { return m_actions.GetCount(); }
    void Clear()
    {
        while (m_actions.GetCount() > 0) delete m_actions.pop();
    }

private:
    IUndoTarget& m_target;
    CArrayStack<CUndoAction*> m_actions; // owned
};
