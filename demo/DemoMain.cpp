// RVDemo: a small host of the RVWindow component.
//
//   RVDemo.exe [--headless] [--snapshot FILE.bmp]
//
// It registers the component beside it, creates it with CoCreateInstance, gives it a window
// and its host interfaces, places and shows it, and prints every host call it receives. With
// --headless it runs a short scripted session and exits; otherwise it pumps messages until the
// window is closed. --snapshot writes a picture of the tree window as the user would see it.
#include "RVWindow.h"
#include "demo/DemoHost.h"
#include "model/ItemRecord.h"

#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

namespace {

IRVWnd2* g_pTree = nullptr; // the demo's one component, for the window procedure

LRESULT CALLBACK MainWndProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_SIZE:
        if (g_pTree) g_pTree->MoveWindow(0, 0, LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(hWnd, msg, wParam, lParam);
    }
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

    std::printf("Switching the input shaft on, then off again (watch the 3D calls):\n");
    pTree->SetHTIState(items[4], 1, 1);
    pTree->SetHTIState(items[4], 0, 1);

    std::printf("Selecting every item that shows model node 3001 (ball bearing 6204):\n");
    pTree->SelectItems(3001, 1, 0);
    int selected = 0;
    pTree->GetNumSelected(&selected);
    std::printf("  %d items selected\n", selected);
    std::printf("Removing the output shaft subassembly:\n");
    pTree->RemoveTreeItem(items[9]);
    pTree->GetNumSelected(&selected);
    std::printf("  %d items still selected\n", selected);
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

// The scripted session's user: a drag of a part and a few commands from the host's menu.
void ActAsUser(HWND hTree, CDemoHost& host, const std::vector<ULONG_PTR>& items)
{
    std::printf("Dragging the pinion onto the housing:\n");
    DragFromTo(hTree, LabelPoint(hTree, items[6]), LabelPoint(hTree, items[0]));
    std::printf("Undoing the drag from the menu:\n");
    host.ChooseNext(32797);
    RightClickAt(hTree, LabelPoint(hTree, items[0]));
    Pump();
    std::printf("Copying the housing half and pasting it into the input shaft from the menu:\n");
    host.ChooseNext(109);
    RightClickAt(hTree, LabelPoint(hTree, items[1]));
    Pump();
    host.ChooseNext(103);
    RightClickAt(hTree, LabelPoint(hTree, items[4]));
    Pump();
}

// Paints the tree window into a 24-bit bitmap file (WM_PRINTCLIENT), so that a headless run
// can show what a user would see.
bool SaveSnapshot(HWND hTree, const char* path)
{
    RECT client{};
    GetClientRect(hTree, &client);
    const int width = client.right, height = client.bottom;
    if (width <= 0 || height <= 0) return false;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    SendMessageA(hTree, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT | PRF_ERASEBKGND);
    GdiFlush();
    const DWORD stride = ((width * 3 + 3) / 4) * 4, size = stride * static_cast<DWORD>(height);
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info.bmiHeader;
    file.bfSize = file.bfOffBits + size;
    bool saved = false;
    if (FILE* out = std::fopen(path, "wb")) {
        std::fwrite(&file, sizeof file, 1, out);
        std::fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, out);
        std::fwrite(bits, size, 1, out);
        std::fclose(out);
        saved = true;
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return saved;
}

int Run(bool headless, const char* snapshot)
{
    std::printf("Registering the component: 0x%08lX\n", static_cast<unsigned long>(RegisterComponent()));

    WNDCLASSW wc{};
    wc.lpfnWndProc = MainWndProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"RVDemoHost";
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    RegisterClassW(&wc);
    HWND hMain = CreateWindowExW(0, wc.lpszClassName, L"RVWindow demo host", WS_OVERLAPPEDWINDOW,
                                 CW_USEDEFAULT, CW_USEDEFAULT, 420, 560, nullptr, nullptr, wc.hInstance, nullptr);

    CDemoHost host;
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

    RECT client{};
    GetClientRect(hMain, &client);
    pTree->MoveWindow(0, 0, client.right, client.bottom);
    pTree->ShowWindow(SW_SHOW);
    ShowWindow(hMain, headless ? SW_HIDE : SW_SHOW);

    host.SetTree(pTree);
    IRVWnd3* pTree3 = nullptr;
    pTree->QueryInterface(IID_IRVWnd3, reinterpret_cast<void**>(&pTree3));
    const std::vector<ULONG_PTR> items = FillSample(pTree, pTree3);
    pTree3->Release();
    const HWND hTree = FindWindowExA(hMain, nullptr, WC_TREEVIEWA, nullptr);
    if (headless) ActAsUser(hTree, host, items);
    else host.SetMenuOwner(hMain);
    std::printf("The tree as the component reports it:\n");
    PrintTree(pTree);

    if (snapshot) {
        const bool saved = SaveSnapshot(hTree, snapshot);
        std::printf("Snapshot of the tree window %s %s\n", saved ? "written to" : "could not be written to", snapshot);
    }

    if (headless) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    } else {
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }

    g_pTree = nullptr;
    host.SetTree(nullptr);
    pTree->Release();
    if (IsWindow(hMain)) DestroyWindow(hMain);
    std::printf("Component released; host references still held by it: %ld\n", host.References());
    return host.References() == 0 ? 0 : 2;
}

} // namespace

int main(int argc, char** argv)
{
    bool headless = false;
    const char* snapshot = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--headless") == 0) headless = true;
        if (std::strcmp(argv[i], "--snapshot") == 0 && i + 1 < argc) snapshot = argv[++i];
    }
    setvbuf(stdout, nullptr, _IONBF, 0);
    OleInitialize(nullptr);
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_TREEVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    const int result = Run(headless, snapshot);
    CoFreeUnusedLibraries();
    OleUninitialize();
    return result;
}
