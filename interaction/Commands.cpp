#include "interaction/Commands.h"

#include "host/HostDoor.h"
#include "interaction/Clipboard.h"
#include "interaction/FindBookmarks.h"
#include "interaction/LabelEditing.h"
#include "interaction/MousePoint.h"
#include "model/TreeItems.h"
#include "model/UndoStack.h"
#include "platform/TreeCtrl.h"
#include "state/ItemPictures.h"
#include "state/ItemStates.h"
#include "tree/BranchCopies.h"
#include "tree/ItemRemoval.h"
#include "tree/TreeBuilder.h"
#include "tree/TreeNavigator.h"

#include <memory>

namespace {
constexpr wchar_t kNewItemName[] = L"New Item";
constexpr wchar_t kNewAssemblyName[] = L"<unnamed>";
} // namespace

bool CCommands::OnCommand(UINT id)
{
    UINT flags = 0;
    const HTREEITEM hItem = m_point.HitItem(&flags);
    const bool onLabel = hItem && (flags & TVHT_ONITEMLABEL);
    switch (id) {
    case kNewItem:
        if (hItem) NewItem(hItem, flags);
        return true;
    case kNewAssembly:
        NewAssembly();
        return true;
    case kCut:
        if (onLabel) Cut(hItem);
        return true;
    case kCopy:
        if (onLabel) Copy(hItem);
        return true;
    case kPaste:
        if (onLabel) Paste(hItem);
        return true;
    case kPasteAfter:
    case kPasteBefore:
        PasteBeside(hItem, flags, id == kPasteBefore);
        return true;
    case kDelete:
        if (onLabel) Delete(hItem);
        return true;
    case kRename:
        if (hItem) m_labelEditing.EditLabel(hItem);
        return true;
    case kBindTo3DSelection:
        if (hItem && !m_control.GetChildItem(hItem)) BindTo3DSelection(hItem);
        return true;
    case kToggleLock:
    case kLock:
    case kUnlock:
        SetLock(hItem, id);
        return true;
    case kExpandBranch:
        if (hItem) m_navigator.ExpandToDepth(hItem, m_navigator.GetDepth(hItem));
        return true;
    case kUndo:
        Undo();
        return true;
    case kFind:
        m_find.SetFindPosition(hItem);
        m_find.ShowFindDialog();
        return true;
    case kToggleBookmark:
        m_find.ToggleBookmarkAt(hItem, flags);
        return true;
    case kPreviousBookmark:
    case kNextBookmark:
        m_find.GotoBookmark(id == kNextBookmark);
        return true;
    case kClearBookmarks:
        m_find.ClearBookmarksAsked(hItem);
        return true;
    default:
        return false;
    }
}

void CCommands::NewItem(HTREEITEM hItem, UINT flags)
{
    // The host is asked wherever on the row the point lies; only a label takes the new item.
    // Every message may change the tree: items are held by reference between them.
    const CItemRef item = m_items.Ref(hItem);
    if (!m_host.MayAddUnder(hItem)) return;
    if (!(flags & TVHT_ONITEMLABEL) || !m_items.Resolve(item)) return;
    CItemRef added;
    const HTREEITEM hNew = m_builder.AddTreeItem(kNewItemName, hItem, nullptr, &added);
    if (!hNew || !m_items.Resolve(added)) return;
    m_labelEditing.EditLabel(hNew);
    if (!m_items.Resolve(added)) return;
    m_host.TellCreated(hNew, false);
    if (m_items.Resolve(added)) m_items.UnregisterAncestorKeys(hNew);
    m_control.InvalidateAll();
}

void CCommands::NewAssembly()
{
    const HTREEITEM hNew = m_builder.AddAssembly(kNewAssemblyName, 0, 0, false);
    if (hNew) m_host.TellCreated(hNew, true);
}

void CCommands::Copy(HTREEITEM hItem)
{
    const CItemRef item = m_items.Ref(hItem);
    m_host.TellCopying(hItem); // the host may change the tree here
    // An assembly, or an item the host removed, leaves the clipboard empty.
    const SharedItemCopies copies = NewSharedItemCopies();
    if (m_items.Resolve(item)) m_copies.CollectBranch(*copies, hItem, nullptr);
    m_clipboard.Set(copies);
}

void CCommands::Cut(HTREEITEM hItem)
{
    const CItemRef item = m_items.Ref(hItem);
    const bool allowed = m_host.MayCut(hItem); // the host may change the tree here
    const SharedItemCopies copies = NewSharedItemCopies();
    m_clipboard.Set(copies);
    if (!m_items.Resolve(item)) return;
    // A refused cut still fills the clipboard: the item stays, its copy is there to paste.
    if (!m_copies.CollectBranch(*copies, hItem, nullptr) || !allowed) return;
    m_items.UnregisterAncestorKeys(hItem);
    RemoveReported(hItem);
}

void CCommands::Delete(HTREEITEM hItem)
{
    const CItemRef item = m_items.Ref(hItem);
    if (!m_host.MayDelete(hItem) || !m_items.Resolve(item)) return;
    RemoveReported(hItem);
}

