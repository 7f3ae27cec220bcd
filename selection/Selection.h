// The tree's own multi-selection: selected items carry TVIS_SELECTED and are listed in the
// order they were selected; the current item alone carries TVIS_FOCUSED. Every change is
// reported to the host inside the sink's selection lock; the control's own selection is never
// used. Also the count-then-fetch queries and the key queries.
#pragma once
#include "model/GrowArray.h"
#include "model/ItemRef.h"
#include "render/RedrawSuspension.h"

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <unordered_set>

class CHostDoor;
class CRedrawSuspension;
class CTreeCtrl;
class CTreeItems;

// While redrawing is off nobody sees the focus mark, so it moves once, when redrawing comes
// back on: a batch of selections (SelectItems of a key, a host's suspendRedraw series) costs
// one mark per item and one focus move in all.
// What the selection needs of the tree's expansion to show a selected item.
class IItemReveal
{
public:
    // Expands the item's ancestors (or has them wait for the end of a redraw suspension).
    virtual void ExpandAncestors(HTREEITEM hItem) = 0;
    // Carries out the expansions that wait, before the item is scrolled into view.
    virtual void ExpandWaiting() = 0;

protected:
    ~IItemReveal() = default;
};

class CSelection final : public IRedrawListener
{
public:
    // The focus mark of the current item (TVIS_FOCUSED, which the headers leave out).
    static constexpr UINT kFocusedMark = 0x0001;

    CSelection(CTreeCtrl& control, CTreeItems& items, CHostDoor& host, CRedrawSuspension& redraw, IItemReveal& reveal)
        : m_control(control), m_items(items), m_host(host), m_redraw(redraw), m_reveal(reveal)
    {
    }

    void SetFocusItem(HTREEITEM hItem);
    HTREEITEM CurrentItem() const { return m_hCurrentItem; }
    void SelectItem(HTREEITEM hItem, bool bNotify, bool bAppend, bool bIsOrvane);
    void DeselectItem(HTREEITEM hItem, bool bNotify, bool bKeyTwins);
    // Deselects an item the control is deleting (a leaf by then: its children went first).
    void OnItemDeleting(HTREEITEM hItem);
    void NotifyBranchDeselected(HTREEITEM hItem);
    void ClearSelection();
    void DeselectAll();
    void SelectItems(uint32_t key, bool bSelect, bool bSetVisible);
    void RefreshSelectionMarks();

    int Count() const { return m_selection.GetCount(); }
    HTREEITEM First() const { return m_selection.IsEmpty() ? nullptr : m_selection.GetData()[0]; }
    bool IsListed(HTREEITEM hItem) const { return m_listed.count(hItem) != 0; }
    const CGrowArray<HTREEITEM>& Items() const { return m_selection; }

    int CalcSelectedItems(uint32_t typeID);
    // Copies and empties the prepared list; false (nothing copied) when size differs from it.
    bool GetSelectedItems(ULONG_PTR* pItems, int size) { return Fetch(m_selQuery, pItems, size); }
    int CalcOrvaneMappedItems(uint32_t key);
    bool GetOrvaneMappedItems(ULONG_PTR* pItems, int size) { return Fetch(m_mappedQuery, pItems, size); }
    int IsOrvaneKeyPresent(uint32_t key);
    // Selected items of a data set (all for 0), in selection order; writes at most size.
    int CountSelectedByDataID(uint32_t dataID);
    void GetSelectedByDataID(uint32_t dataID, ULONG_PTR* pItems, int size);

    // An item the control deleted leaves every list.
    void Forget(HTREEITEM hItem);

    void OnRedrawSuspended() override;
    void OnRedrawResuming() override;

private:
    bool IsMarked(HTREEITEM hItem);
    void Mark(HTREEITEM hItem, bool selected);
    void Lock(bool locked);
    // The selection list changes only through these, which keep its set of items with it.
    void Append(HTREEITEM hItem);
    void Unlist(HTREEITEM hItem);
    void EmptySelection();
    static bool Fetch(CGrowArray<HTREEITEM>& list, ULONG_PTR* pItems, int size);
    static void Empty(CGrowArray<HTREEITEM>& list);

    CTreeCtrl& m_control;
    CTreeItems& m_items;
    CHostDoor& m_host;
    CRedrawSuspension& m_redraw;
    IItemReveal& m_reveal;
    HTREEITEM m_hCurrentItem = nullptr;
    // While redrawing is off: the item that carries the focus mark, which the current item
    // takes over when redrawing comes back on.
    bool m_bFocusDeferred = false;
    CItemRef m_focusMarked;
    CGrowArray<HTREEITEM> m_selection;
    std::unordered_set<HTREEITEM> m_listed; // the items of m_selection, for membership at a glance
    CGrowArray<HTREEITEM> m_selQuery;
    CGrowArray<HTREEITEM> m_mappedQuery;
};
