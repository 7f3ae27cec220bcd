// The RVWnd object: one tree window behind IRVWnd, IRVWnd2 and IRVWnd3. It is thin: each
// method checks what the host handed in and forwards to the embedded tree window object.
#pragma once
#include "RVWindow.h"
#include "tree/RVTreeCtrl.h"
#include "platform/ComObject.h"

class CRVWnd : public CComObjectRoot, public IRVWnd2, public IRVWnd3
{
public:
    using PrimaryInterface = IRVWnd2;

    CRVWnd();
    virtual ~CRVWnd();
    CRVWnd(const CRVWnd&) = delete;
    CRVWnd& operator=(const CRVWnd&) = delete;

    // Interface map: IRVWnd and IRVWnd2 share the first table, IRVWnd3 has the second;
    // IUnknown is the first table.
    HRESULT InternalQueryInterface(REFIID iid, void** ppv);

    // For the component's own tests and tools.
    CRVTreeCtrl& Tree() { return m_tree; }

    // IRVWnd
    STDMETHOD(Init)(ULONG_PTR pWndParent, IVisibilityManager *pIVisMgr, IView3DObjects *pIView3DObjects, IManage3DObjects *pIManage3DObjects) override;
    STDMETHOD(InitTree)(IRavlinWindowSink *pIRVWindowSink) override;
    STDMETHOD(SetMessageHandler)(IMessage **ppIMessage) override;
    STDMETHOD(PostMessage)(unsigned int uMsg, ULONG wParam, ULONG lParam) override;
    STDMETHOD(ShowWindow)(int flags) override;
    STDMETHOD(MoveWindow)(int x, int y, int dx, int dy) override;
    STDMETHOD(Invalidate)() override;
    STDMETHOD(suspendRedraw)() override;
    STDMETHOD(resumeRedraw)() override;
    STDMETHOD(ShowFindDialog)() override;
    STDMETHOD(AddTreeItem)(LPWSTR name, int Size, ULONG_PTR htreeitemparent, ULONG *itemData, ULONG_PTR *itemKey) override;
    STDMETHOD(AddAssembly)(LPWSTR name, int Size, ULONG typeID, ULONG dataID, ULONG_PTR *assemblyKey) override;
    STDMETHOD(IsAssembly)(ULONG_PTR htreeitem, LONG *bIsAssembly) override;
    STDMETHOD(ItemHasChildren)(ULONG_PTR htreeitem, LONG *bHasChildren) override;
    STDMETHOD(RemoveTreeItem)(ULONG_PTR htreeitem) override;
    STDMETHOD(RemoveAllChildren)(ULONG_PTR htreeitem) override;
    STDMETHOD(DragDropInsertBeforeFlag)(int TOrF) override;
    STDMETHOD(MakePasteLikeInsert)(LONG bInsert) override;
    STDMETHOD(TravNode)(int TOrF) override;
    STDMETHOD(Expand)(ULONG_PTR htreeitem, unsigned int flags) override;
    STDMETHOD(ExpandToDepth)(ULONG_PTR htreeitem, int depth) override;
    STDMETHOD(GetDepth)(ULONG_PTR htreeitem, int *pdepth) override;
    STDMETHOD(GetDeepestOpenLevel)(ULONG_PTR htreeitem, int *pdepth) override;
    STDMETHOD(IsItemExpanded)(ULONG_PTR htreeitem, LONG *bExpanded) override;
    STDMETHOD(Collapse)(ULONG_PTR htreeitem) override;
    STDMETHOD(EnsureVisible)(ULONG_PTR htreeitem) override;
    STDMETHOD(GetRootItem)(ULONG_PTR *phtreeitem) override;
    STDMETHOD(GetCurrentItem)(ULONG_PTR *item) override;
    STDMETHOD(GetNextItem)(ULONG_PTR currenthtreeitem, unsigned int flags, ULONG_PTR *pnexthtreeitem) override;
    STDMETHOD(GetChildItem)(ULONG_PTR htreeitem, ULONG_PTR *childKey) override;
    STDMETHOD(GetChild)(ULONG_PTR htreeitemparent, int index, ULONG_PTR *childKey) override;
    STDMETHOD(GetParentItem)(ULONG_PTR htreeitem, ULONG_PTR *parentKey) override;
    STDMETHOD(GetNextSiblingItem)(ULONG_PTR htreeitem, ULONG_PTR *siblingKey) override;
    STDMETHOD(GetPrevSiblingItem)(ULONG_PTR htreeitem, ULONG_PTR *siblingKey) override;
    STDMETHOD(GetNumChildren)(ULONG_PTR itemKey, int *nChild) override;
    STDMETHOD(SetUnloaded)(ULONG_PTR htreeitem) override;
    STDMETHOD(IsItemLoaded)(ULONG_PTR htreeitem, LONG *bIsLoaded) override;
    STDMETHOD(IsItemPartiallyLoaded)(ULONG_PTR htreeitem, LONG *bIsPartiallyLoaded) override;
    STDMETHOD(SetNoneLoadedIcon)(ULONG_PTR htreeitem) override;
    STDMETHOD(SetAllOnAllLoadedIcon)(ULONG_PTR htreeitem) override;
    STDMETHOD(SetLoadedNoVisibleIcon)(ULONG_PTR htreeitem) override;
    STDMETHOD(SetPartLoadedVisibleIcon)(ULONG_PTR htreeitem) override;
    STDMETHOD(SetPartLoadedNoVisibleIcon)(ULONG_PTR htreeitem) override;
    STDMETHOD(SetLoadedPartVisibleIcon)(ULONG_PTR htreeitem) override;
    STDMETHOD(SetPartLoadedPartVisibleIcon)(ULONG_PTR htreeitem) override;
    STDMETHOD(SetNewIcon)(ULONG_PTR htreeitem, LONG bOn) override;
    STDMETHOD(SetNormalIconState)(ULONG_PTR htreeitem) override;
    STDMETHOD(IsPhantomIcon)(ULONG_PTR htreeitem, LONG *pbOn) override;
    STDMETHOD(SetPhantomIcon)(ULONG_PTR htreeitem, LONG bOn) override;
    STDMETHOD(SetAssemblyIcon)(ULONG_PTR htreeitem, LONG bOn) override;
    STDMETHOD(GetAssemblyIcon)(ULONG_PTR htreeitem, LONG *pbOn) override;
    STDMETHOD(SetItemData)(ULONG_PTR htreeitem, ULONG_PTR pItemData) override;
    STDMETHOD(SetItemText)(ULONG_PTR htreeitem, LPWSTR name, int Size) override;
    STDMETHOD(EditItemLabel)(ULONG_PTR htreeitem) override;
    STDMETHOD(SetHTIState)(ULONG_PTR htreeitem, LONG state, LONG bNotify) override;
    STDMETHOD(SetKeyState)(ULONG key, LONG state) override;
    STDMETHOD(SetState)(LONG state) override;
    STDMETHOD(SetItemGUIState)(ULONG_PTR htreeitem, LONG bOn) override;
    STDMETHOD(SetFailState)(ULONG_PTR htreeitem, LONG bOn) override;
    STDMETHOD(GetItemData)(ULONG_PTR htreeitem, ULONG_PTR *pItemData) override;
    STDMETHOD(CalcSelectedItems)(ULONG typeID, int *pSize) override;
    STDMETHOD(GetSelectedItems)(ULONG_PTR *pItems, int Size) override;
    STDMETHOD(GetItemText)(ULONG_PTR htreeitem, LPWSTR pItemData, int Size) override;
    STDMETHOD(GetHTIState)(ULONG_PTR htreeitem, LONG *bState) override;
    STDMETHOD(GetKeyState)(ULONG key, LONG *bState) override;
    STDMETHOD(GetState)(LONG *bState) override;
    STDMETHOD(GetFailState)(ULONG_PTR htreeitem, LONG *pbOn) override;
    STDMETHOD(CalcOrvaneMappedItems)(ULONG orvaneKey, int *pSize) override;
    STDMETHOD(GetOrvaneMappedItems)(ULONG_PTR *pItems, int Size) override;
    STDMETHOD(IsOrvaneKeyPresent)(ULONG orvKey, int *numKeys) override;
    STDMETHOD(SelectItem)(ULONG_PTR htreeitem, LONG bNotify, LONG bAppend, LONG bIsOrvane) override;
    STDMETHOD(SelectItems)(ULONG key, LONG bSelect, LONG bSetVisible) override;
    STDMETHOD(DeselectItem)(ULONG_PTR htreeitem) override;
    STDMETHOD(DeselectAll)() override;
    STDMETHOD(GetNumSelected)(int *numSelected) override;
    STDMETHOD(GetSelectedItem)(ULONG_PTR *item) override;
    STDMETHOD(IsLocked)(ULONG_PTR htreeitem, LONG *pbLocked) override;
    STDMETHOD(LockItem)(ULONG_PTR htreeitem, LONG bLock) override;

