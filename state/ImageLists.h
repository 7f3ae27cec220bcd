// The two image lists every tree window of the process shares: item images (bitmap 201) and
// state pictures (bitmap 202). Created by the first object and never destroyed.
#pragma once
#include <windows.h>
#include <commctrl.h>

namespace rv {

// Creates the lists from the module's bitmaps if they do not exist yet.
void EnsureImageLists(HINSTANCE hModule);
HIMAGELIST ItemImageList();
HIMAGELIST StateImageList();

} // namespace rv
