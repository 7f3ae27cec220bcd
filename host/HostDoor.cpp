#include "host/HostDoor.h"

#include "model/TreeItems.h"

void CHostDoor::Release()
{
    CHostViewer::Release();
    m_messenger.Release();
}

// ---- The wire forms ----

long CHostDoor::About(uint32_t typeID, HostMessage code, HTREEITEM hItem, const ItemRecord* pRecord)
{
    if (!hItem || !m_messenger.Handler()) return 0;
    if (!pRecord) pRecord = m_items.GetRecord(hItem);
    return m_messenger.Send(typeID, code, hItem, pRecord);
}

long CHostDoor::AboutItem(HostMessage code, HTREEITEM hItem)
{
    if (!m_items.IsLiveItem(hItem)) return 0;
    const ItemRecord* const pRecord = m_items.GetRecord(hItem);
    return m_messenger.Send(pRecord ? pRecord->typeID : 0, code, hItem, pRecord);
}

long CHostDoor::ItemByType(HostMessage code, HTREEITEM hItem)
{
    return m_items.IsLiveItem(hItem) ? m_messenger.SendForm2(m_items.TypeIDOf(hItem), code, hItem) : 0;
}

long CHostDoor::ItemSecond(HostMessage code, HTREEITEM hItem)
{
    return m_items.IsLiveItem(hItem) ? m_messenger.Send2(m_items.TypeIDOf(hItem), code, hItem) : 0;
}

// ---- Building and removal ----

void CHostDoor::TellAdded(HTREEITEM hItem, const ItemRecord& record, bool assembly)
{
    About(record.typeID, assembly ? HM_ASSEMBLYADDED : HM_ITEMADDED, hItem, &record);
}

bool CHostDoor::MayAddUnder(HTREEITEM hParent, const ItemRecord* pParent)
{
    return About(pParent ? pParent->typeID : 0, HM_NEWITEMQUERY, hParent, pParent) == 0;
}

bool CHostDoor::MayAddUnder(HTREEITEM hParent)
{
    return AboutItem(HM_NEWITEMQUERY, hParent) == 0;
}

void CHostDoor::TellCreated(HTREEITEM hItem, const ItemRecord* pRecord)
{
    About(pRecord ? pRecord->typeID : 0, HM_NEWITEMCREATED, hItem, pRecord);
}

void CHostDoor::TellCreated(HTREEITEM hItem, bool assembly)
{
    AboutItem(assembly ? HM_NEWASSEMBLYCREATED : HM_NEWITEMCREATED, hItem);
}

bool CHostDoor::MayDelete(HTREEITEM hItem)
{
    return AboutItem(HM_ITEMDELETE, hItem) == 0;
}

void CHostDoor::TellDeleting(HTREEITEM hItem)
{
    AboutItem(HM_ITEMDELETE, hItem);
}

void CHostDoor::TellDeleted(HTREEITEM hItem, const ItemRecord* pRecord)
{
    About(pRecord ? pRecord->typeID : 0, HM_ITEMDELETED, hItem, pRecord);
}

void CHostDoor::TellChildRemoved(uint32_t typeID, HTREEITEM hParent, const ItemRecord* pParent)
{
    About(typeID, HM_ITEMREMOVED, hParent, pParent);
}

void CHostDoor::TellRootRemoved(uint32_t typeID)
{
    ByType(typeID, HM_ITEMREMOVED, nullptr);
}

// ---- Copy, cut, paste, drag and drop ----

void CHostDoor::TellCopying(HTREEITEM hItem)
{
    AboutItem(HM_ITEMCOPY, hItem);
}

bool CHostDoor::MayCut(HTREEITEM hItem)
{
    return AboutItem(HM_ITEMCUT, hItem) == 0;
}

bool CHostDoor::MayPasteInto(HTREEITEM hItem)
{
    return AboutItem(HM_PASTEINTOQUERY, hItem) == 0;
}

void CHostDoor::TellPasteRequest(HostMessage request, HTREEITEM hItem)
{
    AboutItem(request, hItem);
}

void CHostDoor::TellPasted(HostMessage pasted, HTREEITEM hNew)
{
    AboutItem(pasted, hNew);
}

bool CHostDoor::MayDrag(HTREEITEM hItem)
{
    return AboutItem(HM_BEGINDRAG, hItem) == 0;
}

