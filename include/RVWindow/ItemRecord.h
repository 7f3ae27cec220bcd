// The 64-byte record attached to every tree item as its item data. Its layout is shared with
// the host word for word, and records cross module boundaries, so they live in the COM task
// allocator, which every module of the process shares.
#pragma once
#include <objbase.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <new>

struct ItemRecord
{
    uint32_t typeID;             // host type; the wID of every host message about the item
    uint32_t dataID;             // data set the item belongs to
    uint32_t dataItemID;         // host identifier inside the data set
    uint32_t key;                // model node shown; 0 = none
    uint32_t bIsAssembly;
    uint32_t bLocked;
    uint32_t bIsLoaded;
    uint32_t bIsPartiallyLoaded; // written by the host only
    uint32_t state;              // on/off state
    uint32_t bAssemblyIcon;
    uint32_t nChildren;          // children inserted through item creation, not yet removed
    uint32_t nChildrenOn;        // of those, the ones whose state is on
    uint32_t bBookmark;
    uint32_t tag;                // host value; non-zero selects the prohibited lock images
    uint32_t bNoDropInto;
    uint32_t bIsolated;

    // Zero-filled, from the task allocator; throws std::bad_alloc when it cannot.
    static void* operator new(std::size_t size)
    {
        void* p = ::CoTaskMemAlloc(size);
        if (!p) throw std::bad_alloc();
        return std::memset(p, 0, size);
    }
    static void operator delete(void* p) { ::CoTaskMemFree(p); }
};

static_assert(sizeof(ItemRecord) == 64, "ItemRecord is sixteen 32-bit words");
static_assert(offsetof(ItemRecord, typeID) == 0 && offsetof(ItemRecord, key) == 12 &&
                  offsetof(ItemRecord, state) == 32 && offsetof(ItemRecord, nChildren) == 40 &&
                  offsetof(ItemRecord, tag) == 52 && offsetof(ItemRecord, bIsolated) == 60,
              "ItemRecord words are at their shared offsets");
