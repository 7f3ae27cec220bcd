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
#include "platform/MessageCounter.h"

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

// Counts what the component sends its control, for every measurement of a run.
static CMessageCounter g_counter;

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
    tree.SetSentMessageHook(&g_counter);
    const unsigned long before = g_counter.Sent();
    const double start = Now();
    work();
    return {Now() - start, g_counter.Sent() - before};
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
        const HTREEITEM root = tree.Builder().AddAssembly(L"Assembly", 1, 1, false);
        roots.push_back(root);
        for (int s = 0; s < shape.subassemblies; ++s) {
            const HTREEITEM sub = tree.Builder().AddTreeItem(L"Subassembly", root, nullptr);
            for (int p = 0; p < shape.parts; ++p) {
                auto* record = new ItemRecord();
                record->key = 1 + (next++ * 7919u) % pool;
                tree.Builder().AddTreeItem(L"Part", sub, record);
            }
        }
    }
    tree.Redraw().Resume();
    const double items = static_cast<double>(tree.GetCount());
    const double branch = static_cast<double>(1 + shape.subassemblies * (1 + shape.parts));
    std::printf("\n%.0f items (%d assemblies of %.0f):\n", items, shape.roots, branch);

    auto counters = tree.Items().Lookup().GetCounters();
    Row("switch an assembly branch on", Time(tree, [&] { tree.States().SetHTIState(roots[0], 1, true); }), branch);
    Row("switch it off again", Time(tree, [&] { tree.States().SetHTIState(roots[0], 0, true); }), branch);
    PrintLookups("look-ups of the two switches", counters, tree.Items().Lookup().GetCounters());

    counters = tree.Items().Lookup().GetCounters();
    long visited = 0;
    Row("GetNextTravItem walk", Time(tree, [&] {
            for (HTREEITEM item = tree.GetRootItem(); item; item = tree.Navigator().GetNextTravItem(item)) ++visited;
        }), items);
    PrintLookups("look-ups of the walk", counters, tree.Items().Lookup().GetCounters());
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

// ---- Bulk operations, one table: each beside the bare control doing the work the operation
// requires of it (the marks, expansions and deletions the host can see), in the same run.

const char* MessageName(UINT msg)
{
    switch (msg) {
    case TVM_INSERTITEMA:
    case TVM_INSERTITEMW:
        return "INSERTITEM";
    case TVM_DELETEITEM: return "DELETEITEM";
    case TVM_EXPAND: return "EXPAND";
    case TVM_GETNEXTITEM: return "GETNEXTITEM";
    case TVM_GETITEMA:
    case TVM_GETITEMW:
        return "GETITEM";
    case TVM_SETITEMA:
    case TVM_SETITEMW:
        return "SETITEM";
    case TVM_GETITEMSTATE: return "GETITEMSTATE";
    case TVM_GETCOUNT: return "GETCOUNT";
    case TVM_ENSUREVISIBLE: return "ENSUREVISIBLE";
    case TVM_SELECTITEM: return "SELECTITEM";
    case TVM_HITTEST: return "HITTEST";
    case TVM_GETITEMRECT: return "GETITEMRECT";
    case 0:
        return "window messages (SETREDRAW, VSCROLL)";
    default: return "other";
    }
}

struct Cost
{
    double seconds = 0;
    unsigned long messages = 0;
    std::map<UINT, unsigned long> byType;
};

template <class F>
Cost Measured(CRVTreeCtrl& tree, F&& work)
{
    tree.SetSentMessageHook(&g_counter);
    const std::map<UINT, unsigned long> before = g_counter.ByType();
    const unsigned long sent = g_counter.Sent();
    const double start = Now();
    work();
    Cost cost{Now() - start, g_counter.Sent() - sent, {}};
    for (const auto& entry : g_counter.ByType()) {
        const auto it = before.find(entry.first);
        const unsigned long n = entry.second - (it == before.end() ? 0 : it->second);
        if (n) cost.byType[entry.first] = n;
    }
    return cost;
}

