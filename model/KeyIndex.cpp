#include "model/KeyIndex.h"

void CKeyIndex::Register(uint32_t key, HTREEITEM hItem)
{
    const Index i = m_table.Find(hItem);
    if (i == CItemTable::kNone || key == 0) return;
    Leave(i);
    CItemTable::Entry& item = m_table.At(i);
    item.key = key;
    Index& first = m_first.try_emplace(key, CItemTable::kNone).first->second;
    if (first == CItemTable::kNone) {
        first = i;
        item.keyPrev = i; // the first is the last too
    } else {
        CItemTable::Entry& head = m_table.At(first);
        item.keyPrev = head.keyPrev;
        m_table.At(head.keyPrev).keyNext = i;
        head.keyPrev = i;
    }
    item.keyNext = CItemTable::kNone;
    ++m_nVersion;
}

bool CKeyIndex::Unregister(uint32_t key, HTREEITEM hItem)
{
    if (m_first.find(key) == m_first.end()) return false;
    const Index i = m_table.Find(hItem);
    if (i != CItemTable::kNone && m_table.At(i).key == key) Leave(i);
    return true;
}

void CKeyIndex::Leave(Index i)
{
    if (i == CItemTable::kNone || m_table.At(i).key == 0) return;
    CItemTable::Entry& item = m_table.At(i);
    const auto it = m_first.find(item.key);
    Index& first = it->second;
    if (first == i) {
        first = item.keyNext;
        if (first == CItemTable::kNone)
            m_first.erase(it); // its last item: the entry goes
        else
            m_table.At(first).keyPrev = item.keyPrev; // the last, as before
    } else {
        m_table.At(item.keyPrev).keyNext = item.keyNext;
        m_table.At(item.keyNext != CItemTable::kNone ? item.keyNext : first).keyPrev = item.keyPrev;
    }
    item.key = 0;
    item.keyNext = item.keyPrev = CItemTable::kNone;
    ++m_nVersion;
}

void CKeyIndex::Clear()
{
    m_first.clear();
    ++m_nVersion;
}

std::vector<uint32_t> CKeyIndex::Keys() const
{
    std::vector<uint32_t> keys;
    keys.reserve(m_first.size());
    for (const auto& entry : m_first) keys.push_back(entry.first);
    return keys;
}
