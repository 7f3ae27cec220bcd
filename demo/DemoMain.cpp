// RVDemo: a host application of the RVWindow component.
//
//   RVDemo.exe [--headless] [--shots DIR]
//
// A main window with the component's tree on the left, a simple 3D view of the model on the
// right (one box per part, drawn from what the component tells the host through
// IVisibilityManager and the selection messages) and the host's log below. The host's context
// menu offers the tree's commands and posts the chosen one back. With --headless it runs a
// scripted session (build, switch a branch off, select by key, drag a part, rename, undo) and
// writes a PNG picture of the window after each step into DIR (default: demo-shots beside the
// program); otherwise it runs until the window is closed.
#include "RVWindow.h"
#include "demo/DemoHost.h"
#include "demo/Scene3D.h"
#include "demo/Screenshot.h"
#include "model/ItemRecord.h"

#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

namespace {

// The demo's one component, host and windows, for the window procedures.
IRVWnd2* g_pTree = nullptr;
CDemoHost* g_pHost = nullptr;
std::vector<ScenePart> g_parts;
HWND g_hView = nullptr;
HWND g_hLog = nullptr;

// Tree on the left, the 3D view on the right, the log across the bottom.
void Layout(int width, int height)
{
    const int logHeight = height / 4, treeWidth = width * 2 / 5;
    if (g_pTree) g_pTree->MoveWindow(0, 0, treeWidth, height - logHeight);
    if (g_hView) MoveWindow(g_hView, treeWidth, 0, width - treeWidth, height - logHeight, TRUE);
    if (g_hLog) MoveWindow(g_hLog, 0, height - logHeight, width, logHeight, TRUE);
}

LRESULT CALLBACK MainWndProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_SIZE:
        Layout(LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(hWnd, msg, wParam, lParam);
    }
}

LRESULT CALLBACK ViewWndProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hWnd, &ps);
        RECT area{};
        GetClientRect(hWnd, &area);
        if (g_pHost) DrawScene(dc, area, *g_pHost, g_parts);
        EndPaint(hWnd, &ps);
        return 0;
    }
    if (msg == WM_ERASEBKGND) return 1;
    return DefWindowProcW(hWnd, msg, wParam, lParam);
}

std::wstring ExeDir()
{
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring dir(path);
    return dir.substr(0, dir.find_last_of(L'\\') + 1);
}

HRESULT RegisterComponent()
{
    HMODULE dll = LoadLibraryW((ExeDir() + L"RVWindow.dll").c_str());
    if (!dll) return HRESULT_FROM_WIN32(GetLastError());
    using Fn = HRESULT(WINAPI*)();
    auto registerServer = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(dll, "DllRegisterServer")));
    const HRESULT hr = registerServer ? registerServer() : E_FAIL;
    FreeLibrary(dll);
    return hr;
}

std::string TextOf(IRVWnd2* pTree, ULONG_PTR item)
{
    wchar_t buffer[128] = {};
    pTree->GetItemText(item, buffer, 128);
    char text[256] = {};
    WideCharToMultiByte(CP_ACP, 0, buffer, -1, text, sizeof text, nullptr, nullptr);
    return text;
}

std::string Marks(IRVWnd2* pTree, ULONG_PTR item)
{
    LONG assembly = 0, locked = 0, failed = 0;
    pTree->IsAssembly(item, &assembly);
    pTree->IsLocked(item, &locked);
    pTree->GetFailState(item, &failed);
    ULONG_PTR data = 0;
    pTree->GetItemData(item, &data);
    const ULONG key = data ? reinterpret_cast<const ItemRecord*>(data)->key : 0;
    std::string marks;
    if (assembly) marks += " [assembly]";
    if (locked) marks += " [locked]";
    if (failed) marks += " [failed]";
    if (key) marks += " key " + std::to_string(key);
    return marks;
}

// Prints the tree as the component reports it, walking with its navigation methods.
void PrintTree(IRVWnd2* pTree)
{
    ULONG_PTR item = 0;
    pTree->GetRootItem(&item);
    int depth = 0;
    while (item) {
        std::printf("  %*s%s%s\n", depth * 2, "", TextOf(pTree, item).c_str(), Marks(pTree, item).c_str());
        ULONG_PTR next = 0;
        pTree->GetChildItem(item, &next);
        if (next) {
            ++depth;
            item = next;
            continue;
        }
        for (;;) {
            pTree->GetNextSiblingItem(item, &next);
            if (next || depth == 0) break;
            ULONG_PTR parent = 0;
            pTree->GetNextItem(item, TVGN_PARENT, &parent);
            item = parent;
            --depth;
        }
        item = next;
    }
}

