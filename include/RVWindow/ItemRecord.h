/// \file ItemRecord.h
/// \brief The record every tree item carries.
#pragma once
#include <objbase.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <new>

/// \brief The 64-byte record attached to every tree item: sixteen unsigned 32-bit words, shared
/// with the host word for word (the same layout on x86 and x64).
///
/// Hand one in with IRVWnd::AddTreeItem or IRVWnd2::InsertTreeItem (or IRVWnd::SetItemData),
/// read and write it through the pointer IRVWnd::GetItemData gives. From the moment its item is
/// added the tree owns it and frees it when the item is deleted, after \ref HM_ITEMDELETED.
/// Records cross module boundaries, so they live in the COM task allocator, which every module
/// of the process shares: allocate them with `new ItemRecord` (zero-filled) or
/// `CoTaskMemAlloc`, never free one the tree owns. Flags are 0 or 1 unless noted.
struct ItemRecord
{
    /// Host type of the item's data; sent as the `wID` of every host message about the item.
    /// IRVWnd::AddAssembly's `typeID` for an assembly; copied from the parent's record when a
    /// child is added (overwriting what the host put there). IRVWnd::CalcSelectedItems filters
    /// on it.
    uint32_t typeID;
    /// Data set the item belongs to; sent as the `dataID` of IMessage::SendWithDataID.
    /// Inherited like `typeID`. Drops and pastes between isolated items compare it;
    /// IRVWnd2::CalcSelectedItemsByDataID filters on it.
    uint32_t dataID;
    /// The host's identifier of the item inside its data set; 0 for assemblies. A moved or
    /// copied item keeps it only when its new parent has the same non-zero `dataID`.
    uint32_t dataItemID;
    /// Model key: the node of the host's 3D model the item shows, 0 for none. Items with a key
    /// are registered under it (several items may show one key) and switched, selected and
    /// counted together (IRVWnd::SetKeyState, SelectItems, CalcOrvaneMappedItems). Set it in
    /// the record before you add the item; the tree writes 0 when an item leaves the key index
    /// (a removal clears the keys of the removed item's ancestors). Writing it later, or
    /// IRVWnd::SetItemData, bypasses the key index.
    uint32_t key;
    /// 1 for an item added by IRVWnd::AddAssembly or IRVWnd3::AddIsolatedAssembly. Assemblies
    /// keep no on/off state of their own and cannot be copied, cut or dragged as a branch.
    uint32_t bIsAssembly;
    /// Non-zero while the item is locked (IRVWnd::LockItem, the lock commands): a padlock image
    /// and no expanding or collapsing.
    uint32_t bLocked;
    /// Non-zero once the item's data is loaded: the tree sets it when it switches the item on;
    /// the host may set it too. IRVWnd::IsItemLoaded answers it.
    uint32_t bIsLoaded;
    /// Written by the host only: whether the item's data is partly loaded
    /// (IRVWnd::IsItemPartiallyLoaded).
    uint32_t bIsPartiallyLoaded;
    /// The on/off state (IRVWnd::SetHTIState, GetHTIState): 0 is off, any other value on.
    uint32_t state;
    /// The value last given to IRVWnd::SetAssemblyIcon; a non-zero value makes
    /// IRVWnd2::GetNextTravItem send \ref HM_TRAVERSEASSEMBLY for the item.
    uint32_t bAssemblyIcon;
    /// Kept by the tree: the number of children added below the item and not yet removed.
    uint32_t nChildren;
    /// Kept by the tree: how many of those children are on. A part is on exactly when all its
    /// children are.
    uint32_t nChildrenOn;
    /// 1 while the item is bookmarked (IRVWnd2::SetBookmark, the bookmark commands).
    uint32_t bBookmark;
    /// A host value (IRVWnd2::SetItemTag, GetItemTag); when it is non-zero, the lock commands
    /// show a part with the prohibited images.
    uint32_t tag;
    /// Non-zero: the item refuses pastes and drops into it as a child (IRVWnd2::SetNoDropInto).
    uint32_t bNoDropInto;
    /// 1 for the items of an isolated assembly (IRVWnd3::AddIsolatedAssembly), inherited by
    /// every item added below it: drops between an isolated item and another item are allowed
    /// only within one `dataID`.
    uint32_t bIsolated;

    /// \brief A zero-filled record from the COM task allocator.
    /// \param size the record's size.
    /// \return the memory; throws `std::bad_alloc` when there is none.
    static void* operator new(std::size_t size)
    {
        void* p = ::CoTaskMemAlloc(size);
        if (!p) throw std::bad_alloc();
        return std::memset(p, 0, size);
    }
    /// \brief Gives a record back to the COM task allocator (only for records the tree does not
    /// own).
    /// \param p the record.
    static void operator delete(void* p) { ::CoTaskMemFree(p); }
};

static_assert(sizeof(ItemRecord) == 64, "ItemRecord is sixteen 32-bit words");
static_assert(offsetof(ItemRecord, typeID) == 0 && offsetof(ItemRecord, key) == 12 &&
                  offsetof(ItemRecord, state) == 32 && offsetof(ItemRecord, nChildren) == 40 &&
                  offsetof(ItemRecord, tag) == 52 && offsetof(ItemRecord, bIsolated) == 60,
              "ItemRecord words are at their shared offsets");
