#include "interaction/Commands.h"

#include "tree/RVTreeCtrl.h"

#include <memory>

namespace {
constexpr wchar_t kNewItemName[] = L"New Item";
constexpr wchar_t kNewAssemblyName[] = L"<unnamed>";
} // namespace

bool CCommands::OnCommand(UINT id)
{
    UINT flags = 0;
    const HTREEITEM hItem = m_tree.HitTestLastPoint(&flags);
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
        if (hItem) m_tree.LabelEditing().EditLabel(hItem);
        return true;
    case kBindTo3DSelection:
        if (hItem && !m_tree.GetChildItem(hItem)) BindTo3DSelection(hItem);
        return true;
    case kToggleLock:
    case kLock:
    case kUnlock:
        SetLock(hItem, id);
        return true;
    case kExpandBranch:
        if (hItem) m_tree.Navigator().ExpandToDepth(hItem, m_tree.Navigator().GetDepth(hItem));
        return true;
    case kUndo:
        Undo();
        return true;
    case kFind:
        m_tree.FindBookmarks().SetFindPosition(hItem);
        m_tree.FindBookmarks().ShowFindDialog();
        return true;
    case kToggleBookmark:
        m_tree.FindBookmarks().ToggleBookmarkAt(hItem, flags);
        return true;
    case kPreviousBookmark:
    case kNextBookmark:
        m_tree.FindBookmarks().GotoBookmark(id == kNextBookmark);
        return true;
    case kClearBookmarks:
        m_tree.FindBookmarks().ClearBookmarksAsked(hItem);
        return true;
    default:
        return false;
    }
}

void CCommands::NewItem(HTREEITEM hItem, UINT flags)
{
    // The host is asked wherever on the row the point lies; only a label takes the new item.
    // Every message may change the tree: items are held by reference between them.
    const CItemRef item = m_tree.Ref(hItem);
    if (m_tree.SendItemMessage(HM_NEWITEMQUERY, hItem) != 0) return;
    if (!(flags & TVHT_ONITEMLABEL) || !m_tree.Resolve(item)) return;
    CItemRef added;
    const HTREEITEM hNew = m_tree.Builder().AddTreeItem(kNewItemName, hItem, nullptr, &added);
    if (!hNew || !m_tree.Resolve(added)) return;
    m_tree.LabelEditing().EditLabel(hNew);
    if (!m_tree.Resolve(added)) return;
    m_tree.SendItemMessage(HM_NEWITEMCREATED, hNew);
    if (m_tree.Resolve(added)) m_tree.UnregisterAncestorKeys(hNew);
    m_tree.InvalidateAll();
}

void CCommands::NewAssembly()
{
    const HTREEITEM hNew = m_tree.Builder().AddAssembly(kNewAssemblyName, 0, 0, false);
    if (hNew) m_tree.SendItemMessage(HM_NEWASSEMBLYCREATED, hNew);
}

void CCommands::Copy(HTREEITEM hItem)
{
    const CItemRef item = m_tree.Ref(hItem);
    m_tree.SendItemMessage(HM_ITEMCOPY, hItem); // the host may change the tree here
    // An assembly, or an item the host removed, leaves the clipboard empty.
    const SharedItemCopies copies = NewSharedItemCopies();
    if (m_tree.Resolve(item)) m_tree.Copies().CollectBranch(*copies, hItem, nullptr);
    m_tree.SetClipboard(copies);
}

void CCommands::Cut(HTREEITEM hItem)
{
    const CItemRef item = m_tree.Ref(hItem);
    const long refused = m_tree.SendItemMessage(HM_ITEMCUT, hItem); // the host may change the tree here
    const SharedItemCopies copies = NewSharedItemCopies();
    m_tree.SetClipboard(copies);
    if (!m_tree.Resolve(item)) return;
    // A refused cut still fills the clipboard: the item stays, its copy is there to paste.
    if (!m_tree.Copies().CollectBranch(*copies, hItem, nullptr) || refused) return;
    m_tree.UnregisterAncestorKeys(hItem);
    RemoveReported(hItem);
}

void CCommands::Delete(HTREEITEM hItem)
{
    const CItemRef item = m_tree.Ref(hItem);
    if (m_tree.SendItemMessage(HM_ITEMDELETE, hItem) != 0 || !m_tree.Resolve(item)) return;
    RemoveReported(hItem);
}

void CCommands::RemoveReported(HTREEITEM hItem)
{
    const HTREEITEM hParent = m_tree.GetParentItem(hItem);
    const CItemRef parent = m_tree.Ref(hParent);
    const uint32_t typeID = m_tree.TypeIDOf(hItem);
    m_tree.RemoveTreeItem(hItem);
    if (hParent && m_tree.Resolve(parent))
        m_tree.SendHostMessage(typeID, HM_ITEMREMOVED, hParent);
    else if (!hParent)
        m_tree.Messenger().SendForm2(typeID, HM_ITEMREMOVED, nullptr); // a root: no data
}

