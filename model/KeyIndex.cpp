#include "model/KeyIndex.h"

#include <iterator>

namespace {
// Room for a few items from the start: a key's list then grows by doubling, not one item at a
// time, and an allocation costs more than the few words it may leave unused.
constexpr int kFirstCapacity = 4;
} // namespace

void CKeyIndex::Register(uint32_t key, HTREEITEM hItem)
{
    m_map.try_emplace(key, kFirstCapacity, 2.0f).first->second.Add(hItem);
    m_keysOf.emplace(hItem, key);
    ++m_nVersion;
}

namespace {
void RemoveAll(CKeyIndex::ItemList& list, HTREEITEM hItem)
{
    // Highest index first, so that the indices still to remove stay valid.
    for (int i = list.GetCount() - 1; i >= 0; --i)
        if (list.GetData()[i] == hItem) list.RemoveAt(i);
}
} // namespace

void CKeyIndex::RemoveFromList(uint32_t key, HTREEITEM hItem)
{
    const auto it = m_map.find(key);
    if (it == m_map.end()) return;
    RemoveAll(it->second, hItem);
    if (it->second.IsEmpty()) m_map.erase(it);
    ++m_nVersion;
}

bool CKeyIndex::Unregister(uint32_t key, HTREEITEM hItem)
{
    if (m_map.find(key) == m_map.end()) return false;
    RemoveFromList(key, hItem);
    const auto range = m_keysOf.equal_range(hItem);
    for (auto it = range.first; it != range.second;) it = it->second == key ? m_keysOf.erase(it) : std::next(it);
    return true;
}

const CKeyIndex::ItemList* CKeyIndex::Find(uint32_t key) const
{
    const auto it = m_map.find(key);
    return it == m_map.end() ? nullptr : &it->second;
}

void CKeyIndex::Forget(HTREEITEM hItem)
{
    const auto range = m_keysOf.equal_range(hItem);
    for (auto it = range.first; it != range.second; ++it) RemoveFromList(it->second, hItem);
    m_keysOf.erase(hItem);
}
