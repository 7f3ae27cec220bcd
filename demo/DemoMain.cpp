// RVDemo: a small host of the RVWindow component.
//
//   RVDemo.exe [--headless]
//
// It registers the component beside it, creates it with CoCreateInstance, gives it a window
// and its host interfaces, places and shows it, and prints every host call it receives. With
// --headless it runs a short scripted session and exits; otherwise it pumps messages until the
// window is closed.
#include "RVWindow.h"
#include "demo/DemoHost.h"

#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <string>

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

// Prints the tree as the component reports it, walking with its navigation methods.
void PrintTree(IRVWnd2* pTree)
{
    ULONG_PTR item = 0;
    pTree->GetRootItem(&item);
    int depth = 0;
    while (item) {
        std::printf("  %*s%s\n", depth * 2, "", TextOf(pTree, item).c_str());
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

// Until the building methods are in place the demo fills the control with its own messages.
HTREEITEM InsertRaw(HWND hTree, HTREEITEM hParent, const char* text)
{
    TVINSERTSTRUCTA insert{};
    insert.hParent = hParent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT;
    insert.item.pszText = const_cast<char*>(text);
    return reinterpret_cast<HTREEITEM>(SendMessageA(hTree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
}

void FillSample(HWND hTree)
{
    HTREEITEM gearbox = InsertRaw(hTree, TVI_ROOT, "Gearbox");
    HTREEITEM housing = InsertRaw(hTree, gearbox, "Housing");
    InsertRaw(hTree, housing, "Housing half, left");
    InsertRaw(hTree, housing, "Housing half, right");
    HTREEITEM shaft = InsertRaw(hTree, gearbox, "Input shaft");
    InsertRaw(hTree, shaft, "Shaft");
    InsertRaw(hTree, shaft, "Ball bearing 6204");
    InsertRaw(hTree, shaft, "Ball bearing 6204");
}

int Run(bool headless)
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

    FillSample(FindWindowExA(hMain, nullptr, WC_TREEVIEWA, nullptr));
    ULONG_PTR root = 0;
    pTree->GetRootItem(&root);
    pTree->Expand(root, TVE_EXPAND);
    std::printf("The tree as the component reports it:\n");
    PrintTree(pTree);

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
    pTree->Release();
    if (IsWindow(hMain)) DestroyWindow(hMain);
    std::printf("Component released; host references still held by it: %ld\n", host.References());
    return host.References() == 0 ? 0 : 2;
}

} // namespace

int main(int argc, char** argv)
{
    bool headless = false;
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--headless") == 0) headless = true;
    setvbuf(stdout, nullptr, _IONBF, 0);
    OleInitialize(nullptr);
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_TREEVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    const int result = Run(headless);
    CoFreeUnusedLibraries();
    OleUninitialize();
    return result;
}
