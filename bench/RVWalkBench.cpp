// RVWalkBench: what walking and switching a tree costs inside the component, beside the bare
// tree-view control doing the same walk in the same run.
//
//   RVWalkBench.exe [items ...]      (default: 1000 10000)
//
// For trees of the building benchmark's shape it times, and counts the messages sent to the
// tree control for: switching one whole assembly branch off and on (SetHTIState), a full
// GetNextTravItem walk, ExpandToDepth(0, -1) and Collapse(0), selecting 10,000 items by key
// and clearing them, and removing a branch of 10,000 items; and it prints where the record
// and parent look-ups of those operations were answered: the record path, the parent path,
// the record cache or the control. The component runs in-process here (linked, not loaded)
// so that its look-up counters can be read.
#include "RVWindow.h"
#include "bench/BenchSupport.h"
#include "frame/RVWnd.h"

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Shape
{
    int roots;
    int subassemblies;
    int parts;
    int Items() const { return roots * (1 + subassemblies * (1 + parts)); }
};

// A host message handler that only counts.
class CCountingHandler final : public IMessage
{
public:
    STDMETHOD(QueryInterface)(REFIID iid, void** ppv) override
    {
        *ppv = (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IMessage)) ? this : nullptr;
        return *ppv ? S_OK : E_NOINTERFACE;
    }
    STDMETHOD_(ULONG, AddRef)() override { return 2; }
    STDMETHOD_(ULONG, Release)() override { return 1; }
    STDMETHOD(Send)(ULONG, USHORT, ULONG, BYTE*, LONG*) override { ++calls; return S_OK; }
    STDMETHOD(SendWithDataID)(ULONG, ULONG, USHORT, ULONG, BYTE*, LONG*) override { ++calls; return S_OK; }
    long calls = 0;
};

// A plain IVisibilityManager and sink, so that the 3D calls are made and cost what a host's do.
class CQuietHost final : public IVisibilityManager, public IRavlinWindowSink
{
public:
    STDMETHOD(QueryInterface)(REFIID, void** ppv) override { *ppv = nullptr; return E_NOINTERFACE; }
    STDMETHOD_(ULONG, AddRef)() override { return 2; }
    STDMETHOD_(ULONG, Release)() override { return 1; }
    STDMETHOD(SetVisible)(ULONG) override { ++viewerCalls; return S_OK; }
    STDMETHOD(SetInvisible)(ULONG) override { ++viewerCalls; return S_OK; }
    STDMETHOD(GetVisibility)(ULONG, LONG* p) override { *p = 0; return S_OK; }
    STDMETHOD(SetSelectionLock)(LONG) override { return S_OK; }
    STDMETHOD(SetVisibilityLock)(LONG) override { return S_OK; }
    STDMETHOD(IsSelectionLock)(LONG* p) override { *p = 0; return S_OK; }
    STDMETHOD(IsVisibilityLock)(LONG* p) override { *p = 0; return S_OK; }
    STDMETHOD(SetMenuMask)(ULONG) override { return S_OK; }
    STDMETHOD(GetFirstSelectedOrvaneItem)(ULONG* p) override { *p = 0; return S_OK; }
    STDMETHOD(NotifySelectedTypeID)(int) override { return S_OK; }
    STDMETHOD(NotifyRButtonUp)(UINT, POINT, int) override { return S_OK; }
    long viewerCalls = 0;
};

struct Measure
{
    double seconds;
    unsigned long messages;
};

template <class F>
Measure Time(CRVTreeCtrl& tree, F&& work)
{
    const unsigned long before = tree.MessagesSent();
    const double start = Now();
    work();
    return {Now() - start, tree.MessagesSent() - before};
}

void Row(const char* what, const Measure& m, double items)
{
    std::printf("  %-34s %10.1f us %8.2f us/item %10lu msgs %7.2f msgs/item\n", what, m.seconds * 1e6,
                m.seconds * 1e6 / items, m.messages, static_cast<double>(m.messages) / items);
}

