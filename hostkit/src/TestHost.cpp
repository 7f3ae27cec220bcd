#include "RVHostKit/TestHost.h"

#include <cwchar>
#include <map>

namespace RVHostKit
{

// ---- CComponentDll ----

CComponentDll& CComponentDll::Get()
{
    static CComponentDll dll;
    return dll;
}

CComponentDll::CComponentDll()
{
    // Beside the test program, never from anywhere else.
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring dir(path);
    dir.resize(dir.find_last_of(L'\\') + 1);
    m_hModule = LoadLibraryW((dir + L"RVWindow.dll").c_str());
    if (!m_hModule) return;
    m_getClassObject = reinterpret_cast<decltype(m_getClassObject)>(
        reinterpret_cast<void*>(GetProcAddress(m_hModule, "DllGetClassObject")));
    m_canUnloadNow = reinterpret_cast<decltype(m_canUnloadNow)>(
        reinterpret_cast<void*>(GetProcAddress(m_hModule, "DllCanUnloadNow")));
}

std::wstring CComponentDll::Path() const
{
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(m_hModule, path, MAX_PATH);
    return path;
}

HRESULT CComponentDll::GetClassObject(REFCLSID clsid, REFIID iid, void** ppv) const
{
    return m_getClassObject ? m_getClassObject(clsid, iid, ppv) : E_UNEXPECTED;
}

HRESULT CComponentDll::CanUnloadNow() const
{
    return m_canUnloadNow ? m_canUnloadNow() : E_UNEXPECTED;
}

HRESULT CComponentDll::Create(IUnknown* pOuter, REFIID iid, void** ppv) const
{
    CComPtr<IClassFactory> factory;
    HRESULT hr = GetClassObject(CLSID_RVWnd, IID_IClassFactory, reinterpret_cast<void**>(&factory));
    if (FAILED(hr)) return hr;
    return factory->CreateInstance(pOuter, iid, ppv);
}

ItemRecord* NewRecord(uint32_t key, uint32_t typeID, uint32_t dataID)
{
    auto* p = static_cast<ItemRecord*>(CoTaskMemAlloc(sizeof(ItemRecord)));
    ZeroMemory(p, sizeof(ItemRecord));
    p->key = key;
    p->typeID = typeID;
    p->dataID = dataID;
    return p;
}

// ---- CFreeCounter ----

class CFreeCounter::CSpy final : public IMallocSpy
{
public:
    STDMETHOD(QueryInterface)(REFIID iid, void** ppv) override
    {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IMallocSpy)) {
            *ppv = static_cast<IMallocSpy*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHOD_(ULONG, AddRef)() override { return ++m_cRef; }
    STDMETHOD_(ULONG, Release)() override
    {
        const ULONG c = --m_cRef;
        if (!c) delete this;
        return c;
    }
    STDMETHOD_(SIZE_T, PreAlloc)(SIZE_T cb) override { return cb; }
    STDMETHOD_(void*, PostAlloc)(void* p) override
    {
        frees.erase(p); // a new block at a reused address starts afresh
        return p;
    }
    STDMETHOD_(void*, PreFree)(void* p, BOOL) override
    {
        if (p) ++frees[p];
        return p;
    }
    STDMETHOD_(void, PostFree)(BOOL) override {}
    STDMETHOD_(SIZE_T, PreRealloc)(void* p, SIZE_T cb, void** ppNew, BOOL) override
    {
        *ppNew = p;
        return cb;
    }
    STDMETHOD_(void*, PostRealloc)(void* p, BOOL) override { return p; }
    STDMETHOD_(void*, PreGetSize)(void* p, BOOL) override { return p; }
    STDMETHOD_(SIZE_T, PostGetSize)(SIZE_T cb, BOOL) override { return cb; }
    STDMETHOD_(void*, PreDidAlloc)(void* p, BOOL) override { return p; }
    STDMETHOD_(int, PostDidAlloc)(void*, BOOL, int actual) override { return actual; }
    STDMETHOD_(void, PreHeapMinimize)() override {}
    STDMETHOD_(void, PostHeapMinimize)() override {}

    std::map<const void*, int> frees;

private:
    ULONG m_cRef = 1;
};

CFreeCounter::CFreeCounter() : m_pSpy(new CSpy)
{
    CoRegisterMallocSpy(m_pSpy);
}

CFreeCounter::~CFreeCounter()
{
    CoRevokeMallocSpy();
    m_pSpy->Release();
}

int CFreeCounter::FreesOf(const void* p) const
{
    const auto it = m_pSpy->frees.find(p);
    return it == m_pSpy->frees.end() ? 0 : it->second;
}

// ---- CTestHost ----

CTestHost::CTestHost(bool unicodeParent, bool init)
    : parent(unicodeParent)
{
    created = CComponentDll::Get().Create(nullptr, IID_IRVWnd2, reinterpret_cast<void**>(&rv));
    if (rv) rv.QueryInterface(&rv3);
    if (init && rv) Init();
}

CTestHost::CTestHost(REFCLSID clsid, bool unicodeParent, bool init)
    : parent(unicodeParent)
{
    created = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IRVWnd2, reinterpret_cast<void**>(&rv));
    if (rv) rv.QueryInterface(&rv3);
    if (init && rv) Init();
}

