// The tree window: the hub that owns the tree's state. It derives from the tree-view control
// wrapper and is embedded in the RVWnd object for the object's whole life; each concern
// (record lookup, key index, live items, undo stack, ...) is a class of its own.
#pragma once
#include "RVWindow.h"
#include "host/HostMessenger.h"
#include "host/HostViewer.h"
#include "interaction/Commands.h"
#include "interaction/ContextMenu.h"
#include "interaction/DragDrop.h"
#include "interaction/FindBookmarks.h"
#include "interaction/LabelEditing.h"
#include "interaction/MouseKeyboard.h"
#include "tree/BranchCopies.h"
#include "model/ArrayStack.h"
#include "model/GrowArray.h"
#include "model/ItemCopy.h"
#include "model/ItemRecord.h"
#include "model/ItemRef.h"
#include "tree/ItemRemoval.h"
#include "model/KeyIndex.h"
#include "model/LiveItems.h"
#include "model/RecordLookup.h"
#include "tree/TreeBuilder.h"
#include "tree/TreeNavigator.h"
#include "model/UndoAction.h"
#include "model/UndoStack.h"
#include "platform/ComPtr.h"
#include "platform/NotifyForwarder.h"
#include "platform/TreeCtrl.h"
#include "render/RedrawSuspension.h"
#include "render/TreePainter.h"
#include "render/WindowScale.h"
#include "selection/ItemLocks.h"
#include "selection/Selection.h"
#include "state/ItemPictures.h"
#include "state/ItemStates.h"

#include <string>

class CRVTreeCtrl final : public CTreeCtrl, public IUndoTarget, private IItemSource
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

    // ---- Host interfaces ----
    void SetViewer(IVisibilityManager* pIVisMgr, IView3DObjects* pIView3DObjects) { m_host.SetViewer(pIVisMgr, pIView3DObjects); }
    void SetSink(IRavlinWindowSink* pSink) { m_host.SetSink(pSink); }
    void SetMessageHandler(IMessage* pIMessage) { m_messenger.SetHandler(pIMessage); }
    IMessage* GetMessageHandler() const { return m_messenger.Handler(); }

    // ---- Host messages ----
    // Form 1 for an item (its record looked up when not given); 0 and nothing sent for item 0.
    long SendHostMessage(uint32_t typeID, HostMessage code, HTREEITEM hItem, const ItemRecord* pRecord = nullptr);
    // Form 4, through the handler's IMessage2 when it has one.
    long SendHostMessage2(uint32_t typeID, HostMessage code, HTREEITEM hItem);
    // The same for a live item with its record's typeID (0 without a record): form 1, form 2
    // (the plain Send, no dataID) and form 4. Nothing is sent for an item that is not live.
    long SendItemMessage(HostMessage code, HTREEITEM hItem);
    long SendItemMessageForm2(HostMessage code, HTREEITEM hItem);
    long SendItemMessage2(HostMessage code, HTREEITEM hItem);
    uint32_t TypeIDOf(HTREEITEM hItem);
    CHostMessenger& Messenger() { return m_messenger; }
    // What the tree tells and asks the host's sink, visibility manager and 3D view.
    CHostViewer& Host() { return m_host; }

    // ---- Items and records ----
    // The handle as an item of this tree, or null when it is 0 or not a live item of it.
    HTREEITEM ResolveItem(ULONG_PTR value) const;
    bool IsLiveItem(HTREEITEM hItem) const { return m_liveItems.Contains(hItem); }
    // An item held across a call out to the host goes by reference: the host may remove it
    // there, and the control may hand its handle to a new item. Resolve gives the item back
    // while that very item lives, else null.
    CItemRef Ref(HTREEITEM hItem) const { return CItemRef(m_liveItems, hItem); }
    HTREEITEM Resolve(const CItemRef& item) const { return item.Get(m_liveItems); }
    uint64_t SerialOf(HTREEITEM hItem) const { return m_liveItems.SerialOf(hItem); }
    const CLiveItems& LiveItems() const override { return m_liveItems; }
    void SetItemLabel(HTREEITEM hItem, const wchar_t* text) override { SetItemText(hItem, text); }
    void TakeBackInsertion(HTREEITEM hItem) override;
    void RestoreBranch(HTREEITEM hParent, const ItemCopyList& branch) override;
    size_t LiveItemCount() const { return m_liveItems.Count(); }

    ItemRecord* GetRecord(HTREEITEM hItem) { return m_lookup.GetRecord(hItem); }
    void InvalidateRecord(HTREEITEM hItem) { m_lookup.InvalidateRecord(hItem); }
    void SetItemRecord(HTREEITEM hItem, ItemRecord* pRecord);
    HTREEITEM GetParent(HTREEITEM hItem) { return m_lookup.GetParent(hItem); }
    void BuildAncestorPath(HTREEITEM hItem) { m_lookup.BuildAncestorPath(hItem); }
    void ReleaseAncestorPath() { m_lookup.ReleaseAncestorPath(); }
    CRecordLookup& Lookup() { return m_lookup; }

    // ---- Key index ----
    void RegisterItemKey(HTREEITEM hItem, uint32_t key);
    void UnregisterItemKey(HTREEITEM hItem);
    // The same, for an item whose record the caller has just read.
    void UnregisterItemKey(HTREEITEM hItem, ItemRecord* pRecord);
    void UnregisterAncestorKeys(HTREEITEM hItem);
    const CKeyIndex& KeyIndex() const { return m_keyIndex; }

    // ---- Record words and flags set through the interface ----
    void EnableLocalPaste(long bEnable) { m_bHostPastes = bEnable == 0 ? 1 : 0; }
    bool HostPastes() const { return m_bHostPastes != 0; }
    void SetNoDropInto(HTREEITEM hItem, long bOn);
    uint32_t GetItemTag(HTREEITEM hItem);
    void SetItemTag(HTREEITEM hItem, uint32_t tag);

    // ---- Removal ----
    // Removes the item's branch with an undo record, parent counts and key upkeep.
    void RemoveTreeItem(HTREEITEM hItem);
    void RemoveAllChildren(HTREEITEM hItem);
    // True while the control is deleting items: the host hears of each deletion from inside it,
    // and the control can take no new items then.
    bool IsDeleting() const { return m_removal.InDeletion(); }
    // The tree's own insertions go straight to the control, one window-procedure hop shorter
    // than through the window, and are recorded as the window records anyone else's.
    HTREEITEM InsertItem(const TVINSERTSTRUCTW& insert);

    // ---- Undo stack ----
    void PushUndo(CUndoAction* pAction);
    // Records the insertion of a live item, compactly.
    void PushInsertUndo(HTREEITEM hItem) { m_undoStack.PushInsertion(hItem); }
    // Takes the top action off the stack (the caller owns it); null when there is none.
    CUndoAction* PopUndo();
    void ClearUndo();
    int UndoCount() const { return m_undoStack.Count(); }
    CUndoAction* TopUndo() { return m_undoStack.Top(); }

    HTREEITEM GetCurrentItem() const { return m_selection.CurrentItem(); }
    POINT LastMousePoint() const { return m_ptLastMouse; }
    void SetLastMousePoint(POINT pt) { m_ptLastMouse = pt; }
    // The item at the last mouse point, the point every key and menu command acts at.
    HTREEITEM HitTestLastPoint(UINT* pFlags = nullptr) { return HitTest(m_ptLastMouse, pFlags); }
    int BookmarkCount() const { return m_find.BookmarkCount(); }
    void InvalidateAll();

    // The item's on/off state: its record's state, 0 without a record.
    uint32_t GetHTIState(HTREEITEM hItem);

    // ---- The concerns the tree window is the hub of ----
    CRedrawSuspension& Redraw() { return m_redraw; }
    CItemPictures& Pictures() { return m_pictures; }
    CItemLocks& Locks() { return m_locks; }
    CTreeBuilder& Builder() { return m_builder; }
    CTreeNavigator& Navigator() { return m_navigator; }
    CItemStates& States() { return m_states; }
    CBranchCopies& Copies() { return m_copies; }
    CSelection& Selection() { return m_selection; }
    // What the last copy or cut took; a paste holds the list for as long as it pastes.
    SharedItemCopies Clipboard() const { return m_clipboard; }
    void SetClipboard(SharedItemCopies copies) { m_clipboard = std::move(copies); }
    CLabelEditing& LabelEditing() { return m_labelEditing; }
    CMouseKeyboard& Mouse() { return m_mouse; }
    CContextMenu& ContextMenu() { return m_contextMenu; }
    CDragDrop& Drag() { return m_drag; }
    CCommands& Commands() { return m_commands; }
    CFindBookmarks& FindBookmarks() { return m_find; }
    const CWindowScale& Scale() const { return m_scale; }
    void SetTravNode(int value) { m_bTravNode = value; }

