/// \file ComPtr.h
/// \brief A COM reference owner.
#pragma once
#include <objbase.h>
#include <utility>

/// \brief The component's public helpers (the interfaces themselves are global, from
/// RVWindow.h).
namespace RVWindow
{

/// \brief RAII owner of one counted COM reference, the one the host test kit hands out (in a
/// namespace, so that it never meets a host's own `CComPtr`, ATL's say).
/// \tparam T the interface.
template <class T>
class CComPtr
{
public:
    /// \brief Empty.
    CComPtr() = default;
    /// \brief Takes a reference of its own on `p` (AddRef).
    /// \param p the interface, or null.
    CComPtr(T* p) : m_p(p) { if (m_p) m_p->AddRef(); }
    /// \brief Shares `other`'s interface, with a reference of its own.
    /// \param other the owner to copy.
    CComPtr(const CComPtr& other) : CComPtr(other.m_p) {}
    /// \brief Takes over `other`'s reference; `other` is left empty.
    /// \param other the owner to move from.
    CComPtr(CComPtr&& other) noexcept : m_p(std::exchange(other.m_p, nullptr)) {}
    /// \brief Releases the reference it holds.
    ~CComPtr() { Release(); }

    /// \brief Holds `p` (with a reference of its own) instead of what it held.
    /// \param p the interface, or null.
    /// \return this owner.
    CComPtr& operator=(T* p)
    {
        if (p) p->AddRef();
        T* old = std::exchange(m_p, p);
        if (old) old->Release();
        return *this;
    }
    /// \brief Shares `other`'s interface instead of what it held.
    /// \param other the owner to copy.
    /// \return this owner.
    CComPtr& operator=(const CComPtr& other) { return *this = other.m_p; }
    /// \brief Takes over `other`'s reference instead of what it held.
    /// \param other the owner to move from; left empty.
    /// \return this owner.
    CComPtr& operator=(CComPtr&& other) noexcept
    {
        if (this != &other) { Release(); m_p = std::exchange(other.m_p, nullptr); }
        return *this;
    }

    /// \brief Drops the reference, leaving the owner empty first: safe against re-entrant
    /// calls from the released object.
    void Release()
    {
        if (T* old = std::exchange(m_p, nullptr)) old->Release();
    }
    /// \brief Takes over a reference that the caller already owns (no AddRef).
    /// \param p the interface.
    void Attach(T* p) { Release(); m_p = p; }
    /// \brief Hands the reference to the caller and leaves the owner empty.
    /// \return the interface, which the caller must release.
    T* Detach() { return std::exchange(m_p, nullptr); }
    /// \brief For out parameters of QueryInterface-like calls; the owner must be empty.
    /// \return the address of the held pointer.
    T** operator&() { return &m_p; }

    /// \brief `QueryInterface` for another interface of the same object.
    /// \tparam Q the interface asked for.
    /// \param pp receives it (null when refused or when the owner is empty).
    /// \return the object's answer; E_NOINTERFACE when the owner is empty.
    template <class Q>
    HRESULT QueryInterface(Q** pp) const
    {
        *pp = nullptr;
        return m_p ? m_p->QueryInterface(__uuidof(Q), reinterpret_cast<void**>(pp)) : E_NOINTERFACE;
    }

    /// \brief The interface, still owned here.
    /// \return the held pointer, or null.
    T* get() const { return m_p; }
    /// \brief Calls a method of the interface.
    /// \return the held pointer.
    T* operator->() const { return m_p; }
    /// \brief Whether the owner holds an interface.
    /// \return true when it does.
    explicit operator bool() const { return m_p != nullptr; }

private:
    T* m_p = nullptr;
};

} // namespace RVWindow
