// The context-menu commands a host posts back to the tree after its own menu, as
// IRVWnd::PostMessage(WM_COMMAND, id, 0). Each acts on the item at the last right press (or
// click) when that point meets the command's hit rule; nothing happens otherwise.
#pragma once

enum RVCommand : unsigned
{
    RVCMD_NEWITEM = 101,
    RVCMD_CUT = 102,
    RVCMD_PASTE = 103,            // into the item
    RVCMD_FIND = 104,
    RVCMD_NEWASSEMBLY = 105,
    RVCMD_PASTEAFTER = 106,
    RVCMD_DELETE = 107,
    RVCMD_RENAME = 108,
    RVCMD_COPY = 109,
    RVCMD_BINDTO3DSELECTION = 32778,
    RVCMD_TOGGLELOCK = 32779,
    RVCMD_PASTEBEFORE = 32781,
    RVCMD_EXPANDBRANCH = 32783,
    RVCMD_LOCK = 32786,
    RVCMD_UNLOCK = 32787,
    RVCMD_UNDO = 32797,
    RVCMD_TOGGLEBOOKMARK = 32798,
    RVCMD_PREVIOUSBOOKMARK = 32799,
    RVCMD_NEXTBOOKMARK = 32800,
    RVCMD_CLEARBOOKMARKS = 32801,
};
