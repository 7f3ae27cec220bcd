// Window base: subclasses a window and routes its messages to the derived class, with the
// previous window procedure as default processing (in the manner of WTL's message maps).
// The object is found through the window's user data: no lookup per message beyond that.
#pragma once
#include <windows.h>
#include <unknwn.h>

class CWindowBase
{
public:
    CWindowBase() = default;
    virtual ~CWindowBase();
    CWindowBase(const CWindowBase&) = delete;
    CWindowBase& operator=(const CWindowBase&) = delete;

    HWND GetHwnd() const { return m_hWnd; }
    bool IsWindow() const { return m_hWnd != nullptr; }
    // The whole client area painted anew, background and all.
    void InvalidateAll() const
    {
        if (m_hWnd) ::InvalidateRect(m_hWnd, nullptr, TRUE);
    }

    // Creates a window of an existing class and subclasses it before its first message, so
    // that WM_NCCREATE and WM_CREATE already reach ProcessMessage. PreCreateWindow may adjust
    // the creation parameters. Returns false when the window could not be created.
    bool CreateEx(DWORD exStyle, const char* className, const char* text, DWORD style,
                  const RECT& rect, HWND hParent, UINT_PTR id);
    // Subclasses an existing window.
    bool Attach(HWND hWnd);
    void DestroyWindow();

    // The COM object that owns this window (not counted). It is held for the length of every
    // message, so that a release from inside a message handler (the host letting go of the
    // object while it hears of something) destroys the object only once the outermost
    // message is done with it.
    void SetLifetimeOwner(IUnknown* pOwner) { m_pLifetimeOwner = pOwner; }
    IUnknown* LifetimeOwner() const { return m_pShareOwnerOf ? m_pShareOwnerOf->LifetimeOwner() : m_pLifetimeOwner; }
    // A window of the object's own (an edit box, a notification window) holds the object
    // another window of it names, for as long as that one does: a message to it may reach
    // the host too.
    void ShareLifetimeOwner(const CWindowBase& window) { m_pShareOwnerOf = &window; }

    // The previous window procedure's answer to the message being processed.
    LRESULT DefaultProcessing();
    LRESULT DefaultProcessing(UINT msg, WPARAM wParam, LPARAM lParam);

protected:
    // Return true when the message was handled and result set; false lets the previous
    // window procedure process it.
    virtual bool ProcessMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) = 0;
    virtual void PreCreateWindow(CREATESTRUCTA& cs) { (void)cs; }
    // Called after the window's last message; m_hWnd is already null.
    virtual void OnFinalMessage() {}
    // Leaves the window's chain and passes the current message on: for a window whose owner
    // takes its own subclass off when it is destroyed, so that later messages would miss us.
    LRESULT DetachAndForward();

    HWND m_hWnd = nullptr;

private:
    struct CurrentMessage { UINT msg; WPARAM wParam; LPARAM lParam; };

    static LRESULT CALLBACK WindowProc(HWND, UINT, WPARAM, LPARAM);
    static LRESULT CALLBACK CreationHook(int code, WPARAM wParam, LPARAM lParam);
    void Detach();

    const CurrentMessage* m_pCurrent = nullptr;
    WNDPROC m_prevProc = nullptr; // the window procedure we subclassed
    IUnknown* m_pLifetimeOwner = nullptr;
    const CWindowBase* m_pShareOwnerOf = nullptr;
};
