#include "interaction/FindBookmarks.h"

#include "QMUtil.h"
#include "render/RedrawSuspension.h"
#include "host/HostDoor.h"
#include "model/TreeItems.h"
#include "platform/TreeCtrl.h"
#include "selection/Selection.h"
#include "state/ItemPictures.h"
#include "tree/TreeNavigator.h"

#include <algorithm>
#include <cwchar>
#include <iterator>
#include <utility>

namespace {
constexpr char kFinishedSearching[] = "Finished searching through the list.";
constexpr char kNoBookmarks[] = "No bookmarks found.";

// Lower case character by character (one unit for one), so positions in the text stay put.
std::wstring Lower(std::wstring text)
{
    if (!text.empty()) ::CharLowerBuffW(&text[0], static_cast<DWORD>(text.size()));
    return text;
}

bool IsWordCharacter(wchar_t c)
{
    return ::IsCharAlphaW(c) || c == L'_';
}

// Any occurrence, or with wholeWord one with no letter or underscore on either side; after an
// occurrence that does not count the search goes on from its end.
bool Matches(const std::wstring& label, const std::wstring& text, bool wholeWord)
{
    for (size_t at = label.find(text); at != std::wstring::npos; at = label.find(text, at + text.size())) {
        if (!wholeWord) return true;
        const bool freeBefore = at == 0 || !IsWordCharacter(label[at - 1]);
        const size_t end = at + text.size();
        const bool freeAfter = end >= label.size() || !IsWordCharacter(label[end]);
        if (freeBefore && freeAfter) return true;
    }
    return false;
}
} // namespace

CFindBookmarks::CFindBookmarks(CTreeCtrl& control, CTreeItems& items, CHostDoor& host, CSelection& selection,
                               CTreeNavigator& navigator, CRedrawSuspension& redraw)
    : m_control(control), m_items(items), m_host(host), m_selection(selection), m_navigator(navigator),
      m_redraw(redraw), m_nFindMessage(::RegisterWindowMessageW(FINDMSGSTRINGW))
{
}

CFindBookmarks::~CFindBookmarks()
{
    CloseFindDialog();
}

// ---- Find ----

void CFindBookmarks::ShowFindDialog()
{
    const bool allowed = m_host.MayFind();
    if (m_hFindDialog || !allowed || !m_control.GetHwnd()) return;
    const size_t length = std::min(m_findText.size(), std::size(m_findBuffer) - 1);
    std::wmemcpy(m_findBuffer, m_findText.data(), length);
    m_findBuffer[length] = L'\0';
    m_findReplace = FINDREPLACEW{};
    m_findReplace.lStructSize = sizeof m_findReplace;
    m_findReplace.hwndOwner = m_control.GetHwnd();
    m_findReplace.Flags = FR_DOWN;
    m_findReplace.lpstrFindWhat = m_findBuffer;
    // Documented in bytes, taken as characters by some implementations: the buffer's length in
    // characters is safe under either reading.
    m_findReplace.wFindWhatLen = static_cast<WORD>(std::size(m_findBuffer));
    m_hFindDialog = ::FindTextW(&m_findReplace);
    // Some implementations (Wine's) keep the text in the system code page inside: the dialog's
    // edit box is given and read the wide text itself.
    if (m_hFindDialog) ::SetDlgItemTextW(m_hFindDialog, edt1, m_findText.c_str());
}

std::wstring CFindBookmarks::DialogText(const FINDREPLACEW& notice) const
{
    const HWND hEdit = m_hFindDialog ? ::GetDlgItem(m_hFindDialog, edt1) : nullptr;
    if (!hEdit) return notice.lpstrFindWhat ? notice.lpstrFindWhat : L"";
    std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(hEdit)) + 1, L'\0');
    text.resize(static_cast<size_t>(::GetWindowTextW(hEdit, &text[0], static_cast<int>(text.size()))));
    return text;
}

void CFindBookmarks::CloseFindDialog()
{
    if (const HWND hDialog = std::exchange(m_hFindDialog, nullptr)) ::DestroyWindow(hDialog);
}

void CFindBookmarks::OnFindReplace(const FINDREPLACEW* pNotice)
{
    if (pNotice != &m_findReplace) return; // not our dialog's
    // Read before anything runs: the host may close the dialog from inside a message.
    const DWORD flags = pNotice->Flags;
    const std::wstring text = DialogText(*pNotice);
    if (flags & FR_DIALOGTERM) {
        m_findText = text;
        m_hFindDialog = nullptr;
        m_hFindPosition = nullptr;
        return;
    }
    m_selection.ClearSelection();
    m_hFindPosition = FindItem(text, (flags & FR_MATCHCASE) != 0, (flags & FR_DOWN) != 0,
                               (flags & FR_WHOLEWORD) != 0, m_hFindPosition);
    if (m_hFindPosition)
        Show(m_hFindPosition);
    else
        ::ZAfxMessageBox(kFinishedSearching, 0, 0);
}

HTREEITEM CFindBookmarks::FindItem(const std::wstring& text, bool matchCase, bool down, bool wholeWord, HTREEITEM hStart)
{
    if (text.empty()) return nullptr;
    const std::wstring wanted = matchCase ? text : Lower(text);
    for (HTREEITEM c = FirstCandidate(hStart, down); c;
         c = down ? m_navigator.GetNextTravItem(c) : PrevPreorderItem(c)) {
        if (c == hStart) return nullptr; // round to where it began
        const std::wstring label = matchCase ? m_control.GetItemText(c) : Lower(m_control.GetItemText(c));
        if (Matches(label, wanted, wholeWord)) return c;
    }
    return nullptr;
}

