#include "platform/NotifyReflector.h"

#include <commctrl.h>

bool CNotifyReflector::Attach(HWND hParent, HWND hChild)
{
    Detach();
    if (!hParent || !hChild) return false;
    if (!::SetWindowSubclass(hParent, ParentProc, reinterpret_cast<UINT_PTR>(this),
                             reinterpret_cast<DWORD_PTR>(this)))
        return false;
    m_hParent = hParent;
    m_hChild = hChild;
    return true;
}

void CNotifyReflector::Detach()
{
    if (m_hParent) ::RemoveWindowSubclass(m_hParent, ParentProc, reinterpret_cast<UINT_PTR>(this));
    m_hParent = nullptr;
    m_hChild = nullptr;
}

LRESULT CALLBACK CNotifyReflector::ParentProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                              UINT_PTR, DWORD_PTR refData)
{
    auto* const self = reinterpret_cast<CNotifyReflector*>(refData);
    if (msg == WM_NOTIFY && lParam) {
        const auto* const hdr = reinterpret_cast<const NMHDR*>(lParam);
        if (hdr->hwndFrom && hdr->hwndFrom == self->m_hChild)
            return ::SendMessageA(self->m_hChild, kReflectedNotify, wParam, lParam);
    }
    if (msg == WM_NCDESTROY) {
        const LRESULT result = ::DefSubclassProc(hWnd, msg, wParam, lParam);
        self->Detach();
        return result;
    }
    return ::DefSubclassProc(hWnd, msg, wParam, lParam);
}
