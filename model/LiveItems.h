// The items this tree has inserted and the control has not yet deleted. A handle that crosses
// the interface is used only when it is live: the control does not check every handle it is
// given, and a handle kept by a host after its item is gone must never reach it.
#pragma once
#include "model/ItemRecord.h"

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
    void Add(HTREEITEM hItem, ItemRecord* pRecord)
    {
        if (hItem) m_items[hItem] = Entry{++m_nLastSerial, pRecord};
    }
    void Remove(HTREEITEM hItem) { m_items.erase(hItem); }
    void Clear() { m_items.clear(); }
    bool Contains(HTREEITEM hItem) const { return hItem && m_items.count(hItem) != 0; }
    size_t Count() const { return m_items.size(); }
    // The item's serial number; 0 when it is not live.
    uint64_t SerialOf(HTREEITEM hItem) const
    {
        const auto it = m_items.find(hItem);
        return it == m_items.end() ? 0 : it->second.serial;
    }
    // The record the control holds for the item (every write of it passes the tree window):
    // found is false for an item that is not live.
    ItemRecord* RecordOf(HTREEITEM hItem, bool& found) const
    {
        const auto it = m_items.find(hItem);
        found = it != m_items.end();
        return found ? it->second.pRecord : nullptr;
    }
    void SetRecord(HTREEITEM hItem, ItemRecord* pRecord)
    {
        const auto it = m_items.find(hItem);
        if (it != m_items.end()) it->second.pRecord = pRecord;
    }

private:
    struct Entry
    {
        uint64_t serial;
        ItemRecord* pRecord;
    };
    std::unordered_map<HTREEITEM, Entry> m_items;
    uint64_t m_nLastSerial = 0;
};
