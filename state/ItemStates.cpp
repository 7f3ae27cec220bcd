#include "state/ItemStates.h"

#include "tree/RVTreeCtrl.h"
#include "state/ItemPictures.h"

namespace {
bool IsOn(uint32_t state)
{
    return state != 0;
}
} // namespace

void CItemStates::GetKeyItems(uint32_t key, CGrowArray<HTREEITEM>& out)
{
    if (const CKeyIndex::ItemList* list = m_tree.KeyIndex().Find(key))
        for (int i = 0; i < list->GetCount(); ++i) out.Add(list->GetData()[i]);
}

std::vector<CItemRef> CItemStates::KeyItems(uint32_t key) const
{
    std::vector<CItemRef> items;
    if (const CKeyIndex::ItemList* list = m_tree.KeyIndex().Find(key)) {
        items.reserve(static_cast<size_t>(list->GetCount()));
        for (int i = 0; i < list->GetCount(); ++i) items.push_back(m_tree.Ref(list->GetData()[i]));
    }
    return items;
}

uint32_t CItemStates::ReadItemState(HTREEITEM hItem)
{
    if (const ItemRecord* const pRecord = m_tree.GetRecord(hItem)) return pRecord->state;
    return (m_tree.GetItemState(hItem, TVIS_STATEIMAGEMASK) & 0x1000) ? 0x1000 : 0;
}

void CItemStates::SetHTIState(HTREEITEM hItem, uint32_t state, bool bNotify)
{
    CTwinVisits visits;
    SwitchItem(visits, hItem, state, bNotify);
}

void CItemStates::SwitchItem(CTwinVisits& visits, HTREEITEM hItem, uint32_t state, bool bNotify)
{
    if (!hItem) return;
    const CItemRef item = m_tree.Ref(hItem);
    const ItemRecord* const pRecord = m_tree.GetRecord(hItem);
    // The brackets carry the item's words as they were at the start, whatever the host does.
    const bool bracket = pRecord && bNotify;
    const ItemRecord words = pRecord ? *pRecord : ItemRecord{};
    if (bracket) {
        m_tree.SendHostMessage2(words.typeID, HM_PRESTATECHANGE, hItem);
        m_tree.Messenger().Send(words.typeID, HM_BEGINSTATECHANGE, hItem, &words);
    }
    if (HTREEITEM hNow = m_tree.Resolve(item)) {
        ApplyStateToBranch(visits, hNow, state);
        if ((hNow = m_tree.Resolve(item))) PropagateStateUp(visits, m_tree.GetParent(hNow), ReadItemState(hNow));
    }
    if (bracket) {
        m_tree.Messenger().Send(words.typeID, HM_ENDSTATECHANGE, hItem, &words);
        m_tree.SendHostMessage2(words.typeID, HM_POSTSTATECHANGE, hItem);
    }
}

uint64_t CItemStates::StampFor(const CTwinVisits& visits) const
{
    return m_tree.LiveItems().Version() + m_tree.KeyIndex().Version() + (m_nStateWrites - visits.OwnWrites());
}

bool CItemStates::WouldChange(const CTwinVisits& visits, const ItemRecord* pRecord, uint32_t state) const
{
    if (!pRecord || pRecord->bIsAssembly) return false;
    if (pRecord->key == 0) return pRecord->state != state;
    return !visits.AllTwinsAt(pRecord->key, state, StampFor(visits));
}

bool CItemStates::ApplyStateToBranch(CTwinVisits& visits, HTREEITEM hStart, uint32_t state)
{
    CRecordLookup& lookup = m_tree.Lookup();
    lookup.BuildAncestorPath(hStart);
    const CItemRef start = m_tree.Ref(hStart);
    // The siblings still to visit, by reference: the host hears of every change and may
    // remove and add items meanwhile.
    std::vector<CItemRef> walk{start};
    bool succeeded = true;
    bool stopped = false; // a 3D call failed, or the host removed an item the walk stood on
    while (!stopped && !walk.empty()) {
        const CItemRef next = walk.back();
        walk.pop_back();
        HTREEITEM cur = m_tree.Resolve(next);
        if (next.Handle() && !cur) break; // gone meanwhile
        while (cur) {
            lookup.SetPathEnabled(false);
            ItemRecord* const pRecord = m_tree.GetRecord(cur);
            lookup.SetPathEnabled(true);
            lookup.PushPath(cur, pRecord);
            const CItemRef item = m_tree.Ref(cur);

            // The picture is asked for only when the item would change: passing by an item
            // whose twins are all switched already costs no message to the control.
            if (WouldChange(visits, pRecord, state) && m_tree.Pictures().GetStatePicture(cur) != kStateFailed &&
                !ApplyItemState(visits, cur, state, false, pRecord)) {
                succeeded = false;
                stopped = true;
                break;
            }
            if (!m_tree.Resolve(item)) {
                stopped = true;
                break;
            }
            const ItemRecord* const pNow = m_tree.GetRecord(cur);
            if (pNow && pNow->nChildren != 0) {
                if (item != start) walk.push_back(m_tree.Ref(m_tree.GetNextSiblingItem(cur)));
                cur = m_tree.GetChildItem(cur);
                continue;
            }
            if (item == start) break;
            lookup.PopPath();
            cur = m_tree.GetNextSiblingItem(cur);
        }
        if (!stopped) lookup.PopPath();
    }
    lookup.ReleaseAncestorPath();
    return succeeded;
}