void PrintLookups(const char* what, const CRecordLookup::Counters& before, const CRecordLookup::Counters& after)
{
    std::printf("  %-34s record path %8llu  parent path %8llu  cache %8llu  control %8llu (+%llu parents)\n", what,
                static_cast<unsigned long long>(after.fromRecordPath - before.fromRecordPath),
                static_cast<unsigned long long>(after.fromParentPath - before.fromParentPath),
                static_cast<unsigned long long>(after.fromCache - before.fromCache),
                static_cast<unsigned long long>(after.fromControl - before.fromControl),
                static_cast<unsigned long long>(after.parentFromControl - before.parentFromControl));
}

void Run(int wanted)
{
    Shape shape{wanted / 1001 > 0 ? wanted / 1001 : 1, 20, 49};
    HWND host = CreateHostWindow();
    CComObject<CRVWnd>* rv = nullptr;
    CreateComInstance<CRVWnd>(nullptr, IID_IRVWnd2, reinterpret_cast<void**>(&rv));
    CQuietHost quiet;
    rv->Init(reinterpret_cast<ULONG_PTR>(host), &quiet, nullptr, nullptr);
    rv->InitTree(&quiet);
    CRVTreeCtrl& tree = rv->Tree();

    // Build: assemblies of subassemblies of parts; part keys shared by about three items.
    std::vector<HTREEITEM> roots;
    const uint32_t pool = static_cast<uint32_t>(shape.Items() / 3 + 1);
    uint32_t next = 0;
    tree.Redraw().Suspend();
    for (int r = 0; r < shape.roots; ++r) {
        const HTREEITEM root = tree.Builder().AddAssembly("Assembly", 1, 1, false);
        roots.push_back(root);
        for (int s = 0; s < shape.subassemblies; ++s) {
            const HTREEITEM sub = tree.Builder().AddTreeItem("Subassembly", root, nullptr);
            for (int p = 0; p < shape.parts; ++p) {
                auto* record = new ItemRecord();
                record->key = 1 + (next++ * 7919u) % pool;
                tree.Builder().AddTreeItem("Part", sub, record);
            }
        }
    }
    tree.Redraw().Resume();
    const double items = static_cast<double>(tree.GetCount());
    const double branch = static_cast<double>(1 + shape.subassemblies * (1 + shape.parts));
    std::printf("\n%.0f items (%d assemblies of %.0f):\n", items, shape.roots, branch);

    auto counters = tree.Lookup().GetCounters();
    Row("switch an assembly branch on", Time(tree, [&] { tree.States().SetHTIState(roots[0], 1, true); }), branch);
    Row("switch it off again", Time(tree, [&] { tree.States().SetHTIState(roots[0], 0, true); }), branch);
    PrintLookups("look-ups of the two switches", counters, tree.Lookup().GetCounters());

    counters = tree.Lookup().GetCounters();
    long visited = 0;
    Row("GetNextTravItem walk", Time(tree, [&] {
            for (HTREEITEM item = tree.GetRootItem(); item; item = tree.Navigator().GetNextTravItem(item)) ++visited;
        }), items);
    PrintLookups("look-ups of the walk", counters, tree.Lookup().GetCounters());
    Row("ExpandToDepth(0, -1)", Time(tree, [&] { tree.Navigator().ExpandToDepth(nullptr, -1); }), items);
    Row("Collapse(0)", Time(tree, [&] { tree.Navigator().Collapse(nullptr); }), items);

    // The bare control: the same pre-order walk with get-next-item requests only.
    HWND bare = tree.GetHwnd();
    long bareVisited = 0;
    const double start = Now();
    for (auto item = reinterpret_cast<HTREEITEM>(SendMessageA(bare, TVM_GETNEXTITEM, TVGN_ROOT, 0)); item;) {
        ++bareVisited;
        auto nextItem = reinterpret_cast<HTREEITEM>(SendMessageA(bare, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(item)));
        for (HTREEITEM x = item; !nextItem && x;) {
            nextItem = reinterpret_cast<HTREEITEM>(SendMessageA(bare, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(x)));
            if (!nextItem) x = reinterpret_cast<HTREEITEM>(SendMessageA(bare, TVM_GETNEXTITEM, TVGN_PARENT, reinterpret_cast<LPARAM>(x)));
        }
        item = nextItem;
    }
    std::printf("  %-34s %10.1f us %8.2f us/item (%ld items; the component's walk visited %ld)\n",
                "bare control, same walk", (Now() - start) * 1e6, (Now() - start) * 1e6 / items, bareVisited, visited);
    std::printf("  3D calls made by the switches: %ld\n", quiet.viewerCalls);

    rv->Release();
    DestroyWindow(host);
}

