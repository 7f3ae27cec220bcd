// The one door to the host: every call out of the component goes through here. The host
// messages (in their four forms, CHostMessenger), and, from CHostViewer, the sink, the
// visibility manager and the 3D view with its node query.
//
// Every method is a call out to the host: the host may call any method from inside it, remove
// any item (the one asked about too), hand in new interfaces or let go of the object. Whatever
// the caller holds across one goes by reference (CItemRef) and is resolved after it.
//
// Questions (May...) answer true when the host lets it happen: it answered 0, or it has no
// handler. Reports (Tell...) ignore the answer. Methods that take only an item send nothing
// for an item that is not live, and send it with the item's own record.
#pragma once
#include "host/HostMessages.h"
#include "host/HostMessenger.h"
#include "host/HostViewer.h"
#include "model/ItemRecord.h"

#include <commctrl.h>

class CTreeItems;

class CHostDoor final : public CHostViewer
{
public:
    explicit CHostDoor(CTreeItems& items) : m_items(items) {}

    // The host's IMessage handler, handed over by the object's interface.
    void SetMessageHandler(IMessage* pIMessage) { m_messenger.SetHandler(pIMessage); }
    IMessage* MessageHandler() const { return m_messenger.Handler(); }
    void Release();

    // ---- Building ----
    // Reports an item the host added (HM_ITEMADDED, HM_ASSEMBLYADDED), with its record.
    void TellAdded(HTREEITEM hItem, const ItemRecord& record, bool assembly);
    // Asks whether the user may add an item under the parent (HM_NEWITEMQUERY), with the
    // parent's record as the caller read it, or the parent's own.
    bool MayAddUnder(HTREEITEM hParent, const ItemRecord* pParent);
    bool MayAddUnder(HTREEITEM hParent);
    // Reports an item the user created (HM_NEWITEMCREATED, HM_NEWASSEMBLYCREATED).
    void TellCreated(HTREEITEM hItem, const ItemRecord* pRecord);
    void TellCreated(HTREEITEM hItem, bool assembly);

    // ---- Removal ----
    bool MayDelete(HTREEITEM hItem); // HM_ITEMDELETE
    // The same message when the item goes whatever the answer (an undone insertion).
    void TellDeleting(HTREEITEM hItem);
    // Reports a deleted item, with the record the deletion carried (HM_ITEMDELETED).
    void TellDeleted(HTREEITEM hItem, const ItemRecord* pRecord);
    // Reports that a child of the parent went (HM_ITEMREMOVED), with the typeID of the child
    // and the parent's record; a root's removal goes without an item or record.
    void TellChildRemoved(uint32_t typeID, HTREEITEM hParent, const ItemRecord* pParent = nullptr);
    void TellRootRemoved(uint32_t typeID);

    // ---- Copy, cut, paste ----
    void TellCopying(HTREEITEM hItem);  // HM_ITEMCOPY
    bool MayCut(HTREEITEM hItem);       // HM_ITEMCUT
    bool MayPasteInto(HTREEITEM hItem); // HM_PASTEINTOQUERY
    // The host pastes itself: the paste the user asked for at the item (HM_PASTE...REQUEST).
    void TellPasteRequest(HostMessage request, HTREEITEM hItem);
    // Reports a branch pasted at its place (HM_PASTEDASCHILD, HM_PASTEDBEFORE, HM_PASTEDAFTER).
    void TellPasted(HostMessage pasted, HTREEITEM hNew);

    // ---- Drag and drop ----
    bool MayDrag(HTREEITEM hItem);                      // HM_BEGINDRAG
    bool MayDrop(HTREEITEM hTarget);                    // HM_DROPQUERY
    bool MayDrop(HostMessage query, HTREEITEM hTarget); // HM_DROP{BEFORE,AFTER,CHILD}QUERY
    // Reports the dropped branch's new root, with the record it carried and the typeID the
    // drop reports it under.
    void TellDropped(HTREEITEM hNew, uint32_t typeID, const ItemRecord* pRecord);

