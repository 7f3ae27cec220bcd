#include "interaction/ContextMenu.h"

#include "tree/RVTreeCtrl.h"

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
    ::ScreenToClient(m_tree.GetHwnd(), &pt);
    m_tree.SetLastMousePoint(pt);
    const HTREEITEM hItem = m_tree.HitTestLastPoint();
    if (!hItem) {
        m_tree.Host().OfferMenu(0);
        return;
    }
    m_tree.Selection().SetFocusItem(hItem);
    const CItemRef item = m_tree.Ref(hItem);
    m_tree.Host().OfferMenu(MenuMask(true, m_tree.ItemHasChildren(hItem), m_tree.BookmarkCount()));
    // The sink may have removed the item.
    const ItemRecord* const pRecord = m_tree.Resolve(item) ? m_tree.GetRecord(hItem) : nullptr;
    if (pRecord && pRecord->typeID != 0) m_tree.SendHostMessage(pRecord->typeID, HM_RBUTTONDOWN, hItem, pRecord);
}

void CContextMenu::OnContextMenu(POINT screenPoint)
{
    const HTREEITEM hItem = m_tree.HitTestLastPoint();
    const uint32_t typeID = m_tree.TypeIDOf(hItem);
    const CItemRef item = m_tree.Ref(hItem);
    m_tree.Host().TellSelectedTypeID(typeID);
    long menuKey = 0;
    if (typeID != 0 && m_tree.Resolve(item))
        menuKey = m_tree.Messenger().SendForm2(typeID, HM_MENUQUERY, hItem);
    m_tree.Host().ShowMenu(screenPoint, menuKey);
}

void CContextMenu::OnRClick()
{
    if (const HTREEITEM hItem = m_tree.HitTestLastPoint()) m_tree.SendItemMessage(HM_RCLICK, hItem);
}

void CContextMenu::OnBeginRDrag()
{
    if (const HTREEITEM hItem = m_tree.HitTestLastPoint()) m_tree.SendItemMessage(HM_BEGINRDRAG, hItem);
}
