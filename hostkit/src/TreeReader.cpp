#include "RVHostKit/TreeReader.h"

#include <algorithm>

namespace RVHostKit
{

ShownItem Inspect(HWND hTree, HTREEITEM hItem)
{
    ShownItem shown;
    char buffer[512] = {};
    TVITEMA item{};
    item.mask = TVIF_HANDLE | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_STATE | TVIF_CHILDREN | TVIF_TEXT | TVIF_PARAM;
    item.hItem = hItem;
    item.stateMask = 0xFFFF;
    item.pszText = buffer;
    item.cchTextMax = sizeof buffer;
    if (!SendMessageA(hTree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) return shown;
    shown.image = item.iImage;
    shown.selectedImage = item.iSelectedImage;
    shown.stateImage = (item.state & TVIS_STATEIMAGEMASK) >> 12;
    shown.children = item.cChildren;
    shown.expanded = (item.state & TVIS_EXPANDED) != 0;
    shown.text = buffer;
    shown.record = reinterpret_cast<ItemRecord*>(item.lParam);
    return shown;
}

std::vector<HTREEITEM> ChildrenOf(HWND hTree, HTREEITEM hParent)
{
    std::vector<HTREEITEM> out;
    auto next = reinterpret_cast<HTREEITEM>(
        SendMessageA(hTree, TVM_GETNEXTITEM, hParent == TVI_ROOT ? TVGN_ROOT : TVGN_CHILD,
                     reinterpret_cast<LPARAM>(hParent == TVI_ROOT ? nullptr : hParent)));
    while (next) {
        out.push_back(next);
        next = reinterpret_cast<HTREEITEM>(SendMessageA(hTree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(next)));
    }
    return out;
}

CMessageSpy::CMessageSpy(HWND hWnd, std::vector<UINT> codes) : m_hWnd(hWnd), m_codes(std::move(codes))
{
    SetWindowSubclass(m_hWnd, Proc, reinterpret_cast<UINT_PTR>(this), reinterpret_cast<DWORD_PTR>(this));
}

CMessageSpy::~CMessageSpy()
{
    if (IsWindow(m_hWnd)) RemoveWindowSubclass(m_hWnd, Proc, reinterpret_cast<UINT_PTR>(this));
}

LRESULT CALLBACK CMessageSpy::Proc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR ref)
{
    auto* self = reinterpret_cast<CMessageSpy*>(ref);
    if (std::find(self->m_codes.begin(), self->m_codes.end(), msg) != self->m_codes.end())
        self->seen.push_back({msg, wParam, lParam});
    return DefSubclassProc(hWnd, msg, wParam, lParam);
}

} // namespace RVHostKit
