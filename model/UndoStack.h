// The undo stack. Most of its entries are insertions (one per item built), so an insertion is
// kept as a 16-byte entry, the item by handle and serial, and becomes an action object only
// when it is looked at or taken off; every other action is kept as the object it was pushed as.
#pragma once
#include "model/BranchUndo.h"
#include "model/LiveItems.h"
#include "model/UndoAction.h"

#include <cstdint>
#include <deque>

class CUndoStack
{
public:
    explicit CUndoStack(IUndoTarget& tree) : m_tree(tree) {}
    ~CUndoStack() { Clear(); }
    CUndoStack(const CUndoStack&) = delete;
    CUndoStack& operator=(const CUndoStack&) = delete;

    // What the actions act on.
    IUndoTarget& Target() { return m_tree; }
    // Takes ownership of the action.
    void Push(CUndoAction* pAction)
    {
        if (pAction) m_entries.push_back({reinterpret_cast<uintptr_t>(pAction), 0});
    }
    // The insertion of an item that is live now.
    void PushInsertion(HTREEITEM hItem)
    {
        const uint64_t serial = m_tree.LiveItems().SerialOf(hItem);
        if (serial == 0)
            Push(new CInsertUndo(m_tree, hItem)); // not live: an action that does nothing, as before
        else
            m_entries.push_back({reinterpret_cast<uintptr_t>(hItem), serial});
    }
    // Takes the top action off the stack (the caller owns it); null when there is none.
    CUndoAction* Pop()
    {
        if (m_entries.empty()) return nullptr;
        CUndoAction* const pAction = AsAction(m_entries.back());
        m_entries.pop_back();
        return pAction;
    }
    // The top action, left on the stack; null when there is none.
    CUndoAction* Top()
    {
        if (m_entries.empty()) return nullptr;
        Entry& top = m_entries.back();
        top = {reinterpret_cast<uintptr_t>(AsAction(top)), 0};
        return reinterpret_cast<CUndoAction*>(top.word);
    }
    int Count() const { return static_cast<int>(m_entries.size()); }
    void Clear()
    {
        std::deque<Entry> entries;
        entries.swap(m_entries);
        // Top first, as they would be popped; insertions own nothing.
        for (auto it = entries.rbegin(); it != entries.rend(); ++it)
            if (it->serial == 0) delete reinterpret_cast<CUndoAction*>(it->word);
    }

private:
    // An action (serial 0: the word is the action) or an insertion (the word is the item).
    struct Entry
    {
        uintptr_t word;
        uint64_t serial;
    };
    CUndoAction* AsAction(const Entry& entry)
    {
        if (entry.serial == 0) return reinterpret_cast<CUndoAction*>(entry.word);
        return new CInsertUndo(m_tree, CItemRef::Remembered(reinterpret_cast<HTREEITEM>(entry.word), entry.serial));
    }

    IUndoTarget& m_tree;
    // In blocks: the stack grows by an item at a time to any size, with no doubling's spare room.
    std::deque<Entry> m_entries;
};
