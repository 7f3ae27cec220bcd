// What the tree knows of its items without asking the control: every live item with its
// parent, record and insertion serial, the record lookup over them, and the key index. Every
// concern that reads an item's record or holds an item across a call out to the host uses
// this, and only the tree window changes it (as the control inserts and deletes).
#pragma once
#include "model/ItemRecord.h"
#include "model/ItemRef.h"
#include "model/LiveItems.h"
#include "model/RecordLookup.h"

#include <cstdint>
#include <vector>

class CTreeItems final : private IItemSource
{
public:
    CTreeItems() : m_lookup(*this) {}
    CTreeItems(const CTreeItems&) = delete;
    CTreeItems& operator=(const CTreeItems&) = delete;

    // ---- Live items ----
    // The handle as an item of this tree, or null when it is 0 or not a live item of it.
    HTREEITEM ResolveItem(ULONG_PTR value) const;
    bool IsLiveItem(HTREEITEM hItem) const { return m_live.Contains(hItem); }
    // An item held across a call out to the host goes by reference: the host may remove it
    // there, and the control may hand its handle to a new item. Resolve gives the item back
    // while that very item lives, else null.
    CItemRef Ref(HTREEITEM hItem) const { return CItemRef(m_live, hItem); }
    HTREEITEM Resolve(const CItemRef& item) const { return item.Get(m_live); }
    uint64_t SerialOf(HTREEITEM hItem) const { return m_live.SerialOf(hItem); }
    const CLiveItems& LiveItems() const { return m_live; }
    size_t LiveItemCount() const { return m_live.Count(); }

    // ---- Records ----
    ItemRecord* GetRecord(HTREEITEM hItem) { return m_lookup.GetRecord(hItem); }
    void InvalidateRecord(HTREEITEM hItem) { m_lookup.InvalidateRecord(hItem); }
    HTREEITEM GetParent(HTREEITEM hItem) { return m_lookup.GetParent(hItem); }
    CRecordLookup& Lookup() { return m_lookup; }
    // The live item's record's typeID; 0 without a record or for an item that is not live.
    uint32_t TypeIDOf(HTREEITEM hItem);
    // The item's on/off state: its record's state, 0 without a record.
    uint32_t GetHTIState(HTREEITEM hItem);
    // Record words the host sets through the interface; nothing for an item without a record.
    void SetNoDropInto(HTREEITEM hItem, long bOn);
    uint32_t GetItemTag(HTREEITEM hItem);
    void SetItemTag(HTREEITEM hItem, uint32_t tag);

    // ---- Key index ----
    const CKeyIndex& KeyIndex() const { return m_live.Keys(); }
    void RegisterItemKey(HTREEITEM hItem, uint32_t key);
    void UnregisterItemKey(HTREEITEM hItem);
    // The same, for an item whose record the caller has just read.
    void UnregisterItemKey(HTREEITEM hItem, ItemRecord* pRecord);
    void UnregisterAncestorKeys(HTREEITEM hItem);
    // Adds the key's items to the list.
    void GetKeyItems(uint32_t key, CGrowArray<HTREEITEM>& out) const;
    // The items of a key as references, for a caller that calls out to the host between them.
    std::vector<CItemRef> KeyItems(uint32_t key) const;

    // ---- Kept in step with the control by the tree window ----
    // False when the item's place among its siblings is not known from the insertion (a sorted
    // one, or one after an item that is not a sibling): PlaceAfter then says where it is.
    bool OnInserted(HTREEITEM hItem, ItemRecord* pRecord, HTREEITEM hParent, HTREEITEM hInsertAfter)
    {
        return m_live.Add(hItem, pRecord, hParent, hInsertAfter);
    }
    void PlaceAfter(HTREEITEM hItem, HTREEITEM hPrevious) { m_live.PlaceAfter(hItem, hPrevious); }
    void OnRecordSet(HTREEITEM hItem, ItemRecord* pRecord);
    // Nothing here may hold a deleted item's handle.
    void OnDeleted(HTREEITEM hItem);
    // The record a live item holds now; false for an item that is not live.
    ItemRecord* RecordOf(HTREEITEM hItem, bool& live) const { return m_live.RecordOf(hItem, live); }
    // Whatever the control did not report is gone with its window.
    void Clear() { m_live.Clear(); }

private:
    // IItemSource: every record the control holds was written through the tree window
    // (insertion, TVM_SETITEM), and every parent is known from the insertion, so the live
    // items answer without a message to the control; a handle they do not know is never
    // handed to it.
    ItemRecord* QueryRecord(HTREEITEM hItem, bool& known) override { return m_live.RecordOf(hItem, known); }
    HTREEITEM QueryParent(HTREEITEM hItem) override;

    CLiveItems m_live;      // and the key index over them
    CRecordLookup m_lookup; // record path, parent path and record cache
};
