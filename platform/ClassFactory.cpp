#include "platform/ClassFactory.h"

CClassFactory::CClassFactory(Creator creator) : m_creator(creator)
{
    ::InitializeCriticalSection(&m_cs);
}

CClassFactory::~CClassFactory()
{
    ::DeleteCriticalSection(&m_cs);
}

STDMETHODIMP CClassFactory::QueryInterface(REFIID iid, void** ppv)
{
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (!::IsEqualIID(iid, IID_IUnknown) && !::IsEqualIID(iid, IID_IClassFactory)) return E_NOINTERFACE;
    *ppv = static_cast<IClassFactory*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) CClassFactory::AddRef()
{
    ::EnterCriticalSection(&m_cs);
    const LONG count = ::InterlockedIncrement(&m_cRef);
    if (count == 2) g_module.Lock();
    ::LeaveCriticalSection(&m_cs);
    return static_cast<ULONG>(count);
}

STDMETHODIMP_(ULONG) CClassFactory::Release()
{
    ::EnterCriticalSection(&m_cs);
    const LONG count = ::InterlockedDecrement(&m_cRef);
    if (count == 1) g_module.Unlock();
    ::LeaveCriticalSection(&m_cs);
    if (count == 0) delete this;
    return static_cast<ULONG>(count);
}

STDMETHODIMP CClassFactory::CreateInstance(IUnknown* pOuter, REFIID iid, void** ppv)
{
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (pOuter && !::IsEqualIID(iid, IID_IUnknown)) return CLASS_E_NOAGGREGATION;
    return m_creator(pOuter, iid, ppv);
}

STDMETHODIMP CClassFactory::LockServer(BOOL fLock)
{
    if (fLock)
        g_module.Lock();
    else
        g_module.Unlock();
    return S_OK;
}
