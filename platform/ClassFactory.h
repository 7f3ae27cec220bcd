// The class object of one creatable class. The module keeps one reference; while anyone else
// holds it (its count is 2 or more) it holds one module lock.
#pragma once
#include "platform/ComModule.h"

#include <objbase.h>

class CClassFactory final : public IClassFactory
{
public:
    using Creator = HRESULT (*)(IUnknown* pOuter, REFIID iid, void** ppv);

    explicit CClassFactory(Creator creator);
    virtual ~CClassFactory();
    CClassFactory(const CClassFactory&) = delete;
    CClassFactory& operator=(const CClassFactory&) = delete;

    STDMETHOD(QueryInterface)(REFIID iid, void** ppv) override;
    STDMETHOD_(ULONG, AddRef)() override;
    STDMETHOD_(ULONG, Release)() override;
    STDMETHOD(CreateInstance)(IUnknown* pOuter, REFIID iid, void** ppv) override;
    STDMETHOD(LockServer)(BOOL fLock) override;

private:
    Creator m_creator;
    volatile LONG m_cRef = 0;
    CRITICAL_SECTION m_cs;
};
