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
    if (m_pSentHook) m_pSentHook->OnSent(msg);
    return ::SendMessageA(m_hWnd, msg, wParam, lParam);
}

LRESULT CTreeCtrl::SendToControl(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (!m_hWnd) return 0;
    if (m_pSentHook) m_pSentHook->OnSent(msg);
    return DefaultProcessing(msg, wParam, lParam);
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

UINT CTreeCtrl::NotificationCode(const NMHDR& hdr)
{
    switch (hdr.code) {
    case TVN_DELETEITEMA: return TVN_DELETEITEMW;
    case TVN_SELCHANGINGA: return TVN_SELCHANGINGW;
    case TVN_ITEMEXPANDINGA: return TVN_ITEMEXPANDINGW;
    case TVN_BEGINLABELEDITA: return TVN_BEGINLABELEDITW;
    case TVN_ENDLABELEDITA: return TVN_ENDLABELEDITW;
    case TVN_BEGINRDRAGA: return TVN_BEGINRDRAGW;
    default: return hdr.code;
    }
}
