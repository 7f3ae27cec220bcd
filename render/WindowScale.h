// The tree window's scale: the DPI it is shown at and everything sized by it, the picture lists
// of the nearest size at or above the scaled 16 pixels, the indent, the label font and the row
// height. At 96 DPI every size is the one the control and the pictures have unscaled. The scale
// is taken when the window is made and again whenever the DPI, the system's settings or the
// theme change; items, selection, marks and the first visible row stay as they are.
#pragma once
#include "platform/Handles.h"

#include <windows.h>

class CTreeCtrl;

class CWindowScale
{
public:
    // A window property through which a test gives the window the DPI it is to read, in place
    // of the system's answer; taken at the next change message.
    static constexpr const wchar_t* kDpiProperty = L"RVWindow.Dpi";
    // WM_DPICHANGED_AFTERPARENT (Windows 10 1703), past the headers of the Windows 7 API level.
    static constexpr UINT kDpiChangedAfterParent = 0x02E3;

    explicit CWindowScale(CTreeCtrl& control) : m_control(control) {}

    void OnCreate();
    // WM_DPICHANGED_AFTERPARENT, WM_SETTINGCHANGE, WM_THEMECHANGED: reads the DPI and applies it.
    void OnScaleMayHaveChanged();

    UINT Dpi() const { return m_dpi; }
    // A length given at 96 DPI, at the window's DPI.
    int Pixels(int at96) const { return ::MulDiv(at96, static_cast<int>(m_dpi), USER_DEFAULT_SCREEN_DPI); }
    // The side of the item and state pictures.
    int PictureSize() const;

private:
    UINT ReadDpi() const;
    void Apply();
    void ApplyPictures();
    void ApplyFont();
    void EnsureRowHolds();

    CTreeCtrl& m_control;
    UINT m_dpi = USER_DEFAULT_SCREEN_DPI;
    int m_nBaseIndent = 0;          // the control's own indent, the one at 96 DPI
    HFONT m_hUnscaledFont = nullptr; // the control's font before a scaled one replaced it
    CFontOwner m_scaledFont;        // the label font made for a DPI the system font is not at
};
