// A page heap for the test builds: every block gets pages of its own, ending where its pages
// end, and freeing a block decommits its pages, whose addresses are never handed out again. A
// use after free then faults at once instead of reading whatever the heap put there since.
// Pages are committed many at a time (a block costs one system call, when it is freed).
//
// Linked into a module, it replaces that module's operator new and delete (and only those:
// malloc, the COM task allocator and the system's heaps are left as they are).
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <new>

namespace {

constexpr size_t kPage = 4096;
constexpr size_t kHeader = 16; // the block's page count, at its first page's start
constexpr size_t kChunkBytes = size_t(64) << 20; // committed at a time

SRWLOCK g_lock = SRWLOCK_INIT;
char* g_next = nullptr; // the next unused page of the current chunk
char* g_end = nullptr;

size_t RoundUp(size_t value, size_t unit)
{
    return (value + unit - 1) / unit * unit;
}

// Committed pages never used before; null when memory is used up.
char* TakePages(size_t pages)
{
    const size_t bytes = pages * kPage;
    AcquireSRWLockExclusive(&g_lock);
    if (!g_next || static_cast<size_t>(g_end - g_next) < bytes) {
        // What is left of the chunk stays committed and unused.
        const size_t size = bytes > kChunkBytes ? RoundUp(bytes, kChunkBytes) : kChunkBytes;
        g_next = static_cast<char*>(VirtualAlloc(nullptr, size, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
        g_end = g_next ? g_next + size : nullptr;
    }
    char* const base = g_next;
    if (base) g_next += bytes;
    ReleaseSRWLockExclusive(&g_lock);
    return base;
}

void* Allocate(size_t size, size_t alignment)
{
    if (size == 0) size = 1;
    if (alignment < kHeader) alignment = kHeader;
    const size_t rounded = RoundUp(size, alignment);
    if (rounded < size) return nullptr;
    const size_t pages = RoundUp(rounded + kHeader + (alignment - kHeader), kPage) / kPage;
    char* const base = TakePages(pages);
    if (!base) return nullptr;
    *reinterpret_cast<size_t*>(base) = pages;
    // The block ends with its pages, short only of the rounding its alignment asks for.
    return base + pages * kPage - rounded;
}

void Free(void* block)
{
    if (!block) return;
    // The header lies on the block's first page, which begins less than a page before the
    // block's start (minus the header).
    char* const base = reinterpret_cast<char*>(
        (reinterpret_cast<uintptr_t>(block) - kHeader) & ~static_cast<uintptr_t>(kPage - 1));
    const size_t pages = *reinterpret_cast<size_t*>(base);
    VirtualFree(base, pages * kPage, MEM_DECOMMIT);
}

void* AllocateOrThrow(size_t size, size_t alignment)
{
    void* const block = Allocate(size, alignment);
    if (!block) throw std::bad_alloc();
    return block;
}

} // namespace

void* operator new(size_t size) { return AllocateOrThrow(size, kHeader); }
void* operator new[](size_t size) { return AllocateOrThrow(size, kHeader); }
void* operator new(size_t size, const std::nothrow_t&) noexcept { return Allocate(size, kHeader); }
void* operator new[](size_t size, const std::nothrow_t&) noexcept { return Allocate(size, kHeader); }
void* operator new(size_t size, std::align_val_t a) { return AllocateOrThrow(size, static_cast<size_t>(a)); }
void* operator new[](size_t size, std::align_val_t a) { return AllocateOrThrow(size, static_cast<size_t>(a)); }
void* operator new(size_t size, std::align_val_t a, const std::nothrow_t&) noexcept
{
    return Allocate(size, static_cast<size_t>(a));
}
void* operator new[](size_t size, std::align_val_t a, const std::nothrow_t&) noexcept
{
    return Allocate(size, static_cast<size_t>(a));
}

void operator delete(void* block) noexcept { Free(block); }
void operator delete[](void* block) noexcept { Free(block); }
void operator delete(void* block, size_t) noexcept { Free(block); }
void operator delete[](void* block, size_t) noexcept { Free(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { Free(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { Free(block); }
void operator delete(void* block, std::align_val_t) noexcept { Free(block); }
void operator delete[](void* block, std::align_val_t) noexcept { Free(block); }
void operator delete(void* block, size_t, std::align_val_t) noexcept { Free(block); }
void operator delete[](void* block, size_t, std::align_val_t) noexcept { Free(block); }
void operator delete(void* block, std::align_val_t, const std::nothrow_t&) noexcept { Free(block); }
void operator delete[](void* block, std::align_val_t, const std::nothrow_t&) noexcept { Free(block); }
