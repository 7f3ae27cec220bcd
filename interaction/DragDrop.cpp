#include "interaction/DragDrop.h"

#include "interaction/MouseKeyboard.h"
#include "model/BranchUndo.h"
#include "model/ItemRef.h"
#include "platform/ComModule.h"
#include "res/resource.h"
#include "host/HostDoor.h"
#include "interaction/Clipboard.h"
#include "model/TreeItems.h"
#include "model/UndoStack.h"
#include "platform/TreeCtrl.h"
#include "render/WindowScale.h"
#include "selection/Selection.h"
#include "tree/BranchCopies.h"
#include "tree/ItemRemoval.h"

#include <memory>

namespace {
constexpr UINT_PTR kScrollTimerId = 1;
constexpr UINT kScrollPeriod = 75; // milliseconds

// Frees a list's copies when the drop is done with them.
class CCopiesOwner
{
public:
    ~CCopiesOwner() { FreeItemCopies(list); }
    ItemCopyList list;
};
} // namespace

namespace {
// A drag cursor of the module at a size (its resource holds 32, 48 and 64 pixels).
HCURSOR LoadDragCursor(int id, int size)
{
    return static_cast<HCURSOR>(
        ::LoadImageA(g_module.GetModuleInstance(), MAKEINTRESOURCEA(id), IMAGE_CURSOR, size, size, 0));
}
} // namespace

void CDragDrop::OnCreate()
{
    m_nCursorSize = m_scale.Pixels(32);
    m_curInsertAbove.reset(LoadDragCursor(IDC_INSERTABOVE, m_nCursorSize));
    m_curInsertBelow.reset(LoadDragCursor(IDC_INSERTBELOW, m_nCursorSize));
    m_curDropOnto.reset(LoadDragCursor(IDC_DROPONTO, m_nCursorSize));
}

void CDragDrop::OnScaleChanged()
{
    // The cursor a drag shows stays until the drag ends.
    if (!m_bDragging && m_scale.Pixels(32) != m_nCursorSize) OnCreate();
}

HCURSOR CDragDrop::Cursor(int which) const
{
    switch (which) {
    case IDC_INSERTABOVE: return m_curInsertAbove.get();
    case IDC_INSERTBELOW: return m_curInsertBelow.get();
    case IDC_DROPONTO: return m_curDropOnto.get();
    default: return nullptr;
    }
}

// ---- Starting and dragging ----

bool CDragDrop::BeginDrag(HTREEITEM hItem, POINT pt)
{
    if (!m_items.IsLiveItem(hItem) || !m_control.GetParentItem(hItem)) return false; // roots stay
    m_hDragItem = hItem;
    const CItemRef item = m_items.Ref(hItem);
    if (!m_host.MayDrag(hItem) || !m_items.Resolve(item)) {
        m_hDragItem = nullptr;
        return false;
    }
    const HWND hWnd = m_control.GetHwnd();
    // Without a picture the drag goes on without one.
    m_pDragImage.reset(m_control.CreateDragImage(hItem));
    if (m_pDragImage) {
        ::ImageList_BeginDrag(m_pDragImage.get(), 0, 0, 0);
        ::ImageList_DragEnter(hWnd, pt.x, pt.y);
    }
    // The cursor the drag found is the one it leaves.
    m_hSavedCursor = ::GetCursor();
    m_bDragging = TRUE;
    ::SetCapture(hWnd);
    m_nScrollTimer = ::SetTimer(hWnd, kScrollTimerId, kScrollPeriod, nullptr);
    return true;
}

void CDragDrop::OnMouseMove(POINT pt)
{
    CMouseKeyboard& mouse = m_mouse;
    if (!m_bDragging && mouse.IsButtonDown() && mouse.PressedItem()) {
        const HTREEITEM hPressed = mouse.PressedItem();
        const CItemRef pressed = m_items.Ref(hPressed);
        m_selection.DeselectItem(hPressed, false, true);
        // The sink heard of the deselection and may have removed the item.
        if (m_items.Resolve(pressed)) BeginDrag(hPressed, pt);
    }
    if (m_bDragging) DragOver(pt);
    m_control.DefaultProcessing();
}

