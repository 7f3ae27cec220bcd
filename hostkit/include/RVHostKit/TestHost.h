/// \file TestHost.h
/// \brief The component as a host meets it: a host (window and host objects) with one RVWnd
/// object in it, created by CLSID through COM or from RVWindow.dll beside the test program,
/// and records as a host hands them in.
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

/// \brief RVWindow.dll beside the running program, loaded without registration, and its entry
/// points.
class CComponentDll
{
public:
    /// \brief The DLL, loaded on first use for the life of the program.
    /// \return the one instance.
    static CComponentDll& Get();
    /// \brief The loaded module.
    /// \return its handle, null when RVWindow.dll is not beside the program.
    HMODULE Module() const { return m_hModule; }
    /// \brief The loaded module's path.
    /// \return the full path.
    std::wstring Path() const;
    /// \brief The DLL's `DllGetClassObject`.
    /// \param clsid the class.
    /// \param iid the interface of the class object.
    /// \param ppv receives it.
    /// \return its result; E_UNEXPECTED when the DLL is not loaded.
    HRESULT GetClassObject(REFCLSID clsid, REFIID iid, void** ppv) const;
    /// \brief The DLL's `DllCanUnloadNow`.
    /// \return S_OK when no object or lock is left, S_FALSE otherwise; E_UNEXPECTED when the
    ///         DLL is not loaded.
    HRESULT CanUnloadNow() const;
    /// \brief Creates an RVWnd through the class object, as `CoCreateInstance` would.
    /// \param pOuter the controlling object for aggregation, or null.
    /// \param iid the interface asked for.
    /// \param ppv receives it.
    /// \return the class object's result.
    HRESULT Create(IUnknown* pOuter, REFIID iid, void** ppv) const;

private:
    CComponentDll();
    HMODULE m_hModule = nullptr;
    HRESULT(WINAPI* m_getClassObject)(REFCLSID, REFIID, void**) = nullptr;
    HRESULT(WINAPI* m_canUnloadNow)() = nullptr;
};

/// \brief A zero-filled record from the COM task allocator, as a host hands one in.
/// \param key the model key.
/// \param typeID the host type (a child takes its parent's).
/// \param dataID the data set (a child takes its parent's).
/// \return the record; the tree owns it once its item is added.
ItemRecord* NewRecord(uint32_t key = 0, uint32_t typeID = 0, uint32_t dataID = 0);

/// \brief Counts frees through the COM task allocator (an `IMallocSpy`) for its life, to prove
/// records are freed exactly once. A block allocated again at the same address starts from 0.
class CFreeCounter
{
public:
    /// \brief Starts counting.
    CFreeCounter();
    /// \brief Stops counting.
    ~CFreeCounter();
    /// Not copyable.
    CFreeCounter(const CFreeCounter&) = delete;
    /// Not copyable.
    /// \return nothing: deleted.
    CFreeCounter& operator=(const CFreeCounter&) = delete;
    /// \brief How often a block was freed.
    /// \param p the block (a record).
    /// \return the number of frees since it was allocated.
    int FreesOf(const void* p) const;

private:
    class CSpy;
    CSpy* m_pSpy;
};

/// \brief A host window with the tree in it and one host object for every host interface, all
/// logging to one CCallLog, around one RVWnd object.
///
/// The object comes from RVWindow.dll beside the program, or, given a CLSID, from
/// `CoCreateInstance` (the component registered). With `init`, Init runs at once; created and
/// initialized tell whether it worked (rv is empty when creation failed).
class CTestHost
{
public:
    /// \brief A host whose object comes from RVWindow.dll beside the program, unregistered.
    /// \param unicodeParent a Unicode host window (true) or an 8-bit one.
    /// \param init whether Init runs at once.
    explicit CTestHost(bool unicodeParent = true, bool init = true);
    /// \brief A host whose object comes from `CoCreateInstance` (the component registered).
    /// \param clsid the class to create (`CLSID_RVWnd`).
    /// \param unicodeParent a Unicode host window (true) or an 8-bit one.
    /// \param init whether Init runs at once.
    explicit CTestHost(REFCLSID clsid, bool unicodeParent = true, bool init = true);
    /// \brief Releases the component, then the host's objects.
    ~CTestHost();
    /// Not copyable.
    CTestHost(const CTestHost&) = delete;
    /// Not copyable.
    /// \return nothing: deleted.
    CTestHost& operator=(const CTestHost&) = delete;