// The sample product structure: a two-stage gearbox with subassemblies, a bearing used in
// several places (one model key shown by several items), a locked subassembly and an
// isolated test fixture.
struct SampleItem
{
    int depth;
    const wchar_t* name;
    ULONG key;
};

const SampleItem kGearbox[] = {
    {1, L"Housing", 1000},
    {2, L"Housing half, left", 1001},
    {2, L"Housing half, right", 1002},
    {2, L"Hex bolt M8x40", 1003},
    {1, L"Input shaft", 1100},
    {2, L"Shaft, input", 1101},
    {2, L"Pinion z=17", 1102},
    {2, L"Ball bearing 6204", 3001},
    {2, L"Ball bearing 6204", 3001},
    {1, L"Output shaft", 1200},
    {2, L"Shaft, output", 1201},
    {2, L"Gear z=42", 1202},
    {2, L"Ball bearing 6204", 3001},
    {2, L"Ball bearing 6206", 3002},
    {1, L"Oil seal 30x47", 1300},
};

const SampleItem kFixture[] = {
    {1, L"Base plate", 5001},
    {1, L"Clamp", 5002},
    {2, L"Clamp screw", 5003},
};

ItemRecord* NewRecord(ULONG key)
{
    auto* record = static_cast<ItemRecord*>(CoTaskMemAlloc(sizeof(ItemRecord)));
    ZeroMemory(record, sizeof *record);
    record->key = key;
    return record;
}

// Adds the items below a root, each below the last item of the depth above it.
std::vector<ULONG_PTR> AddBranch(IRVWnd2* pTree, ULONG_PTR root, const SampleItem* items, size_t count)
{
    std::vector<ULONG_PTR> added;
    ULONG_PTR parents[8] = {root};
    for (size_t i = 0; i < count; ++i) {
        ULONG_PTR item = 0;
        pTree->AddTreeItem(const_cast<wchar_t*>(items[i].name), 0, parents[items[i].depth - 1],
                           reinterpret_cast<ULONG*>(NewRecord(items[i].key)), &item);
        parents[items[i].depth] = item;
        added.push_back(item);
    }
    return added;
}

std::vector<ULONG_PTR> FillSample(IRVWnd2* pTree, IRVWnd3* pTree3)
{
    std::printf("Building the sample structure:\n");
    ULONG_PTR gearbox = 0, fixture = 0;
    pTree->suspendRedraw();
    pTree->AddAssembly(const_cast<wchar_t*>(L"Gearbox GB-200"), 0, 1, 100, &gearbox);
    const auto items = AddBranch(pTree, gearbox, kGearbox, std::size(kGearbox));
    pTree3->AddIsolatedAssembly(const_cast<wchar_t*>(L"Test fixture"), 0, 2, 200, &fixture);
    AddBranch(pTree, fixture, kFixture, std::size(kFixture));
    pTree->resumeRedraw();

    std::printf("Pictures and locks:\n");
    pTree->SetAllOnAllLoadedIcon(items[0]);      // Housing: all loaded, all shown
    pTree->SetPartLoadedVisibleIcon(items[4]);   // Input shaft: partly loaded
    pTree->SetUnloaded(items[14]);               // Oil seal: not loaded
    pTree->SetFailState(items[3], 1);            // Hex bolt: failed to load
    pTree->SetNewIcon(items[14], 1);             // Oil seal: new
    pTree->LockItem(items[9], 1);                // Output shaft: locked subassembly
    pTree->Expand(gearbox, TVE_EXPAND);
    pTree->Expand(items[0], TVE_EXPAND);
    pTree->Expand(items[4], TVE_EXPAND);
    pTree->Expand(fixture, TVE_EXPAND);

    pTree->SetHTIState(gearbox, 1, 1); // the whole gearbox shows in 3D
    return items;
}

