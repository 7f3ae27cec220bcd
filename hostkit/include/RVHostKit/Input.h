/// \file Input.h
/// \brief The user's hands: what a user's mouse and keyboard would send, what a host's context
/// menu posts back, and the message pump.
#pragma once
#include "RVWindow.h"

#include <windows.h>
#include <commctrl.h>

namespace RVHostKit
{

/// \brief Dispatches every message waiting in this thread's queue (posted commands, the
/// releases the click helpers post).
void PumpMessages();

/// The parts of an item's row a point can be on.
enum class ItemPart
{
    Label,     ///< the item's text
    StateIcon, ///< the state picture (on, off, failed ...)
    Icon,      ///< the item image (part, assembly, padlock ...)
    Button     ///< the expand button
};

/// \brief A client point on a part of an item, from its rectangles, for clicks and hit tests.
/// \param hTree the tree window (CTestHost::Tree).
/// \param hItem the item, which must be on screen (CTestHost::ShowTree, expanded parents).
/// \param part the part.
/// \return the point, in the tree window's client coordinates.
POINT ItemPoint(HWND hTree, HTREEITEM hItem, ItemPart part);

/// \brief A left click as the control sees it: the release is posted before the press is sent
/// (the control's own press processing waits for it), then the queue is pumped.
/// \param hWnd the tree window.
/// \param pt the client point (ItemPoint).
/// \param keys the key flags of the messages (`MK_CONTROL`, `MK_SHIFT`).
void Click(HWND hWnd, POINT pt, WPARAM keys = 0);
/// \brief A click, then the double-click message and its release.
/// \param hWnd the tree window.
/// \param pt the client point.
/// \param keys the key flags of the messages.
void DoubleClick(HWND hWnd, POINT pt, WPARAM keys = 0);
/// \brief A right click: press and release, then the queue is pumped. The component reads the
/// press's point from the cursor: move it there first (SetCursorTo), or use ChooseMenuCommand.
/// \param hWnd the tree window.
/// \param pt the client point.
/// \param keys the key flags of the messages.
void RightClick(HWND hWnd, POINT pt, WPARAM keys = 0);
/// \brief Moves the screen cursor to a client point of the window, for code that reads the
/// cursor.
/// \param hWnd the window.
/// \param pt the client point.
void SetCursorTo(HWND hWnd, POINT pt);
/// \brief A key pressed and released in the window.
/// \param hWnd the tree window.
/// \param vk the virtual key.
void PressKey(HWND hWnd, UINT vk);
/// \brief A left-button drag from one client point to another: press, one move, release.
/// \param hWnd the tree window.
/// \param from where the press is (an item's label starts a drag of it).
/// \param to where the move and the release are.
/// \param keys the key flags of the messages (`MK_CONTROL` copies).
void Drag(HWND hWnd, POINT from, POINT to, WPARAM keys = 0);
/// \brief The same up to the move; the drag is left running.
/// \param hWnd the tree window.
/// \param from where the press is.
/// \param to where the move is.
/// \param keys the key flags of the messages.
void StartDrag(HWND hWnd, POINT from, POINT to, WPARAM keys = 0);

/// \brief The user's pick from the host's context menu: a right click at a client point of the
/// tree (the cursor moved there too, as the component reads it), then the command posted back
/// as a host does, IRVWnd::PostMessage(WM_COMMAND, id, 0), and dispatched.
/// \param pRVWnd the tree object.
/// \param hTree the tree window.
/// \param pt the client point of the right click.
/// \param id the command (\ref RVCommand, such as \ref RVCMD_RENAME).
void ChooseMenuCommand(IRVWnd* pRVWnd, HWND hTree, POINT pt, UINT id);
/// \brief Types text into the tree's open label edit box and presses Enter, as a user ending
/// an edit.
/// \param hTree the tree window.
/// \param text the new label, in the system code page.
/// \return false (and nothing typed) when no edit box is open.
bool TypeLabel(HWND hTree, const char* text);
/// \brief Types wide text into the tree's open label edit box and presses Enter.
/// \param hTree the tree window.
/// \param text the new label.
/// \return false (and nothing typed) when no edit box is open.
bool TypeLabel(HWND hTree, const wchar_t* text);

/// \brief Holds a key down for a scope, as `GetAsyncKeyState` sees it (Ctrl during a click or
/// a drop, say).
class CHoldKey
{
public:
    /// \brief Presses the key (`SendInput`).
    /// \param vk the virtual key.
    explicit CHoldKey(WORD vk);
    /// \brief Releases it.
    ~CHoldKey();
    CHoldKey(const CHoldKey&) = delete;
    CHoldKey& operator=(const CHoldKey&) = delete;

private:
    WORD m_vk;
};

} // namespace RVHostKit
