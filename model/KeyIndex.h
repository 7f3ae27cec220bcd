// Item key → the tree items that show it, in the order they were registered. One key may be
// shown by any number of items. Entries are never erased, only emptied, until destruction.
#pragma once
#include "model/GrowArray.h"

#include <windows.h>
#include <commctrl.h>
#include <cstdint>
#include <map>

class CKeyIndex
{
public:
    using ItemList = CGrowArray<HTREEITEM>;

    void Register(uint32_t key, HTREEITEM hItem);
    // Removes every occurrence of hItem from key's list; false when key has no entry.
    bool Unregister(uint32_t key, HTREEITEM hItem);
    // The key's list, or null when the key never had an entry.
    const ItemList* Find(uint32_t key) const;
    // Removes hItem from every list (for items that leave without going through their key).
    void Forget(HTREEITEM hItem);

    size_t EntryCount() const { return m_map.size(); }
    const std::map<uint32_t, ItemList>& Entries() const { return m_map; }

private:
    std::map<uint32_t, ItemList> m_map;
};
