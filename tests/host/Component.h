// The component as a host meets it: RVWindow.dll loaded beside the test program, its class
// object, and a host (window + host objects) with one RVWnd object in it.
#pragma once
#include "RVWindow.h"
#include "host/CallLog.h"
#include "host/HostObjects.h"
#include "host/HostWindow.h"
#include "model/ItemRecord.h"
#include "platform/ComPtr.h"

#include <commctrl.h>
#include <set>
#include <string>
#include <vector>

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

class CTestHost
{
public:
    explicit CTestHost(bool unicodeParent = true, bool init = true);
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
    std::string TextOf(HTREEITEM hItem) const;

    // Shows the host window with the tree filling it, so that items have places on screen.
    void ShowTree(int width = 300, int height = 400);

    // Releases the component; the host's objects stay for inspection.
    void ReleaseComponent();

    CCallLog log;
    CHostWindow parent;
    CTestMessage* message;
    CTestSink* sink;
    CTestVisibility* vis;
    CTestView3D* view;
    CTestManage3D* manage;
    CComPtr<IRVWnd2> rv;
    CComPtr<IRVWnd3> rv3;
};

// A small product structure built through the interface (everything expanded unless asked):
//   Gearbox (typeID 4, dataID 9) ─┬─ Housing (key 100) ─┬─ Left (101)
//                                 │                     └─ Right (101)
//                                 └─ Shaft (200)
//   Frame (typeID 5, dataID 8) ──── Strut (101)
struct GearboxTree
{
    explicit GearboxTree(CTestHost& host, bool expand = true);
    HTREEITEM gearbox{}, housing{}, left{}, right{}, shaft{}, frame{}, strut{};
};

// The gearbox tree shown in its host window, for tests that point at its rows.
struct ShownGearbox
{
    ShownGearbox();
    HTREEITEM Next(HTREEITEM item, UINT code) const;
    HTREEITEM LastChild(HTREEITEM item) const;
    // The labels below an item (0: the roots), in order.
    std::vector<std::string> Children(HTREEITEM item) const;

    CTestHost host;
    GearboxTree g{host};
    HWND tree{};
};

// Host message entries as the log shows them: form 1 (with dataID) and form 2 (plain Send).
std::string Msg(const char* code, const char* item, unsigned typeID = 4, unsigned dataID = 9);
std::string Form2(const char* code, const char* item, unsigned typeID = 4);

// What the maker's message box would have shown the user ("type|help|text" each), from the
// recording QMUtil.dll beside the tests; reading empties the record.
std::vector<std::string> TakeMessageBoxes();
