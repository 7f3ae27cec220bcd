// The left mouse button, double-clicks and keys, taken away from the control's own handling:
// the tree keeps its own multi-selection, expands and collapses items itself (telling the
// host before and after), switches an item on or off from its state picture, starts label
// editing on a double-click and reports keys at the last mouse point.
#pragma once
#include <windows.h>
#include <commctrl.h>

class CHostDoor;
class CItemStates;
class CLabelEditing;
class CMousePoint;
class CRedrawSuspension;
class CSelection;
class CTreeCtrl;
class CTreeItems;

class CMouseKeyboard
{
public:
    CMouseKeyboard(CTreeCtrl& control, CTreeItems& items, CHostDoor& host, CMousePoint& point, CSelection& selection,
                   CItemStates& states, CLabelEditing& labelEditing, CRedrawSuspension& redraw)
        : m_control(control), m_items(items), m_host(host), m_point(point), m_selection(selection), m_states(states),
          m_labelEditing(labelEditing), m_redraw(redraw)
    {
    }
    // Whether Ctrl is down now (not as the message that is being handled found it).
    static bool IsCtrlHeld() { return (::GetAsyncKeyState(VK_CONTROL) & 0x8000) != 0; }

    void OnLButtonDown(WPARAM keys, POINT pt);
    // The release when no drag runs.
    void OnLButtonUp();
    void OnLButtonDblClk(POINT pt);
    void OnKeyDown();
    // NM_CLICK: the cursor position becomes the last mouse point.
    void OnClick();
    void OnDblClk();

    // The press a drag starts from, and what the release after it does.
    bool IsButtonDown() const { return m_bLButtonDown != FALSE; }
    HTREEITEM PressedItem() const { return m_hPressedItem; }
    bool SelectsOnRelease() const { return m_bSelectOnRelease != FALSE; }
    void ClearSelectOnRelease() { m_bSelectOnRelease = FALSE; }
    // Ends the press: the pressed item it held.
    HTREEITEM EndPress();
    bool IsButtonExpanding() const { return m_bButtonExpanding != FALSE; }
    void Forget(HTREEITEM hItem);

private:
    void PressButton(HTREEITEM hItem);
    void PressLabel(HTREEITEM hItem, WPARAM keys);
    void PressStateIcon(HTREEITEM hItem);
    void PressElsewhere(UINT flags);

    CTreeCtrl& m_control;
    CTreeItems& m_items;
    CHostDoor& m_host;
    CMousePoint& m_point;
    CSelection& m_selection;
    CItemStates& m_states;
    CLabelEditing& m_labelEditing;
    CRedrawSuspension& m_redraw;
    HTREEITEM m_hPressedItem = nullptr;
    BOOL m_bLButtonDown = FALSE;
    BOOL m_bSelectOnRelease = FALSE;
    BOOL m_bButtonExpanding = FALSE;
};
