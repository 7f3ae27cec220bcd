// Pre-order walk of one branch without recursion, so that no depth can overflow the stack.
// visit(item, value, childValue) handles an item and returns true to descend into its
// children, which are then visited with childValue. As in a recursive walk, an item's next
// sibling is read only after the item's whole branch is done; an item the host removed
// meanwhile ends its level.
#pragma once
#include "model/TreeItems.h"
#include "platform/TreeCtrl.h"

#include <vector>

template <class Visit>
void WalkBranch(CTreeCtrl& control, const CTreeItems& items, HTREEITEM hStart, int value, Visit&& visit)
{
    // Levels hold their items by reference: a visit may call out to the host, which may
    // remove items and add others that the control gives the same handles.
    struct Level { CItemRef item; int value; bool visited; };
    std::vector<Level> stack{{items.Ref(hStart), value, false}};
    while (!stack.empty()) {
        const HTREEITEM hItem = items.Resolve(stack.back().item);
        if (!hItem) {
            stack.pop_back(); // the level's end, or its item went
            continue;
        }
        Level& top = stack.back();
        if (!top.visited) {
            top.visited = true;
            const CItemRef item = top.item;
            int childValue = top.value;
            if (visit(hItem, top.value, childValue) && items.Resolve(item)) {
                stack.push_back({items.Ref(control.GetChildItem(hItem)), childValue, false});
                continue;
            }
            if (!items.Resolve(item)) continue; // gone during its visit: its level ends
        }
        if (stack.size() == 1) break; // the start item's siblings are not part of its branch
        Level& level = stack.back();
        level = {items.Ref(control.GetNextSiblingItem(hItem)), level.value, false};
    }
}
