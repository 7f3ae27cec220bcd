// A minimal host of RVWindow, built against the installed package only: it registers the
// component beside it, creates the object by CLSID, builds a small tree, clicks and renames an
// item as a user would, and checks every call the component made into it. Exit code 0 when
// everything was as the host protocol says, 1 otherwise.
#include <RVWindow.h>
#include <RVHostKit/HostTestKit.h>

#include <commctrl.h>
#include <objbase.h>

#include <cstdio>
#include <string>
#include <vector>

using namespace RVHostKit;
using Log = std::vector<std::string>;

namespace {

int g_failures = 0;

void Check(bool ok, const char* what)
{
    if (!ok) ++g_failures;
    std::printf("%s: %s\n", ok ? "ok  " : "FAIL", what);
}

// An expected entry ending in '*' matches any entry that starts with the rest.
bool Matches(const std::string& expected, const std::string& entry)
{
    if (!expected.empty() && expected.back() == '*')
        return entry.compare(0, expected.size() - 1, expected, 0, expected.size() - 1) == 0;
    return entry == expected;
}

void CheckLog(const Log& actual, const Log& expected, const char* what)
{
    bool same = actual.size() == expected.size();
    for (size_t i = 0; same && i < actual.size(); ++i) same = Matches(expected[i], actual[i]);
    Check(same, what);
    if (same) return;
    std::printf("  expected:\n");
    for (const auto& e : expected) std::printf("    %s\n", e.c_str());
    std::printf("  got:\n");
    for (const auto& e : actual) std::printf("    %s\n", e.c_str());
}

std::wstring BesideProgram(const wchar_t* file)
{
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring dir(path);
    return dir.substr(0, dir.find_last_of(L'\\') + 1) + file;
}

// The component registered for the life of the scope, as an installer (or regsvr32) would.
class CRegistration
{
public:
    explicit CRegistration(const std::wstring& dll) : m_hModule(LoadLibraryW(dll.c_str()))
    {
        if (!m_hModule) return;
        const auto entry = reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(
            reinterpret_cast<void*>(GetProcAddress(m_hModule, "DllRegisterServer")));
        result = entry ? entry() : E_NOINTERFACE;
    }
    ~CRegistration()
    {
        if (!m_hModule) return;
        const auto entry = reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(
            reinterpret_cast<void*>(GetProcAddress(m_hModule, "DllUnregisterServer")));
        if (SUCCEEDED(result) && entry) entry();
        FreeLibrary(m_hModule);
    }
    CRegistration(const CRegistration&) = delete;
    CRegistration& operator=(const CRegistration&) = delete;

