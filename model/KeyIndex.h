// Item key → the tree items that show it, in the order they were registered. One key may be
// shown by any number of items. An entry goes with its last item: a host that loads model after
// model, each with keys of its own, must not find every key it ever used still kept here.
#pragma once
#include "model/GrowArray.h"

#include <windows.h>
#include <commctrl.h>
#include <cstdint>
#include <unordered_map>

class CKeyIndex
{
public:
    using ItemList = CGrowArray<HTREEITEM>;

    void Register(uint32_t key, HTREEITEM hItem);
    // Removes every occurrence of hItem from key's list; false when key has no entry.
    bool Unregister(uint32_t key, HTREEITEM hItem);
    // The key's list, or null when no item shows the key.
    const ItemList* Find(uint32_t key) const;
    // Removes hItem from every list it is in, whatever key its record has now (the host may
    // have handed the item another record, or changed the record's key, since it registered).
    void Forget(HTREEITEM hItem);

    size_t EntryCount() const { return m_map.size(); }
    // Moves on with every registration and removal: a key's list is the same while it stays.
    uint64_t Version() const { return m_nVersion; }
    const std::unordered_map<uint32_t, ItemList>& Entries() const { return m_map; }

private:
    void RemoveFromList(uint32_t key, HTREEITEM hItem);

    std::unordered_map<uint32_t, ItemList> m_map;
    // The keys each item is listed under, so that an item leaves every list it is in.
    std::unordered_multimap<HTREEITEM, uint32_t> m_keysOf;
    uint64_t m_nVersion = 0;
};
