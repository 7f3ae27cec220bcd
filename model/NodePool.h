// Hash-table nodes carved from blocks: a table that gains an entry for every item built would
// otherwise make a heap allocation per entry, which costs more than the rest of the entry's
// upkeep. Freed nodes are reused; the blocks go back to the heap when the last node is freed
// and with the pool.
#pragma once
#include <cstddef>
#include <new>
#include <vector>

class CNodePool
{
public:
    CNodePool() = default;
    ~CNodePool() { ReleaseBlocks(); }
    CNodePool(const CNodePool&) = delete;
    CNodePool& operator=(const CNodePool&) = delete;

    // A node of the pool's size (that of its first request), or null for any other size:
    // the caller then allocates it itself.
    void* Allocate(size_t size, size_t alignment)
    {
        if (m_nodeSize == 0) {
            m_nodeSize = size;
            const size_t room = size < sizeof(FreeNode) ? sizeof(FreeNode) : size;
            if (alignment < alignof(FreeNode)) alignment = alignof(FreeNode);
            m_stride = (room + alignment - 1) / alignment * alignment;
        }
        if (size != m_nodeSize) return nullptr;
        if (!m_pFree) AddBlock();
        FreeNode* const pNode = m_pFree;
        m_pFree = pNode->pNext;
        ++m_nInUse;
        return pNode;
    }
    // Whether a node of this size came from the pool.
    bool Serves(size_t size) const { return size == m_nodeSize; }
    void Free(void* p)
    {
        auto* const pNode = static_cast<FreeNode*>(p);
        pNode->pNext = m_pFree;
        m_pFree = pNode;
        if (--m_nInUse == 0) ReleaseBlocks();
    }

private:
    struct FreeNode { FreeNode* pNext; };
    static constexpr size_t kNodesPerBlock = 64;

    void AddBlock()
    {
        char* const pBlock = static_cast<char*>(::operator new(m_stride * kNodesPerBlock));
        m_blocks.push_back(pBlock);
        for (size_t i = kNodesPerBlock; i-- > 0;) {
            auto* const pNode = reinterpret_cast<FreeNode*>(pBlock + i * m_stride);
            pNode->pNext = m_pFree;
            m_pFree = pNode;
        }
    }
    void ReleaseBlocks()
    {
        for (char* pBlock : m_blocks) ::operator delete(pBlock);
        m_blocks.clear();
        m_blocks.shrink_to_fit();
        m_pFree = nullptr;
    }

    size_t m_nodeSize = 0; // as requested
    size_t m_stride = 0;   // as laid out in a block
    FreeNode* m_pFree = nullptr;
    size_t m_nInUse = 0;
    std::vector<char*> m_blocks;
};

// The allocator a standard container takes the pool through: single nodes of the pool's
// size come from it, everything else (the bucket array) from the heap.
template <class T>
class CPoolAllocator
{
    static_assert(alignof(T) <= alignof(std::max_align_t), "blocks are aligned for ordinary types");

public:
    using value_type = T;
    explicit CPoolAllocator(CNodePool& pool) : m_pPool(&pool) {}
    template <class U>
    CPoolAllocator(const CPoolAllocator<U>& other) : m_pPool(other.Pool())
    {
    }
    T* allocate(size_t n)
    {
        if (n == 1)
            if (void* const p = m_pPool->Allocate(sizeof(T), alignof(T))) return static_cast<T*>(p);
        return static_cast<T*>(::operator new(n * sizeof(T)));
    }
    void deallocate(T* p, size_t n)
    {
        if (n == 1 && m_pPool->Serves(sizeof(T)))
            m_pPool->Free(p);
        else
            ::operator delete(p);
    }
    CNodePool* Pool() const { return m_pPool; }
    template <class U>
    bool operator==(const CPoolAllocator<U>& other) const { return m_pPool == other.Pool(); }
    template <class U>
    bool operator!=(const CPoolAllocator<U>& other) const { return m_pPool != other.Pool(); }

private:
    CNodePool* m_pPool;
};
