// Item key → the tree items that show it, in the order they were registered. One key may be
// shown by any number of items. An entry goes with its last item: a host that loads model after
// model, each with keys of its own, must not find every key it ever used still kept here.
//
// Leaving a list costs the same however long the list is: each registration knows its place in
// its key's list, and an item that leaves only clears its place. The cleared places are closed
// up when the list is next read (or once they outnumber the items still listed), keeping the
// order; so removing a branch whose parts share a key costs per part what removing one does.
#pragma once
#include "model/ItemSlots.h"
#include "model/NodePool.h"

#include <windows.h>
#include <commctrl.h>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <unordered_map>

// A key's items in order. Most keys are shown by a few items: up to three are kept inline,
// with no allocation of their own; more go to the heap, the room doubling as it grows.
class CKeyItemList
{
public:
    CKeyItemList() = default;
    ~CKeyItemList() { FreeHeap(); }
    CKeyItemList(const CKeyItemList&) = delete;
    CKeyItemList& operator=(const CKeyItemList&) = delete;

    int GetCount() const { return m_nCount; }
    const HTREEITEM* GetData() const { return OnHeap() ? m_pHeap : m_inline; }
    HTREEITEM* GetData() { return OnHeap() ? m_pHeap : m_inline; }
    void Add(HTREEITEM hItem)
    {
        if (m_nCount == m_nCapacity) MoveTo(m_nCapacity * 2);
        GetData()[m_nCount++] = hItem;
    }
    // Keeps the first count items; a list that fits inline again goes back there.
    void Shorten(int count)
    {
        if (count < 0 || count >= m_nCount) return;
        m_nCount = count;
        if (OnHeap() && count <= kInline) MoveTo(kInline);
    }

private:
    static constexpr int kInline = 3;
    bool OnHeap() const { return m_nCapacity > kInline; }
    void FreeHeap()
    {
        if (OnHeap()) std::free(m_pHeap);
    }
    // The items into room for capacity items (inline for kInline); throws when out of memory.
    void MoveTo(int capacity)
    {
        HTREEITEM buffer[kInline];
        HTREEITEM* const pTarget = capacity > kInline ? static_cast<HTREEITEM*>(std::malloc(sizeof(HTREEITEM) * static_cast<size_t>(capacity))) : buffer;
        if (!pTarget) throw std::bad_alloc();
        std::memcpy(pTarget, GetData(), sizeof(HTREEITEM) * static_cast<size_t>(m_nCount));
        FreeHeap();
        if (capacity > kInline)
            m_pHeap = pTarget;
        else
            std::memcpy(m_inline, buffer, sizeof buffer);
        m_nCapacity = capacity;
    }

    union {
        HTREEITEM m_inline[kInline] = {};
        HTREEITEM* m_pHeap;
    };
    int m_nCount = 0;
    int m_nCapacity = kInline;
};

class CKeyIndex
{
public:
    using ItemList = CKeyItemList;
    using KeyMap = std::unordered_map<uint32_t, ItemList, std::hash<uint32_t>, std::equal_to<uint32_t>,
                                      CPoolAllocator<std::pair<const uint32_t, ItemList>>>;

    void Register(uint32_t key, HTREEITEM hItem);
    // Removes every occurrence of hItem from key's list; false when key has no entry.
    bool Unregister(uint32_t key, HTREEITEM hItem);
    // The key's list (every item still listed, in registration order), or null when no item
    // shows the key. Valid until the index changes.
    const ItemList* Find(uint32_t key) const;
    // Removes hItem from every list it is in, whatever key its record has now (the host may
    // have handed the item another record, or changed the record's key, since it registered).
    void Forget(HTREEITEM hItem);

    size_t EntryCount() const { return m_map.size(); }
    // Moves on with every registration and removal: a key's list is the same while it stays.
    uint64_t Version() const { return m_nVersion; }
    // Every entry, each list closed up as Find gives it.
    const KeyMap& Entries() const;

private:
    using Slot = CItemSlots::Slot;

    // Clears a registration's place in its list (the registration taken out already).
    void Vacate(const Slot& slot);
    // Closes up the cleared places of key's list, keeping the order.
    void CloseUp(uint32_t key) const;

    // The entries' nodes come from a pool, declared first so that it outlives them.
    CNodePool m_keyPool;
    // Lists may hold cleared places (null) until they are read; m_cleared counts them per key.
    mutable KeyMap m_map{0, std::hash<uint32_t>(), std::equal_to<uint32_t>(), KeyMap::allocator_type(m_keyPool)};
    mutable std::unordered_map<uint32_t, int> m_cleared;
    // Every registration's place, so that an item leaves its lists without a search.
    mutable CItemSlots m_slots;
    uint64_t m_nVersion = 0;
};
