#include "state/ItemStates.h"

#include "host/HostDoor.h"
#include "model/TreeItems.h"
#include "platform/TreeCtrl.h"
#include "state/ItemPictures.h"

namespace {
bool IsOn(uint32_t state)
{
    return state != 0;
}
} // namespace

uint32_t CItemStates::ReadItemState(HTREEITEM hItem)
{
    if (const ItemRecord* const pRecord = m_items.GetRecord(hItem)) return pRecord->state;
    return (m_control.GetItemState(hItem, TVIS_STATEIMAGEMASK) & 0x1000) ? 0x1000 : 0;
}

void CItemStates::SetHTIState(HTREEITEM hItem, uint32_t state, bool bNotify)
{
    CTwinVisits visits;
    SwitchItem(visits, hItem, state, bNotify);
}

void CItemStates::SwitchItem(CTwinVisits& visits, HTREEITEM hItem, uint32_t state, bool bNotify)
{
    if (!hItem) return;
    const CItemRef item = m_items.Ref(hItem);
    const ItemRecord* const pRecord = m_items.GetRecord(hItem);
    // The brackets carry the item's words as they were at the start, whatever the host does.
    const bool bracket = pRecord && bNotify;
    const ItemRecord words = pRecord ? *pRecord : ItemRecord{};
    if (bracket) {
        m_host.TellStateChange(HM_PRESTATECHANGE, hItem, words);
        m_host.TellStateChange(HM_BEGINSTATECHANGE, hItem, words);
    }
    if (HTREEITEM hNow = m_items.Resolve(item)) {
        ApplyStateToBranch(visits, hNow, state);
        if ((hNow = m_items.Resolve(item))) PropagateStateUp(visits, m_items.GetParent(hNow), ReadItemState(hNow));
    }
    if (bracket) {
        m_host.TellStateChange(HM_ENDSTATECHANGE, hItem, words);
        m_host.TellStateChange(HM_POSTSTATECHANGE, hItem, words);
    }
}

uint64_t CItemStates::StampFor(const CTwinVisits& visits) const
{
    return m_items.LiveItems().Version() + m_items.KeyIndex().Version() + (m_nStateWrites - visits.OwnWrites());
}

bool CItemStates::WouldChange(const CTwinVisits& visits, const ItemRecord* pRecord, uint32_t state) const
{
    if (!pRecord || pRecord->bIsAssembly) return false;
    if (pRecord->key == 0) return pRecord->state != state;
    return !visits.AllTwinsAt(pRecord->key, state, StampFor(visits));
}

bool CItemStates::ApplyStateToBranch(CTwinVisits& visits, HTREEITEM hStart, uint32_t state)
{
    CRecordLookup& lookup = m_items.Lookup();
    lookup.BuildAncestorPath(hStart);
    const CItemRef start = m_items.Ref(hStart);
    // The siblings still to visit, by reference: the host hears of every change and may
    // remove and add items meanwhile.
    std::vector<CItemRef> walk{start};
    bool succeeded = true;
    bool stopped = false; // a 3D call failed, or the host removed an item the walk stood on
    while (!stopped && !walk.empty()) {
        const CItemRef next = walk.back();
        walk.pop_back();
        HTREEITEM cur = m_items.Resolve(next);
        if (next.Handle() && !cur) break; // gone meanwhile
        while (cur) {
            lookup.SetPathEnabled(false);
            ItemRecord* const pRecord = m_items.GetRecord(cur);
            lookup.SetPathEnabled(true);
            lookup.PushPath(cur, pRecord);
            const CItemRef item = m_items.Ref(cur);

            // The picture is asked for only when the item would change: passing by an item
            // whose twins are all switched already costs no message to the control.
            if (WouldChange(visits, pRecord, state) && m_pictures.GetStatePicture(cur) != kStateFailed &&
                !ApplyItemState(visits, cur, state, false, pRecord)) {
                succeeded = false;
                stopped = true;
                break;
            }
            if (!m_items.Resolve(item)) {
                stopped = true;
                break;
            }
            const ItemRecord* const pNow = m_items.GetRecord(cur);
            if (pNow && pNow->nChildren != 0) {
                if (item != start) walk.push_back(m_items.Ref(m_control.GetNextSiblingItem(cur)));
                cur = m_control.GetChildItem(cur);
                continue;
            }
            if (item == start) break;
            lookup.PopPath();
            cur = m_control.GetNextSiblingItem(cur);
        }
        if (!stopped) lookup.PopPath();
    }
    lookup.ReleaseAncestorPath();
    return succeeded;
}

