// Sends the parent's WM_NOTIFY messages from one child window back to that child as reflected
// notifications (OCM_NOTIFY), so that a control handles its own notifications whatever window
// its host gives it. The parent is subclassed once per child; the subclass goes with either.
#pragma once
#include <windows.h>

// The usual reflection base: a reflected message is the original plus 0x2000.
constexpr UINT kReflectBase = 0x2000;
constexpr UINT kReflectedNotify = WM_NOTIFY + kReflectBase;

class CNotifyReflector
{
public:
    CNotifyReflector() = default;
    ~CNotifyReflector() { Detach(); }
    CNotifyReflector(const CNotifyReflector&) = delete;
    CNotifyReflector& operator=(const CNotifyReflector&) = delete;

    bool Attach(HWND hParent, HWND hChild);
    void Detach();
    bool IsAttached() const { return m_hParent != nullptr; }

private:
    static LRESULT CALLBACK ParentProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);

    HWND m_hParent = nullptr;
    HWND m_hChild = nullptr;
};
