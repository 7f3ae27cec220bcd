#include "model/TreeNavigator.h"

#include "model/RVTreeCtrl.h"

#include <algorithm>
#include <vector>

namespace {

// One level of an iterative pre-order walk: the item being visited there and its depth
// argument; once its branch is done the level moves on to the item's next sibling.
struct Level
{
    HTREEITEM hItem;
    int value;
    bool visited;
};

} // namespace

HTREEITEM CTreeNavigator::GetChild(HTREEITEM hParent, int index)
{
    if (!hParent || index < 0) return nullptr;
    HTREEITEM hChild = m_tree.GetChildItem(hParent);
    for (int i = 0; hChild && i < index; ++i) hChild = m_tree.GetNextSiblingItem(hChild);
    return hChild;
}

int CTreeNavigator::GetNumChildren(HTREEITEM hItem)
{
    if (!hItem) return 0;
    int count = 0;
    for (HTREEITEM c = m_tree.GetChildItem(hItem); c; c = m_tree.GetNextSiblingItem(c)) ++count;
    return count;
}

bool CTreeNavigator::IsItemExpanded(HTREEITEM hItem)
{
    return hItem && (m_tree.GetItemState(hItem, TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
}

int CTreeNavigator::CountLevels(HTREEITEM hStart)
{
    // Depth-first over the branch, children in order, carrying each item's level.
    int maximum = 0;
    std::vector<Level> stack{{hStart, 1, false}};
    while (!stack.empty()) {
        Level& top = stack.back();
        if (!top.hItem) {
            stack.pop_back();
            continue;
        }
        if (!top.visited) {
            top.visited = true;
            maximum = std::max(maximum, top.value);
            const int level = top.value;
            stack.push_back({m_tree.GetChildItem(top.hItem), level + 1, false});
            continue;
        }
        if (stack.size() == 1) break; // the start item's siblings are not part of its branch
        top = {m_tree.GetNextSiblingItem(top.hItem), top.value, false};
    }
    return maximum;
}

int CTreeNavigator::GetDepth(HTREEITEM hItem)
{
    if (hItem) return CountLevels(hItem);
    int maximum = 0;
    for (HTREEITEM root = m_tree.GetRootItem(); root; root = m_tree.GetNextSiblingItem(root))
        maximum = std::max(maximum, CountLevels(root));
    return maximum;
}

int CTreeNavigator::CountOpenLevels(HTREEITEM hStart)
{
    int maximum = 0;
    std::vector<Level> stack{{hStart, 0, false}};
    while (!stack.empty()) {
        Level& top = stack.back();
        if (!top.hItem) {
            stack.pop_back();
            continue;
        }
        if (!top.visited) {
            top.visited = true;
            maximum = std::max(maximum, top.value);
            if (IsItemExpanded(top.hItem) && m_tree.GetChildItem(top.hItem) != nullptr) {
                const int level = top.value;
                stack.push_back({m_tree.GetChildItem(top.hItem), level + 1, false});
                continue;
            }
        }
        if (stack.size() == 1) break;
        top = {m_tree.GetNextSiblingItem(top.hItem), top.value, false};
    }
    return maximum;
}

int CTreeNavigator::GetDeepestOpenLevel(HTREEITEM hItem)
{
    if (hItem) return CountOpenLevels(hItem);
    int maximum = 0;
    for (HTREEITEM root = m_tree.GetRootItem(); root; root = m_tree.GetNextSiblingItem(root))
        maximum = std::max(maximum, CountOpenLevels(root));
    return maximum;
}

void CTreeNavigator::SendExpandMessage(HTREEITEM hItem, unsigned short code)
{
    const ItemRecord* const pRecord = m_tree.GetRecord(hItem);
    if (pRecord) m_tree.Messenger().SendForm2(pRecord->typeID, static_cast<HostMessage>(code), hItem);
}

void CTreeNavigator::ExpandBranch(HTREEITEM hStart, int depth)
{
    std::vector<Level> stack{{hStart, depth, false}};
    while (!stack.empty()) {
        Level& top = stack.back();
        if (!top.hItem) {
            stack.pop_back();
            continue;
        }
        if (!top.visited) {
            top.visited = true;
            const HTREEITEM x = top.hItem;
            const int d = top.value;
            const ItemRecord* const pRecord = m_tree.GetRecord(x);
            const bool stop = d == 0 || !m_tree.GetChildItem(x) || (pRecord && pRecord->bLocked);
            if (!stop) {
                if (pRecord && m_tree.GetMessageHandler()) {
                    SendExpandMessage(x, HM_BEGINEXPAND);
                    SendExpandMessage(x, HM_ITEMEXPANDING);
                }
                m_tree.Expand(x, TVE_EXPAND);
                if (m_tree.IsLiveItem(x) && m_tree.GetRecord(x)) SendExpandMessage(x, HM_ENDEXPAND);
                // The host may have removed the item while it was told.
                if (m_tree.IsLiveItem(x)) {
                    stack.push_back({m_tree.GetChildItem(x), d - 1, false});
                    continue;
                }
            }
        }
        if (stack.size() == 1) break;
        Level& level = stack.back();
        level = {m_tree.IsLiveItem(level.hItem) ? m_tree.GetNextSiblingItem(level.hItem) : nullptr, level.value, false};
    }
}

void CTreeNavigator::ExpandToDepth(HTREEITEM hItem, int depth)
{
    CRedrawScope noRedraw(m_tree.Redraw());
    if (depth == -1) depth = GetDepth(hItem);
    if (hItem) {
        ExpandBranch(hItem, depth);
        return;
    }
    for (HTREEITEM root = m_tree.GetRootItem(); root;) {
        ExpandBranch(root, depth);
        root = m_tree.IsLiveItem(root) ? m_tree.GetNextSiblingItem(root) : nullptr;
    }
}

void CTreeNavigator::CollapseBranch(HTREEITEM hStart)
{
    std::vector<Level> stack{{hStart, 0, false}};
    while (!stack.empty()) {
        Level& top = stack.back();
        if (!top.hItem) {
            stack.pop_back();
            continue;
        }
        if (!top.visited) {
            top.visited = true;
            m_tree.Expand(top.hItem, TVE_COLLAPSE);
            if (m_tree.GetChildItem(top.hItem) != nullptr) {
                stack.push_back({m_tree.GetChildItem(top.hItem), 0, false});
                continue;
            }
        }
        if (stack.size() == 1) break;
        top = {m_tree.GetNextSiblingItem(top.hItem), 0, false};
    }
}

void CTreeNavigator::Collapse(HTREEITEM hItem)
{
    CRedrawScope noRedraw(m_tree.Redraw());
    if (hItem) {
        CollapseBranch(hItem);
        return;
    }
    for (HTREEITEM root = m_tree.GetRootItem(); root; root = m_tree.GetNextSiblingItem(root)) CollapseBranch(root);
}

HTREEITEM CTreeNavigator::GetNextTravItem(HTREEITEM hItem)
{
    if (!hItem) return nullptr;
    if (const ItemRecord* const pRecord = m_tree.GetRecord(hItem)) {
        if (pRecord->bAssemblyIcon) m_tree.SendHostMessage(pRecord->typeID, HM_TRAVERSEASSEMBLY, hItem, pRecord);
    }
    // The host may have changed the tree while it was told: read the children only now.
    if (!m_tree.IsLiveItem(hItem)) return nullptr;
    if (const HTREEITEM hChild = m_tree.GetChildItem(hItem)) return hChild;
    for (HTREEITEM x = hItem; x; x = m_tree.GetParent(x))
        if (const HTREEITEM hNext = m_tree.GetNextSiblingItem(x)) return hNext;
    return nullptr;
}
