// The undo action of a label edit: the label as it was before the edit was asked for.
#pragma once
#include "model/ItemRef.h"
#include "model/UndoAction.h"

#include <string>
#include <utility>

class CRenameUndo final : public CUndoAction
{
public:
    CRenameUndo(IUndoTarget& tree, HTREEITEM hItem, std::wstring label)
        : CUndoAction(tree), m_label(std::move(label)), m_item(tree.LiveItems(), hItem)
    {
    }
    // Puts the saved label back on the item while it lives; the host hears nothing of it.
    void Undo() override
    {
        if (const HTREEITEM hItem = m_item.Get(m_tree.LiveItems())) m_tree.SetItemLabel(hItem, m_label.c_str());
    }
    const std::wstring& Label() const { return m_label; }
    HTREEITEM Item() const { return m_item.Get(m_tree.LiveItems()); }

private:
    std::wstring m_label;
    CItemRef m_item;
};
