// Creation, aggregation, interface map, lifetime and set-up of the RVWnd object.
#include "host/Component.h"
#include "RVHostKit/Input.h"

#include <gtest/gtest.h>

namespace {

const CLSID kUnknownClsid = {0x1234abcd, 0x1111, 0x2222, {1, 2, 3, 4, 5, 6, 7, 8}};

// An outer object that aggregates an RVWnd: it answers IUnknown itself and delegates
// everything else to the inner object's non-delegating IUnknown.
class COuter final : public IUnknown
{
public:
    STDMETHOD(QueryInterface)(REFIID iid, void** ppv) override
    {
        ++queries;
        if (IsEqualIID(iid, IID_IUnknown)) {
            *ppv = static_cast<IUnknown*>(this);
            AddRef();
            return S_OK;
        }
        return inner ? inner->QueryInterface(iid, ppv) : (*ppv = nullptr, E_NOINTERFACE);
    }
    STDMETHOD_(ULONG, AddRef)() override { return static_cast<ULONG>(++refs); }
    STDMETHOD_(ULONG, Release)() override { return static_cast<ULONG>(--refs); }

    IUnknown* inner = nullptr;
    long refs = 1;
    int queries = 0;
};

} // namespace

TEST(RVWndObject, InterfaceMapSharesTheFirstTableBetweenIRVWndIRVWnd2AndIUnknown)
{
    CComPtr<IUnknown> unknown;
    ASSERT_HRESULT_SUCCEEDED(CComponentDll::Get().Create(nullptr, IID_IUnknown, reinterpret_cast<void**>(&unknown)));
    void *p1 = nullptr, *p2 = nullptr, *p3 = nullptr, *pNone = reinterpret_cast<void*>(1);
    ASSERT_HRESULT_SUCCEEDED(unknown->QueryInterface(IID_IRVWnd, &p1));
    ASSERT_HRESULT_SUCCEEDED(unknown->QueryInterface(IID_IRVWnd2, &p2));
    ASSERT_HRESULT_SUCCEEDED(unknown->QueryInterface(IID_IRVWnd3, &p3));
    EXPECT_EQ(p1, p2);
    EXPECT_EQ(p1, static_cast<void*>(unknown.get()));
    EXPECT_NE(p1, p3);
    EXPECT_EQ(unknown->QueryInterface(IID_IDispatch, &pNone), E_NOINTERFACE);
    EXPECT_EQ(pNone, nullptr);
    static_cast<IUnknown*>(p1)->Release();
    static_cast<IUnknown*>(p2)->Release();
    static_cast<IUnknown*>(p3)->Release();

    // IRVWnd3 leads back to the same object.
    CComPtr<IUnknown> back;
    static_cast<IRVWnd3*>(p3)->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&back));
    EXPECT_EQ(back.get(), unknown.get());
}

TEST(RVWndObject, ClassObjectRefusesAggregationForAnyInterfaceButIUnknown)
{
    CComPtr<IClassFactory> factory;
    ASSERT_HRESULT_SUCCEEDED(CComponentDll::Get().GetClassObject(CLSID_RVWnd, IID_IClassFactory,
                                                                 reinterpret_cast<void**>(&factory)));
    COuter outer;
    void* p = reinterpret_cast<void*>(1);
    EXPECT_EQ(factory->CreateInstance(&outer, IID_IRVWnd, &p), CLASS_E_NOAGGREGATION);
    EXPECT_EQ(p, nullptr) << "the out pointer is cleared first";
    EXPECT_EQ(factory->CreateInstance(nullptr, IID_IRVWnd, nullptr), E_POINTER);
    EXPECT_EQ(factory->CreateInstance(nullptr, IID_IDispatch, &p), E_NOINTERFACE);
    EXPECT_EQ(p, nullptr);
    CComPtr<IUnknown> asUnknown;
    EXPECT_HRESULT_SUCCEEDED(factory->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&asUnknown)));
    EXPECT_EQ(factory->QueryInterface(IID_IRVWnd, &p), E_NOINTERFACE);
}

TEST(RVWndObject, AggregatedObjectDelegatesToItsOuterObject)
{
    COuter outer;
    ASSERT_HRESULT_SUCCEEDED(CComponentDll::Get().Create(&outer, IID_IUnknown, reinterpret_cast<void**>(&outer.inner)));
    ASSERT_NE(outer.inner, nullptr);
    EXPECT_EQ(CComponentDll::Get().CanUnloadNow(), S_FALSE);

    IRVWnd* rv = nullptr;
    ASSERT_HRESULT_SUCCEEDED(outer.QueryInterface(IID_IRVWnd, reinterpret_cast<void**>(&rv)));
    EXPECT_EQ(outer.refs, 2) << "the interface's reference is the outer object's";

    // The inner interfaces answer QueryInterface through the outer object.
    const int before = outer.queries;
    IUnknown* identity = nullptr;
    rv->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity));
    EXPECT_EQ(identity, static_cast<IUnknown*>(&outer));
    EXPECT_GT(outer.queries, before);
    identity->Release();

    // The aggregated object works as a tree.
    CHostWindow window;
    EXPECT_HRESULT_SUCCEEDED(rv->Init(reinterpret_cast<ULONG_PTR>(window.get()), nullptr, nullptr, nullptr));
    EXPECT_NE(FindWindowExA(window.get(), nullptr, WC_TREEVIEWA, nullptr), nullptr);

    rv->Release();
    EXPECT_EQ(outer.refs, 1);
    EXPECT_EQ(outer.inner->Release(), 0u);
    outer.inner = nullptr;
    EXPECT_EQ(FindWindowExA(window.get(), nullptr, WC_TREEVIEWA, nullptr), nullptr) << "window destroyed";
    EXPECT_EQ(CComponentDll::Get().CanUnloadNow(), S_OK);
}

