// The items this tree has inserted and the control has not yet deleted. A handle that crosses
// the interface is used only when it is live: the control does not check every handle it is
// given, and a handle kept by a host after its item is gone must never reach it.
#pragma once
#include "model/ItemRecord.h"
#include "model/NodePool.h"

#include <windows.h>
#include <commctrl.h>
#include <cstdint>
#include <unordered_map>
#include <vector>

// Each insertion gets a serial number of its own, so that something remembered about an item
// (an undo action, say) can tell the item from a later one that the control gave the same
// handle value. Each item also knows its parent (a control item never changes parent: a move
// is a deletion and an insertion) and how many of its children are live and have children of
// their own, so that walks can pass leaves by without asking the control about each.
class CLiveItems
{
public:
    // The item inserted below hParent (null or TVI_ROOT: a root) as the request placed it:
    // false when the request does not say where it went among its siblings (a sorted
    // insertion, or after an item that is not one of them), which the caller then asks the
    // control and gives to PlaceAfter.
    bool Add(HTREEITEM hItem, ItemRecord* pRecord, HTREEITEM hParent = nullptr, HTREEITEM hInsertAfter = TVI_LAST)
    {
        if (!hItem) return true;
        if (hParent == TVI_ROOT) hParent = nullptr;
        auto inserted = m_items.try_emplace(hItem);
        if (!inserted.second) {
            // The handle was live already (an insertion the tree never heard deleted): the old
            // item leaves its parent's counts first.
            Remove(hItem);
            inserted = m_items.try_emplace(hItem);
        }
        Entry& entry = inserted.first->second = Entry{++m_nLastSerial, pRecord, hParent, 0, 0, 0, {}};
        // Found after the insertion, which may have moved the entries.
        Entry* const pParent = Find(hParent);
        if (pParent) {
            entry.parentSerial = pParent->serial;
            if (pParent->nChildren++ == 0) CountParent(*pParent, +1);
        }
        ++m_nVersion;
        // Linked last until it is placed where the control put it.
        const bool known = hInsertAfter == TVI_FIRST || hInsertAfter == TVI_LAST || IsSiblingOf(hInsertAfter, hItem);
        Links* const pSiblings = pParent ? &pParent->links : hParent ? nullptr : &m_roots;
        Link(hItem, entry, pSiblings, !known ? TVI_LAST : hInsertAfter == TVI_FIRST ? nullptr : hInsertAfter);
        return known;
    }
    // Moves the item among its siblings: after hPrevious (one of them), or first for null.
    void PlaceAfter(HTREEITEM hItem, HTREEITEM hPrevious)
    {
        if (!Find(hItem) || (hPrevious && !IsSiblingOf(hPrevious, hItem))) return;
        Unlink(hItem);
        Entry& item = *Find(hItem);
        Link(hItem, item, SiblingLinks(item), hPrevious);
        ++m_nVersion;
    }
    void Remove(HTREEITEM hItem)
    {
        const auto it = m_items.find(hItem);
        if (it == m_items.end()) return;
        // The control deletes children before their parent: children still here were deleted
        // unheard, and go with it, leaves first.
        while (HTREEITEM hLeaf = it->second.links.hFirstChild) {
            while (const HTREEITEM hChild = FirstChildOf(hLeaf)) hLeaf = hChild;
            Remove(hLeaf);
        }
        Unlink(hItem);
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
        m_roots = Links{};
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
    // The item's first child (null: none), the first root for null; from the insertions and
    // deletions, in the control's order, without a message to it.
    HTREEITEM FirstChildOf(HTREEITEM hItem) const
    {
        const Links* const pLinks = ChildLinks(hItem);
        return pLinks ? pLinks->hFirstChild : nullptr;
    }
    // The item's next sibling (null: the last, or not live).
    HTREEITEM NextSiblingOf(HTREEITEM hItem) const
    {
        const auto it = hItem ? m_items.find(hItem) : m_items.end();
        return it == m_items.end() ? nullptr : it->second.links.hNext;
    }
    // The item's previous sibling (null: the first, or not live).
    HTREEITEM PrevSiblingOf(HTREEITEM hItem) const
    {
        const auto it = hItem ? m_items.find(hItem) : m_items.end();
        if (it == m_items.end()) return nullptr;
        const Links* const pSiblings = const_cast<CLiveItems*>(this)->SiblingLinks(it->second);
        return !pSiblings || pSiblings->hFirstChild == hItem ? nullptr : it->second.links.hPrev;
    }
    // Pre-order walk of one branch over the links, asking the control nothing: visit(item,
    // value, childValue) handles an item and returns true to descend into its children, which
    // are then visited with childValue. For walks that call nothing out while they go (a call
    // out may change the items under the walk).
    template <class Visit>
    void WalkBranch(HTREEITEM hStart, int value, Visit&& visit) const
    {
        struct Pending { HTREEITEM hItem; int value; };
        std::vector<Pending> pending;
        if (Contains(hStart)) pending.push_back({hStart, value});
        while (!pending.empty()) {
            const Pending next = pending.back();
            pending.pop_back();
            int childValue = next.value;
            const bool descend = visit(next.hItem, next.value, childValue);
            // The next sibling waits below the children: the item's branch comes first.
            if (next.hItem != hStart)
                if (const HTREEITEM hSibling = NextSiblingOf(next.hItem)) pending.push_back({hSibling, next.value});
            if (descend)
                if (const HTREEITEM hChild = FirstChildOf(next.hItem)) pending.push_back({hChild, childValue});
        }
    }
    // Moves on whenever an item comes or goes or gets another record: what a walk learnt
    // about the items holds while it stays the same.
    uint64_t Version() const { return m_nVersion; }

private:
    // An item's place among its siblings and its first child. The siblings' previous links
    // go round: the first child's names the last, so that appending needs no walk.
    struct Links
    {
        HTREEITEM hFirstChild = nullptr;
        HTREEITEM hNext = nullptr;
        HTREEITEM hPrev = nullptr;
    };
    struct Entry
    {
        uint64_t serial;
        ItemRecord* pRecord;
        HTREEITEM hParent;
        uint64_t parentSerial; // the parent as it was: the control reuses handles
        uint32_t nChildren;
        uint32_t nChildrenWithChildren;
        Links links;
    };
    const Entry* Find(HTREEITEM hItem) const
    {
        const auto it = hItem ? m_items.find(hItem) : m_items.end();
        return it == m_items.end() ? nullptr : &it->second;
    }
    // The links that hold the item's children: the roots' for null, none for an item not live.
    Links* ChildLinks(HTREEITEM hItem)
    {
        if (!hItem) return &m_roots;
        Entry* const pEntry = Find(hItem);
        return pEntry ? &pEntry->links : nullptr;
    }
    const Links* ChildLinks(HTREEITEM hItem) const { return const_cast<CLiveItems*>(this)->ChildLinks(hItem); }
    // The links that hold the item and its siblings: its parent's, the roots' for a root;
    // none when its parent is not live (the item then has no siblings here).
    Links* SiblingLinks(const Entry& item)
    {
        if (!item.hParent) return &m_roots;
        Entry* const pParent = ParentEntry(item);
        return pParent ? &pParent->links : nullptr;
    }
    // Whether hSibling is another live item below the same parent as the live item hItem.
    bool IsSiblingOf(HTREEITEM hSibling, HTREEITEM hItem) const
    {
        const Entry* const pSibling = Find(hSibling);
        const Entry* const pItem = Find(hItem);
        return pSibling && pItem && hSibling != hItem && pSibling->hParent == pItem->hParent &&
               pSibling->parentSerial == pItem->parentSerial;
    }
    // Puts an unlinked item among its siblings (their links given) after hPrevious (first for
    // null; TVI_LAST: last).
    void Link(HTREEITEM hItem, Entry& item, Links* pSiblings, HTREEITEM hPrevious)
    {
        if (!pSiblings) return;
        Links& siblings = *pSiblings;
        if (!siblings.hFirstChild) {
            siblings.hFirstChild = hItem;
            item.links.hPrev = hItem; // the first is the last too
            item.links.hNext = nullptr;
            return;
        }
        Links& first = Find(siblings.hFirstChild)->links;
        if (hPrevious == TVI_LAST) hPrevious = first.hPrev;
        if (!hPrevious) {
            item.links.hNext = siblings.hFirstChild;
            item.links.hPrev = first.hPrev;
            first.hPrev = hItem;
            siblings.hFirstChild = hItem;
            return;
        }
        Links& previous = hPrevious == siblings.hFirstChild ? first : Find(hPrevious)->links;
        item.links.hPrev = hPrevious;
        item.links.hNext = previous.hNext;
        previous.hNext = hItem;
        if (item.links.hNext)
            Find(item.links.hNext)->links.hPrev = hItem;
        else
            first.hPrev = hItem; // the new last
    }
    // Takes the item out of its siblings.
    void Unlink(HTREEITEM hItem)
    {
        Entry& item = *Find(hItem);
        Links* const pSiblings = SiblingLinks(item);
        const HTREEITEM hNext = item.links.hNext;
        const HTREEITEM hPrev = item.links.hPrev;
        item.links.hNext = item.links.hPrev = nullptr;
        if (!pSiblings || !hPrev) return; // never linked
        Links& siblings = *pSiblings;
        if (siblings.hFirstChild == hItem) {
            siblings.hFirstChild = hNext;
            if (hNext) Find(hNext)->links.hPrev = hPrev; // the last, as before
            return;
        }
        Find(hPrev)->links.hNext = hNext;
        if (hNext)
            Find(hNext)->links.hPrev = hPrev;
        else
            Find(siblings.hFirstChild)->links.hPrev = hPrev; // the new last
    }
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

    using Entries = std::unordered_map<HTREEITEM, Entry, std::hash<HTREEITEM>, std::equal_to<HTREEITEM>,
                                       CPoolAllocator<std::pair<const HTREEITEM, Entry>>>;
    CNodePool m_pool; // the entries' nodes; before them, so that it outlives them
    Entries m_items{0, std::hash<HTREEITEM>(), std::equal_to<HTREEITEM>(), Entries::allocator_type(m_pool)};
    Links m_roots; // the first root (its hFirstChild)
    uint64_t m_nLastSerial = 0;
    uint64_t m_nVersion = 0;
};
