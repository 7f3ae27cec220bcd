// RVBench: what building a product structure costs through the component, beside the bare
// tree-view control doing the same insertions in the same run.
//
//   RVBench.exe [items ...]      (default: 1000 10000 50000)
//
// Times and ratios are medians of five runs or more of each side.
// The shape is realistic: root assemblies of about 1,000 items each, every one with 20
// subassemblies of 49 parts; part keys come from a pool so that each key is shown by about
// three items. Per item it prints the time, the component's time as a ratio of the bare
// control's, the messages the component sends to the tree control per AddTreeItem, and the
// memory the component holds per item beyond the bare control's, the host's records apart.
#include "RVWindow.h"
#include "bench/BenchSupport.h"
#include "model/ItemRecord.h"
#include "RVWindow/HostMessages.h"

#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kSubassemblies = 20;
constexpr int kPartsPerSubassembly = 49;
constexpr int kItemsPerRoot = 1 + kSubassemblies * (1 + kPartsPerSubassembly);

// Bytes in use in all of the process's heaps (the C runtime's, the COM task allocator's and
// the control's included).
SIZE_T HeapBytesInUse()
{
    HANDLE heaps[64];
    const DWORD count = GetProcessHeaps(64, heaps);
    SIZE_T total = 0;
    for (DWORD i = 0; i < count && i < 64; ++i) {
        PROCESS_HEAP_ENTRY entry{};
        HeapLock(heaps[i]);
        while (HeapWalk(heaps[i], &entry))
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) total += entry.cbData;
        HeapUnlock(heaps[i]);
    }
    return total;
}

// A host message handler that counts every message and, as a host that logs does, writes a
// line for each HM_ITEMADDED when asked to.
class CHostHandler final : public IMessage
{
public:
    explicit CHostHandler(bool logging) : m_bLogging(logging) {}
    STDMETHOD(QueryInterface)(REFIID iid, void** ppv) override
    {
        *ppv = (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IMessage)) ? this : nullptr;
        return *ppv ? S_OK : E_NOINTERFACE;
    }
    STDMETHOD_(ULONG, AddRef)() override { return 2; }
    STDMETHOD_(ULONG, Release)() override { return 1; }
    STDMETHOD(Send)(ULONG wID, USHORT wMsg, ULONG size, BYTE* data, LONG*) override
    {
        Log(0, wID, wMsg, size, data);
        return S_OK;
    }
    STDMETHOD(SendWithDataID)(ULONG dataID, ULONG wID, USHORT wMsg, ULONG size, BYTE* data, LONG*) override
    {
        Log(dataID, wID, wMsg, size, data);
        return S_OK;
    }
    // The line a host writes for an item added (by the component, or by itself to a bare control).
    void Log(ULONG dataID, ULONG wID, USHORT wMsg, ULONG size, const BYTE* data)
    {
        ++calls;
        if (!m_bLogging || wMsg != HM_ITEMADDED) return;
        ULONG item = 0;
        if (data && size >= sizeof item) std::memcpy(&item, data, sizeof item);
        char line[96];
        std::snprintf(line, sizeof line, "HM_ITEMADDED dataID=%lu wID=%lu item=%08lx", dataID, wID, item);
        lines.emplace_back(line);
    }
    long calls = 0;
    std::vector<std::string> lines;

private:
    bool m_bLogging;
};

