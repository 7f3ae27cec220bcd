// The items this tree has inserted and the control has not yet deleted. A handle that crosses
// the interface is used only when it is live: the control does not check every handle it is
// given, and a handle kept by a host after its item is gone must never reach it.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <unordered_set>

class CLiveItems
{
public:
    void Add(HTREEITEM hItem) { if (hItem) m_items.insert(hItem); }
    void Remove(HTREEITEM hItem) { m_items.erase(hItem); }
    void Clear() { m_items.clear(); }
    bool Contains(HTREEITEM hItem) const { return hItem && m_items.count(hItem) != 0; }
    size_t Count() const { return m_items.size(); }

private:
    std::unordered_set<HTREEITEM> m_items;
};