// Selecting many items by key and clearing them, and removing one large branch, beside the
// bare control's deletion of the same branch.
void RunSelectionAndRemoval(int parts)
{
    HWND host = CreateHostWindow();
    CComObject<CRVWnd>* rv = nullptr;
    CreateComInstance<CRVWnd>(nullptr, IID_IRVWnd2, reinterpret_cast<void**>(&rv));
    CQuietHost quiet;
    CCountingHandler handler;
    rv->Init(reinterpret_cast<ULONG_PTR>(host), &quiet, nullptr, nullptr);
    rv->InitTree(&quiet);
    IMessage* pHandler = &handler;
    rv->SetMessageHandler(&pHandler);
    CRVTreeCtrl& tree = rv->Tree();
    tree.Redraw().Suspend();
    const HTREEITEM root = tree.Builder().AddAssembly("Assembly", 1, 1, false);
    const HTREEITEM big = tree.Builder().AddTreeItem("Subassembly", root, nullptr);
    for (int p = 0; p < parts; ++p) {
        auto* record = new ItemRecord();
        record->key = 1 + static_cast<uint32_t>(p % 2); // two keys shared by every part
        tree.Builder().AddTreeItem("Part", big, record);
    }
    tree.Redraw().Resume();
    std::printf("\n%d parts below one subassembly:\n", parts);

    handler.calls = 0;
    Measure m = Time(tree, [&] {
        tree.Selection().SelectItems(1, true, false);
        tree.Selection().SelectItems(2, true, false);
    });
    Row("select every part by key", m, parts);
    std::printf("  %-34s %ld host calls, %d selected\n", "", handler.calls, tree.Selection().Count());
    handler.calls = 0;
    Row("clear that selection", Time(tree, [&] { tree.Selection().ClearSelection(); }), parts);
    std::printf("  %-34s %ld host calls\n", "", handler.calls);
    handler.calls = 0;
    Row("RemoveTreeItem of the subassembly", Time(tree, [&] { tree.RemoveTreeItem(big); }), parts);
    std::printf("  %-34s %ld host calls\n", "", handler.calls);
    rv->Release();
    DestroyWindow(host);

    HWND bareHost = CreateHostWindow();
    HWND bare = CreateWindowExA(0, WC_TREEVIEWA, "", WS_CHILD, 0, 0, 0, 0, bareHost, nullptr, nullptr, nullptr);
    TVINSERTSTRUCTA insert{};
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT;
    insert.item.pszText = const_cast<char*>("Part");
    insert.hParent = TVI_ROOT;
    const auto bareRoot = reinterpret_cast<HTREEITEM>(SendMessageA(bare, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
    insert.hParent = bareRoot;
    const auto bareBig = reinterpret_cast<HTREEITEM>(SendMessageA(bare, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
    insert.hParent = bareBig;
    for (int p = 0; p < parts; ++p) SendMessageA(bare, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert));
    const double start = Now();
    SendMessageA(bare, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(bareBig));
    std::printf("  %-34s %10.1f us %8.2f us/item          1 msgs\n", "bare control, TVM_DELETEITEM", (Now() - start) * 1e6,
                (Now() - start) * 1e6 / parts);
    DestroyWindow(bareHost);
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i) sizes.push_back(std::atoi(argv[i]));
    if (sizes.empty()) sizes = {1000, 10000};
    OleInitialize(nullptr);
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_TREEVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    std::printf("Walking and switching the tree inside the component; times are for the whole operation.\n"
                "The tree control under Wine checks each handle it is given with a linear search of its\n"
                "items, so per-item costs grow with the tree; the 1,000-item figures show the component's\n"
                "own cost best.\n");
    for (int size : sizes) Run(size);
    const char* parts = std::getenv("RV_BENCH_PARTS");
    RunSelectionAndRemoval(parts ? std::atoi(parts) : 10000);
    OleUninitialize();
    return 0;
}
