#include "platform/Window.h"

#include "platform/ComPtr.h"
#include "platform/Handles.h"

#include <commctrl.h>

namespace {
// The window being created on this thread, handed from CreateEx to the creation hook.
thread_local CWindowBase* t_pCreating = nullptr;
thread_local HHOOK t_hCreationHook = nullptr;
// Where a detached window procedure that is still in the chain finds its predecessor.
const wchar_t kPreviousProcProp[] = L"RVWindowBase.PreviousProc";
} // namespace

CWindowBase::~CWindowBase()
{
    // The derived object is gone: stop routing messages to it before the window goes.
    if (HWND hWnd = m_hWnd) {
        Detach();
        ::DestroyWindow(hWnd);
    }
}

bool CWindowBase::CreateEx(DWORD exStyle, const char* className, const char* text, DWORD style,
                           const RECT& rect, HWND hParent, UINT_PTR id)
{
    if (m_hWnd) return false;
    CREATESTRUCTA cs{};
    cs.dwExStyle = exStyle;
    cs.lpszClass = className;
    cs.lpszName = text;
    cs.style = static_cast<LONG>(style);
    cs.x = rect.left;
    cs.y = rect.top;
    cs.cx = rect.right - rect.left;
    cs.cy = rect.bottom - rect.top;
    cs.hwndParent = hParent;
    cs.hMenu = reinterpret_cast<HMENU>(id);
    PreCreateWindow(cs);

    CHookOwner hook(::SetWindowsHookExA(WH_CBT, CreationHook, nullptr, ::GetCurrentThreadId()));
    if (!hook) return false;
    CWindowBase* const previous = t_pCreating;
    HHOOK const previousHook = t_hCreationHook;
    t_pCreating = this;
    t_hCreationHook = hook.get();
    HWND hWnd = ::CreateWindowExA(cs.dwExStyle, cs.lpszClass, cs.lpszName, static_cast<DWORD>(cs.style),
                                  cs.x, cs.y, cs.cx, cs.cy, cs.hwndParent, cs.hMenu,
                                  cs.hInstance, cs.lpCreateParams);
    t_pCreating = previous;
    t_hCreationHook = previousHook;
    if (!hWnd) Detach();
    return hWnd != nullptr && m_hWnd == hWnd;
}

LRESULT CALLBACK CWindowBase::CreationHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND && t_pCreating) {
        CWindowBase* const pWnd = std::exchange(t_pCreating, nullptr);
        pWnd->Attach(reinterpret_cast<HWND>(wParam));
    }
    return ::CallNextHookEx(t_hCreationHook, code, wParam, lParam);
}

bool CWindowBase::Attach(HWND hWnd)
{
    if (m_hWnd || !hWnd) return false;
    ::SetWindowLongPtrW(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    m_prevProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWindowBase::WindowProc)));
    if (!m_prevProc) {
        ::SetWindowLongPtrW(hWnd, GWLP_USERDATA, 0);
        return false;
    }
    m_hWnd = hWnd;
    return true;
}

void CWindowBase::Detach()
{
    if (m_hWnd) {
        // Put the previous procedure back if nobody subclassed the window after us; otherwise
        // we stay in the chain and only pass messages on.
        if (::GetWindowLongPtrW(m_hWnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&CWindowBase::WindowProc))
            ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_prevProc));
        else
            ::SetPropW(m_hWnd, kPreviousProcProp, reinterpret_cast<HANDLE>(m_prevProc));
        ::SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, 0);
    }
    m_hWnd = nullptr;
}

void CWindowBase::DestroyWindow()
{
    if (m_hWnd) ::DestroyWindow(m_hWnd);
}

LRESULT CWindowBase::DefaultProcessing()
{
    if (!m_pCurrent || !m_hWnd) return 0;
    return ::CallWindowProcW(m_prevProc, m_hWnd, m_pCurrent->msg, m_pCurrent->wParam, m_pCurrent->lParam);
}

LRESULT CWindowBase::DefaultProcessing(UINT msg, WPARAM wParam, LPARAM lParam)
{
    return m_hWnd ? ::CallWindowProcW(m_prevProc, m_hWnd, msg, wParam, lParam) : 0;
}

LRESULT CWindowBase::DetachAndForward()
{
    if (!m_pCurrent || !m_hWnd) return 0;
    const HWND hWnd = m_hWnd;
    const WNDPROC previous = m_prevProc;
    const CurrentMessage message = *m_pCurrent;
    Detach();
    return ::CallWindowProcW(previous, hWnd, message.msg, message.wParam, message.lParam);
}

LRESULT CALLBACK CWindowBase::WindowProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto* const pWnd = reinterpret_cast<CWindowBase*>(::GetWindowLongPtrW(hWnd, GWLP_USERDATA));
    if (!pWnd) {
        const auto previous = reinterpret_cast<WNDPROC>(::GetPropW(hWnd, kPreviousProcProp));
        if (msg == WM_NCDESTROY) ::RemovePropW(hWnd, kPreviousProcProp);
        return previous ? ::CallWindowProcW(previous, hWnd, msg, wParam, lParam)
                        : ::DefWindowProcW(hWnd, msg, wParam, lParam);
    }
    // Released last: when it was the last reference, the object and its window go here, and
    // nothing below touches pWnd afterwards.
    const CKeepAlive alive(pWnd->LifetimeOwner());
    const CurrentMessage current{msg, wParam, lParam};
    const CurrentMessage* const outer = std::exchange(pWnd->m_pCurrent, &current);
    LRESULT result = 0;
    if (!pWnd->ProcessMessage(msg, wParam, lParam, result))
        result = ::CallWindowProcW(pWnd->m_prevProc, hWnd, msg, wParam, lParam);
    pWnd->m_pCurrent = outer;
    if (msg == WM_NCDESTROY) {
        pWnd->Detach();
        pWnd->OnFinalMessage();
    }
    return result;
}