template <class F>
double Seconds(F&& work)
{
    const double start = Now();
    work();
    return Now() - start;
}

void TableRow(const char* what, const Cost& cost, double bareSeconds, int items)
{
    std::string types;
    for (const auto& entry : cost.byType) {
        char part[48];
        std::snprintf(part, sizeof part, "%s%s %.2f", types.empty() ? "" : ", ", MessageName(entry.first),
                      static_cast<double>(entry.second) / items);
        types += part;
    }
    std::printf("  %-30s %9.2f %9.2f %9.2f %7.1fx  %s\n", what, cost.seconds * 1e6 / items,
                static_cast<double>(cost.messages) / items, bareSeconds * 1e6 / items,
                bareSeconds > 0 ? cost.seconds / bareSeconds : 0.0, types.c_str());
}

// The table's main rows for every size, for one summary with a column per size.
struct SummaryCell
{
    double us = 0, bareUs = 0;
};
using Summary = std::map<std::string, std::map<int, SummaryCell>>;
const char* const kSummaryRows[] = {"build", "switch the branch on", "select every part by key", "expand the whole tree",
                                    "remove the subassembly", "paint 100 rows (per paint)"};

void Note(Summary& summary, const char* what, int size, const Cost& cost, double bareSeconds, int items)
{
    summary[what][size] = SummaryCell{cost.seconds * 1e6 / items, bareSeconds * 1e6 / items};
}

void PrintSummary(const Summary& summary, const std::vector<int>& sizes)
{
    std::printf("\nSummary: us per part, the bare control's in brackets, and the ratio (paint: us per paint).\n");
    std::printf("  %-28s", "operation");
    for (int size : sizes) std::printf(" %28d", size);
    std::printf("\n");
    for (const char* row : kSummaryRows) {
        const auto it = summary.find(row);
        if (it == summary.end()) continue;
        std::printf("  %-28s", row);
        for (int size : sizes) {
            const auto cell = it->second.find(size);
            if (cell == it->second.end()) {
                std::printf(" %28s", "-");
                continue;
            }
            char text[64];
            std::snprintf(text, sizeof text, "%.2f (%.2f) %.1fx", cell->second.us, cell->second.bareUs,
                          cell->second.bareUs > 0 ? cell->second.us / cell->second.bareUs : 0.0);
            std::printf(" %28s", text);
        }
        std::printf("\n");
    }
}

// The bare control with the same shape: an assembly, a subassembly and its parts.
struct BareTree
{
    HWND host = CreateHostWindow();
    HWND tree = CreateWindowExA(0, WC_TREEVIEWA, "", WS_CHILD, 0, 0, 0, 0, host, nullptr, nullptr, nullptr);
    HTREEITEM root = nullptr, big = nullptr;
    std::vector<HTREEITEM> parts;

    ~BareTree() { DestroyWindow(host); }
    HTREEITEM Insert(HTREEITEM parent)
    {
        TVINSERTSTRUCTA insert{};
        insert.hParent = parent;
        insert.hInsertAfter = TVI_LAST;
        insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM | TVIF_STATE;
        insert.item.pszText = const_cast<char*>("Part");
        insert.item.state = INDEXTOSTATEIMAGEMASK(1);
        insert.item.stateMask = TVIS_STATEIMAGEMASK;
        return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
    }
    void Build(int n)
    {
        SendMessageA(tree, WM_SETREDRAW, FALSE, 0);
        root = Insert(TVI_ROOT);
        big = Insert(root);
        for (int p = 0; p < n; ++p) parts.push_back(Insert(big));
        SendMessageA(tree, WM_SETREDRAW, TRUE, 0);
    }
    void SetState(HTREEITEM item, UINT state, UINT mask)
    {
        TVITEMA tvi{};
        tvi.mask = TVIF_HANDLE | TVIF_STATE;
        tvi.hItem = item;
        tvi.state = state;
        tvi.stateMask = mask;
        SendMessageA(tree, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&tvi));
    }
    void MarkAll(UINT state, UINT mask)
    {
        for (HTREEITEM part : parts) SetState(part, state, mask);
    }
    void Expand(UINT action)
    {
        SendMessageA(tree, TVM_EXPAND, action, reinterpret_cast<LPARAM>(root));
        SendMessageA(tree, TVM_EXPAND, action, reinterpret_cast<LPARAM>(big));
    }
};

