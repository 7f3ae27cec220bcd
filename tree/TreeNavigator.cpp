#include "tree/TreeNavigator.h"

#include "tree/BranchWalk.h"
#include "host/HostDoor.h"
#include "model/TreeItems.h"
#include "platform/TreeCtrl.h"

#include <algorithm>

HTREEITEM CTreeNavigator::GetChild(HTREEITEM hParent, int index)
{
    if (!hParent || index < 0) return nullptr;
    HTREEITEM hChild = m_control.GetChildItem(hParent);
    for (int i = 0; hChild && i < index; ++i) hChild = m_control.GetNextSiblingItem(hChild);
    return hChild;
}

int CTreeNavigator::GetNumChildren(HTREEITEM hItem)
{
    if (!hItem) return 0;
    int count = 0;
    for (HTREEITEM c = m_control.GetChildItem(hItem); c; c = m_control.GetNextSiblingItem(c)) ++count;
    return count;
}

bool CTreeNavigator::IsItemExpanded(HTREEITEM hItem)
{
    ExpandWaiting();
    return hItem && (m_control.GetItemState(hItem, TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
}

int CTreeNavigator::CountLevels(HTREEITEM hStart)
{
    // Children that are all leaves add one level without a visit each.
    const CLiveItems& items = m_items.LiveItems();
    int maximum = 0;
    WalkBranch(m_control, m_items, hStart, 1, [&](HTREEITEM hItem, int level, int& childLevel) {
        maximum = std::max(maximum, items.HasChildren(hItem) ? level + 1 : level);
        childLevel = level + 1;
        return items.HasGrandchildren(hItem);
    });
    return maximum;
}

int CTreeNavigator::GetDepth(HTREEITEM hItem)
{
    if (hItem) return CountLevels(hItem);
    int maximum = 0;
    for (HTREEITEM root = m_control.GetRootItem(); root; root = m_control.GetNextSiblingItem(root))
        maximum = std::max(maximum, CountLevels(root));
    return maximum;
}

int CTreeNavigator::CountOpenLevels(HTREEITEM hStart)
{
    int maximum = 0;
    WalkBranch(m_control, m_items, hStart, 0, [&](HTREEITEM hItem, int level, int& childLevel) {
        maximum = std::max(maximum, level);
        childLevel = level + 1;
        return IsItemExpanded(hItem) && m_control.GetChildItem(hItem) != nullptr;
    });
    return maximum;
}

int CTreeNavigator::GetDeepestOpenLevel(HTREEITEM hItem)
{
    ExpandWaiting();
    if (hItem) return CountOpenLevels(hItem);
    int maximum = 0;
    for (HTREEITEM root = m_control.GetRootItem(); root; root = m_control.GetNextSiblingItem(root))
        maximum = std::max(maximum, CountOpenLevels(root));
    return maximum;
}

void CTreeNavigator::SendExpandMessage(HTREEITEM hItem, unsigned short code)
{
    const ItemRecord* const pRecord = m_items.GetRecord(hItem);
    if (pRecord) m_host.TellExpansion(static_cast<HostMessage>(code), hItem, pRecord->typeID);
}

void CTreeNavigator::ExpandBranch(HTREEITEM hStart, int depth, bool later)
{
    // The live items know which items have children: a leaf stops at once, without a message,
    // and the leaves below an item whose children are all leaves are not visited at all.
    const CLiveItems& items = m_items.LiveItems();
    WalkBranch(m_control, m_items, hStart, depth, [&](HTREEITEM x, int d, int& childDepth) {
        const ItemRecord* const pRecord = m_items.GetRecord(x);
        // A locked item is neither expanded nor descended into.
        if (d == 0 || !items.HasChildren(x) || (pRecord && pRecord->bLocked)) return false;
        // The host may remove the item while it is told (and the control reuse its handle).
        const CItemRef item = m_items.Ref(x);
        if (pRecord && m_host.MessageHandler()) {
            SendExpandMessage(x, HM_BEGINEXPAND);
            if (m_items.Resolve(item)) SendExpandMessage(x, HM_ITEMEXPANDING);
        }
        // An expanded item is left alone: the control would ignore the request, after laying
        // out its rows again (Wine's does, for every TVM_EXPAND).
        if (later && m_items.Resolve(item) && m_waitingSerials.insert(m_items.SerialOf(x)).second)
            m_waiting.push_back(item);
        else if (!later && m_items.Resolve(item) && !(m_control.GetItemState(x, TVIS_EXPANDED) & TVIS_EXPANDED))
            m_control.Expand(x, TVE_EXPAND);
        if (m_items.Resolve(item) && m_items.GetRecord(x)) SendExpandMessage(x, HM_ENDEXPAND);
        // A negative depth never reaches 0: it stays negative rather than counting down (and
        // overflowing) towards it.
        childDepth = d > 0 ? d - 1 : d;
        // Children at depth 0, or leaves only, would do nothing: do not walk them.
        return childDepth != 0 && items.HasGrandchildren(x);
    });
}

void CTreeNavigator::ExpandAncestors(HTREEITEM hItem)
{
    CRedrawScope noRedraw(m_redraw);
    // Each ancestor is told of, and the host may change the tree meanwhile: every step starts
    // from an item that still lives.
    for (CItemRef ancestor = m_items.Ref(hItem); const HTREEITEM hNow = m_items.Resolve(ancestor);) {
        const HTREEITEM a = m_items.GetParent(hNow);
        if (!a) break;
        ancestor = m_items.Ref(a);
        ExpandBranch(a, 1, true);
    }
}

void CTreeNavigator::ExpandWaiting()
{
    if (m_waiting.empty()) return;
    const std::vector<CItemRef> waiting = std::move(m_waiting);
    m_waiting.clear();
    m_waitingSerials.clear();
    for (const CItemRef& ref : waiting) {
        const HTREEITEM x = ref.Get(m_items.LiveItems());
        // As at the time it was asked for: an item locked or emptied since stays as it is.
        const ItemRecord* const pRecord = x ? m_items.GetRecord(x) : nullptr;
        if (!x || !m_items.LiveItems().HasChildren(x) || (pRecord && pRecord->bLocked)) continue;
        if (!(m_control.GetItemState(x, TVIS_EXPANDED) & TVIS_EXPANDED)) m_control.Expand(x, TVE_EXPAND);
    }
}

namespace {
constexpr UINT kExpansionBits = TVIS_EXPANDED | TVIS_EXPANDEDONCE | TVIS_EXPANDPARTIAL;

bool ShowsExpansion(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case TVM_GETITEMSTATE:
        return (static_cast<UINT>(lParam) & kExpansionBits) != 0;
    case TVM_GETITEMA:
    case TVM_GETITEMW: {
        // The state's place is the same in both character sets.
        const auto* const pItem = reinterpret_cast<const TVITEMW*>(lParam);
        return pItem && (pItem->mask & TVIF_STATE) && (pItem->stateMask & kExpansionBits);
    }
    case TVM_GETNEXTITEM:
        return wParam == TVGN_FIRSTVISIBLE || wParam == TVGN_NEXTVISIBLE || wParam == TVGN_PREVIOUSVISIBLE ||
               wParam == TVGN_LASTVISIBLE;
    case TVM_SELECTITEM:
        return wParam == TVGN_CARET || wParam == TVGN_FIRSTVISIBLE;
    case TVM_EXPAND:
    case TVM_ENSUREVISIBLE:
    case TVM_GETITEMRECT:
    case TVM_HITTEST:
    case TVM_EDITLABELA:
    case TVM_EDITLABELW:
    case WM_VSCROLL:
    case WM_HSCROLL:
    case WM_MOUSEWHEEL:
    case WM_KEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
        return true;
    default:
        return false;
    }
}
} // namespace

void CTreeNavigator::ExpandWaitingBefore(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (!m_waiting.empty() && ShowsExpansion(msg, wParam, lParam)) ExpandWaiting();
}

void CTreeNavigator::ExpandToDepth(HTREEITEM hItem, int depth)
{
    ExpandWaiting();
    CRedrawScope noRedraw(m_redraw);
    if (depth == -1) depth = GetDepth(hItem);
    if (hItem) {
        ExpandBranch(hItem, depth);
        return;
    }
    for (HTREEITEM root = m_control.GetRootItem(); root;) {
        const CItemRef item = m_items.Ref(root);
        ExpandBranch(root, depth);
        root = m_items.Resolve(item) ? m_control.GetNextSiblingItem(root) : nullptr;
    }
}

void CTreeNavigator::CollapseBranch(HTREEITEM hStart)
{
    WalkBranch(m_control, m_items, hStart, 0, [&](HTREEITEM x, int, int&) {
        m_control.Expand(x, TVE_COLLAPSE);
        return m_control.GetChildItem(x) != nullptr;
    });
}

void CTreeNavigator::Collapse(HTREEITEM hItem)
{
    ExpandWaiting();
    CRedrawScope noRedraw(m_redraw);
    if (hItem) {
        CollapseBranch(hItem);
        return;
    }
    for (HTREEITEM root = m_control.GetRootItem(); root; root = m_control.GetNextSiblingItem(root))
        CollapseBranch(root);
}

HTREEITEM CTreeNavigator::GetNextTravItem(HTREEITEM hItem)
{
    if (!hItem) return nullptr;
    const CItemRef item = m_items.Ref(hItem);
    if (const ItemRecord* const pRecord = m_items.GetRecord(hItem)) {
        if (pRecord->bAssemblyIcon) m_host.TellAssemblyTraversed(hItem, *pRecord);
    }
    // The host may have changed the tree while it was told: read the children only now.
    if (!m_items.Resolve(item)) return nullptr;
    if (const HTREEITEM hChild = m_control.GetChildItem(hItem)) return hChild;
    for (HTREEITEM x = hItem; x; x = m_items.GetParent(x))
        if (const HTREEITEM hNext = m_control.GetNextSiblingItem(x)) return hNext;
    return nullptr;
}
