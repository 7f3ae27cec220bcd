#include "model/ItemRef.h"

#include "model/RVTreeCtrl.h"

CItemRef::CItemRef(const CRVTreeCtrl& tree, HTREEITEM hItem) : m_hItem(hItem), m_nSerial(tree.SerialOf(hItem)) {}

HTREEITEM CItemRef::Get(const CRVTreeCtrl& tree) const
{
    return m_nSerial != 0 && tree.SerialOf(m_hItem) == m_nSerial ? m_hItem : nullptr;
}
