#include "RVHostKit/Input.h"

#include <cstring>

namespace RVHostKit
{

void PumpMessages()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

POINT ItemPoint(HWND hTree, HTREEITEM hItem, ItemPart part)
{
    RECT text{};
    memcpy(&text, &hItem, sizeof hItem); // the message takes the item in the rectangle
    SendMessageA(hTree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&text));
    const LONG midY = (text.top + text.bottom) / 2;
    const int imageWidth = 16;
    const auto hasImages = SendMessageA(hTree, TVM_GETIMAGELIST, TVSIL_NORMAL, 0) != 0;
    const auto hasStates = SendMessageA(hTree, TVM_GETIMAGELIST, TVSIL_STATE, 0) != 0;
    const LONG iconLeft = text.left - (hasImages ? imageWidth + 3 : 0);
    const LONG stateLeft = iconLeft - (hasStates ? imageWidth : 0);
    switch (part) {
    case ItemPart::Label: return POINT{text.left + 3, midY};
    case ItemPart::Icon: return POINT{iconLeft + imageWidth / 2, midY};
    case ItemPart::StateIcon: return POINT{stateLeft + imageWidth / 2, midY};
    case ItemPart::Button: {
        const auto indent = static_cast<LONG>(SendMessageA(hTree, TVM_GETINDENT, 0, 0));
        return POINT{stateLeft - indent / 2, midY};
    }
    }
    return POINT{text.left, midY};
}

void Click(HWND hWnd, POINT pt, WPARAM keys)
{
    const LPARAM at = MAKELPARAM(pt.x, pt.y);
    PostMessageA(hWnd, WM_LBUTTONUP, keys, at);
    SendMessageA(hWnd, WM_LBUTTONDOWN, keys | MK_LBUTTON, at);
    PumpMessages();
}

void DoubleClick(HWND hWnd, POINT pt, WPARAM keys)
{
    Click(hWnd, pt, keys);
    const LPARAM at = MAKELPARAM(pt.x, pt.y);
    PostMessageA(hWnd, WM_LBUTTONUP, keys, at);
    SendMessageA(hWnd, WM_LBUTTONDBLCLK, keys | MK_LBUTTON, at);
    PumpMessages();
}

void RightClick(HWND hWnd, POINT pt, WPARAM keys)
{
    const LPARAM at = MAKELPARAM(pt.x, pt.y);
    PostMessageA(hWnd, WM_RBUTTONUP, keys, at);
    SendMessageA(hWnd, WM_RBUTTONDOWN, keys | MK_RBUTTON, at);
    PumpMessages();
}

void SetCursorTo(HWND hWnd, POINT pt)
{
    ClientToScreen(hWnd, &pt);
    SetCursorPos(pt.x, pt.y);
}

void PressKey(HWND hWnd, UINT vk)
{
    SendMessageA(hWnd, WM_KEYDOWN, vk, 1);
    SendMessageA(hWnd, WM_KEYUP, vk, static_cast<LPARAM>(0xC0000001u));
}

void StartDrag(HWND hWnd, POINT from, POINT to, WPARAM keys)
{
    SendMessageA(hWnd, WM_LBUTTONDOWN, keys | MK_LBUTTON, MAKELPARAM(from.x, from.y));
    SendMessageA(hWnd, WM_MOUSEMOVE, keys | MK_LBUTTON, MAKELPARAM(to.x, to.y));
}

void Drag(HWND hWnd, POINT from, POINT to, WPARAM keys)
{
    StartDrag(hWnd, from, to, keys);
    SendMessageA(hWnd, WM_LBUTTONUP, keys, MAKELPARAM(to.x, to.y));
    PumpMessages();
}

void ChooseMenuCommand(IRVWnd* pRVWnd, HWND hTree, POINT pt, UINT id)
{
    SetCursorTo(hTree, pt);
    RightClick(hTree, pt);
    pRVWnd->PostMessage(WM_COMMAND, id, 0);
    PumpMessages();
}

namespace {
// The open label edit box, or null.
HWND LabelEditBox(HWND hTree)
{
    return reinterpret_cast<HWND>(SendMessageA(hTree, TVM_GETEDITCONTROL, 0, 0));
}

void PressEnterIn(HWND hEdit)
{
    SendMessageA(hEdit, WM_KEYDOWN, VK_RETURN, 1);
    SendMessageA(hEdit, WM_KEYUP, VK_RETURN, static_cast<LPARAM>(0xC0000001u));
    PumpMessages();
}
} // namespace

bool TypeLabel(HWND hTree, const char* text)
{
    const HWND hEdit = LabelEditBox(hTree);
    if (!hEdit) return false;
    SetWindowTextA(hEdit, text);
    PressEnterIn(hEdit);
    return true;
}

bool TypeLabel(HWND hTree, const wchar_t* text)
{
    const HWND hEdit = LabelEditBox(hTree);
    if (!hEdit) return false;
    SetWindowTextW(hEdit, text);
    PressEnterIn(hEdit);
    return true;
}

namespace {
void SendKey(WORD vk, bool down)
{
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    SendInput(1, &input, sizeof input);
}
} // namespace

CHoldKey::CHoldKey(WORD vk) : m_vk(vk)
{
    SendKey(vk, true);
    PumpMessages();
}

CHoldKey::~CHoldKey()
{
    SendKey(m_vk, false);
    PumpMessages();
}

} // namespace RVHostKit
