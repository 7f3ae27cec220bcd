#include "render/WindowScale.h"

#include "platform/ComModule.h"
#include "state/ImageLists.h"
#include "platform/TreeCtrl.h"

namespace {
// GetDpiForWindow from user32 where the system has it (Windows 10 1607 and later).
UINT SystemDpiForWindow(HWND hWnd)
{
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    const HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
    const FARPROC proc = user32 ? ::GetProcAddress(user32, "GetDpiForWindow") : nullptr;
    if (!proc) return 0;
    return reinterpret_cast<GetDpiForWindowFn>(reinterpret_cast<void*>(proc))(hWnd);
}

// The DPI of the screen, which the system's fonts are made for.
UINT ScreenDpi()
{
    const CWindowDC screen(nullptr);
    const int dpi = screen.get() ? ::GetDeviceCaps(screen.get(), LOGPIXELSX) : 0;
    return dpi > 0 ? static_cast<UINT>(dpi) : USER_DEFAULT_SCREEN_DPI;
}
} // namespace

void CWindowScale::OnCreate()
{
    m_nBaseIndent = static_cast<int>(m_control.GetIndent());
    m_dpi = ReadDpi();
    // At 96 DPI the control keeps its own indent, font and rows.
    if (m_dpi == USER_DEFAULT_SCREEN_DPI)
        ApplyPictures();
    else
        Apply();
}

void CWindowScale::OnScaleMayHaveChanged()
{
    const UINT dpi = ReadDpi();
    if (dpi == m_dpi) return;
    m_dpi = dpi;
    // The rows change height: the first visible row stays the first.
    const HTREEITEM hFirstVisible = m_control.GetNextItem(nullptr, TVGN_FIRSTVISIBLE);
    Apply();
    if (hFirstVisible) m_control.SelectItem(hFirstVisible, TVGN_FIRSTVISIBLE);
    ::InvalidateRect(m_control.GetHwnd(), nullptr, TRUE);
}

int CWindowScale::PictureSize() const
{
    return rv::PictureSizeForDpi(m_dpi);
}

UINT CWindowScale::ReadDpi() const
{
    const HWND hWnd = m_control.GetHwnd();
    if (const HANDLE given = ::GetPropW(hWnd, kDpiProperty)) return static_cast<UINT>(reinterpret_cast<UINT_PTR>(given));
    const UINT dpi = SystemDpiForWindow(hWnd);
    return dpi ? dpi : ScreenDpi();
}

void CWindowScale::Apply()
{
    ApplyPictures();
    if (m_nBaseIndent > 0) m_control.SetIndent(static_cast<UINT>(Pixels(m_nBaseIndent)));
    ApplyFont();
    EnsureRowHolds();
}

void CWindowScale::ApplyPictures()
{
    const HINSTANCE hModule = g_module.GetModuleInstance();
    if (HIMAGELIST items = rv::ItemImageList(hModule, PictureSize())) m_control.SetImageList(items, TVSIL_NORMAL);
    if (HIMAGELIST states = rv::StateImageList(hModule, PictureSize())) m_control.SetImageList(states, TVSIL_STATE);
}

void CWindowScale::ApplyFont()
{
    // The system's fonts are made for the screen's DPI; a window at another DPI (a monitor of
    // its own) gets the control's font scaled from there to its DPI.
    const UINT screenDpi = ScreenDpi();
    if (m_dpi == screenDpi) {
        if (m_scaledFont) {
            m_control.SetFont(m_hUnscaledFont);
            m_scaledFont.reset();
        }
        return;
    }
    if (!m_scaledFont) m_hUnscaledFont = m_control.GetFont();
    LOGFONTW description{};
    if (!m_hUnscaledFont || !::GetObjectW(m_hUnscaledFont, sizeof description, &description))
        ::SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof description, &description, 0);
    description.lfHeight = ::MulDiv(description.lfHeight, static_cast<int>(m_dpi), static_cast<int>(screenDpi));
    CFontOwner font(::CreateFontIndirectW(&description));
    if (!font) return;
    m_control.SetFont(font.get());
    m_scaledFont = std::move(font); // the old one goes once the control has let go of it
}

void CWindowScale::EnsureRowHolds()
{
    // The control sizes its rows for its font and pictures; a row never shorter than a picture,
    // nor than a line of text with the painter's pixel above and below it.
    int fontHeight = 0;
    {
        const CWindowDC dc(m_control.GetHwnd());
        HFONT hFont = m_control.GetFont();
        if (dc.get() && hFont) {
            const CSelectObject selected(dc.get(), hFont);
            TEXTMETRICW metrics{};
            if (::GetTextMetricsW(dc.get(), &metrics)) fontHeight = metrics.tmHeight;
        }
    }
    int needed = PictureSize();
    if (fontHeight + 2 * Pixels(1) > needed) needed = fontHeight + 2 * Pixels(1);
    m_control.SetItemHeight(-1); // the control's own height for the font and pictures it has now
    if (m_control.GetItemHeight() < needed) m_control.SetItemHeight(needed);
}