bool CItemStates::CallViewer(uint32_t key, uint32_t state)
{
    return m_host.ShowKey(key, IsOn(state));
}

void CItemStates::AdjustParentCount(HTREEITEM hParent, uint32_t state)
{
    ItemRecord* const pParent = hParent ? m_items.GetRecord(hParent) : nullptr;
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
    if (!pRecord) pRecord = m_items.GetRecord(hItem);
    if (pRecord && pRecord->bIsAssembly) return true;
    const uint32_t key = pRecord ? pRecord->key : 0;
    // Every twin is at the state already: the loop below would pass each of them by.
    if (key != 0 && visits.AllTwinsAt(key, state, StampFor(visits))) return true;

    // The item and its key twins, by reference: the host hears of each change and may remove
    // and add items meanwhile. Records are read afresh after every call out.
    const CItemRef self = m_items.Ref(hItem);
    std::vector<CItemRef> targets;
    if (key != 0) targets = m_items.KeyItems(key);
    const bool twinsOfKey = !targets.empty();
    if (!twinsOfKey) targets.push_back(self);
    const uint64_t stamp = StampFor(visits);
    visits.Forget(key);

    for (const CItemRef& target : targets) {
        const HTREEITEM t = m_items.Resolve(target);
        if (!t) continue;
        ItemRecord* pTarget = m_items.GetRecord(t);
        if (!pTarget || pTarget->state == state) continue;

        if (pTarget->key != 0 && m_host.ShowsKeys() && !internal && pTarget->nChildren == 0) {
            if (!CallViewer(pTarget->key, state)) return false;
            // The host may have changed the item (or removed it) from inside the call.
            if (!m_items.Resolve(target)) continue;
            pTarget = m_items.GetRecord(t);
            if (!pTarget || pTarget->state == state) continue;
        }

        UINT picture = kStateOn;
        if (!IsOn(state))
            picture = (!pTarget->bIsLoaded && pTarget->nChildren == 0 && pTarget->key != 0) ? kStateUnloaded : kStateOff;
        m_pictures.SetStatePicture(t, picture);
        if (IsOn(state) && !pTarget->bIsLoaded) pTarget->bIsLoaded = 1;

        // The item's state and its parent's count are in place before the host hears of the
        // change, so that whatever it reads from inside the message agrees with it. A live
        // item keeps its parent, so the parent read here serves after the message too.
        const HTREEITEM hParent = m_items.GetParent(t);
        AdjustParentCount(hParent, state);
        pTarget->state = state;
        ++m_nStateWrites;
        visits.CountOwnWrite();
        m_host.TellShown(t, IsOn(state), *pTarget);
        if (!m_items.Resolve(target)) continue;
        if (target != self && !internal) PropagateStateUp(visits, hParent, state);
    }
    // Nobody else changed the twins meanwhile: every one of them is at the state now.
    if (twinsOfKey && StampFor(visits) == stamp) visits.Remember(key, state, stamp);
    return true;
}

void CItemStates::PropagateStateUp(CTwinVisits& visits, HTREEITEM hItem, uint32_t state)
{
    for (HTREEITEM p = hItem; p && m_items.IsLiveItem(p); p = m_items.GetParent(p)) {
        ItemRecord* const pRecord = m_items.GetRecord(p);
        if (!pRecord || pRecord->bIsAssembly || pRecord->state == state) return;
        const CItemRef item = m_items.Ref(p);
        const uint32_t current = pRecord->state;
        const int64_t on = pRecord->nChildrenOn, n = pRecord->nChildren;
        if (on == n && IsOn(state))
            ApplyItemState(visits, p, state, true, pRecord);
        else if (on == n - 1 && !IsOn(state) && IsOn(current))
            ApplyItemState(visits, p, 0, true, pRecord);
        if (!m_items.Resolve(item)) return;
    }
}

void CItemStates::SetKeyState(uint32_t key, uint32_t state)
{
    CTwinVisits visits; // one operation for all of the key's items
    for (const CItemRef& item : m_items.KeyItems(key)) {
        const HTREEITEM hItem = m_items.Resolve(item);
        if (hItem && m_items.GetHTIState(hItem) != state) SwitchItem(visits, hItem, state, true);
    }
}

uint32_t CItemStates::GetKeyState(uint32_t key)
{
    const HTREEITEM hFirst = m_items.KeyIndex().FirstOf(key);
    return hFirst ? m_items.GetHTIState(hFirst) : 0;
}
