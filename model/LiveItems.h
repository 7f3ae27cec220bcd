// The items this tree has inserted and the control has not yet deleted. A handle that crosses
// the interface is used only when it is live: the control does not check every handle it is
// given, and a handle kept by a host after its item is gone must never reach it.
#pragma once
#include "model/ItemRecord.h"
#include "model/ItemTable.h"
#include "model/KeyIndex.h"

#include <windows.h>
#include <commctrl.h>
#include <cstdint>
#include <vector>

// Each insertion gets a serial number of its own, so that something remembered about an item
// (an undo action, say) can tell the item from a later one that the control gave the same
// handle value. Each item also knows its parent (a control item never changes parent: a move
// is a deletion and an insertion), its children in the control's order, and how many of its
// children have children of their own, so that walks can pass leaves by without asking the
// control about each. The key index lists the same items.
class CLiveItems
{
    using Index = CItemTable::Index;
    using Entry = CItemTable::Entry;
    static constexpr Index kNone = CItemTable::kNone;

public:
    // The item inserted below hParent (null or TVI_ROOT: a root) as the request placed it:
    // false when the request does not say where it went among its siblings (a sorted
    // insertion, or after an item that is not one of them), which the caller then asks the
    // control and gives to PlaceAfter.
    bool Add(HTREEITEM hItem, ItemRecord* pRecord, HTREEITEM hParent = nullptr, HTREEITEM hInsertAfter = TVI_LAST)
    {
        if (!hItem) return true;
        if (hParent == TVI_ROOT) hParent = nullptr;
        // A handle live already (an insertion the tree never heard deleted): the old item goes.
        Remove(hItem);
        const Index parent = m_table.Find(hParent);
        const Index i = m_table.Add(hItem);
        Entry& item = m_table.At(i);
        item.pRecord = pRecord;
        item.serial = ++m_nLastSerial;
        item.parent = hParent && parent == kNone ? kOrphan : parent;
        if (parent != kNone && m_table.At(parent).firstChild == kNone) CountParent(parent, +1);
        ++m_nVersion;
        // Linked last until it is placed where the control put it.
        const Index after = hInsertAfter == TVI_FIRST || hInsertAfter == TVI_LAST ? kNone : m_table.Find(hInsertAfter);
        const bool known = hInsertAfter == TVI_FIRST || hInsertAfter == TVI_LAST || IsSiblingOf(after, i);
        Link(i, !known || hInsertAfter == TVI_LAST ? kLast : after);
        return known;
    }
    // Moves the item among its siblings: after hPrevious (one of them), or first for null.
    void PlaceAfter(HTREEITEM hItem, HTREEITEM hPrevious)
    {
        const Index i = m_table.Find(hItem);
        const Index previous = m_table.Find(hPrevious);
        if (i == kNone || (hPrevious && !IsSiblingOf(previous, i))) return;
        Unlink(i);
        Link(i, previous);
        ++m_nVersion;
    }
    void Remove(HTREEITEM hItem)
    {
        const Index i = m_table.Find(hItem);
        if (i == kNone) return;
        // The control deletes children before their parent: children still here were deleted
        // unheard, and go with it, leaves first.
        while (Index leaf = m_table.At(i).firstChild) {
            while (const Index child = m_table.At(leaf).firstChild) leaf = child;
            RemoveLeaf(leaf);
        }
        RemoveLeaf(i);
    }
    void Clear()
    {
        m_keys.Clear();
        m_table.Clear();
        m_firstRoot = kNone;
        ++m_nVersion;
    }
    bool Contains(HTREEITEM hItem) const { return m_table.Find(hItem) != kNone; }
    size_t Count() const { return m_table.Count(); }
    // The item's serial number; 0 when it is not live.
    uint64_t SerialOf(HTREEITEM hItem) const
    {
        const Index i = m_table.Find(hItem);
        return i == kNone ? 0 : m_table.At(i).serial;
    }
    // The record the control holds for the item (every write of it passes the tree window):
    // found is false for an item that is not live.
    ItemRecord* RecordOf(HTREEITEM hItem, bool& found) const
    {
        const Index i = m_table.Find(hItem);
        found = i != kNone;
        return found ? m_table.At(i).pRecord : nullptr;
    }
    void SetRecord(HTREEITEM hItem, ItemRecord* pRecord)
    {
        const Index i = m_table.Find(hItem);
        if (i != kNone) m_table.At(i).pRecord = pRecord;
        ++m_nVersion;
    }
    // The item's parent (null for a root, and for an item inserted below one never live
    // here): found is false for an item that is not live.
    HTREEITEM ParentOf(HTREEITEM hItem, bool& found) const
    {
        const Index i = m_table.Find(hItem);
        found = i != kNone;
        return found && m_table.At(i).parent != kOrphan ? m_table.HandleOf(m_table.At(i).parent) : nullptr;
    }
    bool HasChildren(HTREEITEM hItem) const
    {
        const Index i = m_table.Find(hItem);
        return i != kNone && m_table.At(i).firstChild != kNone;
    }
    // Whether any child of the item has children of its own.
    bool HasGrandchildren(HTREEITEM hItem) const
    {
        const Index i = m_table.Find(hItem);
        return i != kNone && m_table.At(i).nChildrenWithChildren > 0;
    }
    // The item's first child (null: none), the first root for null; from the insertions and
    // deletions, in the control's order, without a message to it.
    HTREEITEM FirstChildOf(HTREEITEM hItem) const
    {
        if (!hItem) return m_table.HandleOf(m_firstRoot);
        const Index i = m_table.Find(hItem);
        return i == kNone ? nullptr : m_table.HandleOf(m_table.At(i).firstChild);
    }
    // The item's next sibling (null: the last, or not live).
    HTREEITEM NextSiblingOf(HTREEITEM hItem) const
    {
        const Index i = m_table.Find(hItem);
        return i == kNone ? nullptr : m_table.HandleOf(m_table.At(i).next);
    }
    // The item's previous sibling (null: the first, or not live).
    HTREEITEM PrevSiblingOf(HTREEITEM hItem) const
    {
        const Index i = m_table.Find(hItem);
        const Index* const pFirst = i == kNone ? nullptr : FirstOfSiblings(m_table.At(i).parent);
        return !pFirst || *pFirst == i ? nullptr : m_table.HandleOf(m_table.At(i).prev);
    }
    // Pre-order walk of one branch over the links, asking the control nothing: visit(item,
    // value, childValue) handles an item and returns true to descend into its children, which
    // are then visited with childValue. For walks that call nothing out while they go (a call
    // out may change the items under the walk).
    template <class Visit>
    void WalkBranch(HTREEITEM hStart, int value, Visit&& visit) const
    {
        struct Pending
        {
            Index item;
            int value;
        };
        std::vector<Pending> pending;
        const Index start = m_table.Find(hStart);
        if (start != kNone) pending.push_back({start, value});
        while (!pending.empty()) {
            const Pending next = pending.back();
            pending.pop_back();
            int childValue = next.value;
            const Entry& item = m_table.At(next.item);
            const bool descend = visit(item.hItem, next.value, childValue);
            // The next sibling waits below the children: the item's branch comes first.
            if (next.item != start && item.next != kNone) pending.push_back({item.next, next.value});
            if (descend && item.firstChild != kNone) pending.push_back({item.firstChild, childValue});
        }
    }
    // Moves on whenever an item comes or goes or gets another record: what a walk learnt
    // about the items holds while it stays the same.
    uint64_t Version() const { return m_nVersion; }