// Counts the tree-view messages (and redraw switches) that reach the tree-view control, however
// they come: the component sends some to its window and hands others straight to the control's
// procedure beneath its own. So the count sits beneath both, in the class's procedure, for the
// tree windows created while it exists. (Not through comctl32's subclassing: it looks up a
// window property per message, a server call under Wine that would dominate what is measured.)
class CControlMessageCounter
{
public:
    CControlMessageCounter()
    {
        HWND probe = CreateWindowExW(0, WC_TREEVIEWW, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        s_control = reinterpret_cast<WNDPROC>(SetClassLongPtrW(probe, GCLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Proc)));
        DestroyWindow(probe);
        s_count = 0;
    }
    // The class's procedure comes back; windows made meanwhile keep counting until they go.
    ~CControlMessageCounter()
    {
        HWND probe = CreateWindowExW(0, WC_TREEVIEWW, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        SetClassLongPtrW(probe, GCLP_WNDPROC, reinterpret_cast<LONG_PTR>(s_control));
        DestroyWindow(probe);
    }
    long Count() const { return s_count; }

private:
    static LRESULT CALLBACK Proc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
    {
        if ((msg >= TV_FIRST && msg < TV_FIRST + 0x100) || msg == WM_SETREDRAW) ++s_count;
        return CallWindowProcW(s_control, hWnd, msg, wParam, lParam);
    }
    static WNDPROC s_control;
    static long s_count;
};
WNDPROC CControlMessageCounter::s_control = nullptr;
long CControlMessageCounter::s_count = 0;

struct Node
{
    int parent; // index into the list, -1 for a root
    bool assembly;
    ULONG key;
    std::string name;
};

std::vector<Node> MakeShape(int items)
{
    std::vector<Node> nodes;
    const int roots = items / kItemsPerRoot > 0 ? items / kItemsPerRoot : 1;
    const ULONG keyPool = static_cast<ULONG>(roots * kSubassemblies * kPartsPerSubassembly / 3 + 1);
    ULONG next = 0;
    for (int r = 0; r < roots; ++r) {
        const int root = static_cast<int>(nodes.size());
        nodes.push_back({-1, true, 0, "Assembly " + std::to_string(r + 1)});
        for (int s = 0; s < kSubassemblies; ++s) {
            const int sub = static_cast<int>(nodes.size());
            nodes.push_back({root, false, 1000000u + static_cast<ULONG>(sub), "Subassembly " + std::to_string(s + 1)});
            for (int p = 0; p < kPartsPerSubassembly; ++p)
                nodes.push_back({sub, false, 1 + (next++ * 7919u) % keyPool, "Part " + std::to_string(p + 1)});
        }
    }
    return nodes;
}

struct Result
{
    double seconds = 0;
    long controlMessages = 0;
    long hostCalls = 0;
    SIZE_T bytes = 0;       // held after the build, the host's records included
    SIZE_T recordBytes = 0; // of which the host's records
};

// What the host does around the insertions. The component's own benchmark makes the records
// before the clock and counts host messages; a host measuring from outside allocates each
// record as it adds the item and logs a line for each HM_ITEMADDED. Beside the bare control
// the same host allocates its per-item data and logs each insertion it makes.
struct HostWork
{
    bool recordsInClock = false;
    bool logging = false;
};
constexpr HostWork kOwnBenchmark{};
constexpr HostWork kOutside{true, true};

Result BuildBare(const std::vector<Node>& nodes, HostWork work = kOwnBenchmark)
{
    CHostHandler log(true);
    std::vector<void*> data;
    data.reserve(nodes.size());
    HWND host = CreateHostWindow();
    HWND tree = CreateWindowExA(WS_EX_CLIENTEDGE, WC_TREEVIEWA, "", WS_CHILD | 0x2F, 0, 0, 0, 0, host, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    std::vector<HTREEITEM> handles(nodes.size());
    const SIZE_T before = HeapBytesInUse();
    const double start = Now();
    SendMessageA(tree, WM_SETREDRAW, FALSE, 0);
    for (size_t i = 0; i < nodes.size(); ++i) {
        TVINSERTSTRUCTA insert{};
        insert.hParent = nodes[i].parent < 0 ? TVI_ROOT : handles[static_cast<size_t>(nodes[i].parent)];
        insert.hInsertAfter = TVI_LAST;
        insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM | TVIF_STATE;
        insert.item.pszText = const_cast<char*>(nodes[i].name.c_str());
        insert.item.iImage = insert.item.iSelectedImage = nodes[i].assembly ? 1 : 0;
        insert.item.state = INDEXTOSTATEIMAGEMASK(2);
        insert.item.stateMask = TVIS_STATEIMAGEMASK;
        if (work.recordsInClock) {
            data.push_back(CoTaskMemAlloc(sizeof(ItemRecord)));
            ZeroMemory(data.back(), sizeof(ItemRecord));
            insert.item.lParam = reinterpret_cast<LPARAM>(data.back());
        }
        handles[i] = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
        if (work.logging && nodes[i].parent >= 0) {
            const ULONG item = static_cast<ULONG>(reinterpret_cast<ULONG_PTR>(handles[i]));
            log.Log(1, 0, HM_ITEMADDED, sizeof item, reinterpret_cast<const BYTE*>(&item));
        }
    }
    SendMessageA(tree, WM_SETREDRAW, TRUE, 0);
    Result result;
    result.seconds = Now() - start;
    result.bytes = HeapBytesInUse() - before;
    DestroyWindow(host);
    for (void* p : data) CoTaskMemFree(p);
    return result;
}

// With countMessages, the tree's messages are counted through a window-procedure hop of its
// own, which costs time: the timed run goes without it.
Result BuildComponent(IClassFactory* factory, const std::vector<Node>& nodes, bool countMessages,
                      HostWork work = kOwnBenchmark)
{
    const std::unique_ptr<CControlMessageCounter> counter(countMessages ? new CControlMessageCounter() : nullptr);
    HWND host = CreateHostWindow();
    IRVWnd2* rv = nullptr;
    factory->CreateInstance(nullptr, IID_IRVWnd2, reinterpret_cast<void**>(&rv));
    rv->Init(reinterpret_cast<ULONG_PTR>(host), nullptr, nullptr, nullptr);
    CHostHandler handler(work.logging);
    IMessage* pHandler = &handler;
    rv->SetMessageHandler(&pHandler);

    std::vector<ULONG_PTR> handles(nodes.size());
    std::vector<std::wstring> names;
    for (const Node& n : nodes) names.emplace_back(n.name.begin(), n.name.end());
    Result result;
    std::vector<ItemRecord*> records(nodes.size());
    const SIZE_T before = HeapBytesInUse();
    // The host's records are made before the clock starts: allocating them is the host's work,
    // not the component's (the tree owns them, and their memory is counted apart).
    const auto makeRecord = [&](size_t i) {
        records[i] = static_cast<ItemRecord*>(CoTaskMemAlloc(sizeof(ItemRecord)));
        ZeroMemory(records[i], sizeof(ItemRecord));
        records[i]->key = nodes[i].key;
    };
    for (size_t i = 0; i < nodes.size() && !work.recordsInClock; ++i)
        if (nodes[i].parent >= 0) makeRecord(i); // assemblies get their records from the tree
    if (!work.recordsInClock) result.recordBytes = HeapBytesInUse() - before;
    {
        const long messagesBefore = counter ? counter->Count() : 0;
        const double start = Now();
        rv->suspendRedraw();
        for (size_t i = 0; i < nodes.size(); ++i) {
            if (nodes[i].parent < 0) {
                rv->AddAssembly(&names[i][0], 0, 1, 1, &handles[i]);
                continue;
            }
            if (work.recordsInClock) makeRecord(i);
            ItemRecord* const record = records[i];
            rv->AddTreeItem(&names[i][0], 0, handles[static_cast<size_t>(nodes[i].parent)],
                            reinterpret_cast<ULONG*>(record), &handles[i]);
        }
        rv->resumeRedraw();
        result.seconds = Now() - start;
        result.controlMessages = counter ? counter->Count() - messagesBefore : 0;
    }
    result.bytes = HeapBytesInUse() - before;
    result.hostCalls = handler.calls;
    rv->Release();
    DestroyWindow(host);
    return result;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i) sizes.push_back(std::atoi(argv[i]));
    if (sizes.empty()) sizes = {1000, 10000, 50000};

    OleInitialize(nullptr);
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_TREEVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    HMODULE dll = LoadLibraryA("RVWindow.dll");
    auto getClassObject = reinterpret_cast<HRESULT(WINAPI*)(REFCLSID, REFIID, void**)>(
        reinterpret_cast<void*>(GetProcAddress(dll, "DllGetClassObject")));
    IClassFactory* factory = nullptr;
    if (!getClassObject || FAILED(getClassObject(CLSID_RVWnd, IID_IClassFactory, reinterpret_cast<void**>(&factory)))) {
        std::printf("RVWindow.dll could not be loaded beside RVBench.exe\n");
        return 1;
    }

    std::printf("Building a product structure: per item, component (AddAssembly/AddTreeItem) against the bare\n"
                "tree-view control (TVM_INSERTITEM) in the same run.\n\n");
    std::printf("%8s %12s %12s %7s %14s %12s %11s %14s\n", "items", "bare us", "component us", "ratio", "ctl msgs/add",
                "host calls", "bytes/item", "+host record");
    for (int size : sizes) {
        const std::vector<Node> nodes = MakeShape(size);
        const double n = static_cast<double>(nodes.size());
        // Five runs of each at least (a small tree builds in a few milliseconds: more), in
        // alternation, so that neither side gets the quieter moments of the machine; the
        // medians are taken, and the ratio is the median of the runs' ratios.
        const int runs = std::max(5, 20000 / size);
        Result bare = BuildBare(nodes);
        Result component = BuildComponent(factory, nodes, false);
        std::vector<double> bareTimes{bare.seconds}, componentTimes{component.seconds};
        std::vector<double> ratios{component.seconds / bare.seconds};
        for (int r = 1; r < runs; ++r) {
            bareTimes.push_back(BuildBare(nodes).seconds);
            componentTimes.push_back(BuildComponent(factory, nodes, false).seconds);
            ratios.push_back(componentTimes.back() / bareTimes.back());
        }
        bare.seconds = Median(bareTimes);
        component.seconds = Median(componentTimes);
        component.controlMessages = BuildComponent(factory, nodes, true).controlMessages;
        const double extraBytes = static_cast<double>(component.bytes) - static_cast<double>(bare.bytes);
        const double recordBytes = static_cast<double>(component.recordBytes);
        std::printf("%8zu %12.2f %12.2f %7.2f %14.2f %12ld %11.1f %14.1f\n", nodes.size(), bare.seconds * 1e6 / n,
                    component.seconds * 1e6 / n, Median(ratios), static_cast<double>(component.controlMessages) / n,
                    component.hostCalls, (extraBytes - recordBytes) / n, recordBytes / n);
    }
    std::printf("\nAs a host measures from outside: the same shape, the records allocated by the host inside\n"
                "the clock ('records') and a host message handler that logs a line for each HM_ITEMADDED\n"
                "('log'). 'bare' is the bare control doing only the insertions, 'bare+host' the bare control\n"
                "with the same host beside it (allocating its per-item data, logging each insertion it\n"
                "makes). Medians, us per item; the ratios are the outside build's over each bare figure.\n\n");
    std::printf("%8s %9s %10s %9s %9s %9s %9s %7s %10s\n", "items", "bare", "bare+host", "own", "+records",
                "+log", "outside", "ratio", "ratio+host");
    for (int size : sizes) {
        const std::vector<Node> nodes = MakeShape(size);
        const double n = static_cast<double>(nodes.size());
        const int runs = std::max(5, 20000 / size);
        std::vector<double> bare, bareHost, own, records, log, outside, ratios, hostRatios;
        for (int r = 0; r < runs; ++r) {
            bare.push_back(BuildBare(nodes).seconds);
            bareHost.push_back(BuildBare(nodes, kOutside).seconds);
            own.push_back(BuildComponent(factory, nodes, false).seconds);
            records.push_back(BuildComponent(factory, nodes, false, HostWork{true, false}).seconds);
            log.push_back(BuildComponent(factory, nodes, false, HostWork{false, true}).seconds);
            outside.push_back(BuildComponent(factory, nodes, false, kOutside).seconds);
            ratios.push_back(outside.back() / bare.back());
            hostRatios.push_back(outside.back() / bareHost.back());
        }
        const auto us = [&](const std::vector<double>& times) { return Median(times) * 1e6 / n; };
        std::printf("%8zu %9.2f %10.2f %9.2f %9.2f %9.2f %9.2f %7.2f %10.2f\n", nodes.size(), us(bare),
                    us(bareHost), us(own), us(records), us(log), us(outside), Median(ratios), Median(hostRatios));
    }
    std::printf("\nThe tree control under Wine checks each handle it is given with a linear search of its\n"
                "items, so every message costs time in proportion to the tree's size and the per-item times\n"
                "grow with it; the figures at 1,000 items show the component's own cost best. Bytes per\n"
                "item are the heap memory the component holds beyond the bare control's (live-item\n"
                "table with the key index, undo entry), from a walk of the process's heaps; '+host\n"
                "record' is the record each part's host allocates and hands to the tree, which then\n"
                "holds it too.\n");
    factory->Release();
    OleUninitialize();
    return 0;
}
