// Where each registration of the key index sits: item → (key, place in the key's list), an item
// possibly registered more than once. One flat table with open addressing (linear probing, a
// removal shifting the entries after it back), so that a registration costs no allocation and
// no node of its own: 16 bytes a cell, the table at most three quarters full (and halved when
// less than an eighth is).
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <vector>

class CItemSlots
{
public:
    struct Slot
    {
        uint32_t key;
        int index;
    };

    size_t Count() const { return m_nCount; }
    // hItem must not be null (null marks a free cell).
    void Insert(HTREEITEM hItem, Slot slot)
    {
        if ((m_nCount + 1) * 4 > m_cells.size() * 3) Resize(m_cells.empty() ? kMinCells : m_cells.size() * 2);
        size_t i = Home(hItem);
        while (m_cells[i].hItem) i = Next(i);
        m_cells[i] = Cell{hItem, slot};
        ++m_nCount;
    }
    // The registration of hItem under key at index, to be moved; null when there is none.
    Slot* Find(HTREEITEM hItem, uint32_t key, int index)
    {
        for (size_t i = Home(hItem); !m_cells.empty() && m_cells[i].hItem; i = Next(i))
            if (m_cells[i].hItem == hItem && m_cells[i].slot.key == key && m_cells[i].slot.index == index)
                return &m_cells[i].slot;
        return nullptr;
    }
    // Takes out one registration of hItem (under key, unless anyKey); false when there is none.
    bool Take(HTREEITEM hItem, uint32_t key, bool anyKey, Slot& taken)
    {
        for (size_t i = Home(hItem); !m_cells.empty() && m_cells[i].hItem; i = Next(i)) {
            if (m_cells[i].hItem != hItem || (!anyKey && m_cells[i].slot.key != key)) continue;
            taken = m_cells[i].slot;
            EraseAt(i);
            return true;
        }
        return false;
    }

private:
    struct Cell
    {
        HTREEITEM hItem;
        Slot slot;
    };
    static constexpr size_t kMinCells = 16;

    size_t Mask() const { return m_cells.size() - 1; }
    size_t Next(size_t i) const { return (i + 1) & Mask(); }
    size_t Home(HTREEITEM hItem) const
    {
        if (m_cells.empty()) return 0;
        // Handles are aligned addresses: their low bits say little.
        const uint64_t mixed = (static_cast<uint64_t>(reinterpret_cast<uintptr_t>(hItem)) >> 4) * 0x9E3779B97F4A7C15ull;
        return static_cast<size_t>(mixed >> 32) & Mask();
    }
    // Empties cell i and moves back each entry after it that may stand there, so that every
    // entry stays reachable from its home without a gap.
    void EraseAt(size_t i)
    {
        size_t hole = i;
        for (size_t j = Next(i); m_cells[j].hItem; j = Next(j)) {
            const size_t home = Home(m_cells[j].hItem);
            if (((j - home) & Mask()) >= ((j - hole) & Mask())) {
                m_cells[hole] = m_cells[j];
                hole = j;
            }
        }
        m_cells[hole] = Cell{};
        --m_nCount;
        // The memory follows the registrations down too.
        if (m_cells.size() > kMinCells && m_nCount * 8 < m_cells.size()) Resize(m_cells.size() / 2);
    }
    void Resize(size_t cells)
    {
        std::vector<Cell> old(cells);
        old.swap(m_cells);
        m_nCount = 0;
        for (const Cell& cell : old)
            if (cell.hItem) {
                size_t i = Home(cell.hItem);
                while (m_cells[i].hItem) i = Next(i);
                m_cells[i] = cell;
                ++m_nCount;
            }
    }

    std::vector<Cell> m_cells; // a power of two of them, or none
    size_t m_nCount = 0;
};
