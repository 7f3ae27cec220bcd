/// \file TreeReader.h
/// \brief What the tree shows, read straight from the control, for assertions.
#pragma once
#include "RVWindow/ItemRecord.h"

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

namespace RVHostKit
{

/// \brief One item as the control shows it.
struct ShownItem
{
    int image = -1;               ///< the item image (0 part, 1 assembly, 2 and 3 locked ...)
    int selectedImage = -1;       ///< the image shown while selected (always the same here)
    UINT stateImage = 0;          ///< the state picture index (1 on, 2 off, 3 failed ...)
    int children = 0;             ///< the children indicator (1: an expand button)
    bool expanded = false;        ///< whether the item is expanded
    std::string text;             ///< the label in the system code page (up to 511 bytes)
    ItemRecord* record = nullptr; ///< the item's record
};

/// \brief Reads an item from the control.
/// \param hTree the tree window.
/// \param hItem the item.
/// \return what it shows; the defaults for an item the control does not know.
ShownItem Inspect(HWND hTree, HTREEITEM hItem);
/// \brief The children of an item, in order.
/// \param hTree the tree window.
/// \param hParent the parent, or `TVI_ROOT` for the roots.
/// \return their handles.
std::vector<HTREEITEM> ChildrenOf(HWND hTree, HTREEITEM hParent);

/// \brief Records the messages of chosen codes that reach a window, through a subclass, for
/// the life of the spy.
class CMessageSpy
{
public:
    /// \brief Starts recording.
    /// \param hWnd the window (the tree window, say).
    /// \param codes the message codes to record.
    CMessageSpy(HWND hWnd, std::vector<UINT> codes);
    /// \brief Stops recording.
    ~CMessageSpy();
    CMessageSpy(const CMessageSpy&) = delete;
    CMessageSpy& operator=(const CMessageSpy&) = delete;

    /// One recorded message.
    struct Seen
    {
        UINT msg;      ///< the code
        WPARAM wParam; ///< its first value
        LPARAM lParam; ///< its second value
    };
    /// The messages recorded so far, in order.
    std::vector<Seen> seen;

private:
    static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
    HWND m_hWnd;
    std::vector<UINT> m_codes;
};

} // namespace RVHostKit
