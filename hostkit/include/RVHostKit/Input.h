// Message pump and user-input helpers: what a user's mouse and keyboard would send, and what a
// host's context menu posts back.
#pragma once
#include "RVWindow.h"

#include <windows.h>
#include <commctrl.h>

namespace RVHostKit
{

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

// The user's pick from the host's context menu: a right click at a client point of the tree
// (the cursor moved there too, as the component reads it), then the command posted back as
// a host does, IRVWnd::PostMessage(WM_COMMAND, id, 0), and dispatched. The ids are in
// RVWindow/Commands.h (RVCMD_RENAME ...).
void ChooseMenuCommand(IRVWnd* pRVWnd, HWND hTree, POINT pt, UINT id);
// Types text into the tree's open label edit box and presses Enter, as a user ending an edit;
// false (and nothing typed) when no edit box is open.
bool TypeLabel(HWND hTree, const char* text);
bool TypeLabel(HWND hTree, const wchar_t* text);

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

} // namespace RVHostKit
