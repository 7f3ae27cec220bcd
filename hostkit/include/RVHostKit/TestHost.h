// The component as a host meets it: a host (window + host objects) with one RVWnd object in
// it, created by CLSID through COM or from RVWindow.dll beside the test program, and records
// as a host hands them in.
#pragma once
#include "RVWindow.h"
#include "RVHostKit/CallLog.h"
#include "RVHostKit/HostObjects.h"
#include "RVHostKit/HostWindow.h"
#include "RVWindow/ComPtr.h"
#include "RVWindow/ItemRecord.h"

#include <commctrl.h>
#include <string>

namespace RVHostKit
{

using RVWindow::CComPtr;

// RVWindow.dll beside the running program, loaded without registration, and its entry points.

class CComponentDll
{
public:
    static CComponentDll& Get();
    HMODULE Module() const { return m_hModule; }
    std::wstring Path() const;
    HRESULT GetClassObject(REFCLSID clsid, REFIID iid, void** ppv) const;
    HRESULT CanUnloadNow() const;
    // Creates an RVWnd through the class object, as CoCreateInstance would.
    HRESULT Create(IUnknown* pOuter, REFIID iid, void** ppv) const;

private:
    CComponentDll();
    HMODULE m_hModule = nullptr;
    HRESULT(WINAPI* m_getClassObject)(REFCLSID, REFIID, void**) = nullptr;
    HRESULT(WINAPI* m_canUnloadNow)() = nullptr;
};

// A record from the shared task allocator, as a host hands one in.
ItemRecord* NewRecord(uint32_t key = 0, uint32_t typeID = 0, uint32_t dataID = 0);

// Counts frees through the task allocator, to prove records are freed exactly once. A block
// allocated again at the same address starts from 0.
class CFreeCounter
{
public:
    CFreeCounter();
    ~CFreeCounter();
    CFreeCounter(const CFreeCounter&) = delete;
    CFreeCounter& operator=(const CFreeCounter&) = delete;
    int FreesOf(const void* p) const;

private:
    class CSpy;
    CSpy* m_pSpy;
};

// A host window with the tree in it and one host object for every host interface, all logging
// to one CCallLog. The object comes from RVWindow.dll beside the program, or, given a CLSID,
// from CoCreateInstance (the component registered). With init, Init runs at once; created and
// Init's result tell whether it worked (rv is empty when creation failed).
class CTestHost
{
public:
    explicit CTestHost(bool unicodeParent = true, bool init = true);
    explicit CTestHost(REFCLSID clsid, bool unicodeParent = true, bool init = true);
    ~CTestHost();
    CTestHost(const CTestHost&) = delete;
    CTestHost& operator=(const CTestHost&) = delete;

    // Init with this host's window and viewer objects; InitTree; SetMessageHandler.
    HRESULT Init();
    // The tree window the component created in the host window.
    HWND Tree() const;

    // Inserts an item with the control's own message, as tests do before items can be built
    // through the interface. The record (if any) becomes the tree's.
    HTREEITEM InsertRaw(HTREEITEM hParent, const char* text, ItemRecord* pRecord = nullptr,
                        HTREEITEM hAfter = TVI_LAST);
    static ULONG_PTR H(HTREEITEM hItem) { return reinterpret_cast<ULONG_PTR>(hItem); }
    static HTREEITEM T(ULONG_PTR value) { return reinterpret_cast<HTREEITEM>(value); }

    // Builds through the interface, as a host does; the new item is named in the log.
    HTREEITEM AddAssembly(const wchar_t* name, ULONG typeID = 0, ULONG dataID = 0);
    HTREEITEM AddIsolatedAssembly(const wchar_t* name, ULONG typeID = 0, ULONG dataID = 0);
    HTREEITEM AddItem(HTREEITEM hParent, const wchar_t* name, ItemRecord* pRecord = nullptr);
    // The item's label as the control shows it: in the system code page (up to 511 bytes), and
    // whole, every character as it is.
    std::string TextOf(HTREEITEM hItem) const;
    std::wstring WideTextOf(HTREEITEM hItem) const;

    // Shows the host window with the tree filling it, so that items have places on screen.
    void ShowTree(int width = 300, int height = 400);

    // Releases the component; the host's objects stay for inspection.
    void ReleaseComponent();

    CCallLog log;
    CHostWindow parent;
    // The host's objects, each holding the reference this host gives back when it goes.
    CTestMessage* message = new CTestMessage(log);
    CTestSink* sink = new CTestSink(log);
    CTestVisibility* vis = new CTestVisibility(log);
    CTestView3D* view = new CTestView3D(log);
    CTestManage3D* manage = new CTestManage3D(log);
    CComPtr<IRVWnd2> rv;
    CComPtr<IRVWnd3> rv3;
    HRESULT created = E_UNEXPECTED; // how the object's creation went
    HRESULT initialized = S_FALSE;  // Init's result; S_FALSE until Init runs
};

} // namespace RVHostKit
