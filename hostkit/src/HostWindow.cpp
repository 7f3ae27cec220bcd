#include "RVHostKit/HostWindow.h"

namespace RVHostKit
{

namespace {

const wchar_t kClassW[] = L"RVTestHostW";
const char kClassA[] = "RVTestHostA";

void RegisterClasses()
{
    static bool registered = false;
    if (registered) return;
    WNDCLASSW wcw{};
    wcw.lpfnWndProc = DefWindowProcW;
    wcw.hInstance = GetModuleHandleW(nullptr);
    wcw.lpszClassName = kClassW;
    wcw.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    RegisterClassW(&wcw);
    WNDCLASSA wca{};
    wca.lpfnWndProc = DefWindowProcA;
    wca.hInstance = GetModuleHandleA(nullptr);
    wca.lpszClassName = kClassA;
    wca.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    RegisterClassA(&wca);
    registered = true;
}

} // namespace

CHostWindow::CHostWindow(bool unicode, int width, int height)
{
    RegisterClasses();
    if (unicode)
        m_hWnd = CreateWindowExW(0, kClassW, L"Host", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, width,
                                 height, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    else
        m_hWnd = CreateWindowExA(0, kClassA, "Host", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, width,
                                 height, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

CHostWindow::~CHostWindow()
{
    Destroy();
}

void CHostWindow::Destroy()
{
    if (m_hWnd) DestroyWindow(m_hWnd);
    m_hWnd = nullptr;
}

} // namespace RVHostKit
