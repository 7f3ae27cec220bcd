// The items this tree has inserted and the control has not yet deleted. A handle that crosses
// the interface is used only when it is live: the control does not check every handle it is
// given, and a handle kept by a host after its item is gone must never reach it.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <cstdint>
#include <unordered_map>

// Each insertion gets a serial number of its own, so that something remembered about an item
// (an undo action, say) can tell the item from a later one that the control gave the same
// handle value.
class CLiveItems
{
public:
    void Add(HTREEITEM hItem) { if (hItem) m_items[hItem] = ++m_nLastSerial; }
    void Remove(HTREEITEM hItem) { m_items.erase(hItem); }
    void Clear() { m_items.clear(); }
    bool Contains(HTREEITEM hItem) const { return hItem && m_items.count(hItem) != 0; }
    size_t Count() const { return m_items.size(); }
    // The item's serial number; 0 when it is not live.
    uint64_t SerialOf(HTREEITEM hItem) const
    {
        const auto it = m_items.find(hItem);
        return it == m_items.end() ? 0 : it->second;
    }

private:
    std::unordered_map<HTREEITEM, uint64_t> m_items;
    uint64_t m_nLastSerial = 0;
};
