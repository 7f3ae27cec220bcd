#include "tree/RVTreeCtrl.h"

#include <windowsx.h>

#include <vector>

namespace {
// Posted to the tree window to carry out removals that had to wait.
constexpr UINT kRemovePending = WM_APP + 0x52;
} // namespace

CRVTreeCtrl::CRVTreeCtrl()
{
    m_redraw.AddListener(&m_selection);
    m_redraw.AddListener(&m_navigator);
    // The control reports to the notification window, whose messages reach the host.
    m_notifier.ShareLifetimeOwner(*this);
}

CRVTreeCtrl::~CRVTreeCtrl()
{
    // The control deletes its items (and so frees their records) while the host's interfaces
    // are still held; only then are they released.
    DestroyWindow();
    m_host.Release();
    m_undo.Clear();
}

bool CRVTreeCtrl::Create(HWND hParent)
{
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_TREEVIEW_CLASSES};
    ::InitCommonControlsEx(&icc);
    const RECT empty{0, 0, 0, 0};
    // Created under the component's own notification window, which the control notifies for
    // the rest of its life, and only then moved into the host's window.
    if (!m_notifier.IsWindow() && !m_notifier.Create()) return false;
    if (!CTreeCtrl::Create(WS_CHILD, 0, empty, m_notifier.GetHwnd(), 0)) return false;
    m_notifier.SetTarget(m_hWnd);
    ::SetParent(m_hWnd, hParent);
    return true;
}

void CRVTreeCtrl::PreCreateWindow(CREATESTRUCTA& cs)
{
    cs.style |= static_cast<LONG>(kTreeStyles);
    cs.dwExStyle |= kTreeExStyle;
}

void CRVTreeCtrl::TakeBackInsertion(HTREEITEM hItem)
{
    const CItemRef item = m_items.Ref(hItem);
    if (m_items.GetRecord(hItem)) m_host.TellDeleting(hItem); // the answer changes nothing
    if (m_items.Resolve(item)) m_removal.RemoveTreeItem(hItem);
}

void CRVTreeCtrl::RestoreBranch(HTREEITEM hParent, const ItemCopyList& branch)
{
    const HTREEITEM hNew = m_copies.PasteAsChildren(hParent, branch);
    if (hNew && m_items.IsLiveItem(hNew) && m_items.GetRecord(hNew)) m_host.TellPasted(HM_PASTEDASCHILD, hNew);
}

// ---- Messages ----

bool CRVTreeCtrl::ProcessMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    // While the control deletes items it must not lay out its rows: expansions asked for then
    // wait anyway, until the deletion is over.
    if (!IsDeleting()) m_navigator.ExpandWaitingBefore(msg, wParam, lParam);
    if (ProcessInput(msg, wParam, lParam, result)) return true;
    switch (msg) {
    case WM_CREATE:
        result = OnCreate();
        return true;
    case TVM_INSERTITEMA:
    case TVM_INSERTITEMW:
        result = OnInsertItem(lParam);
        return true;
    case TVM_SETITEMA:
    case TVM_SETITEMW:
        result = OnSetItem(lParam);
        return true;
    case kRemovePending:
        m_removal.RemovePending();
        return true;
    case TVM_DELETEITEM:
        result = m_removal.OnControlDeleteItem();
        return true;
    case TVM_SORTCHILDREN:
    case TVM_SORTCHILDRENCB:
        result = DefaultProcessing();
        ReadChildOrder(msg == TVM_SORTCHILDREN ? reinterpret_cast<HTREEITEM>(lParam)
                       : lParam                ? reinterpret_cast<const TVSORTCB*>(lParam)->hParent
                                               : nullptr);
        return true;
    case WM_SIZE:
        return m_removal.HoldSizeDuringDeletion();
    case TVM_EXPAND:
    case TVM_ENSUREVISIBLE:
        if (!IsDeleting()) return false;
        m_removal.DeferLayoutRequest(msg, msg == TVM_EXPAND ? wParam : 0, reinterpret_cast<HTREEITEM>(lParam));
        if (!m_bDestroyGuard) ::PostMessageA(m_hWnd, kRemovePending, 0, 0);
        result = TRUE;
        return true;
    case kReflectedNotify:
        result = OnReflectedNotify(reinterpret_cast<NMHDR*>(lParam));
        return true;
    case WM_PAINT:
        // Asked to paint into a context of the caller's, the tree paints there.
        if (wParam)
            m_painter.OnPrintClient(reinterpret_cast<HDC>(wParam));
        else
            m_painter.OnPaint();
        return true;
    case WM_PRINTCLIENT:
        m_painter.OnPrintClient(reinterpret_cast<HDC>(wParam));
        return true;
    case WM_ERASEBKGND:
        return m_painter.OnEraseBkgnd(result);
    case WM_DESTROY:
        // Only the first reaches the control's own handling.
        if (m_bDestroyGuard) return true;
        OnDestroy();
        return false;
    case WM_NCDESTROY:
        OnNcDestroy();
        return false;
    case CWindowScale::kDpiChangedAfterParent:
    case WM_SETTINGCHANGE:
    case WM_THEMECHANGED:
        m_scale.OnScaleMayHaveChanged();
        m_drag.OnScaleChanged();
        return false; // the control hears of it too
    case WM_SYSCOLORCHANGE:
        m_painter.OnSysColorChange();
        return false; // the control takes the new colours too
    default:
        return false;
    }
}

