// The image lists every tree window of the process shares: item images and state pictures,
// one pair per picture size (16, 20, 24, 32 and 48 pixels, each drawn for its size). A size's
// pair is made by the first window that needs it and lives as long as the module.
#pragma once
#include <windows.h>
#include <commctrl.h>

namespace rv {

// The picture sizes there are strips for, smallest first.
constexpr int kPictureSizes[] = {16, 20, 24, 32, 48};

// The smallest picture size at or above the 16-pixel pictures scaled to dpi (the largest when
// none is).
int PictureSizeForDpi(UINT dpi);

// Creates the 16-pixel lists from the module's bitmaps if they do not exist yet.
void EnsureImageLists(HINSTANCE hModule);
// The shared lists of a picture size (one of kPictureSizes), made on first use; null when the
// module's bitmaps cannot be loaded.
HIMAGELIST ItemImageList(HINSTANCE hModule, int size);
HIMAGELIST StateImageList(HINSTANCE hModule, int size);

} // namespace rv