protected:
    bool ProcessMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void PreCreateWindow(CREATESTRUCTA& cs) override;

private:
    // IItemSource: what the record lookup asks the control.
    ItemRecord* QueryRecord(HTREEITEM hItem, bool& known) override;
    HTREEITEM QueryParent(HTREEITEM hItem) override;

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

    // Fields, in the order the tree keeps them. The current item, the selection and the two
    // query lists live in m_selection.
    CHostMessenger m_messenger; // the host's IMessage handler
    // Before the first click or right press the last mouse point hits nothing.
    POINT m_ptLastMouse{-1, -1};
    BOOL m_bTravNode = TRUE;
    SharedItemCopies m_clipboard = NewSharedItemCopies();
    CHostViewer m_host; // the sink, visibility manager and 3D view
    CRedrawSuspension m_redraw; // the redraw suspension count
    CKeyIndex m_keyIndex;
    CSelection m_selection; // current item, selection, and the selected and mapped query lists
    BOOL m_bDestroyGuard = FALSE;
    CRecordLookup m_lookup; // record path, parent path and record cache
    CUndoStack m_undoStack{*this};
    BYTE m_bHostPastes = 0;

    // Beyond the classic fields: the window the control notifies (it outlives the tree window,
    // which the destructor destroys first) and the live items.
    CNotifyForwarder m_notifier;
    CLiveItems m_liveItems;
    CItemPictures m_pictures;
    CItemLocks m_locks;
    CTreeBuilder m_builder;
    CTreeNavigator m_navigator;
    CItemStates m_states;
    CBranchCopies m_copies;
    CItemRemoval m_removal;
    // The user's side: the press state, drag state and edit each live in their own concern.
    CLabelEditing m_labelEditing;
    CMouseKeyboard m_mouse;
    CContextMenu m_contextMenu;
    CDragDrop m_drag;
    CCommands m_commands;
    CFindBookmarks m_find; // find text and dialog, find position, last bookmark, bookmark count
    CWindowScale m_scale{*this}; // the DPI and what it sizes
    CTreePainter m_painter;
};
