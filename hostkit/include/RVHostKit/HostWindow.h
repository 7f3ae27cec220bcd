// The host's own window that the tree window is created in; Unicode (as most hosts) or 8-bit.
#pragma once
#include <windows.h>

namespace RVHostKit
{

class CHostWindow
{
public:
    explicit CHostWindow(bool unicode = true, int width = 400, int height = 600);
    ~CHostWindow();
    CHostWindow(const CHostWindow&) = delete;
    CHostWindow& operator=(const CHostWindow&) = delete;

    HWND get() const { return m_hWnd; }
    // Destroys the window early (as a host closing its frame would).
    void Destroy();

private:
    HWND m_hWnd = nullptr;
};

} // namespace RVHostKit
