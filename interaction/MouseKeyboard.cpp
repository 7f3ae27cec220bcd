#include "interaction/MouseKeyboard.h"

#include "render/RedrawSuspension.h"
#include "host/HostDoor.h"
#include "interaction/LabelEditing.h"
#include "interaction/MousePoint.h"
#include "model/TreeItems.h"
#include "platform/TreeCtrl.h"
#include "selection/Selection.h"
#include "state/ItemPictures.h"
#include "state/ItemStates.h"

#include <utility>

namespace {
// Shows the wait cursor for a scope and puts the previous one back.
class CWaitCursor
{
public:
    CWaitCursor() : m_hPrevious(::SetCursor(::LoadCursorA(nullptr, MAKEINTRESOURCEA(32514)))) {}
    ~CWaitCursor() { ::SetCursor(m_hPrevious); }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;

private:
    HCURSOR m_hPrevious;
};
} // namespace

void CMouseKeyboard::OnLButtonDown(WPARAM keys, POINT pt)
{
    m_bSelectOnRelease = FALSE;
    m_bLButtonDown = TRUE;
    m_labelEditing.EndEdit(false);
    // The press never reaches the control, which would have taken the focus itself.
    if (::GetFocus() != m_control.GetHwnd()) ::SetFocus(m_control.GetHwnd());
    UINT flags = 0;
    const HTREEITEM hItem = m_control.HitTest(pt, &flags);
    if (flags & TVHT_ONITEMBUTTON)
        PressButton(hItem);
    else if (flags & (TVHT_ONITEMLABEL | TVHT_ONITEMRIGHT))
        PressLabel(hItem, keys);
    else if (flags & TVHT_ONITEMSTATEICON)
        PressStateIcon(hItem);
    else
        PressElsewhere(flags);
}

void CMouseKeyboard::PressButton(HTREEITEM hItem)
{
    const ItemRecord* const pRecord = hItem ? m_items.GetRecord(hItem) : nullptr;
    if (!pRecord || pRecord->bLocked) return;
    const CItemRef item = m_items.Ref(hItem); // every message may let the host change the tree
    m_bButtonExpanding = TRUE;
    if (m_control.GetItemState(hItem, TVIS_EXPANDED) & TVIS_EXPANDED) {
        m_host.TellExpansion(HM_ITEMCOLLAPSING, hItem);
        if (m_items.Resolve(item)) m_control.Expand(hItem, TVE_COLLAPSE);
    } else {
        m_host.TellExpansion(HM_BEGINEXPAND, hItem);
        if (m_items.Resolve(item)) m_host.TellExpansion(HM_ITEMEXPANDING, hItem);
        if (m_items.Resolve(item)) m_control.Expand(hItem, TVE_EXPAND);
        if (m_items.Resolve(item)) m_host.TellExpansion(HM_ENDEXPAND, hItem);
    }
    m_bButtonExpanding = FALSE;
}

void CMouseKeyboard::PressLabel(HTREEITEM hItem, WPARAM keys)
{
    if (!hItem) return;
    const CItemRef item = m_items.Ref(hItem);
    const bool selected = (m_control.GetItemState(hItem, TVIS_SELECTED) & TVIS_SELECTED) != 0;
    if (keys & MK_CONTROL) {
        if (selected)
            m_selection.DeselectItem(hItem, true, true);
        else
            m_selection.SelectItem(hItem, true, true, true);
        m_selection.RefreshSelectionMarks();
        return;
    }
    if (!selected) {
        m_bSelectOnRelease = TRUE;
        m_selection.ClearSelection();
    }
    // The host may have removed the item while it heard of the cleared selection.
    m_hPressedItem = m_items.Resolve(item) ? hItem : nullptr;
}

void CMouseKeyboard::PressStateIcon(HTREEITEM hItem)
{
    const ItemRecord* const pRecord = hItem ? m_items.GetRecord(hItem) : nullptr;
    if (!hItem || (pRecord && pRecord->bIsAssembly)) return;
    if ((m_control.GetItemState(hItem, TVIS_STATEIMAGEMASK) >> 12) == kStateFailed) return;
    const bool hasRecord = pRecord != nullptr;
    const CItemRef item = m_items.Ref(hItem);
    const CWaitCursor wait;
    {
        CRedrawScope noRedraw(m_redraw);
        if (hasRecord) {
            m_host.TellStateChange(HM_PRESTATECHANGE, hItem);
            if (m_items.Resolve(item)) m_host.TellStateChange(HM_BEGINSTATECHANGE, hItem);
        }
        // Every message above may have let the host remove the item.
        if (!m_items.Resolve(item)) return;
        m_states.SetHTIState(hItem, m_items.GetHTIState(hItem) ? 0 : 1, false);
        if (hasRecord && m_items.Resolve(item)) m_host.TellStateChange(HM_ENDSTATECHANGE, hItem);
        if (hasRecord && m_items.Resolve(item)) m_host.TellStateChange(HM_POSTSTATECHANGE, hItem);
    }
    m_host.Redraw3D();
}

void CMouseKeyboard::PressElsewhere(UINT flags)
{
    constexpr UINT kOffItem = TVHT_NOWHERE | TVHT_ONITEMICON | TVHT_ONITEMINDENT | TVHT_ABOVE | TVHT_BELOW |
                              TVHT_TORIGHT | TVHT_TOLEFT;
    if (flags & kOffItem) {
        // Empty space, an icon or an indent: the focus mark goes, the selection stays.
        m_selection.SetFocusItem(nullptr);
        return;
    }
    m_selection.ClearSelection();
    m_selection.SetFocusItem(nullptr);
    m_control.DefaultProcessing();
}

HTREEITEM CMouseKeyboard::EndPress()
{
    m_bLButtonDown = FALSE;
    return std::exchange(m_hPressedItem, nullptr);
}

void CMouseKeyboard::OnLButtonUp()
{
    const bool ctrl = CMouseKeyboard::IsCtrlHeld();
    const HTREEITEM hPressed = EndPress();
    if (m_bSelectOnRelease) {
        m_bSelectOnRelease = FALSE;
        if (hPressed) m_selection.SelectItem(hPressed, true, ctrl, true);
    }
    m_control.DefaultProcessing();
}

void CMouseKeyboard::OnLButtonDblClk(POINT pt)
{
    UINT flags = 0;
    const HTREEITEM hItem = m_control.HitTest(pt, &flags);
    if (hItem && (flags & (TVHT_ONITEMLABEL | TVHT_ONITEMRIGHT))) m_labelEditing.EditLabel(hItem);
}

void CMouseKeyboard::OnKeyDown()
{
    if (const HTREEITEM hItem = m_point.HitItem()) m_host.TellInput(HM_KEYDOWN, hItem);
}

void CMouseKeyboard::OnClick()
{
    POINT pt{};
    ::GetCursorPos(&pt);
    ::ScreenToClient(m_control.GetHwnd(), &pt);
    m_point.Set(pt);
}

void CMouseKeyboard::OnDblClk()
{
    if (const HTREEITEM hItem = m_point.HitItem()) m_host.TellInput(HM_DBLCLK, hItem);
}

void CMouseKeyboard::Forget(HTREEITEM hItem)
{
    if (m_hPressedItem == hItem) m_hPressedItem = nullptr;
}
