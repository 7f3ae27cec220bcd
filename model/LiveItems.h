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
// handle value. Each item also knows its parent (a control item never changes parent: a move
// is a deletion and an insertion) and how many of its children are live and have children of
// their own, so that walks can pass leaves by without asking the control about each.
class CLiveItems
{
public:
    void Add(HTREEITEM hItem, ItemRecord* pRecord, HTREEITEM hParent = nullptr)
    {
        if (!hItem) return;
        if (hParent == TVI_ROOT) hParent = nullptr;
        auto inserted = m_items.try_emplace(hItem);
        if (!inserted.second) {
            // The handle was live already (an insertion the tree never heard deleted): the old
            // item leaves its parent's counts first.
            Remove(hItem);
            inserted = m_items.try_emplace(hItem);
        }
        Entry& entry = inserted.first->second = Entry{++m_nLastSerial, pRecord, hParent, 0, 0, 0};
        // Found after the insertion, which may have moved the entries.
        Entry* const pParent = Find(hParent);
        if (pParent) {
            entry.parentSerial = pParent->serial;
            if (pParent->nChildren++ == 0) CountParent(*pParent, +1);
        }
        ++m_nVersion;
    }
    void Remove(HTREEITEM hItem)
    {
        const auto it = m_items.find(hItem);
        if (it == m_items.end()) return;
        const Entry gone = it->second;
        // The control deletes children before their parent; an item that still has some
        // leaves its parent's count of children with children all the same.
        if (gone.nChildren > 0) CountParent(gone, -1);
        m_items.erase(it);
        Entry* const pParent = ParentEntry(gone);
        if (pParent && pParent->nChildren > 0 && --pParent->nChildren == 0) CountParent(*pParent, -1);
        ++m_nVersion;
    }
    void Clear()
    {
        m_items.clear();
        ++m_nVersion;
    }
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
        ++m_nVersion;
    }
    // The item's parent (null for a root): found is false for an item that is not live.
    HTREEITEM ParentOf(HTREEITEM hItem, bool& found) const
    {
        const auto it = m_items.find(hItem);
        found = it != m_items.end();
        return found ? it->second.hParent : nullptr;
    }
    bool HasChildren(HTREEITEM hItem) const
    {
        const auto it = m_items.find(hItem);
        return it != m_items.end() && it->second.nChildren > 0;
    }
    // Whether any child of the item has children of its own.
    bool HasGrandchildren(HTREEITEM hItem) const
    {
        const auto it = m_items.find(hItem);
        return it != m_items.end() && it->second.nChildrenWithChildren > 0;
    }
    // Moves on whenever an item comes or goes or gets another record: what a walk learnt
    // about the items holds while it stays the same.
    uint64_t Version() const { return m_nVersion; }

private:
    struct Entry
    {
        uint64_t serial;
        ItemRecord* pRecord;
        HTREEITEM hParent;
        uint64_t parentSerial; // the parent as it was: the control reuses handles
        uint32_t nChildren;
        uint32_t nChildrenWithChildren;
    };
    Entry* Find(HTREEITEM hItem)
    {
        const auto it = hItem ? m_items.find(hItem) : m_items.end();
        return it == m_items.end() ? nullptr : &it->second;
    }
    Entry* ParentEntry(const Entry& child)
    {
        Entry* const pParent = Find(child.hParent);
        return pParent && pParent->serial == child.parentSerial ? pParent : nullptr;
    }
    // The item gained its first child (+1) or lost its last (-1): its parent counts it.
    void CountParent(const Entry& item, int change)
    {
        Entry* const pParent = ParentEntry(item);
        if (!pParent) return;
        if (change > 0)
            ++pParent->nChildrenWithChildren;
        else if (pParent->nChildrenWithChildren > 0)
            --pParent->nChildrenWithChildren;
    }

    std::unordered_map<HTREEITEM, Entry> m_items;
    uint64_t m_nLastSerial = 0;
    uint64_t m_nVersion = 0;
};
