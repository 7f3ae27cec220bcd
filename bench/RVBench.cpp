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
// memory the component holds per item beyond the bare control's.
#include "RVWindow.h"
#include "bench/BenchSupport.h"
#include "model/ItemRecord.h"

#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
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

// A host message handler that only counts.
class CCountingHandler final : public IMessage
{
public:
    STDMETHOD(QueryInterface)(REFIID iid, void** ppv) override
    {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IMessage)) {
            *ppv = this;
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHOD_(ULONG, AddRef)() override { return 2; }
    STDMETHOD_(ULONG, Release)() override { return 1; }
    STDMETHOD(Send)(ULONG, USHORT, ULONG, BYTE*, LONG*) override
    {
        ++calls;
        return S_OK;
    }
    STDMETHOD(SendWithDataID)(ULONG, ULONG, USHORT, ULONG, BYTE*, LONG*) override
    {
        ++calls;
        return S_OK;
    }
    long calls = 0;
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
    SIZE_T bytes = 0;
};

Result BuildBare(const std::vector<Node>& nodes)
{
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
        handles[i] = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
    }
    SendMessageA(tree, WM_SETREDRAW, TRUE, 0);
    Result result;
    result.seconds = Now() - start;
    result.bytes = HeapBytesInUse() - before;
    DestroyWindow(host);
    return result;
}

// With countMessages, the tree's messages are counted through a window-procedure hop of its
// own, which costs time: the timed run goes without it.
Result BuildComponent(IClassFactory* factory, const std::vector<Node>& nodes, bool countMessages)
{
    const std::unique_ptr<CControlMessageCounter> counter(countMessages ? new CControlMessageCounter() : nullptr);
    HWND host = CreateHostWindow();
    IRVWnd2* rv = nullptr;
    factory->CreateInstance(nullptr, IID_IRVWnd2, reinterpret_cast<void**>(&rv));
    rv->Init(reinterpret_cast<ULONG_PTR>(host), nullptr, nullptr, nullptr);
    CCountingHandler handler;
    IMessage* pHandler = &handler;
    rv->SetMessageHandler(&pHandler);

    std::vector<ULONG_PTR> handles(nodes.size());
    std::vector<std::wstring> names;
    for (const Node& n : nodes) names.emplace_back(n.name.begin(), n.name.end());
    Result result;
    const SIZE_T before = HeapBytesInUse();
    // The host's records are made before the clock starts: allocating them is the host's work,
    // not the component's (their memory still counts: the tree owns them).
    std::vector<ItemRecord*> records(nodes.size());
    for (size_t i = 0; i < nodes.size(); ++i) {
        if (nodes[i].parent < 0) continue; // assemblies get their records from the tree
        records[i] = static_cast<ItemRecord*>(CoTaskMemAlloc(sizeof(ItemRecord)));
        ZeroMemory(records[i], sizeof(ItemRecord));
        records[i]->key = nodes[i].key;
    }
    {
        const long messagesBefore = counter ? counter->Count() : 0;
        const double start = Now();
        rv->suspendRedraw();
        for (size_t i = 0; i < nodes.size(); ++i) {
            if (nodes[i].parent < 0) {
                rv->AddAssembly(&names[i][0], 0, 1, 1, &handles[i]);
                continue;
            }
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
    std::printf("%8s %12s %12s %7s %14s %12s %14s\n", "items", "bare us", "component us", "ratio",
                "ctl msgs/add", "host calls", "bytes/item");
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
        std::printf("%8zu %12.2f %12.2f %7.2f %14.2f %12ld %14.1f\n", nodes.size(), bare.seconds * 1e6 / n,
                    component.seconds * 1e6 / n, Median(ratios),
                    static_cast<double>(component.controlMessages) / n, component.hostCalls, extraBytes / n);
    }
    std::printf("\nThe tree control under Wine checks each handle it is given with a linear search of its\n"
                "items, so every message costs time in proportion to the tree's size and the per-item times\n"
                "grow with it; the figures at 1,000 items show the component's own cost best. Bytes per\n"
                "item are the heap memory the component holds beyond the bare control's (record, undo\n"
                "action, key index, live-item set), from a walk of the process's heaps.\n");
    factory->Release();
    OleUninitialize();
    return 0;
}