TEST(RVWndObject, ModuleStaysLoadedWhileObjectsLocksOrTheClassObjectAreHeld)
{
    EXPECT_EQ(CComponentDll::Get().CanUnloadNow(), S_OK);
    CComPtr<IClassFactory> factory;
    ASSERT_HRESULT_SUCCEEDED(CComponentDll::Get().GetClassObject(CLSID_RVWnd, IID_IClassFactory,
                                                                 reinterpret_cast<void**>(&factory)));
    EXPECT_EQ(CComponentDll::Get().CanUnloadNow(), S_FALSE) << "the class object is held from outside";
    CComPtr<IRVWnd> rv;
    ASSERT_HRESULT_SUCCEEDED(factory->CreateInstance(nullptr, IID_IRVWnd, reinterpret_cast<void**>(&rv)));
    factory.Release();
    EXPECT_EQ(CComponentDll::Get().CanUnloadNow(), S_FALSE) << "an object is alive";
    rv.Release();
    EXPECT_EQ(CComponentDll::Get().CanUnloadNow(), S_OK);

    ASSERT_HRESULT_SUCCEEDED(CComponentDll::Get().GetClassObject(CLSID_RVWnd, IID_IClassFactory,
                                                                 reinterpret_cast<void**>(&factory)));
    EXPECT_EQ(factory->LockServer(TRUE), S_OK);
    factory.Release();
    EXPECT_EQ(CComponentDll::Get().CanUnloadNow(), S_FALSE) << "locked";
    ASSERT_HRESULT_SUCCEEDED(CComponentDll::Get().GetClassObject(CLSID_RVWnd, IID_IClassFactory,
                                                                 reinterpret_cast<void**>(&factory)));
    EXPECT_EQ(factory->LockServer(FALSE), S_OK);
    factory.Release();
    EXPECT_EQ(CComponentDll::Get().CanUnloadNow(), S_OK);
}

