// Label editing in the control's own edit window. The tree starts every edit itself: the old
// label goes on the undo stack first, the host may refuse the edit when it begins, and hears
// of every accepted new label. While an edit runs its window is subclassed by CRVLabelEdit.
#pragma once
#include "platform/Window.h"

#include <windows.h>
#include <commctrl.h>

#include <string>

class CHostDoor;
class CTreeCtrl;
class CTreeItems;
class CUndoStack;

// The edit window while an edit runs: Enter and Escape end the edit when the key goes up, and
// so does the loss of focus (keeping the text).
class CRVLabelEdit final : public CWindowBase
{
public:
    void SetTree(HWND hWndTree) { m_hWndTree = hWndTree; }
    bool Begin(HWND hEdit, HTREEITEM hItem);
    bool IsEditing() const { return m_bEditing != FALSE; }
    // The whole text typed so far (the control's notification cuts it at 259 characters).
    std::wstring Text() const;
    // Ends the edit through the tree window; an ending already under way, or an edit whose
    // end the control has reported, is not ended again.
    void EndEdit(bool cancel);
    // The control has reported the edit's end (kept or discarded, whoever ended it): the loss
    // of focus that follows as it hides the edit window belongs to that ending.
    void OnEnded() { m_bEnded = TRUE; }
    HTREEITEM EditItem() const { return m_hEditItem; }

protected:
    bool ProcessMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    HWND m_hWndTree = nullptr;
    BOOL m_bEditing = FALSE;
    HTREEITEM m_hEditItem = nullptr;
    BOOL m_bEnding = FALSE;
    BOOL m_bEnded = FALSE;
};

class CLabelEditing
{
public:
    CLabelEditing(CTreeCtrl& control, CTreeItems& items, CHostDoor& host, CUndoStack& undo)
        : m_control(control), m_items(items), m_host(host), m_undo(undo)
    {
    }
    // The edit window's keys and focus end the edit, which the host hears of: while it runs it
    // holds the object as the tree window does.
    void OnCreate(const CWindowBase& treeWindow)
    {
        m_edit.SetTree(treeWindow.GetHwnd());
        m_edit.ShareLifetimeOwner(treeWindow);
    }

    // Saves the label for undo, then asks the control for an edit; the edit window, or null
    // when the edit was refused.
    HWND EditLabel(HTREEITEM hItem);
    // Ends a running edit; cancel discards the typed text.
    void EndEdit(bool cancel);
    bool IsEditing() const { return m_edit.IsEditing(); }
    HTREEITEM EditItem() const { return m_edit.EditItem(); }

    // The control's notifications (Unicode, or 8-bit should anyone switch the control back);
    // the result for the control.
    LRESULT OnBeginLabelEdit(const NMHDR& hdr);
    LRESULT OnEndLabelEdit(const NMHDR& hdr);
    // The control is deleting the item: an edit of it ends first, discarding the text.
    void OnItemDeleting(HTREEITEM hItem);

private:
    CTreeCtrl& m_control;
    CTreeItems& m_items;
    CHostDoor& m_host;
    CUndoStack& m_undo;
    CRVLabelEdit m_edit;
    // The edit window whose end the control has reported: hiding it takes its focus, and the
    // control then reports the end once more (as kept), which belongs to the first ending.
    HWND m_hEndedEdit = nullptr;
};
