/// \file HostWindow.h
/// \brief The host's own window.
#pragma once
#include <windows.h>

namespace RVHostKit
{

/// \brief The host's own window that the tree window is created in: a top-level window, hidden
/// until the test shows it, Unicode (as most hosts) or 8-bit.
class CHostWindow
{
public:
    /// \brief Creates the window.
    /// \param unicode true for a Unicode window, false for an 8-bit one.
    /// \param width its width.
    /// \param height its height.
    explicit CHostWindow(bool unicode = true, int width = 400, int height = 600);
    /// \brief Destroys the window unless Destroy did.
    ~CHostWindow();
    CHostWindow(const CHostWindow&) = delete;
    CHostWindow& operator=(const CHostWindow&) = delete;

    /// \brief The window.
    /// \return its handle, null once destroyed.
    HWND get() const { return m_hWnd; }
    /// \brief Destroys the window early (as a host closing its frame would).
    void Destroy();

private:
    HWND m_hWnd = nullptr;
};

} // namespace RVHostKit
