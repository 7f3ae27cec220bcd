// One compact entry per live item, found by handle. The entries sit in fixed blocks, so an
// entry stays where it is while others come and go, and refer to each other by index (4
// bytes) rather than by handle; a freed entry is reused by the next item. The handle lookup is
// a flat table of indices with open addressing (linear probing, a removal shifting the cells
// after it back), at most three quarters full and halved when less than an eighth is.
//
// The tree's links (CLiveItems) and the key index's lists (CKeyIndex) both live in the entry:
// per item the table holds 56 bytes and about 8 of lookup.
#pragma once
#include "model/ItemRecord.h"

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <memory>
#include <vector>

class CItemTable
{
public:
    using Index = uint32_t;
    static constexpr Index kNone = 0; // entries are numbered from 1

    struct Entry
    {
        HTREEITEM hItem; // null for a free entry
        ItemRecord* pRecord;
        uint64_t serial;
        // The tree: the parent (kNone for a root), the first child, the siblings. The first
        // child's previous link names the last, so that appending needs no walk.
        Index parent;
        Index firstChild;
        Index next; // for a free entry: the next free one
        Index prev;
        uint32_t nChildrenWithChildren;
        // The key index: the key the item is listed under (0: none) and its neighbours there,
        // the first one's previous link naming the last.
        uint32_t key;
        Index keyNext;
        Index keyPrev;
    };
    static_assert(sizeof(Entry) <= 56, "an entry stays small: one is kept per item");

    CItemTable() = default;
    CItemTable(const CItemTable&) = delete;
    CItemTable& operator=(const CItemTable&) = delete;

    size_t Count() const { return m_nCount; }
    // The item's entry, kNone when the handle is not in the table.
    Index Find(HTREEITEM hItem) const
    {
        if (!hItem || m_cells.empty()) return kNone;
        for (size_t c = Home(hItem); m_cells[c] != kNone; c = Next(c))
            if (At(m_cells[c]).hItem == hItem) return m_cells[c];
        return kNone;
    }
    Entry& At(Index i) { return m_blocks[(i - 1) / kBlock][(i - 1) % kBlock]; }
    const Entry& At(Index i) const { return m_blocks[(i - 1) / kBlock][(i - 1) % kBlock]; }
    HTREEITEM HandleOf(Index i) const { return i == kNone ? nullptr : At(i).hItem; }

    // A new entry for a handle not in the table (not null), zeroed but for the handle.
    Index Add(HTREEITEM hItem)
    {
        if ((m_nCount + 1) * 4 > m_cells.size() * 3) Rehash(m_cells.empty() ? kMinCells : m_cells.size() * 2);
        const Index i = NewEntry();
        At(i) = Entry{};
        At(i).hItem = hItem;
        size_t c = Home(hItem);
        while (m_cells[c] != kNone) c = Next(c);
        m_cells[c] = i;
        ++m_nCount;
        return i;
    }
    // Frees the entry (in the table).
    void Remove(Index i)
    {
        size_t c = Home(At(i).hItem);
        while (m_cells[c] != i) c = Next(c);
        EraseCell(c);
        At(i) = Entry{};
        At(i).next = m_free;
        m_free = i;
        if (--m_nCount == 0) {
            Clear(); // the memory goes with the last item
        } else if (m_cells.size() > kMinCells && m_nCount * 8 < m_cells.size()) {
            Rehash(m_cells.size() / 2);
        }
    }
    void Clear()
    {
        m_blocks.clear();
        m_blocks.shrink_to_fit();
        m_cells.clear();
        m_cells.shrink_to_fit();
        m_nCount = 0;
        m_nUsed = 0;
        m_free = kNone;
    }

private:
    static constexpr size_t kBlock = 512;
    static constexpr size_t kMinCells = 16;

    Index NewEntry()
    {
        if (m_free != kNone) {
            const Index i = m_free;
            m_free = At(i).next;
            return i;
        }
        if (m_nUsed == m_blocks.size() * kBlock) m_blocks.emplace_back(new Entry[kBlock]);
        return static_cast<Index>(++m_nUsed);
    }
    size_t Mask() const { return m_cells.size() - 1; }
    size_t Next(size_t c) const { return (c + 1) & Mask(); }
    size_t Home(HTREEITEM hItem) const
    {
        // Handles are aligned addresses: their low bits say little.
        const uint64_t mixed = (static_cast<uint64_t>(reinterpret_cast<uintptr_t>(hItem)) >> 4) * 0x9E3779B97F4A7C15ull;
        return static_cast<size_t>(mixed >> 32) & Mask();
    }
    // Empties cell c and moves back each cell after it that may stand there, so that every
    // entry stays reachable from its home without a gap.
    void EraseCell(size_t c)
    {
        size_t hole = c;
        for (size_t j = Next(c); m_cells[j] != kNone; j = Next(j)) {
            const size_t home = Home(At(m_cells[j]).hItem);
            if (((j - home) & Mask()) >= ((j - hole) & Mask())) {
                m_cells[hole] = m_cells[j];
                hole = j;
            }
        }
        m_cells[hole] = kNone;
    }
    void Rehash(size_t cells)
    {
        std::vector<Index> old(cells, kNone);
        old.swap(m_cells);
        for (const Index i : old)
            if (i != kNone) {
                size_t c = Home(At(i).hItem);
                while (m_cells[c] != kNone) c = Next(c);
                m_cells[c] = i;
            }
    }

    std::vector<std::unique_ptr<Entry[]>> m_blocks;
    std::vector<Index> m_cells; // a power of two of them, or none
    size_t m_nCount = 0;
    size_t m_nUsed = 0;   // entries handed out from the blocks, free ones included
    Index m_free = kNone; // the first free entry
};