    // ---- Expansion, state, input ----
    // HM_ITEMCOLLAPSING, HM_BEGINEXPAND, HM_ITEMEXPANDING, HM_ENDEXPAND, without the record;
    // with the typeID the caller read, or the live item's own.
    void TellExpansion(HostMessage what, HTREEITEM hItem, uint32_t typeID);
    void TellExpansion(HostMessage what, HTREEITEM hItem);
    // Reports an assembly (shown with the assembly picture) a traversal passed (HM_TRAVERSEASSEMBLY).
    void TellAssemblyTraversed(HTREEITEM hItem, const ItemRecord& record);
    // The four stages of an on/off change (HM_PRESTATECHANGE and HM_POSTSTATECHANGE through
    // IMessage2, HM_BEGINSTATECHANGE and HM_ENDSTATECHANGE with the record), with the words
    // the caller kept of the record, or the live item's own.
    void TellStateChange(HostMessage stage, HTREEITEM hItem, const ItemRecord& words);
    void TellStateChange(HostMessage stage, HTREEITEM hItem);
    // Reports a twin switched with its key (HM_SHOWN, HM_HIDDEN).
    void TellShown(HTREEITEM hItem, bool shown, const ItemRecord& record);
    // The user's input at the item: HM_KEYDOWN, HM_DBLCLK, HM_RCLICK, HM_BEGINRDRAG,
    // HM_RBUTTONDOWN.
    void TellInput(HostMessage what, HTREEITEM hItem);
    // Reports an item bound to the key of the 3D view's selection (sent as HM_BEGINDRAG).
    void TellKeyBound(HTREEITEM hItem);

    // ---- Selection ----
    // A change of the selection begins and ends (HM_BEGINSELCHANGE, HM_ENDSELCHANGE): at an
    // item with the words the caller kept of its record, or for the whole tree.
    void TellSelectionBegins(HTREEITEM hItem, const ItemRecord& words);
    void TellSelectionEnds(HTREEITEM hItem, const ItemRecord& words);
    void TellSelectionBegins();
    void TellSelectionEnds();
    void TellSelected(HTREEITEM hItem, const ItemRecord& words, bool append); // HM_SELECTED(APPEND)
    void TellDeselected(HTREEITEM hItem, const ItemRecord& record);           // HM_DESELECTED
    // The same without the record's dataID, as a cleared branch reports its items.
    void TellDeselectedByType(uint32_t typeID, HTREEITEM hItem);

    // ---- Labels, find, bookmarks, menu ----
    bool MayEditLabel(HTREEITEM hItem); // HM_BEGINLABELEDIT
    void TellLabelChanged(HTREEITEM hItem);
    bool MayFind();                               // HM_FINDQUERY
    void TellBookmark(HTREEITEM hItem, bool set); // HM_BOOKMARKSET, HM_BOOKMARKCLEARED
    bool MayClearBookmarks(HTREEITEM hItem);      // HM_CLEARBOOKMARKSQUERY
    // The host's menu for the item (HM_MENUQUERY): the key of the menu to show, 0 for none.
    long AskMenuKey(uint32_t typeID, HTREEITEM hItem);

private:
    // The wire forms. About: form 1 with the given typeID and record (the item's own when
    // null), nothing for item 0. AboutItem: form 1 for a live item with its record.
    // ByType: form 2. Plain: form 3. Second: form 4 (IMessage2).
    long About(uint32_t typeID, HostMessage code, HTREEITEM hItem, const ItemRecord* pRecord);
    long AboutItem(HostMessage code, HTREEITEM hItem);
    long ByType(uint32_t typeID, HostMessage code, HTREEITEM hItem)
    {
        return m_messenger.SendForm2(typeID, code, hItem);
    }
    long ItemByType(HostMessage code, HTREEITEM hItem);
    long Plain(HostMessage code) { return m_messenger.SendForm3(code); }
    long ItemSecond(HostMessage code, HTREEITEM hItem);
    static bool IsFourthForm(HostMessage stage) { return stage == HM_PRESTATECHANGE || stage == HM_POSTSTATECHANGE; }

    CTreeItems& m_items;
    CHostMessenger m_messenger;
};
