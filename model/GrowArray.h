// The component's growable array.
#pragma once
#include "model/Container.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <type_traits>

// Growable array of trivially copyable elements, grown by a factor in [1.0, 2.0]. Reads and
// writes by index go through GrowToIndex, which extends the array instead of failing.
template <class T>
class CGrowArray : public CContainer
{
    static_assert(std::is_trivially_copyable<T>::value, "CGrowArray holds plain values");

public:
    explicit CGrowArray(int initialCapacity = 0, float growthFactor = 2.0f)
        : m_fGrowth(ClampFactor(growthFactor))
    {
        if (initialCapacity >= 1) Reallocate(initialCapacity, false, true);
    }
    CGrowArray(const CGrowArray& other) : m_fGrowth(other.m_fGrowth)
    {
        if (other.m_nCount > 0) {
            Reallocate(other.m_nCount, false, false);
            std::memcpy(m_pData, other.m_pData, sizeof(T) * static_cast<size_t>(other.m_nCount));
            m_nCount = other.m_nCount;
        }
    }
    ~CGrowArray() override { std::free(m_pData); }

    CGrowArray& operator=(const CGrowArray& other)
    {
        if (this == &other) return *this;
        if (m_nCapacity < other.m_nCount) Reallocate(other.m_nCount, false, false);
        if (other.m_nCount > 0)
            std::memcpy(m_pData, other.m_pData, sizeof(T) * static_cast<size_t>(other.m_nCount));
        m_nCount = other.m_nCount;
        return *this;
    }

    int GetCount() const { return m_nCount; }
    int GetCapacity() const { return m_nCapacity; }
    float GetGrowthFactor() const { return m_fGrowth; }
    const T* GetData() const { return m_pData; }
    T* GetData() { return m_pData; }
    bool IsEmpty() const { return m_nCount == 0; }

    void Add(const T& value)
    {
        if (m_nCount + 1 > m_nCapacity) {
            int grown = static_cast<int>(static_cast<float>(m_nCapacity) * m_fGrowth);
            Reallocate(grown > m_nCount + 1 ? grown : m_nCount + 1, true, true);
        }
        m_pData[m_nCount++] = value;
    }

    // Translates an index for access, extending the array with zero elements when the index
    // lies at or beyond the end. A negative index is taken as 0.
    int GrowToIndex(int index)
    {
        if (index < 0) index = 0;
        if (index < m_nCount) return index;
        if (index < m_nCapacity) {
            std::memset(static_cast<void*>(m_pData + m_nCount), 0,
                        sizeof(T) * static_cast<size_t>(index - m_nCount + 1));
        } else {
            int grown = static_cast<int>(static_cast<float>(m_nCapacity) * m_fGrowth);
            Reallocate(grown > index + 1 ? grown : index + 1, true, true);
        }
        m_nCount = index + 1;
        return index;
    }
    T& At(int index)
    {
        const int i = GrowToIndex(index); // may reallocate: read the block afterwards
        return m_pData[i];
    }

    // 0 when empty, else index clamped to [0, count - 1].
    int ClampIndex(int index) const
    {
        if (m_nCount == 0 || index < 0) return 0;
        return index >= m_nCount ? m_nCount - 1 : index;
    }

    void SetSize(int newCount)
    {
        if (newCount < 0) newCount = 0;
        if (newCount <= m_nCapacity) {
            if (newCount > m_nCount)
                std::memset(static_cast<void*>(m_pData + m_nCount), 0,
                            sizeof(T) * static_cast<size_t>(newCount - m_nCount));
        } else {
            Reallocate(newCount, true, true);
        }
        m_nCount = newCount;
    }

    void FreeExtra()
    {
        if (m_nCount > 0) {
            if (m_nCapacity != m_nCount) Reallocate(m_nCount, true, false);
        } else {
            std::free(m_pData);
            m_pData = nullptr;
            m_nCapacity = 0;
        }
    }

    // Inserts n elements from source at index (which must lie in [0, count]).
    void InsertAt(int index, const T* source, int n)
    {
        if (n <= 0) return;
        if (index < 0) index = 0;
        if (index > m_nCount) index = m_nCount;
        const int oldCount = m_nCount;
        GrowToIndex(oldCount + n - 1);
        for (int i = oldCount - 1; i >= index; --i) m_pData[i + n] = m_pData[i];
        std::memcpy(static_cast<void*>(m_pData + index), source, sizeof(T) * static_cast<size_t>(n));
    }

    // Removes n elements at index; a run reaching past the end (or a negative n) cuts the
    // array at index. An index outside the array changes nothing and returns false.
    bool RemoveAt(int index, int n = 1)
    {
        if (index < 0 || index >= m_nCount) return false;
        if (n >= 0 && n <= m_nCount - index) {
            std::memmove(static_cast<void*>(m_pData + index), m_pData + index + n,
                         sizeof(T) * static_cast<size_t>(m_nCount - index - n));
            m_nCount -= n;
        } else {
            SetSize(index);
        }
        return true;
    }

    // Index of the first element equal to value, or -1.
    int Find(const T& value) const
    {
        for (int i = 0; i < m_nCount; ++i)
            if (m_pData[i] == value) return i;
        return -1;
    }

private:
    static float ClampFactor(float f) { return f > 2.0f ? 2.0f : (f < 1.0f ? 1.0f : f); }

    // On allocation failure throws and leaves the array as it was.
    void Reallocate(int newCapacity, bool keep, bool zeroTail)
    {
        if (newCapacity <= 0) {
            std::free(m_pData);
            m_pData = nullptr;
            m_nCapacity = m_nCount = 0;
            return;
        }
        const size_t capacity = static_cast<size_t>(newCapacity);
        const size_t kept = keep ? std::min(static_cast<size_t>(m_nCount), capacity) : 0;
        T* p = static_cast<T*>(std::malloc(sizeof(T) * capacity));
        if (!p) throw std::bad_alloc();
        if (kept) std::memcpy(static_cast<void*>(p), m_pData, sizeof(T) * kept);
        std::free(m_pData);
        m_pData = p;
        m_nCapacity = newCapacity;
        if (!keep) m_nCount = std::min(m_nCount, newCapacity);
        const size_t used = static_cast<size_t>(m_nCount);
        if (zeroTail && capacity > used)
            std::memset(static_cast<void*>(p + used), 0, sizeof(T) * (capacity - used));
    }

    T* m_pData = nullptr;
    int m_nCount = 0;
    int m_nCapacity = 0;
    float m_fGrowth;
};