void CDragDrop::DragOver(POINT pt)
{
    if (m_pDragImage) ::ImageList_DragMove(pt.x, pt.y);
    const HTREEITEM hItem = m_control.HitTest(pt);
    if (!hItem) return; // the last highlighted item and band stay
    RECT rect{};
    m_control.GetItemRect(hItem, rect, true);
    // The bands at the row's edges that insert, 5 pixels at 96 DPI.
    const int band = m_scale.Pixels(5);
    HCURSOR hCursor = m_curDropOnto.get();
    m_nDropMode = DropOnto;
    if (rect.bottom - band < pt.y && pt.y < rect.bottom) {
        hCursor = m_curInsertBelow.get();
        m_nDropMode = DropAfter;
    } else if (rect.top < pt.y && pt.y < rect.top + band) {
        hCursor = m_curInsertAbove.get();
        m_nDropMode = DropBefore;
    }
    ::SetCursor(hCursor);
    const HWND hWnd = m_control.GetHwnd();
    if (m_pDragImage) ::ImageList_DragLeave(hWnd);
    SetDropTarget(hItem);
    if (m_pDragImage) ::ImageList_DragEnter(hWnd, pt.x, pt.y);
}

bool CDragDrop::OnTimer(UINT_PTR id)
{
    if (!m_bDragging || id != m_nScrollTimer) return false;
    ++m_nScrollTicks;
    POINT pt{};
    ::GetCursorPos(&pt);
    RECT client{};
    ::GetClientRect(m_control.GetHwnd(), &client);
    ::MapWindowPoints(m_control.GetHwnd(), nullptr, reinterpret_cast<POINT*>(&client), 2);
    // Closer to the edge (or beyond it) scrolls on more of the ticks: every tick within 5
    // pixels, every 2nd to 5th tick from 6 to 9 pixels.
    bool up = false;
    LONG every = 0;
    if (pt.y < client.top + 10) {
        up = true;
        every = pt.y - client.top - 4;
    } else if (pt.y > client.bottom - 10) {
        every = client.bottom - pt.y - 4;
    } else {
        return true;
    }
    if (every < 1) every = 1;
    if (m_nScrollTicks % static_cast<UINT>(every) == 0) {
        ::ImageList_DragShowNolock(FALSE);
        m_control.ScrollLine(up);
        ::ImageList_DragShowNolock(TRUE);
    }
    return true;
}

// ---- Dropping ----

void CDragDrop::OnDrop()
{
    const bool ctrl = CMouseKeyboard::IsCtrlHeld();
    CMouseKeyboard& mouse = m_mouse;
    const HTREEITEM hPressed = mouse.EndPress();
    // From here the drop ends the drag itself: a capture the host takes meanwhile (a message
    // box, say) does not end it a second time.
    m_bEnding = TRUE;
    if (m_nScrollTimer) ::KillTimer(m_control.GetHwnd(), std::exchange(m_nScrollTimer, 0));
    ReleaseDragImage();
    const HTREEITEM hTarget = m_hDropTarget;
    const HTREEITEM hDragged = m_hDragItem;

    if (hPressed && hTarget == hPressed) {
        // Back on the pressed item: a click after all.
        EndDrag();
        if (mouse.SelectsOnRelease()) {
            mouse.ClearSelectOnRelease();
            if (m_items.IsLiveItem(hPressed)) m_selection.SelectItem(hPressed, true, ctrl, true);
        }
        m_control.DefaultProcessing();
        return;
    }
    mouse.ClearSelectOnRelease(); // a drop elsewhere selects nothing

    // The drop's items are known by serial from here: a host that removes one inside a message
    // and adds another may give the new one the same handle value.
    m_draggedRef = CItemRef(m_items.LiveItems(), hDragged);
    m_targetRef = CItemRef(m_items.LiveItems(), hTarget);
    m_newRef = CItemRef();
    HTREEITEM hNew = nullptr;
    // The questions ask the host, who may remove either item meanwhile (and add items that
    // take their handles): a drop whose dragged item or target went does nothing and records
    // nothing, and what the host did meanwhile keeps its own undo records.
    if (hTarget && AllowDrop(hDragged, hTarget) && Lives(m_draggedRef) && Lives(m_targetRef)) {
        const int undoCount = m_undo.Count();
        const HTREEITEM hFormerParent = hDragged ? m_control.GetParentItem(hDragged) : nullptr;
        // What Undo needs to put the dragged branch back, taken before anything moves.
        std::unique_ptr<CRemoveUndo> removal;
        if (hDragged && hFormerParent) {
            removal = std::make_unique<CRemoveUndo>(m_undo.Target(), hFormerParent);
            m_copies.CollectBranch(removal->Branch(), hDragged, nullptr);
        }
        hNew = m_bInsertBeforeDrop ? InsertBeforeDrop(hDragged, hTarget) : CopyAndRemoveDrop(hDragged, hTarget, ctrl);
        const bool draggedGone = hDragged && !Lives(m_draggedRef);
        JoinMoveUndo(undoCount, hNew, draggedGone ? std::move(removal) : nullptr);
    }
    EndDrag();
    m_control.DefaultProcessing();
    if (hNew && Lives(m_newRef)) {
        const ItemRecord* const pRecord = m_items.GetRecord(hNew);
        m_host.TellDropped(hNew, pRecord && pRecord->bIsolated ? pRecord->typeID : 0, pRecord);
    }
}