void CCommands::Paste(HTREEITEM hItem)
{
    const ItemRecord* const pRecord = m_tree.GetRecord(hItem);
    if (pRecord && pRecord->bNoDropInto) return;
    const CItemRef item = m_tree.Ref(hItem);
    if (m_tree.SendItemMessage(HM_PASTEINTOQUERY, hItem) != 0 || !m_tree.Resolve(item)) return;
    if (m_tree.HostPastes()) {
        m_tree.SendItemMessage(HM_PASTECHILDREQUEST, hItem);
        return;
    }
    // Pasting may ask the host (locks), who may copy something else meanwhile: the paste keeps
    // the list it started with.
    const SharedItemCopies copies = m_tree.Clipboard();
    const HTREEITEM hNew = m_bPasteLikeInsert ? m_tree.Copies().PasteAsSiblings(hItem, *copies, false)
                                              : m_tree.Copies().PasteAsChildren(hItem, *copies);
    if (!hNew) return;
    // Pasted after the item or into it, the host hears of a child.
    const CItemRef pasted = m_tree.Ref(hNew);
    m_tree.SendItemMessage(HM_PASTEDASCHILD, hNew);
    if (m_tree.Resolve(pasted)) m_tree.UnregisterAncestorKeys(hNew);
    m_tree.InvalidateAll();
}

void CCommands::PasteBeside(HTREEITEM hItem, UINT flags, bool before)
{
    if (m_tree.HostPastes()) {
        // Anywhere on the item's row.
        if (hItem && m_tree.GetRecord(hItem))
            m_tree.SendItemMessage(before ? HM_PASTEBEFOREREQUEST : HM_PASTEAFTERREQUEST, hItem);
        return;
    }
    if (!hItem || !(flags & TVHT_ONITEMLABEL)) return;
    const SharedItemCopies copies = m_tree.Clipboard(); // kept while the paste asks the host
    const HTREEITEM hNew = m_tree.Copies().PasteAsSiblings(hItem, *copies, before);
    if (!hNew) return;
    m_tree.SendItemMessage(before ? HM_PASTEDBEFORE : HM_PASTEDAFTER, hNew);
    m_tree.InvalidateAll();
}

void CCommands::BindTo3DSelection(HTREEITEM hItem)
{
    ULONG key = 0; // a sink that fails without answering selects nothing
    const CItemRef item = m_tree.Ref(hItem);
    if (!m_tree.Host().AskFirstSelectedKey(key) || !m_tree.Resolve(item)) return;
    m_tree.UnregisterItemKey(hItem);
    if (key == 0) {
        m_tree.Pictures().SetFailState(hItem, 1);
        return;
    }
    if (m_tree.Pictures().GetFailState(hItem)) m_tree.Pictures().SetFailState(hItem, 0);
    if (ItemRecord* const pRecord = m_tree.GetRecord(hItem)) {
        pRecord->key = key;
        m_tree.RegisterItemKey(hItem, key);
        m_tree.SendItemMessage(HM_BEGINDRAG, hItem);
    }
    LONG on = 0;
    if (!m_tree.Resolve(item) || !m_tree.Host().AskKeyShown(key, on)) return;
    if (m_tree.Resolve(item)) m_tree.States().SetHTIState(hItem, static_cast<uint32_t>(on), false);
}

void CCommands::SetLock(HTREEITEM hItem, UINT id)
{
    if (!hItem || !m_tree.ItemHasChildren(hItem)) return;
    ItemRecord* const pRecord = m_tree.GetRecord(hItem);
    if (!pRecord) return;
    if ((id == kLock && pRecord->bLocked) || (id == kUnlock && !pRecord->bLocked)) return;
    if (!pRecord->bLocked) {
        const int image = pRecord->bIsAssembly ? kImageLockedAssembly
                          : pRecord->tag       ? kImageProhibitedLocked
                                               : kImageLockedPart;
        m_tree.SetItemImage(hItem, image, image);
        // Collapsed before the flag is set: a locked item's branch refuses to change.
        m_tree.Expand(hItem, TVE_COLLAPSE);
        pRecord->bLocked = 1;
    } else {
        pRecord->bLocked = 0;
        const int image = pRecord->bIsAssembly ? kImageAssembly : pRecord->tag ? kImageProhibited : kImagePart;
        m_tree.SetItemImage(hItem, image, image);
    }
}

void CCommands::Undo()
{
    // One level: the top action and the action chained to it; whatever the undoing pushed
    // goes with the rest of the stack.
    const std::unique_ptr<CUndoAction> top(m_tree.PopUndo());
    if (!top) return;
    top->Undo();
    if (CUndoAction* const next = top->GetNext()) next->Undo();
    m_tree.ClearUndo();
}