    // IRVWnd2
    STDMETHOD(InsertTreeItem)(LPSTR name, ULONG_PTR htreeitemparent, ULONG_PTR htreeiteminsertafter, ULONG *itemData, ULONG_PTR *phtreeitem) override;
    STDMETHOD(SetStateImage)(ULONG_PTR htreeitem, ULONG index) override;
    STDMETHOD(SetBookmark)(ULONG_PTR htreeitem, LONG bOn) override;
    STDMETHOD(GotoBookmark)(LONG bNext) override;
    STDMETHOD(ClearBookmarks)() override;
    STDMETHOD(EnableLocalPaste)(LONG bEnable) override;
    STDMETHOD(SetNoDropInto)(ULONG_PTR htreeitem, LONG bOn) override;
    STDMETHOD(GetItemTag)(ULONG_PTR htreeitem, ULONG *pTag) override;
    STDMETHOD(SetItemTag)(ULONG_PTR htreeitem, ULONG tag) override;
    STDMETHOD(SetProhibitedIcon)(ULONG_PTR htreeitem, LONG bOn) override;
    STDMETHOD(CalcSelectedItemsByDataID)(ULONG dataID, int *pSize) override;
    STDMETHOD(GetSelectedItemsByDataID)(ULONG dataID, int Size, ULONG_PTR *pItems) override;
    STDMETHOD(GetNextTravItem)(ULONG_PTR htreeitem, ULONG_PTR *pnexthtreeitem) override;
    STDMETHOD(InsertNewItem)(ULONG itemKey, LPSTR name, ULONG_PTR htreeitemparent) override;

    // IRVWnd3
    STDMETHOD(AddIsolatedAssembly)(LPWSTR name, int Size, ULONG typeID, ULONG dataID, ULONG_PTR *assemblyKey) override;

private:
    // Every method holds the object for its whole length (see CKeepAlive): the host may let
    // go of its last reference from inside any call the object makes out to it.
    IUnknown* Self() const { return m_tree.LifetimeOwner(); }
    // The handle as an item of this tree, or null (0, foreign or deleted handles).
    HTREEITEM Item(ULONG_PTR value) const { return m_tree.Items().ResolveItem(value); }
    // A word of the item's record; 0 for no item or no record.
    LONG RecordWord(ULONG_PTR htreeitem, uint32_t ItemRecord::*word);

    bool m_bInitialized = false;
    // The TravNode flag: the host's to set; no operation reads it.
    int m_bTravNode = 1;
    CRVTreeCtrl m_tree;
};
