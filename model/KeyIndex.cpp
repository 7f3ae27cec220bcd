#include "model/KeyIndex.h"

void CKeyIndex::Register(uint32_t key, HTREEITEM hItem)
{
    if (!hItem) return; // a cleared place is null: a null item could never be listed
    ItemList& list = m_map.try_emplace(key).first->second;
    m_slots.Insert(hItem, Slot{key, list.GetCount()});
    list.Add(hItem);
    ++m_nVersion;
}

void CKeyIndex::Vacate(const Slot& slot)
{
    const auto entry = m_map.find(slot.key);
    ItemList& list = entry->second;
    list.GetData()[slot.index] = nullptr;
    const int cleared = ++m_cleared[slot.key];
    if (cleared == list.GetCount()) {
        // Its last item: the entry goes.
        m_map.erase(entry);
        m_cleared.erase(slot.key);
    } else if (cleared > list.GetCount() - cleared) {
        // More cleared places than items: closing up now costs no more than the removals that
        // made them, and keeps the list's memory in step with its items.
        CloseUp(slot.key);
    }
}

void CKeyIndex::CloseUp(uint32_t key) const
{
    const auto cleared = m_cleared.find(key);
    if (cleared == m_cleared.end()) return;
    m_cleared.erase(cleared);
    ItemList& list = m_map.find(key)->second;
    HTREEITEM* const items = list.GetData();
    int kept = 0;
    for (int i = 0; i < list.GetCount(); ++i) {
        const HTREEITEM hItem = items[i];
        if (!hItem) continue;
        if (kept != i) {
            items[kept] = hItem;
            if (Slot* const pSlot = m_slots.Find(hItem, key, i)) pSlot->index = kept;
        }
        ++kept;
    }
    list.Shorten(kept);
}

bool CKeyIndex::Unregister(uint32_t key, HTREEITEM hItem)
{
    if (m_map.find(key) == m_map.end()) return false;
    bool removed = false;
    for (Slot slot{}; m_slots.Take(hItem, key, false, slot);) {
        Vacate(slot);
        removed = true;
    }
    if (removed) ++m_nVersion;
    return true;
}

const CKeyIndex::ItemList* CKeyIndex::Find(uint32_t key) const
{
    const auto it = m_map.find(key);
    if (it == m_map.end()) return nullptr;
    CloseUp(key);
    return &it->second;
}

const CKeyIndex::KeyMap& CKeyIndex::Entries() const
{
    while (!m_cleared.empty()) CloseUp(m_cleared.begin()->first);
    return m_map;
}

void CKeyIndex::Forget(HTREEITEM hItem)
{
    bool removed = false;
    for (Slot slot{}; m_slots.Take(hItem, 0, true, slot);) {
        Vacate(slot);
        removed = true;
    }
    if (removed) ++m_nVersion;
}