TEST(RVWndObject, ClassIdentifiersAreMappedThroughTheMakersLibraryFirst)
{
    // The registration stand-in maps an alias to the component's class.
    HKEY map = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\ZKTComCreate\\Map", 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &map, nullptr), ERROR_SUCCESS);
    const char alias[] = "{0B0B0B0B-1111-2222-3333-444455556666}";
    const char target[] = "{972A6E7E-EE66-4B73-B93F-CCF97A8328DE}";
    RegSetValueA(map, alias, REG_SZ, target, sizeof target - 1);
    RegCloseKey(map);

    CLSID aliasId{};
    CLSIDFromString(L"{0B0B0B0B-1111-2222-3333-444455556666}", &aliasId);
    CComPtr<IClassFactory> factory;
    EXPECT_HRESULT_SUCCEEDED(CComponentDll::Get().GetClassObject(aliasId, IID_IClassFactory,
                                                                 reinterpret_cast<void**>(&factory)));
    EXPECT_TRUE(factory);
    factory.Release();
    void* p = reinterpret_cast<void*>(1);
    EXPECT_EQ(CComponentDll::Get().GetClassObject(kUnknownClsid, IID_IClassFactory, &p), CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(p, nullptr);
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\ZKTComCreate\\Map");
}

TEST(RVWndObject, InitCreatesAHiddenTreeChildWithItsStyles)
{
    CTestHost host;
    const HWND tree = host.Tree();
    ASSERT_NE(tree, nullptr);
    EXPECT_EQ(GetParent(tree), host.parent.get());
    EXPECT_FALSE(IsWindowVisible(tree));
    const LONG style = GetWindowLongA(tree, GWL_STYLE);
    EXPECT_EQ(style & (WS_CHILD | WS_VISIBLE), WS_CHILD);
    EXPECT_EQ(style & 0x2F, 0x2F) << "buttons, lines, lines at root, edit labels, show selection always";
    EXPECT_TRUE(GetWindowLongA(tree, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    EXPECT_EQ(GetDlgCtrlID(tree), 0);
    RECT rect{};
    GetWindowRect(tree, &rect);
    EXPECT_EQ(rect.right - rect.left, 0);
    EXPECT_EQ(rect.bottom - rect.top, 0);
}

TEST(RVWndObject, InitRefusesABadParentAndASecondCall)
{
    CTestHost host(true, false);
    EXPECT_EQ(host.rv->Init(0, host.vis, host.view, host.manage), E_INVALIDARG);
    EXPECT_EQ(host.rv->Init(0x12345678, host.vis, host.view, host.manage), E_INVALIDARG);
    EXPECT_EQ(host.vis->RefCount(), 1) << "nothing kept from a refused call";
    ASSERT_HRESULT_SUCCEEDED(host.Init());
    const HWND tree = host.Tree();
    CHostWindow other;
    EXPECT_EQ(host.rv->Init(reinterpret_cast<ULONG_PTR>(other.get()), host.vis, host.view, host.manage), E_UNEXPECTED);
    EXPECT_EQ(host.Tree(), tree);
    EXPECT_EQ(FindWindowExA(other.get(), nullptr, WC_TREEVIEWA, nullptr), nullptr);
    EXPECT_EQ(host.vis->RefCount(), 2) << "one reference, from the first call";
}

TEST(RVWndObject, HoldsOneReferenceToEachHostInterfaceAndGivesThemBack)
{
    CTestHost host;
    EXPECT_EQ(host.vis->RefCount(), 2);
    EXPECT_EQ(host.view->RefCount(), 2);
    EXPECT_EQ(host.sink->RefCount(), 2);
    EXPECT_EQ(host.message->RefCount(), 2);
    EXPECT_EQ(host.manage->RefCount(), 1) << "accepted and not kept";
    const HWND tree = host.Tree();
    host.ReleaseComponent();
    EXPECT_FALSE(IsWindow(tree));
    EXPECT_EQ(host.vis->RefCount(), 1);
    EXPECT_EQ(host.view->RefCount(), 1);
    EXPECT_EQ(host.sink->RefCount(), 1);
    EXPECT_EQ(host.message->RefCount(), 1);
}

TEST(RVWndObject, InitTreeAndSetMessageHandlerReplaceWhatTheyHeld)
{
    CTestHost host;
    CTestSink* second = new CTestSink(host.log);
    host.rv->InitTree(second);
    EXPECT_EQ(host.sink->RefCount(), 1) << "the previous sink is released";
    EXPECT_EQ(second->RefCount(), 2);

    IMessage* none = nullptr;
    EXPECT_EQ(host.rv->SetMessageHandler(&none), S_OK);
    EXPECT_EQ(none, nullptr) << "the pointed-to value is not changed";
    EXPECT_EQ(host.message->RefCount(), 1) << "a null handler releases the previous one";
    EXPECT_EQ(host.rv->SetMessageHandler(nullptr), E_POINTER);

    host.ReleaseComponent();
    EXPECT_EQ(second->RefCount(), 1);
    second->Release();
}

TEST(RVWndObject, BeforeInitMethodsActOnNoWindowAndAnswerZeros)
{
    CTestHost host(true, false);
    ULONG_PTR root = 77;
    EXPECT_EQ(host.rv->GetRootItem(&root), S_OK);
    EXPECT_EQ(root, 0u);
    EXPECT_EQ(host.rv->ShowWindow(SW_SHOW), S_OK);
    EXPECT_EQ(host.rv->MoveWindow(0, 0, 10, 10), S_OK);
    EXPECT_EQ(host.rv->PostMessage(WM_COMMAND, 101, 0), S_OK);
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_COMMAND, WM_COMMAND, PM_REMOVE))
        << "nothing is posted to the thread's queue";
    wchar_t text[8] = L"xxxxxxx";
    EXPECT_EQ(host.rv->GetItemText(0x1000, text, 8), S_OK);
    EXPECT_STREQ(text, L"");
    LONG flag = 5;
    EXPECT_EQ(host.rv->ItemHasChildren(0x1000, &flag), S_OK);
    EXPECT_EQ(flag, 0);
}

TEST(RVWndObject, ReleasingWithItemsFreesEveryRecordExactlyOnce)
{
    CFreeCounter frees;
    ItemRecord* records[4] = {NewRecord(1), NewRecord(2), NewRecord(3), NewRecord(4)};
    {
        CTestHost host;
        HTREEITEM root = host.InsertRaw(TVI_ROOT, "root", records[0]);
        HTREEITEM a = host.InsertRaw(root, "a", records[1]);
        host.InsertRaw(a, "a1", records[2]);
        host.InsertRaw(TVI_ROOT, "second root", records[3]);
        host.InsertRaw(TVI_ROOT, "no record");
        for (ItemRecord* r : records) EXPECT_EQ(frees.FreesOf(r), 0);
    }
    for (ItemRecord* r : records) EXPECT_EQ(frees.FreesOf(r), 1);
}

TEST(RVWndObject, HostClosingItsWindowFirstStillFreesRecordsAndTeardownIsSafe)
{
    CFreeCounter frees;
    ItemRecord* record = NewRecord(1);
    CTestHost host(false); // an 8-bit host window this time
    host.InsertRaw(TVI_ROOT, "root", record);
    host.parent.Destroy();
    EXPECT_EQ(frees.FreesOf(record), 1);
    ULONG_PTR root = 5;
    host.rv->GetRootItem(&root);
    EXPECT_EQ(root, 0u);
    host.ReleaseComponent();
    EXPECT_EQ(frees.FreesOf(record), 1);
}
