// Building a tree and clearing it again, many times over, must leave the process's heaps
// where they were: whatever the component keeps per item goes with the item. Measured beside
// the bare tree-view control doing the same in the same run.
#include "host/Component.h"

#include <gtest/gtest.h>
#include <psapi.h>

#include <cstdio>
#include <functional>

namespace {

constexpr int kItems = 1500;
constexpr int kWarmUpCycles = 3;
constexpr int kMeasuredCycles = 17; // twenty cycles in all

// Bytes in use on every heap of the process (the C runtime's and the system's alike).
long long HeapBytesInUse()
{
    HANDLE heaps[64];
    const DWORD count = GetProcessHeaps(64, heaps);
    long long total = 0;
    for (DWORD i = 0; i < count && i < 64; ++i) {
        if (!HeapLock(heaps[i])) continue;
        PROCESS_HEAP_ENTRY entry{};
        while (HeapWalk(heaps[i], &entry))
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) total += static_cast<long long>(entry.cbData);
        HeapUnlock(heaps[i]);
    }
    return total;
}

long long PrivateBytes()
{
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters);
    return static_cast<long long>(counters.PrivateUsage);
}

// Heap growth per item and cycle over the measured cycles, after the warm-up ones; the
// process's private bytes are printed beside it (pages, so coarser).
double GrowthPerItem(const char* what, const std::function<void(int cycle)>& buildAndClear)
{
    int cycle = 0;
    for (; cycle < kWarmUpCycles; ++cycle) buildAndClear(cycle);
    const long long before = HeapBytesInUse(), privateBefore = PrivateBytes();
    for (; cycle < kWarmUpCycles + kMeasuredCycles; ++cycle) buildAndClear(cycle);
    const double growth = static_cast<double>(HeapBytesInUse() - before) / (kMeasuredCycles * kItems);
    std::printf("%s: heap growth %.1f bytes per item and cycle, private bytes %+lld KB over %d cycles\n", what,
                growth, (PrivateBytes() - privateBefore) / 1024, kMeasuredCycles);
    return growth;
}

HTREEITEM InsertBare(HWND hTree, HTREEITEM hParent, const char* text)
{
    TVINSERTSTRUCTA insert{};
    insert.hParent = hParent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT;
    insert.item.pszText = const_cast<char*>(text);
    return reinterpret_cast<HTREEITEM>(SendMessageA(hTree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
}

} // namespace

TEST(Memory, BuildingAndClearingRepeatedlyKeepsNothingTheBareControlDoesNot)
{
    CHostWindow window;
    const HWND bare = CreateWindowExA(0, WC_TREEVIEWA, "", WS_CHILD | TVS_HASBUTTONS, 0, 0, 200, 300, window.get(),
                                      nullptr, nullptr, nullptr);
    ASSERT_TRUE(bare);
    const double bareGrowth = GrowthPerItem("bare control", [&](int) {
        const HTREEITEM root = InsertBare(bare, TVI_ROOT, "Model");
        HTREEITEM sub = root;
        for (int i = 0; i < kItems; ++i) {
            const HTREEITEM item = InsertBare(bare, sub, "Part");
            if (i % 50 == 0) sub = item;
        }
        SendMessageA(bare, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(root));
    });
    DestroyWindow(bare);

    CTestHost host;
    const double componentGrowth = GrowthPerItem("component", [&](int cycle) {
        // Straight through the interface: the test host's own helpers name every item they add.
        ULONG_PTR root = 0;
        host.rv->AddAssembly(const_cast<wchar_t*>(L"Model"), 0, 1, 1, &root);
        ULONG_PTR sub = root;
        for (int i = 0; i < kItems; ++i) {
            // Every cycle shows other model nodes, as a host loading one model after another.
            ItemRecord* const record = NewRecord(static_cast<uint32_t>(cycle * kItems + i + 1));
            ULONG_PTR item = 0;
            host.rv->AddTreeItem(const_cast<wchar_t*>(L"Part"), 0, sub, reinterpret_cast<ULONG*>(record), &item);
            if (i % 50 == 0) sub = item;
        }
        host.rv->RemoveTreeItem(root);
        host.log.Clear();
    });
    EXPECT_LE(componentGrowth, bareGrowth + 2.0);
}
