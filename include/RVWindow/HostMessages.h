/// \file HostMessages.h
/// \brief The host message codes and their names.
#pragma once
#include <cstdint>

/// \brief The numbered messages the tree sends to the host's IMessage handler: the `wMsg`
/// argument of IMessage::Send, IMessage::SendWithDataID and IMessage2::Send.
///
/// Each message says whether it is a question (the host's answer, written through `pResult`,
/// vetoes the action when it is non-zero), a request, or a notification (the answer is
/// ignored), and which of the four forms it takes (see IMessage): form 1 carries the item's
/// `dataID`, `typeID` and handle, form 2 its `typeID` and handle, form 3 nothing, form 4 goes
/// through IMessage2. Unless a message says otherwise, "the item" is the handle in `data` and
/// `wID` is the `typeID` of its record. Without a message handler nothing is sent and every
/// question counts as answered 0. Codes 0x28, 0x29, 0x2B to 0x30, 0x3A and 0x3B are never sent.
enum HostMessage : uint16_t
{
    /// Question, form 1, for the target item: may a new child be created? Sent by the New item
    /// command (\ref RVCMD_NEWITEM) whenever an item lies at the last right press, and by
    /// IRVWnd2::InsertNewItem for its parent, before anything is created. Non-zero: nothing is
    /// created (the command also creates nothing unless the press was on the label).
    HM_NEWITEMQUERY = 0x07,
    /// Notification, form 1, for the new item: the New item command or IRVWnd2::InsertNewItem
    /// created it (its \ref HM_ITEMADDED came first; after the command its label edit has already
    /// begun).
    HM_NEWITEMCREATED = 0x08,
    /// Notification, form 1, for the item: the Copy command (\ref RVCMD_COPY) is about to copy its
    /// branch into the tree's clipboard.
    HM_ITEMCOPY = 0x09,
    /// Question, form 1, for the item: the Cut command (\ref RVCMD_CUT) or a drop that moves it
    /// (not in insert-before mode, not onto a keyed leaf) is about to take it from its place. Non-
    /// zero: the item stays (the copy is made all the same). Zero: it is removed (at a drop unless
    /// Ctrl is held) and \ref HM_ITEMREMOVED follows.
    HM_ITEMCUT = 0x0A,
    /// Question, form 1, for the item: the Delete command (\ref RVCMD_DELETE) is about to remove
    /// it; non-zero keeps it, zero removes it and \ref HM_ITEMREMOVED follows. Also sent, answer
    /// ignored, just before an undone insertion removes its item.
    HM_ITEMDELETE = 0x0B,
    /// Question, form 3 (no item): IRVWnd::ShowFindDialog or the Find command (\ref RVCMD_FIND) is
    /// about to open the find dialog; non-zero opens nothing.
    HM_FINDQUERY = 0x0C,
    /// Notification, form 1, for the first pasted item: the Paste after command (\ref
    /// RVCMD_PASTEAFTER) or a drop after an item pasted the clipboard as siblings after the target
    /// (not sent while the host pastes, IRVWnd2::EnableLocalPaste).
    HM_PASTEDAFTER = 0x0D,
    /// Notification, form 1, for the first pasted item: the Paste before command (\ref
    /// RVCMD_PASTEBEFORE) or a drop before an item pasted as siblings before the target (not sent
    /// while the host pastes).
    HM_PASTEDBEFORE = 0x0E,
    /// Notification, form 1, for the new item: the Paste command (\ref RVCMD_PASTE) pasted the
    /// clipboard (as the target's last children, or after it with IRVWnd::MakePasteLikeInsert), a
    /// drop onto an item pasted, an insert-before drop moved the branch, or Undo of a removal put
    /// the branch back.
    HM_PASTEDASCHILD = 0x0F,
    /// Question, form 1, for the target: the Paste command (on an item whose record's `bNoDropInto`
    /// is 0) or a drop, once the dragged branch is copied, is about to paste into it. Non-zero:
    /// nothing is pasted (while the host pastes, a drop sends its paste request whatever the
    /// answer).
    HM_PASTEINTOQUERY = 0x10,
    /// Notification, form 1, for the new root: the New assembly command (\ref RVCMD_NEWASSEMBLY)
    /// added a root assembly named "<unnamed>" with `typeID` and `dataID` 0 (its \ref
    /// HM_ASSEMBLYADDED came first).
    HM_NEWASSEMBLYCREATED = 0x11,
    /// Question, form 1, for the item (`wID` 0 without a record): a left-button drag of a non-root
    /// item is about to begin; non-zero: no drag. Also sent, answer ignored, after the Bind to 3D
    /// selection command (\ref RVCMD_BINDTO3DSELECTION) gave the item the key of the host's first
    /// selected node.
    HM_BEGINDRAG = 0x12,
    /// Notification, form 1, for the item: an in-place label edit ended with new text, already
    /// stored in the item.
    HM_LABELCHANGED = 0x13,
    /// Notification, form 1, for the item at the last right press: a right click.
    HM_RCLICK = 0x14,
    /// Notification, form 1, for the item at the last click: a double click.
    HM_DBLCLK = 0x15,
    /// Notification, form 1, for the item (`wID` 0 without a record): the control is deleting it,
    /// by a removal or because the window is destroyed; sent for every deleted item, children
    /// before their parent, before the item leaves the selection and its record is freed. The
    /// record can still be read here. Adding items from inside this message is refused
    /// (E_UNEXPECTED); removals, expansions and scrolls asked for here run once the deletion is
    /// over.
    HM_ITEMDELETED = 0x16,
    /// Question, form 1, for the item: an in-place label edit is about to begin (double-click, the
    /// Rename or New item command, IRVWnd::EditItemLabel); non-zero cancels the edit.
    HM_BEGINLABELEDIT = 0x17,
    /// Notification, form 1, for the item at the last right press: a right-button drag begins.
    HM_BEGINRDRAG = 0x18,
    /// Question, form 1, for the drop target: a drag ends over an item other than where it started
    /// (first message of the drop); non-zero cancels the drop.
    HM_DROPQUERY = 0x19,
    /// Notification, form 2, for the item: it was expanded by a click on its button or by
    /// IRVWnd::ExpandToDepth (after \ref HM_BEGINEXPAND and \ref HM_ITEMEXPANDING).
    HM_ENDEXPAND = 0x1A,
    /// Notification, form 2, for the item: it is about to be expanded by a click on its button or
    /// by IRVWnd::ExpandToDepth; \ref HM_ITEMEXPANDING follows at once.
    HM_BEGINEXPAND = 0x1B,
    /// Notification, form 1, for the item at the last mouse point: a key was pressed in the tree
    /// window.
    HM_KEYDOWN = 0x1C,
    /// Notification, closes a selection change: form 1 for the item after IRVWnd::SelectItem with
    /// notification (and the user's click, find and bookmark selections); form 3 after a
    /// deselection with notification or a cleared selection.
    HM_ENDSELCHANGE = 0x1D,
    /// Notification, opens a selection change, in the same places and forms as \ref
    /// HM_ENDSELCHANGE.
    HM_BEGINSELCHANGE = 0x1E,
    /// Notification, form 1, for the item (only when its `typeID` is not 0): it was selected
    /// (IRVWnd::SelectItem with notification and not appending, the user's click, find, bookmarks).
    HM_SELECTED = 0x1F,
    /// Notification, form 1, as \ref HM_SELECTED when the selection was appended to
    /// (IRVWnd::SelectItem with `bAppend`, a Ctrl click).
    HM_SELECTEDAPPEND = 0x20,
    /// Notification. Form 1, for an item whose `typeID` is not 0: it left the selection, by a
    /// deselection with notification or a cleared selection. Form 2: for every item below a
    /// deselected item, depth first, whether it was selected or not.
    HM_DESELECTED = 0x21,
    /// Notification, form 1, for the pressed item (only when its `typeID` is not 0): the right
    /// button was pressed on it, after IRavlinWindowSink::SetMenuMask.
    HM_RBUTTONDOWN = 0x22,
    /// Notification, form 1, for each item a state change switched on (its state picture already
    /// changed).
    HM_SHOWN = 0x23,
    /// Notification, form 1, for each item a state change switched off.
    HM_HIDDEN = 0x24,
    /// Notification, form 1, for the item: a notified state change begins (IRVWnd::SetHTIState with
    /// `bNotify`, IRVWnd::SetKeyState, a click on a state picture), right after \ref
    /// HM_PRESTATECHANGE.
    HM_BEGINSTATECHANGE = 0x25,
    /// Notification, form 1, for the item: that state change and its spreading are done; \ref
    /// HM_POSTSTATECHANGE follows.
    HM_ENDSTATECHANGE = 0x26,
    /// Notification, form 1, for the new item: last message of a drop that made one, after the drag
    /// ended. `wID` is the new item's `typeID` when it belongs to an isolated assembly, else 0.
    HM_DROPPED = 0x27,
    /// Notification: the Cut or Delete command removed an item, or a drop took the dragged item
    /// from its place (also when Ctrl kept it there). `wID` is the removed item's `typeID`. Form 1
    /// with the former parent as item (and the parent record's `dataID`); after Cut or Delete of a
    /// root item, form 2 with null `data`.
    HM_ITEMREMOVED = 0x2A,
    /// Notification, form 2, for the item: a click on its button is about to collapse it.
    HM_ITEMCOLLAPSING = 0x31,
    /// Notification, form 2, for the item: it is expanded right now (after \ref HM_BEGINEXPAND,
    /// before \ref HM_ENDEXPAND).
    HM_ITEMEXPANDING = 0x32,
    /// Question, form 2, for the item at the last right press (only when its `typeID` is not 0):
    /// the context menu is asked for. The answer is the menu key handed to
    /// IRavlinWindowSink::NotifyRButtonUp.
    HM_MENUQUERY = 0x33,
    /// Notification, form 1, for the new item: IRVWnd::AddTreeItem, IRVWnd2::InsertTreeItem,
    /// IRVWnd2::InsertNewItem or the New item command inserted it.
    HM_ITEMADDED = 0x34,
    /// Notification, form 1, for the item: IRVWnd2::GetNextTravItem (or a walk of find, bookmarks)
    /// reached an item marked with IRVWnd::SetAssemblyIcon. Its children are read only after the
    /// call returns: add them here if the walk should visit them.
    HM_TRAVERSEASSEMBLY = 0x35,
    /// Notification, form 1, for the new root: IRVWnd::AddAssembly, IRVWnd3::AddIsolatedAssembly or
    /// the New assembly command added it.
    HM_ASSEMBLYADDED = 0x36,
    /// Notification, form 1, for the item: the Toggle bookmark command (\ref RVCMD_TOGGLEBOOKMARK)
    /// is about to bookmark it.
    HM_BOOKMARKSET = 0x37,
    /// Notification, form 1, for the item: the Toggle bookmark command is about to clear its
    /// bookmark.
    HM_BOOKMARKCLEARED = 0x38,
    /// Question, form 1, for the item at the last right press (nothing is sent without one): the
    /// Clear bookmarks command (\ref RVCMD_CLEARBOOKMARKS) is about to clear every bookmark; non-
    /// zero clears none.
    HM_CLEARBOOKMARKSQUERY = 0x39,
    /// Request, form 1, for the target, while the host pastes (IRVWnd2::EnableLocalPaste(0)): the
    /// Paste before command or a drop before an item asks the host to paste; the tree pastes
    /// nothing.
    HM_PASTEBEFOREREQUEST = 0x3C,
    /// Request, form 1, as \ref HM_PASTEBEFOREREQUEST for Paste after and a drop after an item.
    HM_PASTEAFTERREQUEST = 0x3D,
    /// Request, form 1, as \ref HM_PASTEBEFOREREQUEST for Paste (after \ref HM_PASTEINTOQUERY
    /// answered 0) and a drop onto an item.
    HM_PASTECHILDREQUEST = 0x3E,
    /// Question, form 1, for the target: a drop onto the item (as its child) passed the tree's own
    /// checks, after \ref HM_DROPQUERY; non-zero cancels the drop.
    HM_DROPCHILDQUERY = 0x3F,
    /// Question, form 1, as \ref HM_DROPCHILDQUERY for a drop before the item.
    HM_DROPBEFOREQUERY = 0x40,
    /// Question, form 1, as \ref HM_DROPCHILDQUERY for a drop after the item.
    HM_DROPAFTERQUERY = 0x41,
    /// Notification, form 4 (through IMessage2 only), for the item: first message of a notified
    /// state change, before \ref HM_BEGINSTATECHANGE.
    HM_PRESTATECHANGE = 0x42,
    /// Notification, form 4, for the item: last message of a notified state change, after \ref
    /// HM_ENDSTATECHANGE.
    HM_POSTSTATECHANGE = 0x43,
};

