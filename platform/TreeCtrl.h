// Typed wrapper over the tree-view control's messages. Every message the component sends to
// its tree control goes through here (and is counted), so the component's logic never builds
// raw SendMessage calls. Without a window every call answers zero.
#pragma once
#include "platform/Window.h"

#include <windows.h>
#include <commctrl.h>
#include <string>

class CTreeCtrl : public CWindowBase
{
public:
    // Creates the control as a child of hParent.
    bool Create(DWORD style, DWORD exStyle, const RECT& rect, HWND hParent, UINT_PTR id);

    HTREEITEM InsertItem(const TVINSERTSTRUCTA& insert);
    bool DeleteItem(HTREEITEM hItem);
    bool DeleteAllItems();
    // Deletes a branch (TVI_ROOT: every item) leaf by leaf, children before their parent, so
    // that the control never recurses through a deep branch (its own deletion does).
    void DeleteBranchFromLeaves(HTREEITEM hItem);

    HTREEITEM GetNextItem(HTREEITEM hItem, UINT code);
    HTREEITEM GetRootItem() { return GetNextItem(nullptr, TVGN_ROOT); }
    HTREEITEM GetChildItem(HTREEITEM hItem) { return GetNextItem(hItem, TVGN_CHILD); }
    HTREEITEM GetNextSiblingItem(HTREEITEM hItem) { return GetNextItem(hItem, TVGN_NEXT); }
    HTREEITEM GetPrevSiblingItem(HTREEITEM hItem) { return GetNextItem(hItem, TVGN_PREVIOUS); }
    HTREEITEM GetParentItem(HTREEITEM hItem) { return GetNextItem(hItem, TVGN_PARENT); }

    bool GetItem(TVITEMA& item);
    bool SetItem(const TVITEMA& item);
    LPARAM GetItemData(HTREEITEM hItem);
    bool SetItemData(HTREEITEM hItem, LPARAM data);
    std::string GetItemText(HTREEITEM hItem);
    bool SetItemText(HTREEITEM hItem, const char* text);
    UINT GetItemState(HTREEITEM hItem, UINT mask);
    bool SetItemState(HTREEITEM hItem, UINT state, UINT mask);
    bool SetItemImage(HTREEITEM hItem, int image, int selectedImage);
    // The children indicator as the control keeps it (TVIF_CHILDREN).
    int GetItemChildren(HTREEITEM hItem);
    bool SetItemChildren(HTREEITEM hItem, int children);
    bool ItemHasChildren(HTREEITEM hItem) { return GetItemChildren(hItem) != 0; }

    bool Expand(HTREEITEM hItem, UINT action);
    bool EnsureVisible(HTREEITEM hItem);
    bool SelectItem(HTREEITEM hItem, UINT code);
    UINT GetCount();
    HTREEITEM HitTest(POINT pt, UINT* pFlags = nullptr);
    bool GetItemRect(HTREEITEM hItem, RECT& rect, bool textOnly);
    HIMAGELIST SetImageList(HIMAGELIST hImageList, int type);
    HIMAGELIST GetImageList(int type);
    bool SetUnicodeFormat(bool unicode);
    void SetRedraw(bool redraw) { Send(WM_SETREDRAW, redraw ? TRUE : FALSE); }

    // Messages sent to the control so far (for measurements).
    unsigned long MessagesSent() const { return m_nMessagesSent; }

protected:
    LRESULT Send(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);

private:
    unsigned long m_nMessagesSent = 0;
};
