// The host's menu commands. The component has no menu of its own: the host posts the chosen
// command id back to the tree window, and each command acts on the item at the last mouse
// point (set by the right press that opened the menu), when that point meets its hit rule.
#pragma once
#include <windows.h>
#include <commctrl.h>

class CRVTreeCtrl;

class CCommands
{
public:
    enum Id : UINT
    {
        kNewItem = 101,
        kCut = 102,
        kPaste = 103,
        kFind = 104,
        kNewAssembly = 105,
        kPasteAfter = 106,
        kDelete = 107,
        kRename = 108,
        kCopy = 109,
        kBindTo3DSelection = 32778,
        kToggleLock = 32779,
        kPasteBefore = 32781,
        kExpandBranch = 32783,
        kLock = 32786,
        kUnlock = 32787,
        kUndo = 32797,
        kToggleBookmark = 32798,
        kPreviousBookmark = 32799,
        kNextBookmark = 32800,
        kClearBookmarks = 32801,
    };

    explicit CCommands(CRVTreeCtrl& tree) : m_tree(tree) {}
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

    CRVTreeCtrl& m_tree;
    BOOL m_bPasteLikeInsert = FALSE;
};
