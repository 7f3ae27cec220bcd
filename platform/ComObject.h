// COM object support in the manner of ATL: a class T derives from CComObjectRoot and its
// interfaces and implements InternalQueryInterface; CComObject<T> is its plain form and
// CComAggObject<T> its aggregatable form. Every live object holds one module lock.
#pragma once
#include "platform/ComModule.h"

#include <objbase.h>
#include <new>
#include <utility>

// Reference count of an apartment-threaded object: plain increments, no interlocking.
class CComObjectRoot
{
public:
    ULONG InternalAddRef() { return static_cast<ULONG>(++m_dwRef); }
    ULONG InternalRelease() { return static_cast<ULONG>(--m_dwRef); }

protected:
    LONG m_dwRef = 0;
};

// Answers an interface of the object's map, adding a reference through that interface.
template <class I>
HRESULT ReturnInterface(I* p, void** ppv)
{
    *ppv = static_cast<IUnknown*>(p);
    p->AddRef();
    return S_OK;
}

// The plain form: the object is its own controlling unknown.
template <class T>
class CComObject final : public T
{
public:
    CComObject() { g_module.Lock(); }
    ~CComObject() override
    {
        // The count stays at 1 for the rest of the teardown, so that calls made back into the
        // object while it is torn down cannot start a second destruction.
        this->m_dwRef = 1;
        g_module.Unlock();
    }

    STDMETHOD(QueryInterface)(REFIID iid, void** ppv) override
    {
        if (!ppv) return E_POINTER;
        *ppv = nullptr;
        return this->InternalQueryInterface(iid, ppv);
    }
    STDMETHOD_(ULONG, AddRef)() override { return this->InternalAddRef(); }
    STDMETHOD_(ULONG, Release)() override
    {
        const ULONG count = this->InternalRelease();
        if (count == 0) delete this;
        return count;
    }
};

// The object inside an aggregate: its interfaces delegate IUnknown to the outer object; a
// QueryInterface the outer object fails is answered from the object's own map.
template <class T>
class CComContainedObject final : public T
{
public:
    explicit CComContainedObject(IUnknown* pOuter) : m_pOuter(pOuter) {}

    STDMETHOD(QueryInterface)(REFIID iid, void** ppv) override
    {
        if (!ppv) return E_POINTER;
        *ppv = nullptr;
        HRESULT hr = m_pOuter->QueryInterface(iid, ppv);
        if (FAILED(hr)) {
            *ppv = nullptr;
            hr = this->InternalQueryInterface(iid, ppv);
        }
        return hr;
    }
    STDMETHOD_(ULONG, AddRef)() override { return m_pOuter->AddRef(); }
    STDMETHOD_(ULONG, Release)() override { return m_pOuter->Release(); }

private:
    IUnknown* const m_pOuter; // not counted: the outer object owns us
};

// The aggregatable form: a non-delegating IUnknown that owns the contained object.
template <class T>
class CComAggObject final : public IUnknown
{
public:
    explicit CComAggObject(IUnknown* pOuter) : m_contained(pOuter) { g_module.Lock(); }
    virtual ~CComAggObject()
    {
        m_dwRef = 1;
        g_module.Unlock();
    }
    CComAggObject(const CComAggObject&) = delete;
    CComAggObject& operator=(const CComAggObject&) = delete;

    STDMETHOD(QueryInterface)(REFIID iid, void** ppv) override
    {
        if (!ppv) return E_POINTER;
        *ppv = nullptr;
        if (::IsEqualIID(iid, IID_IUnknown)) return ReturnInterface(static_cast<IUnknown*>(this), ppv);
        return m_contained.InternalQueryInterface(iid, ppv);
    }
    STDMETHOD_(ULONG, AddRef)() override { return static_cast<ULONG>(++m_dwRef); }
    STDMETHOD_(ULONG, Release)() override
    {
        const ULONG count = static_cast<ULONG>(--m_dwRef);
        if (count == 0) delete this;
        return count;
    }

    T& Contained() { return m_contained; }

private:
    LONG m_dwRef = 0;
    CComContainedObject<T> m_contained;
};

// Creates T plain (no outer object) or aggregatable and asks it for iid; on failure the new
// object is destroyed and the error returned.
template <class T>
HRESULT CreateComInstance(IUnknown* pOuter, REFIID iid, void** ppv)
{
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    IUnknown* pNew = nullptr;
    if (!pOuter) {
        auto* p = new (std::nothrow) CComObject<T>();
        if (!p) return E_OUTOFMEMORY;
        pNew = static_cast<IUnknown*>(static_cast<typename T::PrimaryInterface*>(p));
    } else {
        auto* p = new (std::nothrow) CComAggObject<T>(pOuter);
        if (!p) return E_OUTOFMEMORY;
        pNew = p;
    }
    pNew->AddRef(); // keep it alive across the query
    const HRESULT hr = pNew->QueryInterface(iid, ppv);
    pNew->Release(); // destroys the object when the query failed
    return hr;
}
