// Message pump and user-input helpers: what a user's mouse and keyboard would send.
#pragma once
#include <windows.h>
#include <commctrl.h>

// Dispatches every message waiting in this thread's queue.
void PumpMessages();

enum class ItemPart { Label, StateIcon, Icon, Button };

// A client point on the given part of an item (from its rectangles), for hit tests.
POINT ItemPoint(HWND hTree, HTREEITEM hItem, ItemPart part);

// A click as the control would see it. The control's own button-down processing waits for the
// release, so the release is posted before the press is sent.
void Click(HWND hWnd, POINT pt, WPARAM keys = 0);
void DoubleClick(HWND hWnd, POINT pt, WPARAM keys = 0);
void RightClick(HWND hWnd, POINT pt, WPARAM keys = 0);
// Moves the screen cursor to a client point of the window (for code that reads the cursor).
void SetCursorTo(HWND hWnd, POINT pt);
void PressKey(HWND hWnd, UINT vk);
// A left-button drag from one client point to another: press, one move, release.
void Drag(HWND hWnd, POINT from, POINT to, WPARAM keys = 0);
// The same up to the move; the drag is left running.
void StartDrag(HWND hWnd, POINT from, POINT to, WPARAM keys = 0);

// Holds a key down (as GetAsyncKeyState sees it) for a scope.
class CHoldKey
{
public:
    explicit CHoldKey(WORD vk);
    ~CHoldKey();
    CHoldKey(const CHoldKey&) = delete;
    CHoldKey& operator=(const CHoldKey&) = delete;

private:
    WORD m_vk;
};
