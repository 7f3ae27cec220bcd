#include "state/ImageLists.h"

#include "platform/Handles.h"
#include "res/resource.h"

namespace rv {

namespace {
// Process-wide, shared by all tree windows and deliberately never destroyed.
HIMAGELIST g_hItemImages = nullptr;
HIMAGELIST g_hStateImages = nullptr;
constexpr COLORREF kItemMask = RGB(255, 255, 255);
constexpr COLORREF kStateMask = RGB(192, 192, 192);
} // namespace

void EnsureImageLists(HINSTANCE hModule)
{
    CBitmapOwner strip(static_cast<HBITMAP>(
        ::LoadImageA(hModule, MAKEINTRESOURCEA(IDB_ITEMIMAGES), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR)));
    if (!g_hItemImages) {
        HIMAGELIST list = ::ImageList_Create(16, 16, ILC_MASK | ILC_COLOR4, 2, 1);
        if (list && strip && ::ImageList_AddMasked(list, strip.get(), kItemMask) >= 0) {
            g_hItemImages = list;
        } else if (list) {
            ::ImageList_Destroy(list);
        }
    }
    if (g_hItemImages && !g_hStateImages)
        g_hStateImages = ::ImageList_LoadImageA(hModule, MAKEINTRESOURCEA(IDB_STATEIMAGES), 16, 1, kStateMask,
                                                IMAGE_BITMAP, LR_DEFAULTCOLOR);
}

HIMAGELIST ItemImageList()
{
    return g_hItemImages;
}

HIMAGELIST StateImageList()
{
    return g_hStateImages;
}

} // namespace rv
