// The on/off state of items and how a change spreads: down the branch, across every item
// showing the same model key (telling the 3D viewer), and up to the ancestors.
#pragma once
#include "model/GrowArray.h"
#include "model/ItemRecord.h"
#include "model/ItemRef.h"
#include "state/TwinVisits.h"

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <vector>

class CHostDoor;
class CItemPictures;
class CTreeCtrl;
class CTreeItems;

class CItemStates
{
public:
    CItemStates(CTreeCtrl& control, CTreeItems& items, CHostDoor& host, CItemPictures& pictures)
        : m_control(control), m_items(items), m_host(host), m_pictures(pictures)
    {
    }

    // Sets the state on the item's branch and key twins, then re-evaluates its ancestors;
    // with bNotify the change is bracketed by the pre/begin and end/post messages.
    void SetHTIState(HTREEITEM hItem, uint32_t state, bool bNotify);
    // Every item of the key whose state differs (taken once, before the first change).
    void SetKeyState(uint32_t key, uint32_t state);
    uint32_t GetKeyState(uint32_t key);

    // The record's state, or for an item without a record 0x1000 when its state image is odd.
    uint32_t ReadItemState(HTREEITEM hItem);

private:
    // One operation's steps; visits is what the operation knows of the twins it has switched.
    void SwitchItem(CTwinVisits& visits, HTREEITEM hItem, uint32_t state, bool bNotify);
    // The walk down a branch; false when a 3D call failed and stopped it.
    bool ApplyStateToBranch(CTwinVisits& visits, HTREEITEM hStart, uint32_t state);
    // Whether switching the item (its record given) would change anything.
    bool WouldChange(const CTwinVisits& visits, const ItemRecord* pRecord, uint32_t state) const;
    // One item and every item of its key; false when a 3D call failed.
    bool ApplyItemState(CTwinVisits& visits, HTREEITEM hItem, uint32_t state, bool internal,
                        ItemRecord* pRecord = nullptr);
    // Switches ancestors on when all their children are on, off when one no longer is.
    void PropagateStateUp(CTwinVisits& visits, HTREEITEM hItem, uint32_t state);
    // Tells the 3D viewer, inside the sink's visibility lock; false when the call failed.
    bool CallViewer(uint32_t key, uint32_t state);
    void AdjustParentCount(HTREEITEM hParent, uint32_t state);
    // Moves whenever someone other than the operation changes what its twin visits rely on.
    uint64_t StampFor(const CTwinVisits& visits) const;

    CTreeCtrl& m_control;
    CTreeItems& m_items;
    CHostDoor& m_host;
    CItemPictures& m_pictures;
    uint64_t m_nStateWrites = 0; // by every operation, nested ones included
};