    // The key index over the same items.
    CKeyIndex& Keys() { return m_keys; }
    const CKeyIndex& Keys() const { return m_keys; }

private:
    static constexpr Index kOrphan = ~Index{0};   // the parent of an item below one never live here
    static constexpr Index kLast = ~Index{0} - 1; // to Link: after the last sibling

    // The first of the children of parent (the first root for kNone); none for an orphan.
    Index* FirstOfSiblings(Index parent)
    {
        return parent == kNone ? &m_firstRoot : parent == kOrphan ? nullptr : &m_table.At(parent).firstChild;
    }
    const Index* FirstOfSiblings(Index parent) const { return const_cast<CLiveItems*>(this)->FirstOfSiblings(parent); }
    // Whether sibling is another live item below the same parent as the live item i.
    bool IsSiblingOf(Index sibling, Index i) const
    {
        return sibling != kNone && sibling != i && m_table.At(sibling).parent == m_table.At(i).parent &&
               m_table.At(i).parent != kOrphan;
    }
    // Puts an unlinked item among its siblings after previous (first for kNone, last for kLast).
    void Link(Index i, Index previous)
    {
        Entry& item = m_table.At(i);
        Index* const pFirst = FirstOfSiblings(item.parent);
        if (!pFirst) return;
        if (*pFirst == kNone) {
            *pFirst = i;
            item.prev = i; // the first is the last too
            item.next = kNone;
            return;
        }
        Entry& first = m_table.At(*pFirst);
        if (previous == kLast) previous = first.prev;
        if (previous == kNone) {
            item.next = *pFirst;
            item.prev = first.prev;
            first.prev = i;
            *pFirst = i;
            return;
        }
        Entry& before = m_table.At(previous);
        item.prev = previous;
        item.next = before.next;
        before.next = i;
        m_table.At(item.next != kNone ? item.next : *pFirst).prev = i; // the new last, or the next's
    }
    // Takes the item out of its siblings.
    void Unlink(Index i)
    {
        Entry& item = m_table.At(i);
        Index* const pFirst = FirstOfSiblings(item.parent);
        const Index next = item.next;
        const Index prev = item.prev;
        item.next = item.prev = kNone;
        if (!pFirst || prev == kNone) return; // never linked
        if (*pFirst == i) {
            *pFirst = next;
            if (next != kNone) m_table.At(next).prev = prev; // the last, as before
            return;
        }
        m_table.At(prev).next = next;
        m_table.At(next != kNone ? next : *pFirst).prev = prev; // the next's, or the new last
    }
    // Frees an item without children: it leaves its siblings, its key's list and the table.
    void RemoveLeaf(Index i)
    {
        Unlink(i);
        m_keys.Leave(i);
        const Index parent = m_table.At(i).parent;
        m_table.Remove(i);
        if (parent != kNone && parent != kOrphan && m_table.At(parent).firstChild == kNone) CountParent(parent, -1);
        ++m_nVersion;
    }
    // The item gained its first child (+1) or lost its last (-1): its parent counts it.
    void CountParent(Index i, int change)
    {
        const Index parent = m_table.At(i).parent;
        if (parent == kNone || parent == kOrphan) return;
        uint32_t& count = m_table.At(parent).nChildrenWithChildren;
        if (change > 0)
            ++count;
        else if (count > 0)
            --count;
    }

    CItemTable m_table;
    CKeyIndex m_keys{m_table};
    Index m_firstRoot = kNone;
    uint64_t m_nLastSerial = 0;
    uint64_t m_nVersion = 0;
};