bool CDragDrop::AllowDrop(HTREEITEM hDragged, HTREEITEM hTarget)
{
    if (!m_host.MayDrop(hTarget)) return false;
    if (!Lives(m_targetRef)) return false;
    const ItemRecord* const pTarget = m_items.GetRecord(hTarget);
    const ItemRecord* const pDragged = Lives(m_draggedRef) ? m_items.GetRecord(hDragged) : nullptr;
    // Nothing goes into an item marked no-drop, nor into a locked one: its branch stays closed
    // to the user, who would not see what landed there.
    if (pTarget && (pTarget->bNoDropInto || pTarget->bLocked) && m_nDropMode == DropOnto) return false;
    const bool isolated = (pTarget && pTarget->bIsolated) || (pDragged && pDragged->bIsolated);
    if (isolated && (pTarget ? pTarget->dataID : 0) != (pDragged ? pDragged->dataID : 0)) return false;
    const HostMessage query = m_nDropMode == DropBefore  ? HM_DROPBEFOREQUERY
                              : m_nDropMode == DropAfter ? HM_DROPAFTERQUERY
                                                         : HM_DROPCHILDQUERY;
    return m_host.MayDrop(query, hTarget) && Lives(m_targetRef);
}

namespace {
bool IsAncestorOf(CTreeCtrl& tree, HTREEITEM hAncestor, HTREEITEM hItem)
{
    for (HTREEITEM h = tree.GetParentItem(hItem); h; h = tree.GetParentItem(h))
        if (h == hAncestor) return true;
    return false;
}
} // namespace

HTREEITEM CDragDrop::InsertBeforeDrop(HTREEITEM hDragged, HTREEITEM hTarget)
{
    if (!Lives(m_draggedRef) || !Lives(m_targetRef) || hTarget == hDragged) return nullptr;
    const HTREEITEM hTargetParent = m_control.GetParentItem(hTarget);
    if (!hTargetParent || hTarget == m_control.GetParentItem(hDragged) || IsAncestorOf(m_control, hDragged, hTarget))
        return nullptr;
    const HTREEITEM hNew = m_copies.MoveBranchBefore(hDragged, hTargetParent, m_control.GetPrevSiblingItem(hTarget));
    if (!hNew) return nullptr;
    m_newRef = CItemRef(m_items.LiveItems(), hNew);
    if (Lives(m_draggedRef)) m_removal.RemoveTreeItem(hDragged);
    if (Lives(m_newRef)) m_host.TellPasted(HM_PASTEDASCHILD, hNew);
    return hNew;
}