HTREEITEM CFindBookmarks::FirstCandidate(HTREEITEM hStart, bool forward)
{
    HTREEITEM c = nullptr;
    if (hStart && m_items.IsLiveItem(hStart))
        c = forward ? m_navigator.GetNextTravItem(hStart) : PrevPreorderItem(hStart);
    if (!c) c = forward ? m_control.GetRootItem() : LastInBranch(nullptr);
    return c;
}

HTREEITEM CFindBookmarks::PrevPreorderItem(HTREEITEM hItem)
{
    if (!m_items.IsLiveItem(hItem)) return nullptr;
    if (const HTREEITEM hPrev = m_control.GetPrevSiblingItem(hItem)) return LastInBranch(hPrev);
    return m_items.GetParent(hItem);
}

HTREEITEM CFindBookmarks::LastInBranch(HTREEITEM hItem)
{
    if (!hItem) {
        hItem = m_control.GetRootItem();
        for (HTREEITEM next = hItem; next; next = m_control.GetNextSiblingItem(next)) hItem = next;
    }
    for (HTREEITEM child = hItem ? m_control.GetChildItem(hItem) : nullptr; child;
         child = m_control.GetChildItem(hItem)) {
        hItem = child;
        for (HTREEITEM next = m_control.GetNextSiblingItem(child); next; next = m_control.GetNextSiblingItem(next))
            hItem = next;
    }
    return hItem;
}

void CFindBookmarks::Show(HTREEITEM hItem)
{
    const CItemRef item = m_items.Ref(hItem);
    m_selection.SelectItem(hItem, true, false, false);
    if (m_items.Resolve(item)) m_control.EnsureVisible(hItem);
}

// ---- Bookmarks ----

bool CFindBookmarks::IsBookmarked(HTREEITEM hItem)
{
    const ItemRecord* const pRecord = m_items.GetRecord(hItem);
    return pRecord && pRecord->bBookmark;
}

void CFindBookmarks::SetBookmark(HTREEITEM hItem, bool on)
{
    if (!m_items.IsLiveItem(hItem)) return;
    CRedrawScope noRedraw(m_redraw);
    ItemRecord* const pRecord = m_items.GetRecord(hItem);
    if (!pRecord) return;
    const int image = on ? kImageBookmark : CItemPictures::BaseImage(*pRecord);
    m_control.SetItemImage(hItem, image, image);
    if (on && !pRecord->bBookmark) ++m_nBookmarks;
    if (!on && pRecord->bBookmark) --m_nBookmarks;
    pRecord->bBookmark = on ? 1 : 0;
}

void CFindBookmarks::ToggleBookmarkAt(HTREEITEM hItem, UINT flags)
{
    if (!hItem || !(flags & (TVHT_ONITEMICON | TVHT_ONITEMLABEL | TVHT_ONITEMSTATEICON))) return;
    const bool bookmarked = IsBookmarked(hItem);
    const CItemRef item = m_items.Ref(hItem);
    m_host.TellBookmark(hItem, !bookmarked);
    if (m_items.Resolve(item)) SetBookmark(hItem, !bookmarked);
}

HTREEITEM CFindBookmarks::FindBookmark(bool forward, HTREEITEM hStart)
{
    if (hStart && !m_items.IsLiveItem(hStart)) hStart = nullptr;
    const auto step = [&](HTREEITEM c) { return forward ? m_navigator.GetNextTravItem(c) : PrevPreorderItem(c); };
    const auto wrap = [&] { return forward ? m_control.GetRootItem() : LastInBranch(nullptr); };
    HTREEITEM c = FirstCandidate(hStart, forward);
    // A pass visits each item once; the host may change the tree while it hears of
    // assemblies on the way, so the walk is bounded all the same.
    for (size_t steps = 0, limit = 2 * m_items.LiveItemCount() + 2; steps < limit; ++steps) {
        if (!c) {
            if (!hStart) return nullptr; // a pass from the top is over at the end
            c = wrap();
            if (!c) return nullptr;
        }
        if (c == hStart) return IsBookmarked(hStart) ? hStart : nullptr;
        if (IsBookmarked(c)) return c;
        c = step(c);
    }
    return nullptr;
}

void CFindBookmarks::GotoBookmark(bool next)
{
    m_selection.ClearSelection();
    m_hLastBookmark = FindBookmark(next, m_hLastBookmark);
    if (m_hLastBookmark)
        Show(m_hLastBookmark);
    else
        ::ZAfxMessageBox(kNoBookmarks, 0, 0);
}

void CFindBookmarks::ClearBookmarks()
{
    CRedrawScope noRedraw(m_redraw);
    for (HTREEITEM c = m_control.GetRootItem(); c; c = m_navigator.GetNextTravItem(c))
        if (IsBookmarked(c)) SetBookmark(c, false);
    m_nBookmarks = 0;
}

void CFindBookmarks::ClearBookmarksAsked(HTREEITEM hItem)
{
    if (hItem && !m_host.MayClearBookmarks(hItem)) return;
    ClearBookmarks();
}

void CFindBookmarks::Forget(HTREEITEM hItem, bool bookmarked)
{
    if (m_hFindPosition == hItem) m_hFindPosition = nullptr;
    if (m_hLastBookmark == hItem) m_hLastBookmark = nullptr;
    if (bookmarked && m_nBookmarks > 0) --m_nBookmarks;
}