LRESULT CRVTreeCtrl::OnCreate()
{
    const LRESULT result = DefaultProcessing();
    if (result == -1) return result;
    // Labels are wide text, whatever character set the host's window has: the control's
    // notifications carry the edited label in Unicode too.
    SetUnicodeFormat(true);
    m_scale.OnCreate();
    m_drag.OnCreate();
    m_labelEditing.OnCreate(*this);
    return result;
}

bool CRVTreeCtrl::ProcessInput(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    const POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    result = 0;
    if (msg == m_find.FindMessage()) {
        m_find.OnFindReplace(reinterpret_cast<const FINDREPLACEW*>(lParam));
        return true;
    }
    switch (msg) {
    case WM_LBUTTONDOWN:
        m_mouse.OnLButtonDown(wParam, pt);
        return true;
    case WM_LBUTTONUP:
        if (m_drag.IsDragging())
            m_drag.OnDrop();
        else
            m_mouse.OnLButtonUp();
        return true;
    case WM_LBUTTONDBLCLK:
        m_mouse.OnLButtonDblClk(pt);
        return true;
    case WM_MOUSEMOVE:
        m_drag.OnMouseMove(pt);
        return true;
    case WM_TIMER:
        return m_drag.OnTimer(wParam);
    case WM_CAPTURECHANGED:
        m_drag.Cancel(); // another window took the mouse: the drag cannot go on
        return false;
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE) m_drag.Cancel();
        m_mouse.OnKeyDown();
        return true;
    case WM_CHAR:
        return true;
    case WM_RBUTTONDOWN:
        m_contextMenu.OnRButtonDown();
        return true;
    case WM_CONTEXTMENU:
        m_contextMenu.OnContextMenu(pt);
        return true;
    case WM_COMMAND:
        return lParam == 0 && m_commands.OnCommand(LOWORD(wParam));
    default:
        return false;
    }
}

LRESULT CRVTreeCtrl::OnSetItem(LPARAM lParam)
{
    const LRESULT result = DefaultProcessing();
    // The item's fields have the same places in both character sets.
    const auto* const pItem = reinterpret_cast<const TVITEMW*>(lParam);
    if (result && pItem && (pItem->mask & TVIF_PARAM))
        m_items.OnRecordSet(pItem->hItem, reinterpret_cast<ItemRecord*>(pItem->lParam));
    return result;
}

