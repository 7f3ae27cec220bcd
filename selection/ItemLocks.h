// Item locks: a locked item shows a padlock and its branch stays closed. Leaf parts need the
// host's view object to allow the lock.
#pragma once
#include <windows.h>
#include <commctrl.h>

class CRVTreeCtrl;

class CItemLocks
{
public:
    explicit CItemLocks(CRVTreeCtrl& tree) : m_tree(tree) {}

    long IsLocked(HTREEITEM hItem);
    void LockItem(HTREEITEM hItem, long bLock);

private:
    // Items with children and assemblies may always be locked; a leaf part only when the
    // host's view object allows it for the part's key.
    bool MayLock(const struct ItemRecord& record);

    CRVTreeCtrl& m_tree;
};
