// A detached copy of one tree item, in the form of the control's insert structure. It owns its
// text and its record copy; a record handed to a created item belongs to that item.
#pragma once
#include "model/GrowArray.h"
#include "model/ItemRecord.h"

#include <windows.h>
#include <commctrl.h>
#include <cwchar>
#include <memory>

struct ItemCopy
{
    static constexpr int kTextCapacity = 128; // the first read of a label; a longer one is read whole

    HTREEITEM hParent = nullptr;     // source parent, replaced by the new parent on creation
    HTREEITEM hInsertAfter = TVI_LAST;
    UINT mask = TVIF_TEXT | TVIF_PARAM | TVIF_STATE;
    HTREEITEM hItem = nullptr;       // the source item; key of the drop map for its children
    UINT state = 0;
    UINT stateMask = TVIS_STATEIMAGEMASK;
    wchar_t* pszText = nullptr;      // owned, the whole label
    int cchTextMax = kTextCapacity;
    int iImage = 0, iSelectedImage = 0, cChildren = 0;
    ItemRecord* pRecord = nullptr;   // owned until handed to a created item
    bool ownsText = true;            // false for a clone, which shares its original's text

    ItemCopy() = default;
    ~ItemCopy()
    {
        if (ownsText) delete[] pszText;
        delete pRecord;
    }
    ItemCopy(const ItemCopy&) = delete;
    ItemCopy& operator=(const ItemCopy&) = delete;

    void SetText(const wchar_t* text)
    {
        if (ownsText) delete[] pszText;
        ownsText = true;
        if (!text) text = L"";
        const size_t length = std::wcslen(text);
        pszText = new wchar_t[length + 1];
        std::wmemcpy(pszText, text, length + 1);
        cchTextMax = static_cast<int>(length + 1);
    }
};

using ItemCopyList = CGrowArray<ItemCopy*>;

// Frees every copy of the list and empties it.
inline void FreeItemCopies(ItemCopyList& list)
{
    for (int i = 0; i < list.GetCount(); ++i) delete list.GetData()[i];
    list.SetSize(0);
}

// A list of copies with shared owners: the clipboard holds one until a new copy replaces it,
// and a paste holds the one it pastes until it is done, whatever is copied meanwhile.
using SharedItemCopies = std::shared_ptr<ItemCopyList>;

inline SharedItemCopies NewSharedItemCopies()
{
    return SharedItemCopies(new ItemCopyList(), [](ItemCopyList* pList) {
        FreeItemCopies(*pList);
        delete pList;
    });
}