    HRESULT result = E_FAIL;

private:
    HMODULE m_hModule;
};

std::wstring RegisteredValue(const wchar_t* subkey, const wchar_t* name)
{
    wchar_t value[MAX_PATH] = {};
    DWORD size = sizeof value;
    if (RegGetValueW(HKEY_CLASSES_ROOT, subkey, name, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
        return L"";
    return value;
}

const wchar_t kServerKey[] = L"CLSID\\{972A6E7E-EE66-4B73-B93F-CCF97A8328DE}\\InprocServer32";

std::string Entry(const char* form, const char* code, const char* item)
{
    if (std::string(form) == "1")
        return Format("IMessage::SendWithDataID(dataID=9, wID=4, wMsg=%s, Size=4, data=%s)", code, item);
    return Format("IMessage::Send(wID=4, wMsg=%s, Size=4, data=%s)", code, item);
}

void Run()
{
    const std::wstring dll = BesideProgram(L"RVWindow.dll");
    CRegistration registration(dll);
    Check(registration.result == S_OK, "DllRegisterServer of the installed RVWindow.dll");
    Check(lstrcmpiW(RegisteredValue(kServerKey, nullptr).c_str(), dll.c_str()) == 0,
          "the class's server is the DLL beside the program");
    Check(RegisteredValue(kServerKey, L"ThreadingModel") == L"Apartment", "apartment-threaded");

    {
        CTestHost unknown(IID_IRVWnd); // an interface id is no class
        Check(unknown.created == REGDB_E_CLASSNOTREG && !unknown.rv && unknown.initialized == S_FALSE,
              "a class nobody registered: no object, and the kit says why");
    }

    CTestHost host(CLSID_RVWnd);
    Check(host.created == S_OK, "CoCreateInstance(CLSID_RVWnd) gives IRVWnd2");
    Check(host.initialized == S_OK, "Init, InitTree and SetMessageHandler");
    if (!host.rv) return;
    host.log.ShowMessageNames();
    host.log.Clear();

    const HTREEITEM gearbox = host.AddAssembly(L"Gearbox", 4, 9);
    const HTREEITEM housing = host.AddItem(gearbox, L"Housing", NewRecord(100, 4, 9));
    const HTREEITEM shaft = host.AddItem(gearbox, L"Shaft", NewRecord(200, 4, 9));
    Check(gearbox && housing && shaft, "AddAssembly and AddTreeItem give item handles");
    CheckLog(host.log.Take(), {Entry("1", "HM_ASSEMBLYADDED", "Gearbox"), Entry("1", "HM_ITEMADDED", "Housing"),
                               Entry("1", "HM_ITEMADDED", "Shaft")},
             "each item added is reported once, in order");

    host.rv->ExpandToDepth(0, -1);
    host.ShowTree();
    host.log.Clear();
    const HWND tree = host.Tree();
    Check(ChildrenOf(tree, gearbox) == (std::vector<HTREEITEM>{housing, shaft}), "the tree shows both parts");

    Click(tree, ItemPoint(tree, shaft, ItemPart::Label));
    // The press clears the (empty) selection, the release selects: each change bracketed and
    // under the sink's selection lock.
    CheckLog(host.log.Take(), {"Sink::SetSelectionLock(1)", "IMessage::Send(wID=0, wMsg=HM_BEGINSELCHANGE, Size=0, data=0)",
                               "IMessage::Send(wID=0, wMsg=HM_ENDSELCHANGE, Size=0, data=0)", "Sink::SetSelectionLock(0)",
                               "Sink::SetSelectionLock(1)", Entry("1", "HM_BEGINSELCHANGE", "Shaft"),
                               Entry("1", "HM_SELECTED", "Shaft"), Entry("1", "HM_ENDSELCHANGE", "Shaft"),
                               "Sink::SetSelectionLock(0)"},
             "a click on a label clears at the press and selects at the release");
    ULONG_PTR selected[4] = {};
    int count = 0;
    host.rv->CalcSelectedItems(4, &count);
    if (count == 1) host.rv->GetSelectedItems(selected, 1);
    Check(count == 1 && selected[0] == CTestHost::H(shaft), "the selection is the clicked part");

    ChooseMenuCommand(host.rv.get(), tree, ItemPoint(tree, shaft, ItemPart::Label), RVCMD_RENAME);
    CheckLog(host.log.Take(), {"Sink::SetMenuMask(*", Entry("1", "HM_RBUTTONDOWN", "Shaft"), "Sink::NotifySelectedTypeID(4)",
                               Entry("2", "HM_MENUQUERY", "Shaft"), "Sink::NotifyRButtonUp(*",
                               Entry("1", "HM_BEGINLABELEDIT", "Shaft")},
             "the right click asks for the host's menu; Rename asks the host before the edit");
    Check(TypeLabel(tree, "Bolt"), "the rename opened the label edit box");
    CheckLog(host.log.Take(), {Entry("1", "HM_LABELCHANGED", "Shaft")}, "the new label is reported");
    const ShownItem shown = Inspect(tree, shaft);
    Check(shown.text == "Bolt" && host.TextOf(shaft) == "Bolt", "the tree shows the new label");
    Check(shown.record && shown.record->key == 200, "the item keeps its record");

    host.ReleaseComponent();
    const Log deleted = host.log.Matching("IMessage::SendWithDataID(dataID=9, wID=4, wMsg=HM_ITEMDELETED");
    Check(deleted.size() == 3, "releasing the object deletes and reports all three items");
    Check(host.message->RefCount() == 1 && host.sink->RefCount() == 1 && host.vis->RefCount() == 1 &&
              host.view->RefCount() == 1 && host.manage->RefCount() == 1,
          "the component gave back every reference to the host's objects");
}

} // namespace

int main()
{
    if (FAILED(OleInitialize(nullptr))) return 1;
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_TREEVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    Run();
    Check(RegisteredValue(kServerKey, nullptr).empty(), "DllUnregisterServer removed the class's server");
    CoFreeUnusedLibraries();
    OleUninitialize();
    std::printf("%s: %d failure(s)\n", g_failures ? "FAILED" : "passed", g_failures);
    return g_failures ? 1 : 0;
}
