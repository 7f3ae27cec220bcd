#include "state/ImageLists.h"

#include "platform/Handles.h"
#include "res/resource.h"

#include <iterator>

namespace rv {

namespace {
constexpr COLORREF kItemMask = RGB(255, 255, 255);
constexpr COLORREF kStateMask = RGB(192, 192, 192);
constexpr int kSizeCount = static_cast<int>(std::size(kPictureSizes));
constexpr WORD kItemStrips[kSizeCount] = {IDB_ITEMIMAGES, IDB_ITEMIMAGES_20, IDB_ITEMIMAGES_24,
                                          IDB_ITEMIMAGES_32, IDB_ITEMIMAGES_48};
constexpr WORD kStateStrips[kSizeCount] = {IDB_STATEIMAGES, IDB_STATEIMAGES_20, IDB_STATEIMAGES_24,
                                           IDB_STATEIMAGES_32, IDB_STATEIMAGES_48};

// Process-wide, shared by all tree windows, destroyed with the module.
CImageListOwner g_itemImages[kSizeCount];
CImageListOwner g_stateImages[kSizeCount];

int SizeSlot(int size)
{
    for (int slot = 0; slot < kSizeCount; ++slot)
        if (kPictureSizes[slot] == size) return slot;
    return -1;
}

// A masked list of size x size item images cut from a strip bitmap of the module.
HIMAGELIST LoadItemStrip(HINSTANCE hModule, WORD strip, int size, COLORREF mask)
{
    const CBitmapOwner bitmap(static_cast<HBITMAP>(
        ::LoadImageA(hModule, MAKEINTRESOURCEA(strip), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR)));
    if (!bitmap) return nullptr;
    CImageListOwner list(::ImageList_Create(size, size, ILC_MASK | ILC_COLOR4, 2, 1));
    if (!list || ::ImageList_AddMasked(list.get(), bitmap.get(), mask) < 0) return nullptr;
    return list.release();
}

// The state pictures' list takes the strip's own colour format.
HIMAGELIST LoadStateStrip(HINSTANCE hModule, WORD strip, int size, COLORREF mask)
{
    return ::ImageList_LoadImageA(hModule, MAKEINTRESOURCEA(strip), size, 1, mask, IMAGE_BITMAP, LR_DEFAULTCOLOR);
}

using StripLoader = HIMAGELIST (*)(HINSTANCE, WORD, int, COLORREF);

HIMAGELIST SharedList(CImageListOwner (&lists)[kSizeCount], const WORD (&strips)[kSizeCount], StripLoader load,
                      HINSTANCE hModule, int size, COLORREF mask)
{
    const int slot = SizeSlot(size);
    if (slot < 0) return nullptr;
    if (!lists[slot]) lists[slot].reset(load(hModule, strips[slot], size, mask));
    return lists[slot].get();
}
} // namespace

int PictureSizeForDpi(UINT dpi)
{
    const int scaled = ::MulDiv(16, static_cast<int>(dpi), USER_DEFAULT_SCREEN_DPI);
    for (int size : kPictureSizes)
        if (size >= scaled) return size;
    return kPictureSizes[kSizeCount - 1];
}

void EnsureImageLists(HINSTANCE hModule)
{
    ItemImageList(hModule, 16);
    StateImageList(hModule, 16);
}

HIMAGELIST ItemImageList(HINSTANCE hModule, int size)
{
    return SharedList(g_itemImages, kItemStrips, LoadItemStrip, hModule, size, kItemMask);
}

HIMAGELIST StateImageList(HINSTANCE hModule, int size)
{
    return SharedList(g_stateImages, kStateStrips, LoadStateStrip, hModule, size, kStateMask);
}

} // namespace rv
