#include "interaction/LabelEditing.h"

#include "model/RenameUndo.h"
#include "platform/Text.h"
#include "host/HostDoor.h"
#include "model/TreeItems.h"
#include "model/UndoStack.h"
#include "platform/TreeCtrl.h"

#include <string>

// ---- The edit window ----

bool CRVLabelEdit::Begin(HWND hEdit, HTREEITEM hItem)
{
    if (!Attach(hEdit)) return false;
    m_bEditing = TRUE;
    m_bEnded = FALSE;
    m_hEditItem = hItem;
    return true;
}

std::wstring CRVLabelEdit::Text() const
{
    if (!m_hWnd) return {};
    std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(m_hWnd)) + 1, L'\0');
    text.resize(static_cast<size_t>(::GetWindowTextW(m_hWnd, &text[0], static_cast<int>(text.size()))));
    return text;
}

bool CRVLabelEdit::ProcessMessage(UINT msg, WPARAM wParam, LPARAM, LRESULT& result)
{
    result = 0;
    switch (msg) {
    case WM_KEYDOWN:
    case WM_CHAR:
        // Enter and Escape end the edit when the key goes up; the edit window itself (and
        // the control's own handling of it) never sees them.
        return wParam == VK_RETURN || wParam == VK_ESCAPE;
    case WM_KEYUP:
        if (wParam == VK_RETURN) EndEdit(false);
        else if (wParam == VK_ESCAPE) EndEdit(true);
        return true;
    case WM_KILLFOCUS:
        EndEdit(false);
        return true;
    case WM_DESTROY:
        m_bEditing = FALSE;
        m_hEditItem = nullptr;
        // The control takes its own subclass off here, and ours with it: leave first.
        result = DetachAndForward();
        return true;
    default:
        return false;
    }
}

void CRVLabelEdit::EndEdit(bool cancel)
{
    // Ending hides the edit window, which takes its focus: that loss is the ending's own.
    if (!m_hWndTree || m_bEnding || m_bEnded) return;
    m_bEnding = TRUE;
    ::SendMessageA(m_hWndTree, TVM_ENDEDITLABELNOW, cancel ? TRUE : FALSE, 0);
    m_bEnding = FALSE;
}

// ---- The edit flow ----

HWND CLabelEditing::EditLabel(HTREEITEM hItem)
{
    if (!hItem || !m_items.IsLiveItem(hItem)) return nullptr;
    const CItemRef item = m_items.Ref(hItem);
    if (IsEditing()) EndEdit(false);
    // Ending the last edit told the host, who may have removed the item.
    if (!m_items.Resolve(item)) return nullptr;
    // The old label is saved before the edit is asked for: the action exists even when the
    // host refuses the edit.
    m_undo.Push(new CRenameUndo(m_undo.Target(), hItem, m_control.GetItemText(hItem)));
    const HWND hEdit = m_control.EditLabel(hItem);
    if (!hEdit) return nullptr;
    // The host heard of the edit first and may have removed the item meanwhile.
    if (!m_items.Resolve(item) || !::IsWindow(hEdit) || !m_edit.Begin(hEdit, hItem)) {
        EndEdit(true);
        return nullptr;
    }
    return hEdit;
}

void CLabelEditing::EndEdit(bool cancel)
{
    if (m_edit.IsEditing())
        m_edit.EndEdit(cancel);
    else if (m_control.GetEditControl())
        m_control.EndEditLabelNow(cancel);
}

LRESULT CLabelEditing::OnBeginLabelEdit(const NMHDR& hdr)
{
    // Only the item is read: it sits at the same place in both character sets.
    const HTREEITEM hItem = reinterpret_cast<const NMTVDISPINFOA&>(hdr).item.hItem;
    if (!hItem) return 0;
    m_hEndedEdit = nullptr; // a new edit, whoever started it
    const CItemRef item = m_items.Ref(hItem);
    const bool allowed = m_host.MayEditLabel(hItem);
    // An item the host removed meanwhile is not edited.
    return !allowed || !m_items.Resolve(item) ? TRUE : FALSE;
}

LRESULT CLabelEditing::OnEndLabelEdit(const NMHDR& hdr)
{
    const TVITEMA& item = reinterpret_cast<const NMTVDISPINFOA&>(hdr).item;
    // Whoever ended the edit, it is over now (without text it was discarded): a second report
    // for the same edit window is the loss of focus the first ending caused.
    const HWND hEdit = m_control.GetEditControl();
    if (hEdit && hEdit == m_hEndedEdit) return 0;
    m_hEndedEdit = hEdit;
    const bool ours = m_edit.IsEditing() && m_edit.EditItem() == item.hItem;
    if (ours) m_edit.OnEnded();
    if (!item.hItem || !item.pszText || !m_items.IsLiveItem(item.hItem)) return 0;
    // The edit window has the whole text; the notification only as much as the control's
    // buffer held, in the character set the control notifies in.
    std::wstring text;
    if (ours)
        text = m_edit.Text();
    else if (hdr.code == TVN_ENDLABELEDITW)
        text = reinterpret_cast<const wchar_t*>(item.pszText);
    else
        text = rv::AnsiToWide(item.pszText);
    m_control.SetItemText(item.hItem, text.c_str());
    if (m_items.GetRecord(item.hItem)) m_host.TellLabelChanged(item.hItem);
    return 0; // the label is set already: the control must not set it again
}

void CLabelEditing::OnItemDeleting(HTREEITEM hItem)
{
    if (hItem && hItem == m_edit.EditItem()) EndEdit(true);
}