void CCommands::RemoveReported(HTREEITEM hItem)
{
    const HTREEITEM hParent = m_control.GetParentItem(hItem);
    const CItemRef parent = m_items.Ref(hParent);
    const uint32_t typeID = m_items.TypeIDOf(hItem);
    m_removal.RemoveTreeItem(hItem);
    if (hParent && m_items.Resolve(parent))
        m_host.TellChildRemoved(typeID, hParent);
    else if (!hParent)
        m_host.TellRootRemoved(typeID);
}

void CCommands::Paste(HTREEITEM hItem)
{
    const ItemRecord* const pRecord = m_items.GetRecord(hItem);
    if (pRecord && pRecord->bNoDropInto) return;
    const CItemRef item = m_items.Ref(hItem);
    if (!m_host.MayPasteInto(hItem) || !m_items.Resolve(item)) return;
    if (m_clipboard.HostPastes()) {
        m_host.TellPasteRequest(HM_PASTECHILDREQUEST, hItem);
        return;
    }
    // Pasting may ask the host (locks), who may copy something else meanwhile: the paste keeps
    // the list it started with.
    const SharedItemCopies copies = m_clipboard.Contents();
    const HTREEITEM hNew =
        m_bPasteLikeInsert ? m_copies.PasteAsSiblings(hItem, *copies, false) : m_copies.PasteAsChildren(hItem, *copies);
    if (!hNew) return;
    // Pasted after the item or into it, the host hears of a child.
    const CItemRef pasted = m_items.Ref(hNew);
    m_host.TellPasted(HM_PASTEDASCHILD, hNew);
    if (m_items.Resolve(pasted)) m_items.UnregisterAncestorKeys(hNew);
    m_control.InvalidateAll();
}

void CCommands::PasteBeside(HTREEITEM hItem, UINT flags, bool before)
{
    if (m_clipboard.HostPastes()) {
        // Anywhere on the item's row.
        if (hItem && m_items.GetRecord(hItem))
            m_host.TellPasteRequest(before ? HM_PASTEBEFOREREQUEST : HM_PASTEAFTERREQUEST, hItem);
        return;
    }
    if (!hItem || !(flags & TVHT_ONITEMLABEL)) return;
    const SharedItemCopies copies = m_clipboard.Contents(); // kept while the paste asks the host
    const HTREEITEM hNew = m_copies.PasteAsSiblings(hItem, *copies, before);
    if (!hNew) return;
    m_host.TellPasted(before ? HM_PASTEDBEFORE : HM_PASTEDAFTER, hNew);
    m_control.InvalidateAll();
}

void CCommands::BindTo3DSelection(HTREEITEM hItem)
{
    ULONG key = 0; // a sink that fails without answering selects nothing
    const CItemRef item = m_items.Ref(hItem);
    if (!m_host.AskFirstSelectedKey(key) || !m_items.Resolve(item)) return;
    m_items.UnregisterItemKey(hItem);
    if (key == 0) {
        m_pictures.SetFailState(hItem, 1);
        return;
    }
    if (m_pictures.GetFailState(hItem)) m_pictures.SetFailState(hItem, 0);
    if (ItemRecord* const pRecord = m_items.GetRecord(hItem)) {
        pRecord->key = key;
        m_items.RegisterItemKey(hItem, key);
        m_host.TellKeyBound(hItem);
    }
    LONG on = 0;
    if (!m_items.Resolve(item) || !m_host.AskKeyShown(key, on)) return;
    if (m_items.Resolve(item)) m_states.SetHTIState(hItem, static_cast<uint32_t>(on), false);
}

void CCommands::SetLock(HTREEITEM hItem, UINT id)
{
    if (!hItem || !m_control.ItemHasChildren(hItem)) return;
    ItemRecord* const pRecord = m_items.GetRecord(hItem);
    if (!pRecord) return;
    if ((id == kLock && pRecord->bLocked) || (id == kUnlock && !pRecord->bLocked)) return;
    if (!pRecord->bLocked) {
        const int image = pRecord->bIsAssembly ? kImageLockedAssembly
                          : pRecord->tag       ? kImageProhibitedLocked
                                               : kImageLockedPart;
        m_control.SetItemImage(hItem, image, image);
        // Collapsed before the flag is set: a locked item's branch refuses to change.
        m_control.Expand(hItem, TVE_COLLAPSE);
        pRecord->bLocked = 1;
    } else {
        pRecord->bLocked = 0;
        const int image = pRecord->bIsAssembly ? kImageAssembly : pRecord->tag ? kImageProhibited : kImagePart;
        m_control.SetItemImage(hItem, image, image);
    }
}

void CCommands::Undo()
{
    // One level: the top action and the action chained to it; whatever the undoing pushed
    // goes with the rest of the stack.
    const std::unique_ptr<CUndoAction> top(m_undo.Pop());
    if (!top) return;
    top->Undo();
    if (CUndoAction* const next = top->GetNext()) next->Undo();
    m_undo.Clear();
}
