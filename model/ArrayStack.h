// The component's LIFO stack: the abstract stack and its form over a growable array.
#pragma once
#include "model/Container.h"
#include "model/GrowArray.h"

#include <ostream>
#include <type_traits>

// Abstract LIFO stack; count always equals the number of stored elements.
template <class T>
class CStackBase : public CContainer
{
public:
    ~CStackBase() override = default;
    // Writes "{ \n", one "\t<value>\n" per element from the top, then "}" and an end of line.
    virtual void Dump(std::ostream& out) const = 0;
    // The element i places below the top (0 = most recently pushed), clamped to the stack.
    virtual T* At(int i) = 0;
    virtual void Pop(T* pOut) = 0;
    virtual void Push(const T* pValue) = 0;
    virtual void CopyFrom(const CStackBase& other) = 0;
    virtual void Clear() = 0;

    void push(const T& value) { Push(&value); ++m_nCount; }
    T pop()
    {
        T value{};
        Pop(&value);
        if (m_nCount > 0) --m_nCount;
        return value;
    }
    int GetCount() const { return m_nCount; }

protected:
    int m_nCount = 0;
};

template <class T>
class CArrayStack final : public CStackBase<T>
{
public:
    void Dump(std::ostream& out) const override
    {
        out << "{ \n";
        for (int i = m_array.GetCount() - 1; i >= 0; --i)
            out << "\t" << static_cast<unsigned long long>(ToNumber(m_array.GetData()[i])) << "\n";
        out << "}" << std::endl;
    }

    T* At(int i) override
    {
        const int count = m_array.GetCount();
        if (count <= 1 || i < 0) i = 0;
        else if (i > count - 1) i = count - 1;
        return &m_array.At(m_array.ClampIndex(count - i - 1));
    }

    void Pop(T* pOut) override
    {
        const int top = m_array.GetCount() - 1;
        *pOut = m_array.At(top);
        m_array.SetSize(top);
    }

    void Push(const T* pValue) override { m_array.Add(*pValue); }

    // Copies the other stack's elements bottom to top, so the copy pops in the same order.
    void CopyFrom(const CStackBase<T>& other) override
    {
        const auto* pOther = dynamic_cast<const CArrayStack*>(&other);
        if (!pOther || pOther == this) return;
        m_array = pOther->m_array;
        this->m_nCount = m_array.GetCount();
    }

    void Clear() override
    {
        m_array.SetSize(0);
        m_array.FreeExtra();
        this->m_nCount = 0;
    }

    const CGrowArray<T>& Storage() const { return m_array; }

private:
    template <class U>
    static unsigned long long ToNumber(U value)
    {
        if constexpr (std::is_pointer<U>::value)
            return reinterpret_cast<unsigned long long>(value);
        else
            return static_cast<unsigned long long>(value);
    }

    CGrowArray<T> m_array;
};
