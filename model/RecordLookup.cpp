#include "model/RecordLookup.h"

#include <algorithm>

ItemRecord* CRecordLookup::GetRecord(HTREEITEM hItem)
{
    if (UsesRecordPath()) {
        const int i = m_pathItems.Find(hItem);
        if (i >= 0) {
            ++m_counters.fromRecordPath;
            return m_pathRecords.At(i);
        }
    }

    if (m_nCacheCount > 0) {
        if (++m_nUseCounter == 0xFFFFFFFFu) {
            // Restart the clock: entries not used since are the first to go.
            m_nUseCounter = 1;
            for (int i = 0; i < m_nCacheCount; ++i) m_cacheStamps.At(i) = 0;
        }
        const int i = m_cacheItems.Find(hItem);
        if (i >= 0 && i < m_nCacheCount) {
            ++m_counters.fromCache;
            m_cacheStamps.At(i) = m_nUseCounter;
            return m_cacheRecords.At(i);
        }
    }

    ++m_counters.fromControl;
    bool known = false;
    ItemRecord* const pRecord = m_source.QueryRecord(hItem, known);
    if (!known) return nullptr;

    if (m_nCacheCount < m_nCacheCapacity) {
        m_cacheItems.Add(hItem);
        m_cacheRecords.Add(pRecord);
        m_cacheStamps.Add(m_nUseCounter);
        ++m_nCacheCount;
    } else {
        // Evict the least recently used entry: the first with the smallest stamp.
        int victim = 0;
        uint32_t lowest = 0x7FFFFFFFu;
        for (int i = 0; i < m_nCacheCount; ++i) {
            if (m_cacheStamps.At(i) < lowest) {
                lowest = m_cacheStamps.At(i);
                victim = i;
            }
        }
        m_cacheItems.At(victim) = hItem;
        m_cacheRecords.At(victim) = pRecord;
        m_cacheStamps.At(victim) = m_nUseCounter;
    }
    return pRecord;
}

void CRecordLookup::Empty(CGrowArray<HTREEITEM>& items)
{
    items.SetSize(0);
    items.FreeExtra();
}

void CRecordLookup::EmptyRecordPath()
{
    Empty(m_pathItems);
    m_pathRecords.SetSize(0);
    m_pathRecords.FreeExtra();
    m_nPathCount = 0;
}

void CRecordLookup::InvalidateRecord(HTREEITEM hItem)
{
    if (m_nPathCount != 0 && m_pathItems.Find(hItem) >= 0) {
        EmptyRecordPath();
        m_bPathBroken = true;
    }
    // A waiting walk's path is given up the same way.
    for (SavedPath& outer : m_outerPaths) {
        if (std::find(outer.items.begin(), outer.items.end(), hItem) != outer.items.end()) {
            outer.items.clear();
            outer.records.clear();
            outer.broken = true;
        }
    }
    if (m_nParentCount != 0 && m_parentItems.Find(hItem) >= 0) ClearParentPath();

    const int i = m_cacheItems.Find(hItem);
    if (i >= 0 && i < m_nCacheCount) {
        m_cacheItems.RemoveAt(i);
        m_cacheRecords.RemoveAt(i);
        m_cacheStamps.RemoveAt(i);
        --m_nCacheCount;
    }
}

void CRecordLookup::ClearParentPath()
{
    Empty(m_parentItems);
    m_nParentCount = 0;
}

HTREEITEM CRecordLookup::GetParent(HTREEITEM hItem)
{
    const CGrowArray<HTREEITEM>* pPath = nullptr;
    if (UsesRecordPath()) {
        pPath = &m_pathItems;
    } else if (m_nParentCount != 0) {
        pPath = &m_parentItems;
    }
    if (pPath) {
        const int i = pPath->Find(hItem);
        if (i == 0) {
            ++(pPath == &m_pathItems ? m_counters.fromRecordPath : m_counters.fromParentPath);
            return nullptr;
        }
        if (i > 0) {
            ++(pPath == &m_pathItems ? m_counters.fromRecordPath : m_counters.fromParentPath);
            return pPath->GetData()[i - 1];
        }
    }
    ++m_counters.parentFromControl;
    return m_source.QueryParent(hItem);
}

void CRecordLookup::BuildAncestorPath(HTREEITEM hItem)
{
    if (m_nOpenWalks++ > 0) {
        SavedPath outer{{m_pathItems.GetData(), m_pathItems.GetData() + m_nPathCount},
                        {m_pathRecords.GetData(), m_pathRecords.GetData() + m_nPathCount},
                        m_bPathEnabled, m_bPathBroken};
        m_outerPaths.push_back(std::move(outer));
        EmptyRecordPath();
    }
    m_bPathBroken = false;
    m_bPathEnabled = false;
    for (HTREEITEM p = GetParent(hItem); p; p = GetParent(p)) {
        m_pathItems.InsertAt(0, &p, 1);
        ItemRecord* pRecord = GetRecord(p);
        m_pathRecords.InsertAt(0, &pRecord, 1);
        ++m_nPathCount;
    }
    m_bPathEnabled = true;
}

void CRecordLookup::ReleaseAncestorPath()
{
    if (m_nPathCount != 0) {
        if (!m_bPathBroken) {
            m_parentItems = m_pathItems;
            m_nParentCount = m_nPathCount;
        }
        EmptyRecordPath();
    }
    m_bPathBroken = false;
    if (m_nOpenWalks == 0 || --m_nOpenWalks == 0 || m_outerPaths.empty()) return;
    const SavedPath outer = std::move(m_outerPaths.back());
    m_outerPaths.pop_back();
    for (size_t i = 0; i < outer.items.size(); ++i) PushPath(outer.items[i], outer.records[i]);
    m_bPathEnabled = outer.enabled;
    m_bPathBroken = outer.broken;
}

void CRecordLookup::PushPath(HTREEITEM hItem, ItemRecord* pRecord)
{
    if (m_bPathBroken) return;
    m_pathItems.At(m_nPathCount) = hItem;
    m_pathRecords.At(m_nPathCount) = pRecord;
    ++m_nPathCount;
}

void CRecordLookup::PopPath()
{
    if (m_nPathCount == 0 || m_bPathBroken) return;
    --m_nPathCount;
    m_pathItems.SetSize(m_nPathCount);
    m_pathRecords.SetSize(m_nPathCount);
}