HTREEITEM CDragDrop::CopyAndRemoveDrop(HTREEITEM hDragged, HTREEITEM hTarget, bool ctrl)
{
    if (!Lives(m_draggedRef) || !Lives(m_targetRef) || hTarget == hDragged) return nullptr;
    if (hTarget == m_control.GetParentItem(hDragged) && m_nDropMode == DropOnto) return nullptr;
    if (IsAncestorOf(m_control, hDragged, hTarget)) return nullptr;

    CCopiesOwner copies;
    m_copies.CollectBranch(copies.list, hDragged, nullptr); // nothing for an assembly

    // A keyed leaf takes no children: the dragged item is not even offered for removal.
    const ItemRecord* const pTarget = m_items.GetRecord(hTarget);
    const bool keyedLeaf = !m_control.GetChildItem(hTarget) && pTarget && pTarget->key != 0;
    // A target the host removed while it heard of the cut takes nothing: the dragged item stays.
    if (!keyedLeaf && m_host.MayCut(hDragged) && Lives(m_draggedRef) && Lives(m_targetRef)) {
        const HTREEITEM hFormerParent = m_control.GetParentItem(hDragged);
        const CItemRef formerParent = m_items.Ref(hFormerParent);
        const ItemRecord* const pDragged = m_items.GetRecord(hDragged);
        const ItemRecord words = pDragged ? *pDragged : ItemRecord{}; // the record goes with the item
        if (!ctrl) m_removal.RemoveTreeItem(hDragged);
        const ItemRecord* const pParent = m_items.Resolve(formerParent) ? m_items.GetRecord(hFormerParent) : &words;
        m_host.TellChildRemoved(words.typeID, hFormerParent, pParent);
    }

    if (copies.list.GetCount() == 0 || !Lives(m_targetRef) || !m_items.GetRecord(hTarget)) return nullptr;
    const bool allowed = m_host.MayPasteInto(hTarget);
    if (!Lives(m_targetRef)) return nullptr;
    if (m_clipboard.HostPastes()) {
        const HostMessage request = m_nDropMode == DropBefore  ? HM_PASTEBEFOREREQUEST
                                    : m_nDropMode == DropAfter ? HM_PASTEAFTERREQUEST
                                                               : HM_PASTECHILDREQUEST;
        m_host.TellPasteRequest(request, hTarget);
        return nullptr;
    }
    if (!allowed) return nullptr;
    const bool hasParent = m_control.GetParentItem(hTarget) != nullptr;
    HTREEITEM hNew = nullptr;
    HostMessage pasted = HM_PASTEDASCHILD;
    if (m_nDropMode == DropBefore && hasParent) {
        hNew = m_copies.PasteAsSiblings(hTarget, copies.list, true);
        pasted = HM_PASTEDBEFORE;
    } else if (m_nDropMode == DropAfter && hasParent) {
        hNew = m_copies.PasteAsSiblings(hTarget, copies.list, false);
        pasted = HM_PASTEDAFTER;
    } else {
        hNew = m_copies.PasteAsChildren(hTarget, copies.list);
    }
    if (!hNew) return nullptr;
    m_newRef = CItemRef(m_items.LiveItems(), hNew);
    m_host.TellPasted(pasted, hNew);
    m_control.InvalidateAll();
    return hNew;
}

void CDragDrop::JoinMoveUndo(int undoCountBefore, HTREEITEM hNew, std::unique_ptr<CRemoveUndo> removal)
{
    // Only the top action is ever run: whatever the drop pushed gives way to one action that
    // takes the new branch away and, when the dragged item went, puts its branch back. A drop
    // that changed nothing leaves the stack as it is, with the records of whatever the host
    // did meanwhile.
    const bool added = hNew && Lives(m_newRef);
    if (!added && !removal) return;
    while (m_undo.Count() > undoCountBefore) delete m_undo.Pop();
    CUndoAction* pTop = nullptr;
    if (added) {
        pTop = new CInsertUndo(m_undo.Target(), hNew);
        pTop->SetNext(removal.release());
    } else {
        pTop = removal.release();
    }
    m_undo.Push(pTop);
}

// ---- Ending ----

bool CDragDrop::Lives(const CItemRef& item) const
{
    return item.Get(m_items.LiveItems()) != nullptr;
}

void CDragDrop::SetDropTarget(HTREEITEM hItem)
{
    if (m_hDropTarget == hItem) return;
    // The highlight of the item before goes explicitly: selecting no drop target removes it
    // on Windows, not under Wine.
    if (m_hDropTarget && m_items.IsLiveItem(m_hDropTarget)) m_control.SetItemState(m_hDropTarget, 0, TVIS_DROPHILITED);
    m_hDropTarget = hItem;
    m_control.SelectDropTarget(hItem);
}

void CDragDrop::ReleaseDragImage()
{
    if (!m_pDragImage) return;
    ::ImageList_DragLeave(m_control.GetHwnd());
    ::ImageList_EndDrag();
    m_pDragImage.reset();
}

void CDragDrop::EndDrag()
{
    m_bEnding = TRUE;
    const HWND hWnd = m_control.GetHwnd();
    if (m_nScrollTimer) ::KillTimer(hWnd, std::exchange(m_nScrollTimer, 0));
    ReleaseDragImage();
    SetDropTarget(nullptr);
    if (hWnd && ::GetCapture() == hWnd) ::ReleaseCapture();
    if (m_hSavedCursor) ::SetCursor(m_hSavedCursor);
    m_bDragging = FALSE;
    m_hDragItem = nullptr;
    m_bEnding = FALSE;
}

void CDragDrop::Cancel()
{
    if (!m_bDragging || m_bEnding) return;
    m_mouse.EndPress();
    m_mouse.ClearSelectOnRelease();
    EndDrag();
}

void CDragDrop::Forget(HTREEITEM hItem)
{
    if (m_hDragItem == hItem) m_hDragItem = nullptr;
    if (m_hDropTarget == hItem) m_hDropTarget = nullptr;
}
