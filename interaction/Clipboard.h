// What the last copy or cut took, and whether the host pastes instead of the tree (the
// object's EnableLocalPaste). A paste holds the list it started with for as long as it
// pastes: a copy made meanwhile replaces the clipboard without freeing it.
#pragma once
#include "model/ItemCopy.h"

#include <utility>

class CClipboard
{
public:
    SharedItemCopies Contents() const { return m_copies; }
    void Set(SharedItemCopies copies) { m_copies = std::move(copies); }

    void EnableLocalPaste(long bEnable) { m_bHostPastes = bEnable == 0; }
    bool HostPastes() const { return m_bHostPastes; }

private:
    SharedItemCopies m_copies = NewSharedItemCopies();
    bool m_bHostPastes = false;
};
