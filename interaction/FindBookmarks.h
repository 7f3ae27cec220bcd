// Find and bookmarks. The user searches the labels with the platform's modeless find dialog,
// owned by the tree window, and marks items with bookmarks to jump between. Both walk the tree
// in pre-order, through collapsed branches too; a found item or bookmark becomes the only
// selected item and is scrolled into view. Labels and the find text are wide text.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <dlgs.h>

#include <string>

class CHostDoor;
class CRedrawSuspension;
class CSelection;
class CTreeCtrl;
class CTreeItems;
class CTreeNavigator;

class CFindBookmarks
{
public:
    CFindBookmarks(CTreeCtrl& control, CTreeItems& items, CHostDoor& host, CSelection& selection,
                   CTreeNavigator& navigator, CRedrawSuspension& redraw);
    ~CFindBookmarks();
    CFindBookmarks(const CFindBookmarks&) = delete;
    CFindBookmarks& operator=(const CFindBookmarks&) = delete;

    // ---- Find ----
    // Opens the find dialog unless one is open or the host refuses.
    void ShowFindDialog();
    // The find dialog's registered notification message.
    UINT FindMessage() const { return m_nFindMessage; }
    void OnFindReplace(const FINDREPLACEW* pNotice);
    HTREEITEM FindItem(const std::wstring& text, bool matchCase, bool down, bool wholeWord, HTREEITEM hStart);
    HTREEITEM FindPosition() const { return m_hFindPosition; }
    void SetFindPosition(HTREEITEM hItem) { m_hFindPosition = hItem; }
    HWND FindDialog() const { return m_hFindDialog; }
    // The tree window is going: so does the dialog it owns.
    void CloseFindDialog();

    // ---- Bookmarks ----
    void SetBookmark(HTREEITEM hItem, bool on);
    void ToggleBookmarkAt(HTREEITEM hItem, UINT flags);
    void GotoBookmark(bool next);
    void ClearBookmarks();
    void ClearBookmarksAsked(HTREEITEM hItem);
    int BookmarkCount() const { return m_nBookmarks; }
    HTREEITEM LastBookmark() const { return m_hLastBookmark; }

    // A removed item leaves the find position and the last bookmark, and a bookmarked one the
    // count.
    void Forget(HTREEITEM hItem, bool bookmarked);

private:
    // The find text as the dialog's edit box holds it (the notice's when the box is gone).
    std::wstring DialogText(const FINDREPLACEW& notice) const;
    HTREEITEM PrevPreorderItem(HTREEITEM hItem);
    HTREEITEM LastInBranch(HTREEITEM hItem);
    // The first candidate of a walk from start, or of a whole pass when start is 0.
    HTREEITEM FirstCandidate(HTREEITEM hStart, bool forward);
    HTREEITEM FindBookmark(bool forward, HTREEITEM hStart);
    bool IsBookmarked(HTREEITEM hItem);
    // Selects the found item alone and scrolls it into view.
    void Show(HTREEITEM hItem);

    CTreeCtrl& m_control;
    CTreeItems& m_items;
    CHostDoor& m_host;
    CSelection& m_selection;
    CTreeNavigator& m_navigator;
    CRedrawSuspension& m_redraw;
    std::wstring m_findText;
    HWND m_hFindDialog = nullptr;
    // The dialog reads and writes these while it is open: they live as long as this object.
    FINDREPLACEW m_findReplace{};
    wchar_t m_findBuffer[512] = {};
    UINT m_nFindMessage = 0;
    HTREEITEM m_hFindPosition = nullptr;
    HTREEITEM m_hLastBookmark = nullptr;
    int m_nBookmarks = 0;
};
