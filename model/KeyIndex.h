// Item key → the live items that show it, in the order they were registered. One key may be
// shown by any number of items; an item is listed under one key at most. An entry goes with
// its last item: a host that loads model after model, each with keys of its own, must not find
// every key it ever used still kept here.
//
// A key's list runs through the items' own entries (the table's key links), so that listing
// an item costs no allocation and leaving a list costs the same however long the list is;
// removing a branch whose parts share a key costs per part what removing one does.
#pragma once
#include "model/ItemTable.h"
#include "model/NodePool.h"

#include <cstdint>
#include <unordered_map>
#include <vector>

class CKeyIndex
{
public:
    using Index = CItemTable::Index;

    explicit CKeyIndex(CItemTable& table) : m_table(table) {}
    CKeyIndex(const CKeyIndex&) = delete;
    CKeyIndex& operator=(const CKeyIndex&) = delete;

    // Lists the live item last under key (a key of 0 lists nothing); an item listed under a
    // key already leaves that list first.
    void Register(uint32_t key, HTREEITEM hItem);
    // Takes hItem out of key's list; false when no item shows key.
    bool Unregister(uint32_t key, HTREEITEM hItem);
    // The entry leaves whatever list it is in, whatever key its record has now (for one about
    // to be freed: the host may have changed the record's key since it registered).
    void Leave(Index i);
    void Clear();

    // Calls visit(hItem) for each item of key's list in order. visit must not change the index.
    template <class Visit> void ForEachItem(uint32_t key, Visit&& visit) const
    {
        const auto it = m_first.find(key);
        if (it == m_first.end()) return;
        for (Index i = it->second; i != CItemTable::kNone; i = m_table.At(i).keyNext) visit(m_table.At(i).hItem);
    }
    std::vector<HTREEITEM> ItemsOf(uint32_t key) const
    {
        std::vector<HTREEITEM> items;
        ForEachItem(key, [&](HTREEITEM hItem) { items.push_back(hItem); });
        return items;
    }
    // The number of items showing key (a walk of its list).
    int CountOf(uint32_t key) const
    {
        int count = 0;
        ForEachItem(key, [&](HTREEITEM) { ++count; });
        return count;
    }
    // The first item showing key; null for none.
    HTREEITEM FirstOf(uint32_t key) const
    {
        const auto it = m_first.find(key);
        return it == m_first.end() ? nullptr : m_table.At(it->second).hItem;
    }
    // Every key some item shows, in no particular order.
    std::vector<uint32_t> Keys() const;
    size_t EntryCount() const { return m_first.size(); }
    // Moves on with every registration and removal: a key's list is the same while it stays.
    uint64_t Version() const { return m_nVersion; }

private:
    using FirstItems = std::unordered_map<uint32_t, Index, std::hash<uint32_t>, std::equal_to<uint32_t>,
                                          CPoolAllocator<std::pair<const uint32_t, Index>>>;

    CItemTable& m_table;
    // Each key's first item; the entries' nodes come from a pool, declared first so that it
    // outlives them.
    CNodePool m_pool;
    FirstItems m_first{0, std::hash<uint32_t>(), std::equal_to<uint32_t>(), FirstItems::allocator_type(m_pool)};
    uint64_t m_nVersion = 0;
};
