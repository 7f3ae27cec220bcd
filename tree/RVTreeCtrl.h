// The tree window: the hub. It composes the concerns, each a class of its own given only the
// collaborators it uses; routes window messages, the control's notifications and the object's
// calls to them; and owns the windows. See docs/architecture.md.
#pragma once
#include "host/HostDoor.h"
#include "interaction/Clipboard.h"
#include "interaction/Commands.h"
#include "interaction/ContextMenu.h"
#include "interaction/DragDrop.h"
#include "interaction/FindBookmarks.h"
#include "interaction/LabelEditing.h"
#include "interaction/MouseKeyboard.h"
#include "interaction/MousePoint.h"
#include "model/TreeItems.h"
#include "model/UndoStack.h"
#include "platform/NotifyForwarder.h"
#include "platform/TreeCtrl.h"
#include "render/RedrawSuspension.h"
#include "render/TreePainter.h"
#include "render/WindowScale.h"
#include "selection/ItemLocks.h"
#include "selection/Selection.h"
#include "state/ItemPictures.h"
#include "state/ItemStates.h"
#include "tree/BranchCopies.h"
#include "tree/ItemRemoval.h"
#include "tree/TreeBuilder.h"
#include "tree/TreeNavigator.h"

class CRVTreeCtrl final : public CTreeCtrl, public IUndoTarget, private IItemInserter, private IPaintConditions
{
public:
    // Styles the tree window always has.
    static constexpr DWORD kTreeStyles = TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT |
                                         TVS_EDITLABELS | TVS_SHOWSELALWAYS; // 0x2F
    static constexpr DWORD kTreeExStyle = WS_EX_CLIENTEDGE;

    CRVTreeCtrl();
    ~CRVTreeCtrl() override;

    // Creates the hidden tree window as a child of hParent; its notifications come back to it.
    bool Create(HWND hParent);

    // The tree's own insertions go straight to the control, one window-procedure hop shorter
    // than through the window, and are recorded as the window records anyone else's. No item
    // while the control deletes items: the host hears of each deletion from inside it.
    HTREEITEM InsertItem(const TVINSERTSTRUCTW& insert) override;
    bool IsDeleting() const { return m_removal.InDeletion(); }

    // ---- What the tree is made of ----
    CTreeItems& Items() { return m_items; }
    const CTreeItems& Items() const { return m_items; }
    CHostDoor& Host() { return m_host; }
    CUndoStack& Undo() { return m_undo; }
    CClipboard& Clipboard() { return m_clipboard; }
    CMousePoint& MousePoint() { return m_point; }
    CRedrawSuspension& Redraw() { return m_redraw; }
    CItemPictures& Pictures() { return m_pictures; }
    CItemLocks& Locks() { return m_locks; }
    CTreeBuilder& Builder() { return m_builder; }
    CTreeNavigator& Navigator() { return m_navigator; }
    CItemStates& States() { return m_states; }
    CBranchCopies& Copies() { return m_copies; }
    CItemRemoval& Removal() { return m_removal; }
    CSelection& Selection() { return m_selection; }
    CLabelEditing& LabelEditing() { return m_labelEditing; }
    CMouseKeyboard& Mouse() { return m_mouse; }
    CContextMenu& ContextMenu() { return m_contextMenu; }
    CDragDrop& Drag() { return m_drag; }
    CCommands& Commands() { return m_commands; }
    CFindBookmarks& FindBookmarks() { return m_find; }
    const CWindowScale& Scale() const { return m_scale; }

    // IUndoTarget: what undo actions do to the tree.
    const CLiveItems& LiveItems() const override { return m_items.LiveItems(); }
    void SetItemLabel(HTREEITEM hItem, const wchar_t* text) override { SetItemText(hItem, text); }
    void TakeBackInsertion(HTREEITEM hItem) override;
    void RestoreBranch(HTREEITEM hParent, const ItemCopyList& branch) override;

protected:
    bool ProcessMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void PreCreateWindow(CREATESTRUCTA& cs) override;

private:
    // IPaintConditions
    bool ControlDrawsItself() const override { return m_drag.IsDragging() || m_mouse.IsButtonExpanding(); }
    HTREEITEM EditedItem() const override { return m_labelEditing.IsEditing() ? m_labelEditing.EditItem() : nullptr; }

    LRESULT OnCreate();
    // The user's input, routed to the concern it belongs to; true when it was handled.
    bool ProcessInput(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    LRESULT OnInsertItem(LPARAM lParam);
    // Reads the order of the branch's children from the control after a sort.
    void ReadChildOrder(HTREEITEM hParent);
    void RecordInsertion(HTREEITEM hItem, const TVINSERTSTRUCTW* pInsert);
    LRESULT OnSetItem(LPARAM lParam);
    LRESULT OnReflectedNotify(NMHDR* pHdr);
    void OnDeleteItem(const NMTREEVIEWA& nm);
    LRESULT OnItemExpanding(const NMTREEVIEWA& nm);
    void OnDestroy();
    void OnNcDestroy();
    // Nothing the tree keeps may hold a deleted item's handle.
    void ForgetItem(HTREEITEM hItem, ItemRecord* pRecord);

    // The window the control notifies: it outlives the tree window, which the destructor
    // destroys first.
    CNotifyForwarder m_notifier;
    BOOL m_bDestroyGuard = FALSE;
    // The model, and the door every call out to the host goes through.
    CTreeItems m_items;
    CHostDoor m_host{m_items};
    CUndoStack m_undo{*this};
    CClipboard m_clipboard;
    CMousePoint m_point{*this};
    // The concerns, each after those it uses.
    CRedrawSuspension m_redraw{*this};
    CWindowScale m_scale{*this};
    CItemPictures m_pictures{*this, m_items, m_redraw};
    CItemStates m_states{*this, m_items, m_host, m_pictures};
    CItemLocks m_locks{*this, m_items, m_host, m_pictures, m_redraw};
    CTreeNavigator m_navigator{*this, m_items, m_host, m_redraw};
    CSelection m_selection{*this, m_items, m_host, m_redraw, m_navigator};
    CTreeBuilder m_builder{*this, m_items, m_host, m_undo, m_point, *this};
    CBranchCopies m_copies{*this, m_items, m_undo, m_locks, m_builder, m_removal};
    CItemRemoval m_removal{*this, m_items, m_host, m_undo, m_redraw, m_selection, m_find, m_copies};
    CLabelEditing m_labelEditing{*this, m_items, m_host, m_undo};
    CMouseKeyboard m_mouse{*this, m_items, m_host, m_point, m_selection, m_states, m_labelEditing, m_redraw};
    CFindBookmarks m_find{*this, m_items, m_host, m_selection, m_navigator, m_redraw};
    CContextMenu m_contextMenu{*this, m_items, m_host, m_point, m_selection, m_find};
    CDragDrop m_drag{*this, m_items, m_host, m_undo, m_clipboard, m_scale, m_selection, m_mouse, m_copies, m_removal};
    CCommands m_commands{*this, m_items, m_host, m_point, m_undo, m_clipboard,
                         m_pictures, m_states, m_labelEditing, m_find, m_builder, m_copies, m_navigator, m_removal};
    CTreePainter m_painter{*this, m_redraw, m_scale, *this};
};
