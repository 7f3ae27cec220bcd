// Typed wrapper over the tree-view control's messages. Every message the component sends to
// its tree control goes through here (and is counted), so the component's logic never builds
// raw SendMessage calls. Without a window every call answers zero. Labels are wide text: the
// control works in Unicode, so every character a label holds is kept.
#pragma once
#include "platform/Window.h"

#include <windows.h>
#include <commctrl.h>
#include <string>

// Told of every message the wrapper sends to the control: the benchmarks count them.
class ISentMessageHook
{
public:
    virtual void OnSent(UINT msg) = 0;

protected:
    ~ISentMessageHook() = default;
};

class CTreeCtrl : public CWindowBase
{
public:
    // Creates the control as a child of hParent.
    bool Create(DWORD style, DWORD exStyle, const RECT& rect, HWND hParent, UINT_PTR id);

    HTREEITEM InsertItem(const TVINSERTSTRUCTW& insert);
    bool DeleteItem(HTREEITEM hItem);
    bool DeleteAllItems();

    HTREEITEM GetNextItem(HTREEITEM hItem, UINT code);
    HTREEITEM GetRootItem() { return GetNextItem(nullptr, TVGN_ROOT); }
    HTREEITEM GetChildItem(HTREEITEM hItem) { return GetNextItem(hItem, TVGN_CHILD); }
    HTREEITEM GetNextSiblingItem(HTREEITEM hItem) { return GetNextItem(hItem, TVGN_NEXT); }
    HTREEITEM GetPrevSiblingItem(HTREEITEM hItem) { return GetNextItem(hItem, TVGN_PREVIOUS); }
    HTREEITEM GetParentItem(HTREEITEM hItem) { return GetNextItem(hItem, TVGN_PARENT); }

    bool GetItem(TVITEMW& item);
    bool SetItem(const TVITEMW& item);
    LPARAM GetItemData(HTREEITEM hItem);
    bool SetItemData(HTREEITEM hItem, LPARAM data);
    // The whole label, however long.
    std::wstring GetItemText(HTREEITEM hItem);
    bool SetItemText(HTREEITEM hItem, const wchar_t* text);
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
    // The rows the client area shows whole.
    UINT GetVisibleCount();
    HFONT GetFont();
    // The label font; the control keeps using the handle, which stays the caller's.
    void SetFont(HFONT hFont) { Send(WM_SETFONT, reinterpret_cast<WPARAM>(hFont), TRUE); }
    UINT GetIndent() { return static_cast<UINT>(Send(TVM_GETINDENT)); }
    void SetIndent(UINT indent) { Send(TVM_SETINDENT, indent); }
    int GetItemHeight() { return static_cast<int>(Send(TVM_GETITEMHEIGHT)); }
    // -1: the control's own height for its font and pictures.
    void SetItemHeight(int height) { Send(TVM_SETITEMHEIGHT, static_cast<WPARAM>(height)); }
    HTREEITEM HitTest(POINT pt, UINT* pFlags = nullptr);
    bool GetItemRect(HTREEITEM hItem, RECT& rect, bool textOnly);
    HIMAGELIST SetImageList(HIMAGELIST hImageList, int type);
    HIMAGELIST GetImageList(int type);
    // The character set of the control's notifications.
    bool SetUnicodeFormat(bool unicode);
    void SetRedraw(bool redraw) { Send(WM_SETREDRAW, redraw ? TRUE : FALSE); }

    // Label editing in the control's own edit window.
    HWND EditLabel(HTREEITEM hItem);
    bool EndEditLabelNow(bool cancel);
    HWND GetEditControl();
    // Dragging: the control's picture of an item, the drop highlight, scrolling by a line.
    HIMAGELIST CreateDragImage(HTREEITEM hItem);
    bool SelectDropTarget(HTREEITEM hItem) { return SelectItem(hItem, TVGN_DROPHILITE); }
    void ScrollLine(bool up) { Send(WM_VSCROLL, up ? SB_LINEUP : SB_LINEDOWN); }

    // The notification's code, an 8-bit code folded into its wide one (should anyone switch the
    // control back to 8-bit notifications): the data the component reads sits at the same
    // places in both.
    static UINT NotificationCode(const NMHDR& hdr);

    // Null for none; the hook must outlive the window or be taken off first.
    void SetSentMessageHook(ISentMessageHook* pHook) { m_pSentHook = pHook; }

protected:
    LRESULT Send(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
    // Straight to the control's own procedure, past this object's handling of the message:
    // for a caller that does that handling itself.
    LRESULT SendToControl(UINT msg, WPARAM wParam, LPARAM lParam);

private:
    ISentMessageHook* m_pSentHook = nullptr;
};
