#include "platform/TreeCtrl.h"

#include <cstring>
#include <cwchar>
#include <vector>

bool CTreeCtrl::Create(DWORD style, DWORD exStyle, const RECT& rect, HWND hParent, UINT_PTR id)
{
    return CreateEx(exStyle, WC_TREEVIEWA, "", style, rect, hParent, id);
}

LRESULT CTreeCtrl::Send(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (!m_hWnd) return 0;
    Count(msg);
    return ::SendMessageA(m_hWnd, msg, wParam, lParam);
}

LRESULT CTreeCtrl::SendToControl(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (!m_hWnd) return 0;
    Count(msg);
    return DefaultProcessing(msg, wParam, lParam);
}

void CTreeCtrl::Count(UINT msg)
{
    ++m_nMessagesSent;
    ++m_messagesByType[msg >= TV_FIRST && msg < TV_FIRST + kCountedTypes ? msg - TV_FIRST : kCountedTypes];
}

std::map<UINT, unsigned long> CTreeCtrl::MessagesByType() const
{
    std::map<UINT, unsigned long> counts;
    for (UINT i = 0; i < kCountedTypes; ++i)
        if (m_messagesByType[i]) counts[TV_FIRST + i] = m_messagesByType[i];
    if (m_messagesByType[kCountedTypes]) counts[0] = m_messagesByType[kCountedTypes]; // 0: any other message
    return counts;
}

HTREEITEM CTreeCtrl::InsertItem(const TVINSERTSTRUCTW& insert)
{
    return reinterpret_cast<HTREEITEM>(Send(TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
}

bool CTreeCtrl::DeleteItem(HTREEITEM hItem)
{
    return Send(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(hItem)) != 0;
}

bool CTreeCtrl::DeleteAllItems()
{
    return DeleteItem(TVI_ROOT);
}

void CTreeCtrl::ScrollOffBranch(HTREEITEM hTop, bool bLeaf)
{
    const HTREEITEM hFirst = GetNextItem(nullptr, TVGN_FIRSTVISIBLE);
    if (!hFirst) return;
    if (bLeaf) {
        if (hFirst != hTop) return;
    } else {
        HTREEITEM a = hFirst;
        while (a && a != hTop) a = GetParentItem(a);
        if (!a) return;
    }
    HTREEITEM hTarget = GetNextItem(hTop, TVGN_PREVIOUSVISIBLE);
    for (HTREEITEM a = hTop; !hTarget && a; a = GetParentItem(a)) hTarget = GetNextSiblingItem(a);
    if (hTarget) SelectItem(hTarget, TVGN_FIRSTVISIBLE);
}

bool CTreeCtrl::DeleteBranch(HTREEITEM hItem)
{
    ScrollOffBranch(hItem, false);
    return DeleteItem(hItem);
}

void CTreeCtrl::DeleteBranchFromLeaves(HTREEITEM hItem)
{
    // path holds the items from the branch's top down to the current one.
    std::vector<HTREEITEM> path;
    if (hItem == TVI_ROOT) {
        for (HTREEITEM root = GetRootItem(); root; root = GetRootItem()) DeleteBranchFromLeaves(root);
        return;
    }
    if (hItem) path.push_back(hItem);
    while (!path.empty()) {
        if (const HTREEITEM hChild = GetChildItem(path.back())) {
            path.push_back(hChild);
            continue;
        }
        ScrollOffBranch(path.back(), true);
        if (!DeleteItem(path.back())) return; // the control refused: stop rather than loop
        path.pop_back();
    }
}

HTREEITEM CTreeCtrl::GetNextItem(HTREEITEM hItem, UINT code)
{
    return reinterpret_cast<HTREEITEM>(Send(TVM_GETNEXTITEM, code, reinterpret_cast<LPARAM>(hItem)));
}

bool CTreeCtrl::GetItem(TVITEMW& item)
{
    return Send(TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)) != 0;
}

bool CTreeCtrl::SetItem(const TVITEMW& item)
{
    return Send(TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item)) != 0;
}

LPARAM CTreeCtrl::GetItemData(HTREEITEM hItem)
{
    TVITEMW item{};
    item.mask = TVIF_HANDLE | TVIF_PARAM;
    item.hItem = hItem;
    return GetItem(item) ? item.lParam : 0;
}

bool CTreeCtrl::SetItemData(HTREEITEM hItem, LPARAM data)
{
    TVITEMW item{};
    item.mask = TVIF_HANDLE | TVIF_PARAM;
    item.hItem = hItem;
    item.lParam = data;
    return SetItem(item);
}

std::wstring CTreeCtrl::GetItemText(HTREEITEM hItem)
{
    // The control truncates to the buffer it is given: grow until the text fits.
    std::vector<wchar_t> buffer(256);
    for (;;) {
        TVITEMW item{};
        item.mask = TVIF_HANDLE | TVIF_TEXT;
        item.hItem = hItem;
        buffer[0] = L'\0';
        item.pszText = buffer.data();
        item.cchTextMax = static_cast<int>(buffer.size());
        if (!GetItem(item)) return {};
        // The control may answer with its own buffer instead of copying into ours.
        const wchar_t* text = item.pszText ? item.pszText : L"";
        const size_t length = wcsnlen(text, buffer.size());
        if (text != buffer.data()) return std::wstring(text);
        if (length + 1 < buffer.size()) return std::wstring(text, length);
        if (buffer.size() >= (1u << 24)) return std::wstring(text, length);
        buffer.resize(buffer.size() * 2);
    }
}

