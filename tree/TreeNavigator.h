// Walking and shaping the tree: children by index, depths, expansion to a depth, collapse of
// whole branches and the pre-order step. Every walk is iterative, so a branch of any depth
// cannot overflow the stack; each visits items in the order a recursive walk would.
#pragma once
#include "model/ItemRef.h"
#include "render/RedrawSuspension.h"
#include "selection/Selection.h"

#include <windows.h>
#include <commctrl.h>

#include <unordered_set>
#include <vector>

class CHostDoor;
class CTreeCtrl;
class CTreeItems;

class CTreeNavigator final : public IRedrawListener, public IItemReveal
{
public:
    CTreeNavigator(CTreeCtrl& control, CTreeItems& items, CHostDoor& host, CRedrawSuspension& redraw)
        : m_control(control), m_items(items), m_host(host), m_redraw(redraw)
    {
    }

    // Child number index (from 0); null for a null parent, a negative index or too few children.
    HTREEITEM GetChild(HTREEITEM hParent, int index);
    int GetNumChildren(HTREEITEM hItem);
    bool IsItemExpanded(HTREEITEM hItem);
    // Levels of the branch (a leaf is 1); for null, the deepest of all roots (0 when empty).
    int GetDepth(HTREEITEM hItem);
    // Open levels below the item (a collapsed item is 0); for null, the most of all roots.
    int GetDeepestOpenLevel(HTREEITEM hItem);
    // Expands the branch to depth levels (-1: all), reporting each expansion to the host and
    // passing locked items by; for null, every root's branch.
    void ExpandToDepth(HTREEITEM hItem, int depth);
    // ExpandToDepth(ancestor, 1) for each ancestor of the item, nearest first, with the
    // messages to the host as ever; while redrawing is off the control's expansions wait until
    // it comes back on. Items marked meanwhile are then not shown yet: Wine's control lays out
    // its shown rows again for every mark of a shown item, with redrawing off too.
    void ExpandAncestors(HTREEITEM hItem) override;
    // Carries out the expansions that wait. Every expansion, collapse and question about it
    // comes after them, as it would have.
    void ExpandWaiting() override;
    // Carries them out before a message to the control that shows or changes expansion (the
    // expanded mark, the visible rows, hit tests, scrolling, a collapse, keys and clicks),
    // whoever sends it: waiting is never seen, only counted in messages.
    void ExpandWaitingBefore(UINT msg, WPARAM wParam, LPARAM lParam);
    void OnRedrawSuspended() override {}
    void OnRedrawResuming() override { ExpandWaiting(); }
    // Collapses every item of the branch, silently; for null, of every root.
    void Collapse(HTREEITEM hItem);
    // One step of a pre-order walk; tells the host first when the item marks an assembly.
    HTREEITEM GetNextTravItem(HTREEITEM hItem);

private:
    int CountLevels(HTREEITEM hItem);
    int CountOpenLevels(HTREEITEM hItem);
    // With later, the control's expansions wait (see ExpandAncestors).
    void ExpandBranch(HTREEITEM hItem, int depth, bool later = false);
    void CollapseBranch(HTREEITEM hItem);
    // Reports one expansion step in form 2 when the item has a record.
    void SendExpandMessage(HTREEITEM hItem, unsigned short code);

    CTreeCtrl& m_control;
    CTreeItems& m_items;
    CHostDoor& m_host;
    CRedrawSuspension& m_redraw;
    std::vector<CItemRef> m_waiting; // in the order they were asked for
    std::unordered_set<uint64_t> m_waitingSerials; // the insertions waiting, never reused
};