bool CHostDoor::MayDrop(HTREEITEM hTarget)
{
    return AboutItem(HM_DROPQUERY, hTarget) == 0;
}

bool CHostDoor::MayDrop(HostMessage query, HTREEITEM hTarget)
{
    return AboutItem(query, hTarget) == 0;
}

void CHostDoor::TellDropped(HTREEITEM hNew, uint32_t typeID, const ItemRecord* pRecord)
{
    About(typeID, HM_DROPPED, hNew, pRecord);
}

// ---- Expansion, state, input ----

void CHostDoor::TellExpansion(HostMessage what, HTREEITEM hItem, uint32_t typeID)
{
    ByType(typeID, what, hItem);
}

void CHostDoor::TellExpansion(HostMessage what, HTREEITEM hItem)
{
    ItemByType(what, hItem);
}

void CHostDoor::TellAssemblyTraversed(HTREEITEM hItem, const ItemRecord& record)
{
    About(record.typeID, HM_TRAVERSEASSEMBLY, hItem, &record);
}

void CHostDoor::TellStateChange(HostMessage stage, HTREEITEM hItem, const ItemRecord& words)
{
    if (IsFourthForm(stage))
        m_messenger.Send2(words.typeID, stage, hItem);
    else
        m_messenger.Send(words.typeID, stage, hItem, &words);
}

void CHostDoor::TellStateChange(HostMessage stage, HTREEITEM hItem)
{
    if (IsFourthForm(stage))
        ItemSecond(stage, hItem);
    else
        AboutItem(stage, hItem);
}

void CHostDoor::TellShown(HTREEITEM hItem, bool shown, const ItemRecord& record)
{
    About(record.typeID, shown ? HM_SHOWN : HM_HIDDEN, hItem, &record);
}

void CHostDoor::TellInput(HostMessage what, HTREEITEM hItem)
{
    AboutItem(what, hItem);
}

void CHostDoor::TellKeyBound(HTREEITEM hItem)
{
    AboutItem(HM_BEGINDRAG, hItem);
}

// ---- Selection ----

void CHostDoor::TellSelectionBegins(HTREEITEM hItem, const ItemRecord& words)
{
    About(words.typeID, HM_BEGINSELCHANGE, hItem, &words);
}

void CHostDoor::TellSelectionEnds(HTREEITEM hItem, const ItemRecord& words)
{
    About(words.typeID, HM_ENDSELCHANGE, hItem, &words);
}

void CHostDoor::TellSelectionBegins()
{
    Plain(HM_BEGINSELCHANGE);
}

void CHostDoor::TellSelectionEnds()
{
    Plain(HM_ENDSELCHANGE);
}

void CHostDoor::TellSelected(HTREEITEM hItem, const ItemRecord& words, bool append)
{
    About(words.typeID, append ? HM_SELECTEDAPPEND : HM_SELECTED, hItem, &words);
}

void CHostDoor::TellDeselected(HTREEITEM hItem, const ItemRecord& record)
{
    About(record.typeID, HM_DESELECTED, hItem, &record);
}

void CHostDoor::TellDeselectedByType(uint32_t typeID, HTREEITEM hItem)
{
    ByType(typeID, HM_DESELECTED, hItem);
}

// ---- Labels, find, bookmarks, menu ----

bool CHostDoor::MayEditLabel(HTREEITEM hItem)
{
    return AboutItem(HM_BEGINLABELEDIT, hItem) == 0;
}

void CHostDoor::TellLabelChanged(HTREEITEM hItem)
{
    AboutItem(HM_LABELCHANGED, hItem);
}

bool CHostDoor::MayFind()
{
    return Plain(HM_FINDQUERY) == 0;
}

void CHostDoor::TellBookmark(HTREEITEM hItem, bool set)
{
    AboutItem(set ? HM_BOOKMARKSET : HM_BOOKMARKCLEARED, hItem);
}

bool CHostDoor::MayClearBookmarks(HTREEITEM hItem)
{
    return AboutItem(HM_CLEARBOOKMARKSQUERY, hItem) == 0;
}

long CHostDoor::AskMenuKey(uint32_t typeID, HTREEITEM hItem)
{
    return ByType(typeID, HM_MENUQUERY, hItem);
}