// Selecting by key as the component once did it, for comparison: redraw suspended and resumed
// and the ancestors expanded again for every item.
void SelectItemsOldPath(CRVTreeCtrl& tree, uint32_t key)
{
    const std::vector<HTREEITEM> items = tree.Items().KeyIndex().ItemsOf(key);
    for (HTREEITEM item : items) {
        tree.Selection().SelectItem(item, false, false, false);
        for (HTREEITEM a = tree.Items().GetParent(item); a; a = tree.Items().GetParent(a)) {
            tree.Redraw().Suspend();
            tree.Expand(a, TVE_EXPAND);
            tree.Redraw().Resume();
        }
    }
}

// A drag over the expanded tree: every mouse move hit-tests, reads the row and moves the drop
// highlight; every auto-scroll tick scrolls a line. Neither may depend on the tree's size.
void MeasureDrag(IRVWnd2* rv, CRVTreeCtrl& tree, HTREEITEM big, BareTree& bare)
{
    constexpr int kMoves = 200;
    rv->MoveWindow(0, 0, 300, 600);
    rv->ShowWindow(SW_SHOW);
    SetWindowPos(bare.tree, nullptr, 0, 0, 300, 600, SWP_NOZORDER | SWP_SHOWWINDOW);
    const HWND hWnd = tree.GetHwnd();
    const HTREEITEM first = tree.GetChildItem(big);
    RECT row{};
    tree.GetItemRect(first, row, true);
    const int height = row.bottom - row.top;
    const POINT start{row.left + 2, (row.top + row.bottom) / 2};
    tree.Drag().BeginDrag(first, start);
    const auto pointAt = [&](int i) { return POINT{start.x, start.y + (1 + i % 20) * height}; };
    const Cost moves = Measured(tree, [&] {
        for (int i = 0; i < kMoves; ++i) {
            const POINT pt = pointAt(i);
            SendMessageA(hWnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
        }
    });
    const double bareMoves = Seconds([&] {
        for (int i = 0; i < kMoves; ++i) {
            TVHITTESTINFO hit{};
            hit.pt = pointAt(i);
            const LPARAM item = SendMessageA(bare.tree, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
            SendMessageA(bare.tree, TVM_SELECTITEM, TVGN_DROPHILITE, item);
        }
    });
    TableRow("drag: one mouse move", moves, bareMoves, kMoves);
    // The cursor 2 pixels above the bottom edge: every tick scrolls a line.
    POINT edge{start.x, 598};
    ClientToScreen(hWnd, &edge);
    SetCursorPos(edge.x, edge.y);
    const Cost ticks = Measured(tree, [&] {
        for (int i = 0; i < kMoves; ++i) SendMessageA(hWnd, WM_TIMER, 1, 0);
    });
    const double bareTicks = Seconds([&] {
        for (int i = 0; i < kMoves; ++i) SendMessageA(bare.tree, WM_VSCROLL, SB_LINEDOWN, 0);
    });
    TableRow("drag: one auto-scroll tick", ticks, bareTicks, kMoves);
    tree.Drag().Cancel();
}

// A paint of the shown rows into a memory picture, as WM_PRINTCLIENT asks for one (the same
// code as a screen paint): its cost may depend only on the rows the window shows.
void MeasurePaint(CRVTreeCtrl& tree, BareTree& bare, Summary& summary, int parts)
{
    constexpr int kPaints = 20, kRows = 100;
    // A window a hundred rows high, for both trees.
    const int height = kRows * static_cast<int>(SendMessageA(tree.GetHwnd(), TVM_GETITEMHEIGHT, 0, 0));
    SetWindowPos(tree.GetHwnd(), nullptr, 0, 0, 300, height, SWP_NOZORDER | SWP_NOMOVE);
    SetWindowPos(bare.tree, nullptr, 0, 0, 300, height, SWP_NOZORDER | SWP_NOMOVE);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 300, height);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(memory, bitmap);
    const auto paint = [&](HWND hWnd) {
        for (int i = 0; i < kPaints; ++i) SendMessageA(hWnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
    };
    const Cost cost = Measured(tree, [&] { paint(tree.GetHwnd()); });
    const double barePaint = Seconds([&] { paint(bare.tree); });
    TableRow("paint 100 rows (per paint)", cost, barePaint, kPaints);
    Note(summary, "paint 100 rows (per paint)", parts, cost, barePaint, kPaints);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
}

// Marking a shown item makes Wine's control lay out its shown rows again: with many parts
// shown that costs the bare control as much, so the largest trees leave those rows out.
constexpr int kLargestShownMarks = 50000;

void RunOperations(int parts, Summary& summary)
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
    BareTree bare;

    std::printf("\n%d parts below one subassembly (two keys shared by every other part):\n", parts);
    std::printf("  %-30s %9s %9s %9s %8s  %s\n", "operation", "us/item", "msgs/item", "bare us", "ratio",
                "messages per item, by type");
    HTREEITEM big = nullptr;
    const Cost build = Measured(tree, [&] {
        tree.Redraw().Suspend();
        const HTREEITEM root = tree.Builder().AddAssembly(L"Assembly", 1, 1, false);
        big = tree.Builder().AddTreeItem(L"Subassembly", root, nullptr);
        for (int p = 0; p < parts; ++p) {
            auto* record = new ItemRecord();
            record->key = 1 + static_cast<uint32_t>(p % 2);
            tree.Builder().AddTreeItem(L"Part", big, record);
        }
        tree.Redraw().Resume();
    });
    const double bareBuild = Seconds([&] { bare.Build(parts); });
    TableRow("build (AddTreeItem)", build, bareBuild, parts);
    Note(summary, "build", parts, build, bareBuild, parts);

    const Cost on = Measured(tree, [&] { tree.States().SetHTIState(big, 1, true); });
    const double bareOn = Seconds([&] { bare.MarkAll(INDEXTOSTATEIMAGEMASK(2), TVIS_STATEIMAGEMASK); });
    TableRow("switch the branch on", on, bareOn, parts);
    Note(summary, "switch the branch on", parts, on, bareOn, parts);

    // Collapsing the two items that have children (Collapse(0) would ask every part).
    const auto collapse = [&] {
        tree.Expand(big, TVE_COLLAPSE);
        tree.Expand(tree.GetParentItem(big), TVE_COLLAPSE);
    };
    // Both keys in one series, as a host selects the keys of a box selection.
    const double bareSelect = Seconds([&] {
        bare.MarkAll(TVIS_SELECTED, TVIS_SELECTED);
        bare.Expand(TVE_EXPAND);
    });
    const Cost select = Measured(tree, [&] {
        rv->suspendRedraw();
        tree.Selection().SelectItems(1, true, false);
        tree.Selection().SelectItems(2, true, false);
        rv->resumeRedraw();
    });
    TableRow("select every part by key", select, bareSelect, parts);
    Note(summary, "select every part by key", parts, select, bareSelect, parts);
    if (parts <= kLargestShownMarks) {
        const Cost clear = Measured(tree, [&] { tree.Selection().ClearSelection(); });
        TableRow("clear that selection", clear, Seconds([&] { bare.MarkAll(0, TVIS_SELECTED); }), parts);
        // The parts are shown now: every mark lays the control out again, the bare one's too.
        const Cost shown = Measured(tree, [&] {
            rv->suspendRedraw();
            tree.Selection().SelectItems(1, true, false);
            tree.Selection().SelectItems(2, true, false);
            rv->resumeRedraw();
        });
        TableRow("select them again, shown", shown, Seconds([&] { bare.MarkAll(TVIS_SELECTED, TVIS_SELECTED); }), parts);
    }
    collapse();
    tree.Selection().DeselectAll();
    if (std::getenv("RV_BENCH_OLD_SELECT")) {
        const Cost old = Measured(tree, [&] {
            SelectItemsOldPath(tree, 1);
            SelectItemsOldPath(tree, 2);
        });
        TableRow("  the same, as it once was", old, bareSelect, parts);
        tree.Selection().ClearSelection();
    }

    collapse();
    bare.Expand(TVE_COLLAPSE);
    const Cost expand = Measured(tree, [&] { tree.Navigator().ExpandToDepth(nullptr, -1); });
    const double bareExpand = Seconds([&] { bare.Expand(TVE_EXPAND); });
    TableRow("expand the whole tree", expand, bareExpand, parts);
    Note(summary, "expand the whole tree", parts, expand, bareExpand, parts);

    MeasureDrag(rv, tree, big, bare);
    MeasurePaint(tree, bare, summary, parts);

    // Copy and paste of the subassembly, beside the bare control reading and inserting as many
    // items; then its removal, and the Undo that puts it back.
    const HTREEITEM root = tree.GetParentItem(big);
    const Cost copy = Measured(tree, [&] {
        const SharedItemCopies copies = NewSharedItemCopies();
        tree.Copies().CollectBranch(*copies, big, nullptr);
        tree.Clipboard().Set(copies);
    });
    const double bareRead = Seconds([&] {
        char text[128];
        for (HTREEITEM part : bare.parts) {
            TVITEMA item{};
            item.mask = TVIF_HANDLE | TVIF_TEXT | TVIF_PARAM | TVIF_STATE;
            item.hItem = part;
            item.pszText = text;
            item.cchTextMax = sizeof text;
            SendMessageA(bare.tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        }
    });
    TableRow("copy the subassembly", copy, bareRead, parts);
    const Cost paste = Measured(tree, [&] {
        CRedrawScope noRedraw(tree.Redraw());
        tree.Copies().PasteAsChildren(root, *tree.Clipboard().Contents());
    });
    const double bareInsert = Seconds([&] {
        SendMessageA(bare.tree, WM_SETREDRAW, FALSE, 0);
        const HTREEITEM copyTop = bare.Insert(bare.root);
        for (int p = 0; p < parts; ++p) bare.Insert(copyTop);
        SendMessageA(bare.tree, WM_SETREDRAW, TRUE, 0);
    });
    TableRow("paste it", paste, bareInsert, parts);

    const Cost remove = Measured(tree, [&] { tree.Removal().RemoveTreeItem(big); });
    const double bareRemove = Seconds([&] {
        SendMessageA(bare.tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(bare.big));
    });
    TableRow("remove the subassembly", remove, bareRemove, parts);
    Note(summary, "remove the subassembly", parts, remove, bareRemove, parts);
    const Cost undo = Measured(tree, [&] { tree.Commands().Undo(); });
    TableRow("undo that removal", undo, bareInsert, parts);
    std::printf("  %ld host calls in all\n", handler.calls);
    rv->Release();
    DestroyWindow(host);
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
    // RV_BENCH_TABLE_ONLY=1 leaves the walks out and prints the bulk operations' table alone.
    if (!std::getenv("RV_BENCH_TABLE_ONLY"))
        for (int size : sizes) Run(size);
    std::printf("\nBulk operations; bare = the bare control doing the marks, expansions and deletions the\n"
                "operation requires, ratio = component time / bare time (RV_BENCH_OLD_SELECT=1 adds\n"
                "selecting as the component once did it).\n");
    Summary summary;
    for (int size : sizes) RunOperations(size, summary);
    PrintSummary(summary, sizes);
    OleUninitialize();
    return 0;
}