bool CTreeCtrl::SetItemText(HTREEITEM hItem, const wchar_t* text)
{
    TVITEMW item{};
    item.mask = TVIF_HANDLE | TVIF_TEXT;
    item.hItem = hItem;
    item.pszText = const_cast<wchar_t*>(text);
    return SetItem(item);
}

UINT CTreeCtrl::GetItemState(HTREEITEM hItem, UINT mask)
{
    return static_cast<UINT>(Send(TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(hItem), mask)) & mask;
}

bool CTreeCtrl::SetItemState(HTREEITEM hItem, UINT state, UINT mask)
{
    TVITEMW item{};
    item.mask = TVIF_HANDLE | TVIF_STATE;
    item.hItem = hItem;
    item.state = state;
    item.stateMask = mask;
    return SetItem(item);
}

bool CTreeCtrl::SetItemImage(HTREEITEM hItem, int image, int selectedImage)
{
    TVITEMW item{};
    item.mask = TVIF_HANDLE | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    item.hItem = hItem;
    item.iImage = image;
    item.iSelectedImage = selectedImage;
    return SetItem(item);
}

int CTreeCtrl::GetItemChildren(HTREEITEM hItem)
{
    TVITEMW item{};
    item.mask = TVIF_HANDLE | TVIF_CHILDREN;
    item.hItem = hItem;
    return GetItem(item) ? item.cChildren : 0;
}

bool CTreeCtrl::SetItemChildren(HTREEITEM hItem, int children)
{
    TVITEMW item{};
    item.mask = TVIF_HANDLE | TVIF_CHILDREN;
    item.hItem = hItem;
    item.cChildren = children;
    return SetItem(item);
}

bool CTreeCtrl::Expand(HTREEITEM hItem, UINT action)
{
    return Send(TVM_EXPAND, action, reinterpret_cast<LPARAM>(hItem)) != 0;
}

bool CTreeCtrl::EnsureVisible(HTREEITEM hItem)
{
    return Send(TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(hItem)) != 0;
}

bool CTreeCtrl::SelectItem(HTREEITEM hItem, UINT code)
{
    return Send(TVM_SELECTITEM, code, reinterpret_cast<LPARAM>(hItem)) != 0;
}

HWND CTreeCtrl::EditLabel(HTREEITEM hItem)
{
    return reinterpret_cast<HWND>(Send(TVM_EDITLABELW, 0, reinterpret_cast<LPARAM>(hItem)));
}

bool CTreeCtrl::EndEditLabelNow(bool cancel)
{
    return Send(TVM_ENDEDITLABELNOW, cancel ? TRUE : FALSE) != 0;
}

HWND CTreeCtrl::GetEditControl()
{
    return reinterpret_cast<HWND>(Send(TVM_GETEDITCONTROL));
}

HIMAGELIST CTreeCtrl::CreateDragImage(HTREEITEM hItem)
{
    return reinterpret_cast<HIMAGELIST>(Send(TVM_CREATEDRAGIMAGE, 0, reinterpret_cast<LPARAM>(hItem)));
}

UINT CTreeCtrl::GetCount()
{
    return static_cast<UINT>(Send(TVM_GETCOUNT));
}

UINT CTreeCtrl::GetVisibleCount()
{
    return static_cast<UINT>(Send(TVM_GETVISIBLECOUNT));
}

HFONT CTreeCtrl::GetFont()
{
    return reinterpret_cast<HFONT>(Send(WM_GETFONT));
}

HTREEITEM CTreeCtrl::HitTest(POINT pt, UINT* pFlags)
{
    TVHITTESTINFO info{};
    info.pt = pt;
    HTREEITEM hItem = reinterpret_cast<HTREEITEM>(Send(TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)));
    if (pFlags) *pFlags = m_hWnd ? info.flags : 0;
    return hItem;
}

bool CTreeCtrl::GetItemRect(HTREEITEM hItem, RECT& rect, bool textOnly)
{
    // TVM_GETITEMRECT takes the item handle in the rectangle it fills.
    std::memcpy(&rect, &hItem, sizeof hItem);
    if (Send(TVM_GETITEMRECT, textOnly, reinterpret_cast<LPARAM>(&rect))) return true;
    rect = RECT{};
    return false;
}

HIMAGELIST CTreeCtrl::SetImageList(HIMAGELIST hImageList, int type)
{
    return reinterpret_cast<HIMAGELIST>(Send(TVM_SETIMAGELIST, static_cast<WPARAM>(type),
                                             reinterpret_cast<LPARAM>(hImageList)));
}

HIMAGELIST CTreeCtrl::GetImageList(int type)
{
    return reinterpret_cast<HIMAGELIST>(Send(TVM_GETIMAGELIST, static_cast<WPARAM>(type)));
}

bool CTreeCtrl::SetUnicodeFormat(bool unicode)
{
    return Send(TVM_SETUNICODEFORMAT, unicode ? TRUE : FALSE) != 0;
}
