#include "interaction/ContextMenu.h"

#include "host/HostDoor.h"
#include "interaction/FindBookmarks.h"
#include "interaction/MousePoint.h"
#include "model/TreeItems.h"
#include "selection/Selection.h"

ULONG CContextMenu::MenuMask(bool onItem, bool hasChildren, int bookmarks)
{
    if (!onItem) return 0;
    ULONG mask = hasChildren ? 0x1FFF : 0x1EFF;
    mask |= bookmarks == 0 ? 0x2000 : 0x1E000;
    return mask;
}

void CContextMenu::OnRButtonDown()
{
    // The message's own point is not used: the cursor's position is.
    POINT pt{};
    ::GetCursorPos(&pt);
    ::ScreenToClient(m_control.GetHwnd(), &pt);
    m_point.Set(pt);
    const HTREEITEM hItem = m_point.HitItem();
    if (!hItem) {
        m_host.OfferMenu(0);
        return;
    }
    m_selection.SetFocusItem(hItem);
    const CItemRef item = m_items.Ref(hItem);
    m_host.OfferMenu(MenuMask(true, m_control.ItemHasChildren(hItem), m_find.BookmarkCount()));
    // The sink may have removed the item.
    const ItemRecord* const pRecord = m_items.Resolve(item) ? m_items.GetRecord(hItem) : nullptr;
    if (pRecord && pRecord->typeID != 0) m_host.TellInput(HM_RBUTTONDOWN, hItem);
}

void CContextMenu::OnContextMenu(POINT screenPoint)
{
    const HTREEITEM hItem = m_point.HitItem();
    const uint32_t typeID = m_items.TypeIDOf(hItem);
    const CItemRef item = m_items.Ref(hItem);
    m_host.TellSelectedTypeID(typeID);
    long menuKey = 0;
    if (typeID != 0 && m_items.Resolve(item)) menuKey = m_host.AskMenuKey(typeID, hItem);
    m_host.ShowMenu(screenPoint, menuKey);
}

void CContextMenu::OnRClick()
{
    if (const HTREEITEM hItem = m_point.HitItem()) m_host.TellInput(HM_RCLICK, hItem);
}

void CContextMenu::OnBeginRDrag()
{
    if (const HTREEITEM hItem = m_point.HitItem()) m_host.TellInput(HM_BEGINRDRAG, hItem);
}
