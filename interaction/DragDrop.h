// Dragging a branch with the left button: started by the first mouse move after a plain press
// on a label, shown by a drag image and one of three cursors (before, after or onto the item
// under the cursor), scrolled near the window's top and bottom edges, and dropped with every
// host veto on the way. However the drag ends, the timer, drag image, capture, cursor and drop
// highlight go with it, and nothing is dropped twice.
#pragma once
#include "model/ItemRef.h"
#include "platform/Handles.h"

#include <memory>

#include <windows.h>
#include <commctrl.h>

class CBranchCopies;
class CClipboard;
class CHostDoor;
class CItemRemoval;
class CMouseKeyboard;
class CSelection;
class CTreeCtrl;
class CTreeItems;
class CUndoStack;
class CWindowScale;
class CRemoveUndo;

class CDragDrop
{
public:
    enum DropMode { DropBefore = 0, DropAfter = 1, DropOnto = 2 };

    CDragDrop(CTreeCtrl& control, CTreeItems& items, CHostDoor& host, CUndoStack& undo, const CClipboard& clipboard,
              const CWindowScale& scale, CSelection& selection, CMouseKeyboard& mouse, CBranchCopies& copies,
              CItemRemoval& removal)
        : m_control(control), m_items(items), m_host(host), m_undo(undo), m_clipboard(clipboard), m_scale(scale),
          m_selection(selection), m_mouse(mouse), m_copies(copies), m_removal(removal)
    {
    }
    // Loads the three drag cursors from the component's resources, at the window's scale.
    void OnCreate();
    // The window's DPI changed: the cursors of the new scale (after the drag under way).
    void OnScaleChanged();

    void SetInsertBeforeDrop(bool on) { m_bInsertBeforeDrop = on ? TRUE : FALSE; }
    bool IsDragging() const { return m_bDragging != FALSE; }
    HTREEITEM DragItem() const { return m_hDragItem; }
    int DropMode() const { return m_nDropMode; }
    HCURSOR Cursor(int which) const;

    // Starts a drag of the item; false when it is a root or the host refuses.
    bool BeginDrag(HTREEITEM hItem, POINT pt);
    void OnMouseMove(POINT pt);
    // True when the tick was the drag's own.
    bool OnTimer(UINT_PTR id);
    void OnDrop();
    // Ends a drag without dropping (Escape, the capture taken away, the window going).
    void Cancel();
    void Forget(HTREEITEM hItem);

private:
    void DragOver(POINT pt);
    // Answers whether the drop may go on; sends the drop queries.
    bool AllowDrop(HTREEITEM hDragged, HTREEITEM hTarget);
    HTREEITEM InsertBeforeDrop(HTREEITEM hDragged, HTREEITEM hTarget);
    HTREEITEM CopyAndRemoveDrop(HTREEITEM hDragged, HTREEITEM hTarget, bool ctrl);
    // One Undo reverts a drop: the pasted branch's insertion with the removal chained to it.
    void JoinMoveUndo(int undoCountBefore, HTREEITEM hNew, std::unique_ptr<CRemoveUndo> removal);
    void ReleaseDragImage();
    void SetDropTarget(HTREEITEM hItem);
    // Whether an item of the drop is still the very item it was.
    bool Lives(const CItemRef& item) const;
    // Step by step out of the drag: highlight, capture, cursor, state.
    void EndDrag();

    CTreeCtrl& m_control;
    CTreeItems& m_items;
    CHostDoor& m_host;
    CUndoStack& m_undo;
    const CClipboard& m_clipboard;
    const CWindowScale& m_scale;
    CSelection& m_selection;
    CMouseKeyboard& m_mouse;
    CBranchCopies& m_copies;
    CItemRemoval& m_removal;
    BOOL m_bDragging = FALSE;
    BOOL m_bEnding = FALSE; // the drag is being ended: a capture change is its own doing
    HTREEITEM m_hDragItem = nullptr;
    // The drop-highlighted item, as the drag last set it: Wine's control keeps answering
    // TVGN_DROPHILITE with the last item it highlighted, even after the highlight was removed.
    HTREEITEM m_hDropTarget = nullptr;
    // The dragged item, the target and the new item of the drop under way, by serial.
    CItemRef m_draggedRef;
    CItemRef m_targetRef;
    CItemRef m_newRef;
    CImageListOwner m_pDragImage;
    HCURSOR m_hSavedCursor = nullptr;
    int m_nDropMode = DropOnto;
    BOOL m_bInsertBeforeDrop = FALSE;
    UINT_PTR m_nScrollTimer = 0;
    UINT m_nScrollTicks = 0;
    CCursorOwner m_curInsertAbove;
    CCursorOwner m_curInsertBelow;
    CCursorOwner m_curDropOnto;
    int m_nCursorSize = 0;
};
