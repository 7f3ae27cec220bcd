// Building the tree: root assemblies, the items below them, and the one operation through
// which every insertion below a root goes (CreateItem), keeping the record, the parent's
// counters, the key index and the undo stack consistent. Every insertion is reported.
#pragma once
#include "model/ItemRef.h"
#include "model/ItemRecord.h"

#include <windows.h>
#include <commctrl.h>

#include <cstdint>

class CHostDoor;
class CMousePoint;
class CTreeCtrl;
class CTreeItems;
class CUndoStack;
class IItemInserter;

// What a new item is made of: every insertion request is filled from one of these, in one
// place (CTreeBuilder::Request).
struct NewItem
{
    HTREEITEM hParent = nullptr;
    HTREEITEM hInsertAfter = TVI_LAST;
    const wchar_t* text = L"";
    ItemRecord* pRecord = nullptr; // handed to the item
    int image = -1;                // the picture, shown selected too; -1 leaves the control's own
    UINT stateImage = 0;           // the state picture (INDEXTOSTATEIMAGEMASK); 0 for none
};

// Where the tree's own insertions go: straight to the control, recorded as the tree window
// records anyone else's. Null while the control deletes items.
class IItemInserter
{
public:
    virtual HTREEITEM InsertItem(const TVINSERTSTRUCTW& insert) = 0;

protected:
    ~IItemInserter() = default;
};

class CTreeBuilder
{
public:
    static constexpr const wchar_t* kUnnamed = L"<unnamed>";

    CTreeBuilder(CTreeCtrl& control, CTreeItems& items, CHostDoor& host, CUndoStack& undo, CMousePoint& point,
                 IItemInserter& inserter)
        : m_control(control), m_items(items), m_host(host), m_undo(undo), m_point(point), m_inserter(inserter)
    {
    }

    // A new root assembly; 0 (and no message) for a null name.
    HTREEITEM AddAssembly(const wchar_t* name, uint32_t typeID, uint32_t dataID, bool isolated);
    // A new last child of hParent with the given record (or a new zeroed one). On success the
    // record belongs to the tree; on a result of 0 it stays the caller's. pAdded (when given)
    // gets the new item by reference, taken before the host hears of it.
    HTREEITEM AddTreeItem(const wchar_t* name, HTREEITEM hParent, ItemRecord* pRecord, CItemRef* pAdded = nullptr);
    // As AddTreeItem, after hInsertAfter (a child of hParent, TVI_FIRST or TVI_LAST), or
    // first when it is null. Any other insert-after handle inserts nothing.
    HTREEITEM InsertTreeItem(const wchar_t* name, HTREEITEM hParent, HTREEITEM hInsertAfter, ItemRecord* pRecord);
    // A keyed item below hParent, or below the item under the last mouse point when hParent
    // is null; the host may veto it.
    void InsertNewItem(uint32_t key, const wchar_t* name, HTREEITEM hParent);
    // Inserts below a parent (never a root): children mark, inherited record words, parent
    // count, undo action (or an emptied undo stack below 3 items), key registration.
    HTREEITEM CreateItem(const NewItem& item);
    // The control's insertion request for a new item.
    static TVINSERTSTRUCTW Request(const NewItem& item);

private:
    HTREEITEM InsertChild(const wchar_t* name, HTREEITEM hParent, HTREEITEM hInsertAfter, ItemRecord* pRecord,
                          CItemRef* pAdded = nullptr);
    bool IsChildOf(HTREEITEM hItem, HTREEITEM hParent);

    CTreeCtrl& m_control;
    CTreeItems& m_items;
    CHostDoor& m_host;
    CUndoStack& m_undo;
    CMousePoint& m_point;
    IItemInserter& m_inserter;
};
