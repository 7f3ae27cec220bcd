// Item locks: a locked item shows a padlock and its branch stays closed. Leaf parts need the
// host's view object to allow the lock.
#pragma once
#include <windows.h>
#include <commctrl.h>

class CHostDoor;
class CItemPictures;
class CRedrawSuspension;
class CTreeCtrl;
class CTreeItems;

class CItemLocks
{
public:
    CItemLocks(CTreeCtrl& control, CTreeItems& items, CHostDoor& host, CItemPictures& pictures,
               CRedrawSuspension& redraw)
        : m_control(control), m_items(items), m_host(host), m_pictures(pictures), m_redraw(redraw)
    {
    }

    long IsLocked(HTREEITEM hItem);
    void LockItem(HTREEITEM hItem, long bLock);

private:
    // Items with children and assemblies may always be locked; a leaf part only when the
    // host's view object allows it for the part's key.
    bool MayLock(const struct ItemRecord& record);

    CTreeCtrl& m_control;
    CTreeItems& m_items;
    CHostDoor& m_host;
    CItemPictures& m_pictures;
    CRedrawSuspension& m_redraw;
};
