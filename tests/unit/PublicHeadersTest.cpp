// The menu command ids hosts see in RVWindow/Commands.h are the ones the tree answers to.
#include "RVWindow/Commands.h"
#include "interaction/Commands.h"

namespace {
constexpr bool Same(RVCommand pub, UINT id) { return static_cast<UINT>(pub) == id; }
} // namespace

static_assert(Same(RVCMD_NEWITEM, CCommands::kNewItem) && Same(RVCMD_CUT, CCommands::kCut) &&
                  Same(RVCMD_PASTE, CCommands::kPaste) && Same(RVCMD_FIND, CCommands::kFind) &&
                  Same(RVCMD_NEWASSEMBLY, CCommands::kNewAssembly) && Same(RVCMD_PASTEAFTER, CCommands::kPasteAfter) &&
                  Same(RVCMD_DELETE, CCommands::kDelete) && Same(RVCMD_RENAME, CCommands::kRename) &&
                  Same(RVCMD_COPY, CCommands::kCopy),
              "the first menu's ids");
static_assert(Same(RVCMD_BINDTO3DSELECTION, CCommands::kBindTo3DSelection) &&
                  Same(RVCMD_TOGGLELOCK, CCommands::kToggleLock) && Same(RVCMD_PASTEBEFORE, CCommands::kPasteBefore) &&
                  Same(RVCMD_EXPANDBRANCH, CCommands::kExpandBranch) && Same(RVCMD_LOCK, CCommands::kLock) &&
                  Same(RVCMD_UNLOCK, CCommands::kUnlock) && Same(RVCMD_UNDO, CCommands::kUndo) &&
                  Same(RVCMD_TOGGLEBOOKMARK, CCommands::kToggleBookmark) &&
                  Same(RVCMD_PREVIOUSBOOKMARK, CCommands::kPreviousBookmark) &&
                  Same(RVCMD_NEXTBOOKMARK, CCommands::kNextBookmark) && Same(RVCMD_CLEARBOOKMARKS, CCommands::kClearBookmarks),
              "the later commands' ids");
