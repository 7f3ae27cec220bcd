// The demo's host objects: each prints the calls the component makes into it.
#pragma once
#include "RVWindow.h"

#include <cstdio>

class CDemoHost final : public IMessage, public IRavlinWindowSink, public IVisibilityManager,
                        public IView3DObjects
{
public:
    CDemoHost() = default;
    virtual ~CDemoHost() = default;

    // All four faces share one identity and count; the demo keeps the object on its stack
    // and checks at the end that the component gave back every reference.
    STDMETHOD(QueryInterface)(REFIID iid, void** ppv) override;
    STDMETHOD_(ULONG, AddRef)() override { return static_cast<ULONG>(++m_cRef); }
    STDMETHOD_(ULONG, Release)() override { return static_cast<ULONG>(--m_cRef); }
    long References() const { return m_cRef; }
    // The component, to name items in what is printed and to post menu commands to (not
    // counted).
    void SetTree(IRVWnd2* pTree) { m_pTree = pTree; }
    // The window the context menu is shown for; without one (headless) no menu is shown.
    void SetMenuOwner(HWND hWnd) { m_hMenuOwner = hWnd; }
    // A scripted user's choice for the next context menu, in place of showing it.
    void ChooseNext(UINT command) { m_nextChoice = command; }

    // IMessage
    STDMETHOD(Send)(ULONG wID, USHORT wMsg, ULONG Size, BYTE* data, LONG* pResult) override;
    STDMETHOD(SendWithDataID)(ULONG dataID, ULONG wID, USHORT wMsg, ULONG Size, BYTE* data,
                              LONG* pResult) override;
    // IRavlinWindowSink
    STDMETHOD(SetSelectionLock)(LONG bLock) override;
    STDMETHOD(SetVisibilityLock)(LONG bLock) override;
    STDMETHOD(IsSelectionLock)(LONG* pbLock) override;
    STDMETHOD(IsVisibilityLock)(LONG* pbLock) override;
    STDMETHOD(SetMenuMask)(ULONG mask) override;
    STDMETHOD(GetFirstSelectedOrvaneItem)(ULONG* pKey) override;
    STDMETHOD(NotifySelectedTypeID)(int typeID) override;
    STDMETHOD(NotifyRButtonUp)(UINT nFlags, POINT point, int menuKey) override;
    // IVisibilityManager
    STDMETHOD(SetVisible)(ULONG keyIn) override;
    STDMETHOD(SetInvisible)(ULONG keyIn) override;
    STDMETHOD(GetVisibility)(ULONG keyIn, LONG* pOnOrOff) override;
    // IView3DObjects
    STDMETHOD(Draw)() override;

private:
    void PrintMessage(const char* method, ULONG dataID, ULONG wID, USHORT wMsg, BYTE* data);

    IRVWnd2* m_pTree = nullptr;
    HWND m_hMenuOwner = nullptr;
    UINT m_nextChoice = 0;
    long m_cRef = 0;
    long m_selectionLock = 0;
    long m_visibilityLock = 0;
};
