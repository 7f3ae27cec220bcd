// Pre-order walk of one branch without recursion, so that no depth can overflow the stack.
// visit(item, value, childValue) handles an item and returns true to descend into its
// children, which are then visited with childValue. As in a recursive walk, an item's next
// sibling is read only after the item's whole branch is done; an item the host removed
// meanwhile ends its level.
#pragma once
#include "tree/RVTreeCtrl.h"

#include <vector>

template <class Visit>
void WalkBranch(CRVTreeCtrl& tree, HTREEITEM hStart, int value, Visit&& visit)
{
    struct Level { HTREEITEM hItem; int value; bool visited; };
    std::vector<Level> stack{{hStart, value, false}};
    while (!stack.empty()) {
        Level& top = stack.back();
        if (!top.hItem) {
            stack.pop_back();
            continue;
        }
        if (!top.visited) {
            top.visited = true;
            const HTREEITEM hItem = top.hItem;
            int childValue = top.value;
            if (visit(hItem, top.value, childValue) && tree.IsLiveItem(hItem)) {
                stack.push_back({tree.GetChildItem(hItem), childValue, false});
                continue;
            }
        }
        if (stack.size() == 1) break; // the start item's siblings are not part of its branch
        Level& level = stack.back();
        level = {tree.IsLiveItem(level.hItem) ? tree.GetNextSiblingItem(level.hItem) : nullptr, level.value, false};
    }
}
