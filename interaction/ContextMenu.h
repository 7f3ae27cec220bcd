// The right button and the context menu. The component has no menu of its own: a right press
// tells the host's sink which entries apply to the item under the cursor, and the context-menu
// request hands the menu to the host, which posts the chosen command back to the tree.
#pragma once
#include <windows.h>
#include <commctrl.h>

class CFindBookmarks;
class CHostDoor;
class CMousePoint;
class CSelection;
class CTreeCtrl;
class CTreeItems;

class CContextMenu
{
public:
    CContextMenu(CTreeCtrl& control, CTreeItems& items, CHostDoor& host, CMousePoint& point, CSelection& selection,
                 const CFindBookmarks& find)
        : m_control(control), m_items(items), m_host(host), m_point(point), m_selection(selection), m_find(find)
    {
    }

    void OnRButtonDown();
    void OnContextMenu(POINT screenPoint);
    // NM_RCLICK and TVN_BEGINRDRAG: reported for the item at the last mouse point.
    void OnRClick();
    void OnBeginRDrag();

    // The menu mask for a press on an item (0 for none) with the given number of bookmarks.
    static ULONG MenuMask(bool onItem, bool hasChildren, int bookmarks);

private:
    CTreeCtrl& m_control;
    CTreeItems& m_items;
    CHostDoor& m_host;
    CMousePoint& m_point;
    CSelection& m_selection;
    const CFindBookmarks& m_find;
};