bool CItemStates::CallViewer(uint32_t key, uint32_t state)
{
    return m_tree.Host().ShowKey(key, IsOn(state));
}

void CItemStates::AdjustParentCount(HTREEITEM hParent, uint32_t state)
{
    ItemRecord* const pParent = hParent ? m_tree.GetRecord(hParent) : nullptr;
    if (!pParent) return;
    if (IsOn(state)) {
        if (pParent->nChildrenOn < pParent->nChildren) ++pParent->nChildrenOn;
    } else if (pParent->nChildrenOn > 0) {
        --pParent->nChildrenOn;
    }
}

bool CItemStates::ApplyItemState(CTwinVisits& visits, HTREEITEM hItem, uint32_t state, bool internal,
                                 ItemRecord* pRecord)
{
    if (!pRecord) pRecord = m_tree.GetRecord(hItem);
    if (pRecord && pRecord->bIsAssembly) return true;
    const uint32_t key = pRecord ? pRecord->key : 0;
    // Every twin is at the state already: the loop below would pass each of them by.
    if (key != 0 && visits.AllTwinsAt(key, state, StampFor(visits))) return true;

    // The item and its key twins, by reference: the host hears of each change and may remove
    // and add items meanwhile. Records are read afresh after every call out.
    const CItemRef self = m_tree.Ref(hItem);
    std::vector<CItemRef> targets;
    if (key != 0) targets = KeyItems(key);
    const bool twinsOfKey = !targets.empty();
    if (!twinsOfKey) targets.push_back(self);
    const uint64_t stamp = StampFor(visits);
    visits.Forget(key);

    for (const CItemRef& target : targets) {
        const HTREEITEM t = m_tree.Resolve(target);
        if (!t) continue;
        ItemRecord* pTarget = m_tree.GetRecord(t);
        if (!pTarget || pTarget->state == state) continue;

        if (pTarget->key != 0 && m_tree.Host().ShowsKeys() && !internal &&
            pTarget->nChildren == 0) {
            if (!CallViewer(pTarget->key, state)) return false;
            // The host may have changed the item (or removed it) from inside the call.
            if (!m_tree.Resolve(target)) continue;
            pTarget = m_tree.GetRecord(t);
            if (!pTarget || pTarget->state == state) continue;
        }

        UINT picture = kStateOn;
        if (!IsOn(state))
            picture = (!pTarget->bIsLoaded && pTarget->nChildren == 0 && pTarget->key != 0) ? kStateUnloaded : kStateOff;
        m_tree.Pictures().SetStatePicture(t, picture);
        if (IsOn(state) && !pTarget->bIsLoaded) pTarget->bIsLoaded = 1;

        // The item's state and its parent's count are in place before the host hears of the
        // change, so that whatever it reads from inside the message agrees with it. A live
        // item keeps its parent, so the parent read here serves after the message too.
        const HTREEITEM hParent = m_tree.GetParent(t);
        AdjustParentCount(hParent, state);
        pTarget->state = state;
        ++m_nStateWrites;
        visits.CountOwnWrite();
        m_tree.SendHostMessage(pTarget->typeID, IsOn(state) ? HM_SHOWN : HM_HIDDEN, t, pTarget);
        if (!m_tree.Resolve(target)) continue;
        if (target != self && !internal) PropagateStateUp(visits, hParent, state);
    }
    // Nobody else changed the twins meanwhile: every one of them is at the state now.
    if (twinsOfKey && StampFor(visits) == stamp) visits.Remember(key, state, stamp);
    return true;
}

void CItemStates::PropagateStateUp(CTwinVisits& visits, HTREEITEM hItem, uint32_t state)
{
    for (HTREEITEM p = hItem; p && m_tree.IsLiveItem(p); p = m_tree.GetParent(p)) {
        ItemRecord* const pRecord = m_tree.GetRecord(p);
        if (!pRecord || pRecord->bIsAssembly || pRecord->state == state) return;
        const CItemRef item = m_tree.Ref(p);
        const uint32_t current = pRecord->state;
        const int64_t on = pRecord->nChildrenOn, n = pRecord->nChildren;
        if (on == n && IsOn(state))
            ApplyItemState(visits, p, state, true, pRecord);
        else if (on == n - 1 && !IsOn(state) && IsOn(current))
            ApplyItemState(visits, p, 0, true, pRecord);
        if (!m_tree.Resolve(item)) return;
    }
}

void CItemStates::SetKeyState(uint32_t key, uint32_t state)
{
    CTwinVisits visits; // one operation for all of the key's items
    for (const CItemRef& item : KeyItems(key)) {
        const HTREEITEM hItem = m_tree.Resolve(item);
        if (hItem && m_tree.GetHTIState(hItem) != state) SwitchItem(visits, hItem, state, true);
    }
}

uint32_t CItemStates::GetKeyState(uint32_t key)
{
    const CKeyIndex::ItemList* const list = m_tree.KeyIndex().Find(key);
    if (!list || list->GetCount() == 0) return 0;
    return m_tree.GetHTIState(list->GetData()[0]);
}
