#include "model/TreeItems.h"

HTREEITEM CTreeItems::ResolveItem(ULONG_PTR value) const
{
    const auto hItem = reinterpret_cast<HTREEITEM>(value);
    return m_live.Contains(hItem) ? hItem : nullptr;
}

HTREEITEM CTreeItems::QueryParent(HTREEITEM hItem)
{
    bool found = false;
    const HTREEITEM hParent = m_live.ParentOf(hItem, found);
    return found ? hParent : nullptr;
}

uint32_t CTreeItems::TypeIDOf(HTREEITEM hItem)
{
    const ItemRecord* const pRecord = IsLiveItem(hItem) ? GetRecord(hItem) : nullptr;
    return pRecord ? pRecord->typeID : 0;
}

uint32_t CTreeItems::GetHTIState(HTREEITEM hItem)
{
    const ItemRecord* const pRecord = hItem ? GetRecord(hItem) : nullptr;
    return pRecord ? pRecord->state : 0;
}

void CTreeItems::SetNoDropInto(HTREEITEM hItem, long bOn)
{
    if (!hItem) return;
    if (ItemRecord* const pRecord = GetRecord(hItem)) pRecord->bNoDropInto = static_cast<uint32_t>(bOn);
}

uint32_t CTreeItems::GetItemTag(HTREEITEM hItem)
{
    if (!hItem) return 0;
    const ItemRecord* const pRecord = GetRecord(hItem);
    return pRecord ? pRecord->tag : 0;
}

void CTreeItems::SetItemTag(HTREEITEM hItem, uint32_t tag)
{
    if (!hItem) return;
    if (ItemRecord* const pRecord = GetRecord(hItem)) pRecord->tag = tag;
}

void CTreeItems::RegisterItemKey(HTREEITEM hItem, uint32_t key)
{
    if (hItem && key) m_live.Keys().Register(key, hItem);
}

void CTreeItems::UnregisterItemKey(HTREEITEM hItem)
{
    if (hItem) UnregisterItemKey(hItem, GetRecord(hItem));
}

void CTreeItems::UnregisterItemKey(HTREEITEM hItem, ItemRecord* pRecord)
{
    if (!hItem || !pRecord || pRecord->key == 0) return;
    m_live.Keys().Unregister(pRecord->key, hItem);
    pRecord->key = 0;
}

void CTreeItems::UnregisterAncestorKeys(HTREEITEM hItem)
{
    if (!hItem) return;
    for (HTREEITEM a = GetParent(hItem); a; a = GetParent(a)) UnregisterItemKey(a);
}

void CTreeItems::OnRecordSet(HTREEITEM hItem, ItemRecord* pRecord)
{
    InvalidateRecord(hItem);
    m_live.SetRecord(hItem, pRecord);
}

void CTreeItems::OnDeleted(HTREEITEM hItem)
{
    InvalidateRecord(hItem);
    m_live.Remove(hItem); // and out of the key index
}

void CTreeItems::GetKeyItems(uint32_t key, CGrowArray<HTREEITEM>& out) const
{
    m_live.Keys().ForEachItem(key, [&](HTREEITEM hItem) { out.Add(hItem); });
}

std::vector<CItemRef> CTreeItems::KeyItems(uint32_t key) const
{
    std::vector<CItemRef> items;
    m_live.Keys().ForEachItem(key, [&](HTREEITEM hItem) { items.push_back(Ref(hItem)); });
    return items;
}