HTREEITEM CRVTreeCtrl::InsertItem(const TVINSERTSTRUCTW& insert)
{
    if (IsDeleting()) return nullptr;
    const auto hItem = reinterpret_cast<HTREEITEM>(SendToControl(TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
    RecordInsertion(hItem, &insert);
    return hItem;
}

LRESULT CRVTreeCtrl::OnInsertItem(LPARAM lParam)
{
    // An item added under one the control is deleting would be lost with it, and the control's
    // count of its items with it: whoever asks during a deletion gets no item.
    if (IsDeleting()) return 0;
    const LRESULT result = DefaultProcessing();
    RecordInsertion(reinterpret_cast<HTREEITEM>(result), reinterpret_cast<const TVINSERTSTRUCTW*>(lParam));
    return result;
}

// The record word sits at the same place in both character sets' insertion requests.
void CRVTreeCtrl::RecordInsertion(HTREEITEM hItem, const TVINSERTSTRUCTW* pInsert)
{
    const bool hasRecord = pInsert && (pInsert->item.mask & TVIF_PARAM);
    const bool placed =
        m_items.OnInserted(hItem, hasRecord ? reinterpret_cast<ItemRecord*>(pInsert->item.lParam) : nullptr,
                           pInsert ? pInsert->hParent : nullptr, pInsert ? pInsert->hInsertAfter : TVI_LAST);
    // A sorted insertion, or one after an item that is not a sibling: the control says where.
    if (!placed) m_items.PlaceAfter(hItem, GetNextItem(hItem, TVGN_PREVIOUS));
}

void CRVTreeCtrl::ReadChildOrder(HTREEITEM hParent)
{
    // The live items' child order follows the control's through a sort: read again for the
    // sorted branch, every level (a sort may recurse).
    std::vector<HTREEITEM> parents{hParent == TVI_ROOT ? nullptr : hParent};
    while (!parents.empty()) {
        const HTREEITEM hItem = parents.back();
        parents.pop_back();
        HTREEITEM hPrevious = nullptr;
        for (HTREEITEM hChild = hItem ? GetChildItem(hItem) : GetRootItem(); hChild;
             hChild = GetNextSiblingItem(hChild)) {
            m_items.PlaceAfter(hChild, hPrevious);
            hPrevious = hChild;
            if (m_items.LiveItems().HasChildren(hChild)) parents.push_back(hChild);
        }
    }
}

LRESULT CRVTreeCtrl::OnReflectedNotify(NMHDR* pHdr)
{
    if (!pHdr) return 0;
    switch (NotificationCode(*pHdr)) {
    case TVN_DELETEITEMW:
        // Only the old item's handle and data are read: the same in both character sets.
        OnDeleteItem(*reinterpret_cast<const NMTREEVIEWA*>(pHdr));
        return 0;
    case TVN_SELCHANGINGW:
        return TRUE; // the control's own selection is never used
    case TVN_ITEMEXPANDINGW:
        return OnItemExpanding(*reinterpret_cast<const NMTREEVIEWA*>(pHdr));
    case TVN_BEGINLABELEDITW:
        return m_labelEditing.OnBeginLabelEdit(*pHdr);
    case TVN_ENDLABELEDITW:
        return m_labelEditing.OnEndLabelEdit(*pHdr);
    case NM_CLICK:
        m_mouse.OnClick();
        return 0;
    case NM_DBLCLK:
        m_mouse.OnDblClk();
        return 0;
    case NM_RCLICK:
        m_contextMenu.OnRClick();
        return 0;
    case TVN_BEGINRDRAGW:
        m_contextMenu.OnBeginRDrag();
        return 0;
    default:
        return 0;
    }
}

void CRVTreeCtrl::OnDeleteItem(const NMTREEVIEWA& nm)
{
    const HTREEITEM hItem = nm.itemOld.hItem;
    if (!hItem) return;
    // The host hears of the record the notification carries; the record freed is the one the
    // item holds afterwards (the host may have handed it another meanwhile), known without a
    // message to the control.
    m_labelEditing.OnItemDeleting(hItem);
    m_removal.OnDeleteItem(hItem, reinterpret_cast<const ItemRecord*>(nm.itemOld.lParam), m_bDestroyGuard != FALSE);
    bool live = false;
    ItemRecord* pRecord = m_items.RecordOf(hItem, live);
    if (!live) pRecord = reinterpret_cast<ItemRecord*>(nm.itemOld.lParam);
    ForgetItem(hItem, pRecord);
    delete pRecord;
    // A removal the host asked for during a deletion it started itself runs once the control
    // is done with that deletion.
    if (m_removal.HasPending() && !m_bDestroyGuard && m_hWnd) ::PostMessageA(m_hWnd, kRemovePending, 0, 0);
}

void CRVTreeCtrl::ForgetItem(HTREEITEM hItem, ItemRecord* pRecord)
{
    m_items.OnDeleted(hItem);
    m_selection.Forget(hItem);
    m_find.Forget(hItem, pRecord && pRecord->bBookmark);
    m_mouse.Forget(hItem);
    m_drag.Forget(hItem);
}

LRESULT CRVTreeCtrl::OnItemExpanding(const NMTREEVIEWA& nm)
{
    // A locked item's branch stays as it is.
    const HTREEITEM hItem = nm.itemNew.hItem;
    const ItemRecord* const pRecord = hItem ? m_items.GetRecord(hItem) : nullptr;
    return pRecord && pRecord->bLocked ? 1 : 0;
}

void CRVTreeCtrl::OnDestroy()
{
    m_bDestroyGuard = TRUE;
    // A drag or an edit under way ends with the window, dropping and keeping nothing.
    m_drag.Cancel();
    m_labelEditing.EndEdit(true);
    m_find.CloseFindDialog();
    // Every item goes (and is reported) before the control's own destroy handling, whose
    // deletion recurses through the branches and would overflow the stack on a deep tree.
    m_removal.DeleteBranchFromLeaves(TVI_ROOT);
}

void CRVTreeCtrl::OnNcDestroy()
{
    // Whatever the control did not report is gone with the window.
    m_items.Clear();
}