HRESULT CTestHost::Init()
{
    initialized = rv ? rv->Init(reinterpret_cast<ULONG_PTR>(parent.get()), vis, view, manage) : E_UNEXPECTED;
    if (FAILED(initialized)) return initialized;
    rv->InitTree(sink);
    IMessage* handler = message;
    initialized = rv->SetMessageHandler(&handler);
    return initialized;
}

CTestHost::~CTestHost()
{
    ReleaseComponent();
    message->Release();
    sink->Release();
    vis->Release();
    view->Release();
    manage->Release();
}

void CTestHost::ReleaseComponent()
{
    rv3.Release();
    rv.Release();
}

HWND CTestHost::Tree() const
{
    return FindWindowExA(parent.get(), nullptr, WC_TREEVIEWA, nullptr);
}

HTREEITEM CTestHost::InsertRaw(HTREEITEM hParent, const char* text, ItemRecord* pRecord, HTREEITEM hAfter)
{
    TVINSERTSTRUCTA insert{};
    insert.hParent = hParent;
    insert.hInsertAfter = hAfter;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM;
    insert.item.pszText = const_cast<char*>(text);
    insert.item.lParam = reinterpret_cast<LPARAM>(pRecord);
    auto hItem = reinterpret_cast<HTREEITEM>(SendMessageA(Tree(), TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
    if (hItem) log.Name(hItem, text);
    return hItem;
}

std::string CTestHost::TextOf(HTREEITEM hItem) const
{
    char buffer[512] = {};
    TVITEMA item{};
    item.mask = TVIF_HANDLE | TVIF_TEXT;
    item.hItem = hItem;
    item.pszText = buffer;
    item.cchTextMax = sizeof buffer;
    SendMessageA(Tree(), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return buffer;
}

std::wstring CTestHost::WideTextOf(HTREEITEM hItem) const
{
    // The control cuts the label to the buffer: grow it until the label fits.
    for (std::wstring buffer(256, L'\0');; buffer.assign(buffer.size() * 2, L'\0')) {
        TVITEMW item{};
        item.mask = TVIF_HANDLE | TVIF_TEXT;
        item.hItem = hItem;
        item.pszText = &buffer[0];
        item.cchTextMax = static_cast<int>(buffer.size());
        if (!SendMessageW(Tree(), TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))) return {};
        const size_t length = wcsnlen(item.pszText, buffer.size());
        if (length + 1 < buffer.size() || buffer.size() >= (1u << 20)) return std::wstring(item.pszText, length);
    }
}

namespace {
// The name in the system code page, whatever its length.
std::string Narrow(const wchar_t* name)
{
    if (!name) return "<null>";
    const int size = WideCharToMultiByte(CP_ACP, 0, name, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1) return {};
    std::string text(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, name, -1, &text[0], size, nullptr, nullptr);
    text.resize(static_cast<size_t>(size) - 1); // without the terminator
    return text;
}
} // namespace

HTREEITEM CTestHost::AddAssembly(const wchar_t* name, ULONG typeID, ULONG dataID)
{
    ULONG_PTR item = 0;
    rv->AddAssembly(const_cast<wchar_t*>(name), 0, typeID, dataID, &item);
    if (item) log.Name(item, Narrow(name));
    return T(item);
}

HTREEITEM CTestHost::AddIsolatedAssembly(const wchar_t* name, ULONG typeID, ULONG dataID)
{
    ULONG_PTR item = 0;
    rv3->AddIsolatedAssembly(const_cast<wchar_t*>(name), 0, typeID, dataID, &item);
    if (item) log.Name(item, Narrow(name));
    return T(item);
}

HTREEITEM CTestHost::AddItem(HTREEITEM hParent, const wchar_t* name, ItemRecord* pRecord)
{
    ULONG_PTR item = 0;
    rv->AddTreeItem(const_cast<wchar_t*>(name), 0, H(hParent), reinterpret_cast<ULONG*>(pRecord), &item);
    if (item) log.Name(item, Narrow(name));
    return T(item);
}

void CTestHost::ShowTree(int width, int height)
{
    ShowWindow(parent.get(), SW_SHOW);
    rv->MoveWindow(0, 0, width, height);
    rv->ShowWindow(SW_SHOW);
    UpdateWindow(parent.get());
}

} // namespace RVHostKit