// Where a user would point at an item's label, in the tree window's client coordinates.
POINT LabelPoint(HWND hTree, ULONG_PTR item)
{
    RECT rect{};
    std::memcpy(&rect, &item, sizeof item); // the message takes the item in the rectangle
    SendMessageA(hTree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&rect));
    return POINT{rect.left + 4, (rect.top + rect.bottom) / 2};
}

// What a user's hands would send: the cursor moved onto the point, then the buttons.
void RightClickAt(HWND hTree, POINT pt)
{
    POINT screen = pt;
    ClientToScreen(hTree, &screen);
    SetCursorPos(screen.x, screen.y);
    const LPARAM at = MAKELPARAM(pt.x, pt.y);
    SendMessageA(hTree, WM_RBUTTONDOWN, MK_RBUTTON, at);
    SendMessageA(hTree, WM_RBUTTONUP, 0, at); // the control turns the release into the menu request
}

void DragFromTo(HWND hTree, POINT from, POINT to)
{
    SendMessageA(hTree, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from.x, from.y));
    SendMessageA(hTree, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.x, to.y));
    SendMessageA(hTree, WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
}

void Pump()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

// The scripted session: each step as a user or host would do it, a picture after each.
class CScript
{
public:
    CScript(HWND hMain, HWND hTree, CDemoHost& host, IRVWnd2* pTree, std::wstring shots)
        : m_hMain(hMain), m_hTree(hTree), m_host(host), m_pTree(pTree), m_shots(std::move(shots))
    {
    }

    void Run(const std::vector<ULONG_PTR>& items)
    {
        Shot(L"01-built");
        Step("Switching the input shaft's branch off:");
        m_pTree->SetHTIState(items[4], 0, 1);
        Shot(L"02-branch-off");
        Step("Picking model node 3001 (ball bearing 6204) in the 3D view selects every item that shows it:");
        m_host.PickInView(3001);
        Shot(L"03-selected-by-key");
        Step("Dragging the pinion onto the housing:");
        DragFromTo(m_hTree, LabelPoint(m_hTree, items[6]), LabelPoint(m_hTree, items[0]));
        Shot(L"04-dragged");
        Step("Renaming the oil seal from the host's menu:");
        Command(108, items[14]);
        if (HWND edit = reinterpret_cast<HWND>(SendMessageA(m_hTree, TVM_GETEDITCONTROL, 0, 0))) {
            SetWindowTextA(edit, "Oil seal 32x47 (new)");
            SendMessageA(edit, WM_KEYUP, VK_RETURN, 0xC0000001);
        }
        Shot(L"05-renamed");
        Step("Undo from the host's menu:");
        Command(32797, items[14]);
        Shot(L"06-undone");
    }

private:
    void Step(const char* what) { m_host.Log("%s\n", what); }
    // A right-click on the item and the command chosen from the menu it opens.
    void Command(UINT id, ULONG_PTR item)
    {
        m_host.ChooseNext(id);
        RightClickAt(m_hTree, LabelPoint(m_hTree, item));
        Pump();
    }
    void Shot(const wchar_t* name)
    {
        Pump();
        const std::wstring path = m_shots + L"/" + name + L".png";
        const bool written = SaveWindowPng(m_hMain, m_hTree, g_hView, g_hLog,
                                           [this](HDC dc, const RECT& area) { DrawScene(dc, area, m_host, g_parts); },
                                           path.c_str());
        std::printf("Picture of the window %s %ls\n", written ? "written to" : "could not be written to", path.c_str());
    }

    HWND m_hMain, m_hTree;
    CDemoHost& m_host;
    IRVWnd2* m_pTree;
    std::wstring m_shots;
};

// The parts the 3D view shows: every leaf of the sample.
std::vector<ScenePart> SceneParts()
{
    std::vector<ScenePart> parts;
    const auto addLeaves = [&parts](const SampleItem* items, size_t count) {
        for (size_t i = 0; i < count; ++i)
            if (i + 1 == count || items[i + 1].depth <= items[i].depth) parts.push_back({items[i].key, items[i].name});
    };
    addLeaves(kGearbox, std::size(kGearbox));
    addLeaves(kFixture, std::size(kFixture));
    return parts;
}

