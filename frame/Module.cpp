#include "frame/Module.h"

#include "RVWindow.h"
#include "ZKTComCreate.h"
#include "frame/RVWnd.h"
#include "frame/Registration.h"
#include "platform/ClassFactory.h"
#include "platform/ComModule.h"

namespace rv {

namespace {

struct ObjectMapEntry
{
    const CLSID* pClsid;
    HRESULT (*updateRegistry)(HINSTANCE, bool);
    CClassFactory::Creator createInstance;
    CClassFactory* pClassObject; // created on first use, one reference held by the module
};

ObjectMapEntry s_objectMap[] = {
    {&CLSID_RVWnd, &UpdateRegistry, &CreateComInstance<CRVWnd>, nullptr},
};

CRITICAL_SECTION* ClassObjectLock()
{
    static CRITICAL_SECTION cs = [] {
        CRITICAL_SECTION c;
        ::InitializeCriticalSection(&c);
        return c;
    }();
    return &cs;
}

} // namespace

HRESULT RegisterServer()
{
    const HINSTANCE hModule = g_module.GetModuleInstance();
    for (const auto& entry : s_objectMap) ZKTUnregisterClass(entry.pClsid, hModule);
    HRESULT hr = S_OK;
    for (const auto& entry : s_objectMap) {
        hr = entry.updateRegistry(hModule, true);
        if (FAILED(hr)) break;
    }
    if (SUCCEEDED(hr)) hr = RegisterTypeLibrary(hModule);
    for (const auto& entry : s_objectMap) ZKTRegisterClass(entry.pClsid, hModule);
    return hr;
}

HRESULT UnregisterServer()
{
    const HINSTANCE hModule = g_module.GetModuleInstance();
    for (const auto& entry : s_objectMap) ZKTUnregisterClass(entry.pClsid, hModule);
    HRESULT hr = S_OK;
    for (const auto& entry : s_objectMap) {
        const HRESULT hrEntry = entry.updateRegistry(hModule, false);
        if (FAILED(hrEntry) && SUCCEEDED(hr)) hr = hrEntry;
    }
    return hr;
}

HRESULT GetClassObject(REFCLSID rclsid, REFIID riid, void** ppv)
{
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    CLSID reference{};
    const CLSID& wanted = SUCCEEDED(ZKTGetReferenceGUID(&rclsid, &reference)) ? reference : rclsid;
    for (auto& entry : s_objectMap) {
        if (!::IsEqualCLSID(*entry.pClsid, wanted)) continue;
        ::EnterCriticalSection(ClassObjectLock());
        if (!entry.pClassObject) {
            entry.pClassObject = new (std::nothrow) CClassFactory(entry.createInstance);
            if (entry.pClassObject) entry.pClassObject->AddRef();
        }
        CClassFactory* const pClassObject = entry.pClassObject;
        ::LeaveCriticalSection(ClassObjectLock());
        if (!pClassObject) return E_OUTOFMEMORY;
        return pClassObject->QueryInterface(riid, ppv);
    }
    return CLASS_E_CLASSNOTAVAILABLE;
}

HRESULT CanUnloadNow()
{
    return g_module.GetLockCount() == 0 ? S_OK : S_FALSE;
}

void TermModule()
{
    for (auto& entry : s_objectMap) {
        if (CClassFactory* const p = entry.pClassObject) {
            entry.pClassObject = nullptr;
            p->Release();
        }
    }
}

} // namespace rv
