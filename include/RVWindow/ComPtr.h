// RAII owner of one counted COM reference, the component's own and the one the host test kit
// hands out (in a namespace, so that it never meets a host's own CComPtr, ATL's say).
#pragma once
#include <objbase.h>
#include <utility>

namespace RVWindow
{

template <class T>
class CComPtr
{
public:
    CComPtr() = default;
    CComPtr(T* p) : m_p(p) { if (m_p) m_p->AddRef(); }
    CComPtr(const CComPtr& other) : CComPtr(other.m_p) {}
    CComPtr(CComPtr&& other) noexcept : m_p(std::exchange(other.m_p, nullptr)) {}
    ~CComPtr() { Release(); }

    CComPtr& operator=(T* p)
    {
        if (p) p->AddRef();
        T* old = std::exchange(m_p, p);
        if (old) old->Release();
        return *this;
    }
    CComPtr& operator=(const CComPtr& other) { return *this = other.m_p; }
    CComPtr& operator=(CComPtr&& other) noexcept
    {
        if (this != &other) { Release(); m_p = std::exchange(other.m_p, nullptr); }
        return *this;
    }

    // Drops the reference; safe against re-entrant calls from the released object.
    void Release()
    {
        if (T* old = std::exchange(m_p, nullptr)) old->Release();
    }
    // Takes over a reference that the caller already owns.
    void Attach(T* p) { Release(); m_p = p; }
    T* Detach() { return std::exchange(m_p, nullptr); }
    // For out parameters of QueryInterface-like calls; the pointer must be empty.
    T** operator&() { return &m_p; }

    template <class Q>
    HRESULT QueryInterface(Q** pp) const
    {
        *pp = nullptr;
        return m_p ? m_p->QueryInterface(__uuidof(Q), reinterpret_cast<void**>(pp)) : E_NOINTERFACE;
    }

    T* get() const { return m_p; }
    T* operator->() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }

private:
    T* m_p = nullptr;
};

} // namespace RVWindow
