// The right button and the context menu. The component has no menu of its own: a right press
// tells the host's sink which entries apply to the item under the cursor, and the context-menu
// request hands the menu to the host, which posts the chosen command back to the tree.
#pragma once
#include <windows.h>
#include <commctrl.h>

class CRVTreeCtrl;

class CContextMenu
{
public:
    explicit CContextMenu(CRVTreeCtrl& tree) : m_tree(tree) {}

    void OnRButtonDown();
    void OnContextMenu(POINT screenPoint);
    // NM_RCLICK and TVN_BEGINRDRAG: reported for the item at the last mouse point.
    void OnRClick();
    void OnBeginRDrag();

    // The menu mask for a press on an item (0 for none) with the given number of bookmarks.
    static ULONG MenuMask(bool onItem, bool hasChildren, int bookmarks);

private:
    CRVTreeCtrl& m_tree;
};