/// The number of message codes the tree sends (the enumerators of \ref HostMessage).
constexpr int kHostMessageCount = 51;

/// \brief A message code's name, for logs.
/// \param code a `wMsg` value.
/// \return the name ("HM_ITEMADDED"), or null for a code the tree never sends.
inline const char* HostMessageName(uint16_t code)
{
    switch (code) {
    case HM_NEWITEMQUERY: return "HM_NEWITEMQUERY";
    case HM_NEWITEMCREATED: return "HM_NEWITEMCREATED";
    case HM_ITEMCOPY: return "HM_ITEMCOPY";
    case HM_ITEMCUT: return "HM_ITEMCUT";
    case HM_ITEMDELETE: return "HM_ITEMDELETE";
    case HM_FINDQUERY: return "HM_FINDQUERY";
    case HM_PASTEDAFTER: return "HM_PASTEDAFTER";
    case HM_PASTEDBEFORE: return "HM_PASTEDBEFORE";
    case HM_PASTEDASCHILD: return "HM_PASTEDASCHILD";
    case HM_PASTEINTOQUERY: return "HM_PASTEINTOQUERY";
    case HM_NEWASSEMBLYCREATED: return "HM_NEWASSEMBLYCREATED";
    case HM_BEGINDRAG: return "HM_BEGINDRAG";
    case HM_LABELCHANGED: return "HM_LABELCHANGED";
    case HM_RCLICK: return "HM_RCLICK";
    case HM_DBLCLK: return "HM_DBLCLK";
    case HM_ITEMDELETED: return "HM_ITEMDELETED";
    case HM_BEGINLABELEDIT: return "HM_BEGINLABELEDIT";
    case HM_BEGINRDRAG: return "HM_BEGINRDRAG";
    case HM_DROPQUERY: return "HM_DROPQUERY";
    case HM_ENDEXPAND: return "HM_ENDEXPAND";
    case HM_BEGINEXPAND: return "HM_BEGINEXPAND";
    case HM_KEYDOWN: return "HM_KEYDOWN";
    case HM_ENDSELCHANGE: return "HM_ENDSELCHANGE";
    case HM_BEGINSELCHANGE: return "HM_BEGINSELCHANGE";
    case HM_SELECTED: return "HM_SELECTED";
    case HM_SELECTEDAPPEND: return "HM_SELECTEDAPPEND";
    case HM_DESELECTED: return "HM_DESELECTED";
    case HM_RBUTTONDOWN: return "HM_RBUTTONDOWN";
    case HM_SHOWN: return "HM_SHOWN";
    case HM_HIDDEN: return "HM_HIDDEN";
    case HM_BEGINSTATECHANGE: return "HM_BEGINSTATECHANGE";
    case HM_ENDSTATECHANGE: return "HM_ENDSTATECHANGE";
    case HM_DROPPED: return "HM_DROPPED";
    case HM_ITEMREMOVED: return "HM_ITEMREMOVED";
    case HM_ITEMCOLLAPSING: return "HM_ITEMCOLLAPSING";
    case HM_ITEMEXPANDING: return "HM_ITEMEXPANDING";
    case HM_MENUQUERY: return "HM_MENUQUERY";
    case HM_ITEMADDED: return "HM_ITEMADDED";
    case HM_TRAVERSEASSEMBLY: return "HM_TRAVERSEASSEMBLY";
    case HM_ASSEMBLYADDED: return "HM_ASSEMBLYADDED";
    case HM_BOOKMARKSET: return "HM_BOOKMARKSET";
    case HM_BOOKMARKCLEARED: return "HM_BOOKMARKCLEARED";
    case HM_CLEARBOOKMARKSQUERY: return "HM_CLEARBOOKMARKSQUERY";
    case HM_PASTEBEFOREREQUEST: return "HM_PASTEBEFOREREQUEST";
    case HM_PASTEAFTERREQUEST: return "HM_PASTEAFTERREQUEST";
    case HM_PASTECHILDREQUEST: return "HM_PASTECHILDREQUEST";
    case HM_DROPCHILDQUERY: return "HM_DROPCHILDQUERY";
    case HM_DROPBEFOREQUERY: return "HM_DROPBEFOREQUERY";
    case HM_DROPAFTERQUERY: return "HM_DROPAFTERQUERY";
    case HM_PRESTATECHANGE: return "HM_PRESTATECHANGE";
    case HM_POSTSTATECHANGE: return "HM_POSTSTATECHANGE";
    default: return nullptr;
    }
}