    /// \brief IRVWnd::Init with this host's window and viewer objects, IRVWnd::InitTree with
    /// the sink, IRVWnd::SetMessageHandler with the message handler.
    /// \return Init's (or SetMessageHandler's) result, also kept in initialized; E_UNEXPECTED
    ///         without an object.
    HRESULT Init();
    /// \brief The tree window the component created in the host window.
    /// \return its handle, null before Init.
    HWND Tree() const;

    /// \brief Inserts an item with the control's own message, bypassing the component, and
    /// names it in the log.
    /// \param hParent the parent, or `TVI_ROOT`.
    /// \param text the label, in the system code page.
    /// \param pRecord its record, which becomes the tree's, or null.
    /// \param hAfter the sibling to insert after.
    /// \return the new item.
    HTREEITEM InsertRaw(HTREEITEM hParent, const char* text, ItemRecord* pRecord = nullptr,
                        HTREEITEM hAfter = TVI_LAST);
    /// \brief An item handle as the interface takes it.
    /// \param hItem the item.
    /// \return its value.
    static ULONG_PTR H(HTREEITEM hItem) { return reinterpret_cast<ULONG_PTR>(hItem); }
    /// \brief An item handle from the interface.
    /// \param value the value.
    /// \return the item.
    static HTREEITEM T(ULONG_PTR value) { return reinterpret_cast<HTREEITEM>(value); }

    /// \brief IRVWnd::AddAssembly, as a host builds; the new root is named in the log.
    /// \param name the label.
    /// \param typeID the host type.
    /// \param dataID the data set.
    /// \return the new root, or null.
    HTREEITEM AddAssembly(const wchar_t* name, ULONG typeID = 0, ULONG dataID = 0);
    /// \brief IRVWnd3::AddIsolatedAssembly; the new root is named in the log.
    /// \param name the label.
    /// \param typeID the host type.
    /// \param dataID the data set.
    /// \return the new root, or null.
    HTREEITEM AddIsolatedAssembly(const wchar_t* name, ULONG typeID = 0, ULONG dataID = 0);
    /// \brief IRVWnd::AddTreeItem; the new item is named in the log.
    /// \param hParent the parent.
    /// \param name the label.
    /// \param pRecord its record (NewRecord), or null for a zero-filled one.
    /// \return the new item, or null.
    HTREEITEM AddItem(HTREEITEM hParent, const wchar_t* name, ItemRecord* pRecord = nullptr);
    /// \brief An item's label as the control shows it, in the system code page.
    /// \param hItem the item.
    /// \return up to 511 bytes of it.
    std::string TextOf(HTREEITEM hItem) const;
    /// \brief An item's whole label, every character as it is.
    /// \param hItem the item.
    /// \return the label; empty for an item the control does not know.
    std::wstring WideTextOf(HTREEITEM hItem) const;

    /// \brief Shows the host window with the tree filling it, so that items have places on
    /// screen (for ItemPoint and the clicks).
    /// \param width the tree's width.
    /// \param height the tree's height.
    void ShowTree(int width = 300, int height = 400);

    /// \brief Releases the component (the window goes, each item reported with
    /// \ref HM_ITEMDELETED); the host's objects stay for inspection.
    void ReleaseComponent();

    /// Every call the component made into this host's objects.
    CCallLog log;
    /// The host's window.
    CHostWindow parent;
    /// The message handler, holding the reference this host gives back when it goes.
    CTestMessage* message = new CTestMessage(log);
    /// The sink.
    CTestSink* sink = new CTestSink(log);
    /// The 3D view's visibility interface.
    CTestVisibility* vis = new CTestVisibility(log);
    /// The 3D view, with IViewNodeQuery.
    CTestView3D* view = new CTestView3D(log);
    /// The 3D object manager.
    CTestManage3D* manage = new CTestManage3D(log);
    /// The object's IRVWnd2 (which begins with IRVWnd); empty when creation failed.
    CComPtr<IRVWnd2> rv;
    /// The object's IRVWnd3.
    CComPtr<IRVWnd3> rv3;
    /// How the object's creation went.
    HRESULT created = E_UNEXPECTED;
    /// Init's result; S_FALSE until Init runs.
    HRESULT initialized = S_FALSE;
};

} // namespace RVHostKit
