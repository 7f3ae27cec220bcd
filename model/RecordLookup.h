// Tree-item handle → ItemRecord, answered from memory whenever possible: first from the record
// path (the ancestors of the item a state walk is visiting, with their records), then from a
// small cache with use stamps, and only then from the control. Parent lookups are served by
// the record path or, after a walk, by the parent path it leaves behind.
#pragma once
#include "model/GrowArray.h"
#include "model/ItemRecord.h"

#include <windows.h>
#include <commctrl.h>
#include <cstdint>
#include <vector>

// What the lookup asks when memory cannot answer: the control. An item the source does not
// know (deleted, or never there) has no record, and the lookup remembers nothing about it: its
// handle may come back as another item's.
class IItemSource
{
public:
    virtual ItemRecord* QueryRecord(HTREEITEM hItem, bool& known) = 0;
    virtual HTREEITEM QueryParent(HTREEITEM hItem) = 0;

protected:
    ~IItemSource() = default;
};

class CRecordLookup
{
public:
    static constexpr int kCacheCapacity = 10;

    explicit CRecordLookup(IItemSource& source) : m_source(source) {}

    ItemRecord* GetRecord(HTREEITEM hItem);
    // Forgets every remembered copy of the item's record pointer (and the paths holding it).
    void InvalidateRecord(HTREEITEM hItem);
    HTREEITEM GetParent(HTREEITEM hItem);

    // Starts a walk's record path: the ancestors of hItem, root first. A walk started while
    // another is under way (the host called back from inside one of its messages) gets a path
    // of its own; the outer walk's path is set aside untouched until the inner walk ends.
    void BuildAncestorPath(HTREEITEM hItem);
    // Ends the innermost walk: hands its record path's handles over to the parent path, empties
    // it, and gives the outer walk (if any) its own path back.
    void ReleaseAncestorPath();
    // Used by a walk as it descends and climbs.
    void PushPath(HTREEITEM hItem, ItemRecord* pRecord);
    void PopPath();
    void SetPathEnabled(bool enabled) { m_bPathEnabled = enabled; }
    bool IsPathEnabled() const { return m_bPathEnabled; }
    // A walk's path loses its use when one of its items goes (or gets another record) in the
    // middle of the walk: the rest of that walk asks the cache and the control.
    bool IsPathBroken() const { return m_bPathBroken; }
    void ClearParentPath();

    // Where lookups were answered (for measurements).
    struct Counters { uint64_t fromRecordPath, fromParentPath, fromCache, fromControl, parentFromControl; };
    const Counters& GetCounters() const { return m_counters; }

    // Read access for inspection.
    int RecordPathCount() const { return m_nPathCount; }
    int ParentPathCount() const { return m_nParentCount; }
    int CacheCount() const { return m_nCacheCount; }
    uint32_t UseCounter() const { return m_nUseCounter; }
    const CGrowArray<HTREEITEM>& CachedItems() const { return m_cacheItems; }
    const CGrowArray<uint32_t>& CacheStamps() const { return m_cacheStamps; }
    void SetUseCounter(uint32_t value) { m_nUseCounter = value; }

private:
    static void Empty(CGrowArray<HTREEITEM>& items);
    void EmptyRecordPath();
    bool UsesRecordPath() const { return m_nPathCount != 0 && m_bPathEnabled && !m_bPathBroken; }

    // The record path of a walk that waits for a walk started inside it to end.
    struct SavedPath
    {
        std::vector<HTREEITEM> items;
        std::vector<ItemRecord*> records;
        bool enabled;
        bool broken;
    };

    IItemSource& m_source;

    // Record path: ancestors of one item, root first, with their records.
    CGrowArray<HTREEITEM> m_pathItems;
    int m_nPathCount = 0;
    CGrowArray<ItemRecord*> m_pathRecords;
    bool m_bPathEnabled = true;
    bool m_bPathBroken = false;
    int m_nOpenWalks = 0;
    std::vector<SavedPath> m_outerPaths; // innermost last

    // Parent path: the last walk's ancestors, for parent lookups.
    CGrowArray<HTREEITEM> m_parentItems;
    int m_nParentCount = 0;

    // Record cache.
    CGrowArray<HTREEITEM> m_cacheItems;
    CGrowArray<ItemRecord*> m_cacheRecords;
    CGrowArray<uint32_t> m_cacheStamps;
    int m_nCacheCount = 0;
    uint32_t m_nUseCounter = 0;
    int m_nCacheCapacity = kCacheCapacity;

    Counters m_counters{};
};