int Run(bool headless, std::wstring shots)
{
    std::printf("Registering the component: 0x%08lX\n", static_cast<unsigned long>(RegisterComponent()));
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSW wc{};
    wc.lpfnWndProc = MainWndProc;
    wc.hInstance = instance;
    wc.lpszClassName = L"RVDemoHost";
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    RegisterClassW(&wc);
    WNDCLASSW view = wc;
    view.lpfnWndProc = ViewWndProc;
    view.lpszClassName = L"RVDemo3DView";
    view.hbrBackground = nullptr;
    RegisterClassW(&view);
    // 900 x 620 at 96 DPI, as large on a screen of any DPI.
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    HWND hMain = CreateWindowExW(0, wc.lpszClassName, L"RVWindow demo host", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                                 CW_USEDEFAULT, CW_USEDEFAULT, MulDiv(900, dpi, 96), MulDiv(620, dpi, 96), nullptr,
                                 nullptr, instance, nullptr);
    g_parts = SceneParts();
    g_hView = CreateWindowExW(0, view.lpszClassName, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, hMain, nullptr, instance,
                              nullptr);
    g_hLog = CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOINTEGRALHEIGHT,
                             0, 0, 0, 0, hMain, nullptr, instance, nullptr);
    SendMessageW(g_hLog, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);

    CDemoHost host;
    g_pHost = &host;
    host.SetLogWindow(g_hLog);
    host.SetViewWindow(g_hView);
    IRVWnd2* pTree = nullptr;
    HRESULT hr = CoCreateInstance(CLSID_RVWnd, nullptr, CLSCTX_INPROC_SERVER, IID_IRVWnd2,
                                  reinterpret_cast<void**>(&pTree));
    std::printf("CoCreateInstance(RVWnd): 0x%08lX\n", static_cast<unsigned long>(hr));
    if (FAILED(hr)) return 1;
    g_pTree = pTree;
    hr = pTree->Init(reinterpret_cast<ULONG_PTR>(hMain), &host, &host, nullptr);
    std::printf("Init: 0x%08lX\n", static_cast<unsigned long>(hr));
    pTree->InitTree(&host);
    IMessage* handler = &host;
    pTree->SetMessageHandler(&handler);
    pTree->ShowWindow(SW_SHOW);
    RECT client{};
    GetClientRect(hMain, &client);
    Layout(client.right, client.bottom);
    // Headless, the window is shown all the same (nothing reaches a screen): the pictures are
    // of what a user would see.
    ShowWindow(hMain, SW_SHOW);
    UpdateWindow(hMain);

    host.SetTree(pTree);
    IRVWnd3* pTree3 = nullptr;
    pTree->QueryInterface(IID_IRVWnd3, reinterpret_cast<void**>(&pTree3));
    const std::vector<ULONG_PTR> items = FillSample(pTree, pTree3);
    pTree3->Release();
    const HWND hTree = FindWindowExA(hMain, nullptr, WC_TREEVIEWA, nullptr);

    MSG msg;
    if (headless) {
        CreateDirectoryW(shots.c_str(), nullptr);
        CScript(hMain, hTree, host, pTree, shots).Run(items);
        std::printf("The tree as the component reports it:\n");
        PrintTree(pTree);
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    } else {
        host.SetMenuOwner(hMain);
        while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }

    g_pTree = nullptr;
    host.SetTree(nullptr);
    host.SetLogWindow(nullptr);
    host.SetViewWindow(nullptr);
    pTree->Release();
    if (IsWindow(hMain)) DestroyWindow(hMain);
    g_pHost = nullptr;
    std::printf("Component released; host references still held by it: %ld\n", host.References());
    return host.References() == 0 ? 0 : 2;
}

} // namespace

int main(int argc, char** argv)
{
    bool headless = false;
    std::wstring shots = ExeDir() + L"demo-shots";
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--headless") == 0) headless = true;
        if (std::strcmp(argv[i], "--shots") == 0 && i + 1 < argc) {
            const std::string dir = argv[++i];
            shots.assign(dir.begin(), dir.end());
        }
    }
    setvbuf(stdout, nullptr, _IONBF, 0);
    // The host draws for the screen's DPI itself, and is told it.
    SetProcessDPIAware();
    OleInitialize(nullptr);
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_TREEVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    const int result = Run(headless, shots);
    CoFreeUnusedLibraries();
    OleUninitialize();
    return result;
}
