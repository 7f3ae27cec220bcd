// RAII owners for Win32 and GDI handles: each owner closes exactly what it was given.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <utility>

namespace rvdetail {
// Handles held by owners right now: a debug count that shows whether an operation repeated
// many times gives back all it made (GetGuiResources counts nothing under Wine).
inline long& OwnedHandleCount()
{
    static long count = 0;
    return count;
}
} // namespace rvdetail

// A handle closed by Close(handle) when the owner lets go of it.
template <class H, auto Close>
class CHandleOwner
{
public:
    CHandleOwner() = default;
    explicit CHandleOwner(H h) : m_h(h)
    {
        if (m_h) ++rvdetail::OwnedHandleCount();
    }
    ~CHandleOwner() { reset(); }
    CHandleOwner(const CHandleOwner&) = delete;
    CHandleOwner& operator=(const CHandleOwner&) = delete;
    CHandleOwner(CHandleOwner&& o) noexcept : m_h(std::exchange(o.m_h, H())) {}
    CHandleOwner& operator=(CHandleOwner&& o) noexcept
    {
        if (this != &o) reset(std::exchange(o.m_h, H()));
        return *this;
    }

    void reset(H h = H())
    {
        if (h) ++rvdetail::OwnedHandleCount();
        if (H old = std::exchange(m_h, h)) {
            --rvdetail::OwnedHandleCount();
            Close(old);
        }
    }
    H release()
    {
        if (m_h) --rvdetail::OwnedHandleCount();
        return std::exchange(m_h, H());
    }
    H get() const { return m_h; }
    explicit operator bool() const { return m_h != H(); }

private:
    H m_h = H();
};

namespace rvdetail {
inline void DeleteGdiObject(HGDIOBJ h) { ::DeleteObject(h); }
inline void DestroyImageList(HIMAGELIST h) { ::ImageList_Destroy(h); }
inline void DestroyCursorHandle(HCURSOR h) { ::DestroyCursor(h); }
inline void UnhookHook(HHOOK h) { ::UnhookWindowsHookEx(h); }
inline void DeleteMemoryDC(HDC h) { ::DeleteDC(h); }
inline void FreeLibraryHandle(HMODULE h) { ::FreeLibrary(h); }
} // namespace rvdetail

template <class H>
using CGdiObject = CHandleOwner<H, rvdetail::DeleteGdiObject>;
using CBitmapOwner = CGdiObject<HBITMAP>;
using CFontOwner = CGdiObject<HFONT>;
using CBrushOwner = CGdiObject<HBRUSH>;
using CRgnOwner = CGdiObject<HRGN>;
using CImageListOwner = CHandleOwner<HIMAGELIST, rvdetail::DestroyImageList>;
using CCursorOwner = CHandleOwner<HCURSOR, rvdetail::DestroyCursorHandle>;
using CHookOwner = CHandleOwner<HHOOK, rvdetail::UnhookHook>;
using CMemoryDCOwner = CHandleOwner<HDC, rvdetail::DeleteMemoryDC>;
using CModuleOwner = CHandleOwner<HMODULE, rvdetail::FreeLibraryHandle>;

// A window's device context from GetDC, released to that window.
class CWindowDC
{
public:
    explicit CWindowDC(HWND hWnd) : m_hWnd(hWnd), m_hDC(::GetDC(hWnd)) {}
    ~CWindowDC() { if (m_hDC) ::ReleaseDC(m_hWnd, m_hDC); }
    CWindowDC(const CWindowDC&) = delete;
    CWindowDC& operator=(const CWindowDC&) = delete;
    HDC get() const { return m_hDC; }

private:
    HWND m_hWnd;
    HDC m_hDC;
};

// BeginPaint/EndPaint as a scope.
class CPaintDC
{
public:
    explicit CPaintDC(HWND hWnd) : m_hWnd(hWnd) { m_hDC = ::BeginPaint(hWnd, &m_ps); }
    ~CPaintDC() { ::EndPaint(m_hWnd, &m_ps); }
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;
    HDC get() const { return m_hDC; }
    const PAINTSTRUCT& ps() const { return m_ps; }

private:
    HWND m_hWnd;
    PAINTSTRUCT m_ps{};
    HDC m_hDC = nullptr;
};

// Selects a GDI object into a DC for a scope and puts the previous one back.
class CSelectObject
{
public:
    CSelectObject(HDC hDC, HGDIOBJ h) : m_hDC(hDC), m_hOld(::SelectObject(hDC, h)) {}
    ~CSelectObject() { if (m_hOld) ::SelectObject(m_hDC, m_hOld); }
    CSelectObject(const CSelectObject&) = delete;
    CSelectObject& operator=(const CSelectObject&) = delete;

private:
    HDC m_hDC;
    HGDIOBJ m_hOld;
};
