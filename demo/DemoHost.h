// The demo's host objects: each prints the calls the component makes into it.
#pragma once
#include "RVWindow.h"

#include <cstdio>
#include <set>

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
    // Where the host's log lines go besides the console (a list box), and the 3D view that
    // repaints when what it shows changes.
    void SetLogWindow(HWND hWnd) { m_hLog = hWnd; }
    void SetViewWindow(HWND hWnd) { m_hView = hWnd; }
    void Log(const char* format, ...) __attribute__((format(printf, 2, 3)));
    // What the 3D view shows: the model keys switched on, and those selected in the tree.
    const std::set<ULONG>& VisibleKeys() const { return m_visible; }
    const std::set<ULONG>& SelectedKeys() const { return m_selected; }
    // The user picks a model node in the 3D view: the host shows it selected there and has
    // the tree select every item of its key (which reports nothing back: the pick is the
    // host's own).
    void PickInView(ULONG key);

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
    ULONG KeyOf(BYTE* data) const;
    void TrackSelection(USHORT wMsg, BYTE* data);
    void Changed();
    void PrintMessage(const char* method, ULONG dataID, ULONG wID, USHORT wMsg, BYTE* data);

    IRVWnd2* m_pTree = nullptr;
    HWND m_hMenuOwner = nullptr;
    HWND m_hLog = nullptr;
    HWND m_hView = nullptr;
    std::set<ULONG> m_visible;
    std::set<ULONG> m_selected;
    UINT m_nextChoice = 0;
    long m_cRef = 0;
    long m_selectionLock = 0;
    long m_visibilityLock = 0;
};
