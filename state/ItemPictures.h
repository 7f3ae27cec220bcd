// The meaning of every picture an item shows: its item image (what it is) and its state
// picture (shown or hidden, loaded or not), and the operations that set them.
#pragma once
#include "model/ItemRecord.h"

#include <windows.h>
#include <commctrl.h>

class CRedrawSuspension;
class CTreeCtrl;
class CTreeItems;

// Item images.
enum ItemImage : int
{
    kImagePart = 0,
    kImageAssembly = 1,
    kImageLockedPart = 2,
    kImageLockedAssembly = 3,
    kImageNew = 4,
    kImagePhantom = 5,
    kImageBookmark = 6,
    kImageProhibited = 7,
    kImageProhibitedLocked = 8,
};

// State pictures (state image indices).
enum StatePicture : UINT
{
    kStateNone = 0,
    kStateOn = 1,
    kStateOff = 2,
    kStateFailed = 3,
    kStateUnloaded = 4,
    kStateNoneLoaded = 5,
    kStateAllOnAllLoaded = 6,
    kStateLoadedNoneVisible = 7,
    kStatePartLoadedVisible = 8,
    kStatePartLoadedNoneVisible = 9,
    kStateLoadedPartVisible = 10,
    kStatePartLoadedPartVisible = 11,
    kStateGreen = 12,
};

class CItemPictures
{
public:
    CItemPictures(CTreeCtrl& control, CTreeItems& items, CRedrawSuspension& redraw)
        : m_control(control), m_items(items), m_redraw(redraw)
    {
    }

    // 0 unlocked part, 1 unlocked assembly, 2 locked part, 3 locked assembly.
    static int BaseImage(const ItemRecord& record);

    void SetImage(HTREEITEM hItem, int image);
    void SetStatePicture(HTREEITEM hItem, UINT index);
    UINT GetStatePicture(HTREEITEM hItem);

    void SetNormalIconState(HTREEITEM hItem);
    void SetFailState(HTREEITEM hItem, long bOn);
    bool GetFailState(HTREEITEM hItem);
    void SetItemGUIState(HTREEITEM hItem, long bOn);
    void SetNewIcon(HTREEITEM hItem, long bOn) { SetMarkImage(hItem, bOn, kImageNew); }
    void SetPhantomIcon(HTREEITEM hItem, long bOn) { SetMarkImage(hItem, bOn, kImagePhantom); }
    bool IsPhantomIcon(HTREEITEM hItem);
    void SetAssemblyIcon(HTREEITEM hItem, long bOn);
    long GetAssemblyIcon(HTREEITEM hItem);
    void SetProhibitedIcon(HTREEITEM hItem, long bOn);

private:
    // bOn: the mark image; off: back to the base image (needs the record).
    void SetMarkImage(HTREEITEM hItem, long bOn, int markImage);

    CTreeCtrl& m_control;
    CTreeItems& m_items;
    CRedrawSuspension& m_redraw;
};
