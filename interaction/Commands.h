// The host's menu commands. The component has no menu of its own: the host posts the chosen
// command id back to the tree window, and each command acts on the item at the last mouse
// point (set by the right press that opened the menu), when that point meets its hit rule.
#pragma once
#include "../include/RVWindow/Commands.h"

#include <windows.h>
#include <commctrl.h>

class CBranchCopies;
class CClipboard;
class CFindBookmarks;
class CHostDoor;
class CItemPictures;
class CItemRemoval;
class CItemStates;
class CLabelEditing;
class CMousePoint;
class CTreeBuilder;
class CTreeCtrl;
class CTreeItems;
class CTreeNavigator;
class CUndoStack;

class CCommands
{
public:
    // The ids hosts post, as the public header gives them.
    enum Id : UINT
    {
        kNewItem = RVCMD_NEWITEM,
        kCut = RVCMD_CUT,
        kPaste = RVCMD_PASTE,
        kFind = RVCMD_FIND,
        kNewAssembly = RVCMD_NEWASSEMBLY,
        kPasteAfter = RVCMD_PASTEAFTER,
        kDelete = RVCMD_DELETE,
        kRename = RVCMD_RENAME,
        kCopy = RVCMD_COPY,
        kBindTo3DSelection = RVCMD_BINDTO3DSELECTION,
        kToggleLock = RVCMD_TOGGLELOCK,
        kPasteBefore = RVCMD_PASTEBEFORE,
        kExpandBranch = RVCMD_EXPANDBRANCH,
        kLock = RVCMD_LOCK,
        kUnlock = RVCMD_UNLOCK,
        kUndo = RVCMD_UNDO,
        kToggleBookmark = RVCMD_TOGGLEBOOKMARK,
        kPreviousBookmark = RVCMD_PREVIOUSBOOKMARK,
        kNextBookmark = RVCMD_NEXTBOOKMARK,
        kClearBookmarks = RVCMD_CLEARBOOKMARKS,
    };

    CCommands(CTreeCtrl& control, CTreeItems& items, CHostDoor& host, CMousePoint& point, CUndoStack& undo,
              CClipboard& clipboard, CItemPictures& pictures, CItemStates& states, CLabelEditing& labelEditing,
              CFindBookmarks& find, CTreeBuilder& builder, CBranchCopies& copies, CTreeNavigator& navigator,
              CItemRemoval& removal)
        : m_control(control), m_items(items), m_host(host), m_point(point), m_undo(undo), m_clipboard(clipboard),
          m_pictures(pictures), m_states(states), m_labelEditing(labelEditing), m_find(find), m_builder(builder),
          m_copies(copies), m_navigator(navigator), m_removal(removal)
    {
    }
    void SetPasteLikeInsert(bool on) { m_bPasteLikeInsert = on ? TRUE : FALSE; }
    // Runs a command; false for an id that is not one of the tree's.
    bool OnCommand(UINT id);

    // Undo: the top action and the one chained to it; the stack is empty afterwards.
    void Undo();

private:
    void NewItem(HTREEITEM hItem, UINT flags);
    void NewAssembly();
    void Copy(HTREEITEM hItem);
    void Cut(HTREEITEM hItem);
    void Delete(HTREEITEM hItem);
    // The item's removal for Cut and Delete, reported to the host with its former parent.
    void RemoveReported(HTREEITEM hItem);
    void Paste(HTREEITEM hItem);
    void PasteBeside(HTREEITEM hItem, UINT flags, bool before);
    void BindTo3DSelection(HTREEITEM hItem);
    void SetLock(HTREEITEM hItem, UINT id);

    CTreeCtrl& m_control;
    CTreeItems& m_items;
    CHostDoor& m_host;
    CMousePoint& m_point;
    CUndoStack& m_undo;
    CClipboard& m_clipboard;
    CItemPictures& m_pictures;
    CItemStates& m_states;
    CLabelEditing& m_labelEditing;
    CFindBookmarks& m_find;
    CTreeBuilder& m_builder;
    CBranchCopies& m_copies;
    CTreeNavigator& m_navigator;
    CItemRemoval& m_removal;
    BOOL m_bPasteLikeInsert = FALSE;
};
