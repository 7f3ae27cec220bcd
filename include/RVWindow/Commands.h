/// \file Commands.h
/// \brief The context-menu command ids.
#pragma once

/// \brief The context-menu commands a host posts back to the tree after its own menu, as
/// IRVWnd::PostMessage(WM_COMMAND, id, 0).
///
/// Each acts on the item at the last right press (or click) when that point meets the
/// command's hit rule; nothing happens otherwise. "On its label" means the press was on the
/// item's text; "any item" anywhere on its row.
enum RVCommand : unsigned
{
    /// New item: asks \ref HM_NEWITEMQUERY for any item at the point; on its label, adds a child
    /// "New Item" (\ref HM_ITEMADDED), starts editing its label and sends \ref HM_NEWITEMCREATED.
    RVCMD_NEWITEM = 101,
    /// Cut, on its label: \ref HM_ITEMCUT, the branch copied into the tree's clipboard (not for an
    /// assembly), and when the answer was 0 the item removed (undoable) with \ref HM_ITEMREMOVED.
    RVCMD_CUT = 102,
    /// Paste the clipboard into the item (as its last children, or after it with
    /// IRVWnd::MakePasteLikeInsert), on its label, unless its record refuses drops
    /// (IRVWnd2::SetNoDropInto): \ref HM_PASTEINTOQUERY, then \ref HM_PASTEDASCHILD (or \ref
    /// HM_PASTECHILDREQUEST while the host pastes).
    RVCMD_PASTE = 103,
    /// Find: remembers the item at the point as where the search starts and opens the find dialog
    /// (IRVWnd::ShowFindDialog, \ref HM_FINDQUERY).
    RVCMD_FIND = 104,
    /// New assembly: adds a root "<unnamed>" (\ref HM_ASSEMBLYADDED, then \ref
    /// HM_NEWASSEMBLYCREATED); needs no item.
    RVCMD_NEWASSEMBLY = 105,
    /// Paste after, on its label: the clipboard as siblings after the item (\ref HM_PASTEDAFTER, or
    /// \ref HM_PASTEAFTERREQUEST while the host pastes).
    RVCMD_PASTEAFTER = 106,
    /// Delete, on its label: \ref HM_ITEMDELETE, and when the answer was 0 the item removed
    /// (undoable) with \ref HM_ITEMREMOVED.
    RVCMD_DELETE = 107,
    /// Rename, any item: starts the in-place label edit (\ref HM_BEGINLABELEDIT, then \ref
    /// HM_LABELCHANGED).
    RVCMD_RENAME = 108,
    /// Copy, on its label: \ref HM_ITEMCOPY, then the branch is copied into the tree's clipboard
    /// (an assembly leaves it empty).
    RVCMD_COPY = 109,
    /// Bind to the 3D selection, an item without children: the item gets the key
    /// IRavlinWindowSink::GetFirstSelectedOrvaneItem answers, then \ref HM_BEGINDRAG (answer
    /// ignored).
    RVCMD_BINDTO3DSELECTION = 32778,
    /// Toggle lock, an item with children: locks or unlocks it, no permission asked (a part with a
    /// non-zero `tag` shows the prohibited images).
    RVCMD_TOGGLELOCK = 32779,
    /// Paste before, on its label: the clipboard as siblings before the item (\ref HM_PASTEDBEFORE,
    /// or \ref HM_PASTEBEFOREREQUEST while the host pastes).
    RVCMD_PASTEBEFORE = 32781,
    /// Expand branch, any item: opens the item's whole branch as IRVWnd::ExpandToDepth does, with
    /// its expansion messages.
    RVCMD_EXPANDBRANCH = 32783,
    /// Lock, an item with children (as \ref RVCMD_TOGGLELOCK, always locking).
    RVCMD_LOCK = 32786,
    /// Unlock, an item with children (as \ref RVCMD_TOGGLELOCK, always unlocking).
    RVCMD_UNLOCK = 32787,
    /// Undo: reverts the last insertion, removal, rename or drop, once (one level); needs no item.
    RVCMD_UNDO = 32797,
    /// Toggle bookmark, on the item's icon, label or state picture (\ref HM_BOOKMARKSET or \ref
    /// HM_BOOKMARKCLEARED first).
    RVCMD_TOGGLEBOOKMARK = 32798,
    /// Select the previous bookmarked item (IRVWnd2::GotoBookmark(0)); needs no item.
    RVCMD_PREVIOUSBOOKMARK = 32799,
    /// Select the next bookmarked item (IRVWnd2::GotoBookmark(1)); needs no item.
    RVCMD_NEXTBOOKMARK = 32800,
    /// Clear all bookmarks, after \ref HM_CLEARBOOKMARKSQUERY for the item at the point answered 0.
    RVCMD_CLEARBOOKMARKS = 32801,
};
