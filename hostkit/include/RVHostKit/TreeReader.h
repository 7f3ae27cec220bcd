// Reads what the tree control shows, straight from the control, for assertions.
#pragma once
#include "RVWindow/ItemRecord.h"

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

namespace RVHostKit
{

struct ShownItem
{
    int image = -1;
    int selectedImage = -1;
    UINT stateImage = 0; // state picture index
    int children = 0;    // children indicator
    bool expanded = false;
    std::string text;
    ItemRecord* record = nullptr;
};

ShownItem Inspect(HWND hTree, HTREEITEM hItem);
std::vector<HTREEITEM> ChildrenOf(HWND hTree, HTREEITEM hParent); // TVI_ROOT for the roots

// Records the messages of chosen codes that reach a window (through a subclass).
class CMessageSpy
{
public:
    CMessageSpy(HWND hWnd, std::vector<UINT> codes);
    ~CMessageSpy();
    CMessageSpy(const CMessageSpy&) = delete;
    CMessageSpy& operator=(const CMessageSpy&) = delete;

    struct Seen { UINT msg; WPARAM wParam; LPARAM lParam; };
    std::vector<Seen> seen;

private:
    static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
    HWND m_hWnd;
    std::vector<UINT> m_codes;
};

} // namespace RVHostKit
