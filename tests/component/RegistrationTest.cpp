// Registration with the platform's regsvr32, checked in the registry.
#include "host/Component.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

namespace {

const char kClsid[] = "{972A6E7E-EE66-4B73-B93F-CCF97A8328DE}";
const char kLibid[] = "{E124ED20-E9BD-44BC-B769-106CD87791E3}";

std::string TestDir()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string dir(path);
    return dir.substr(0, dir.find_last_of('\\') + 1);
}

// A folder of its own holding a copy of the component and the registration stand-in, so that
// DLLPROD.TXT can be placed beside it.
class CInstallFolder
{
public:
    explicit CInstallFolder(const std::string& name)
    {
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        m_dir = std::string(temp) + name + "-" + std::to_string(GetCurrentProcessId()) + "\\";
        CreateDirectoryA(m_dir.c_str(), nullptr);
        for (const char* file : {"RVWindow.dll", "ZKTComCreate.dll", "QMUtil.dll"})
            CopyFileA((TestDir() + file).c_str(), (m_dir + file).c_str(), FALSE);
    }
    ~CInstallFolder()
    {
        for (const char* file : {"RVWindow.dll", "ZKTComCreate.dll", "QMUtil.dll", "DLLPROD.TXT"})
            DeleteFileA((m_dir + file).c_str());
        RemoveDirectoryA(m_dir.c_str());
    }
    std::string Dll() const { return m_dir + "RVWindow.dll"; }
    void WriteProductFile(const std::string& content) const
    {
        std::ofstream(m_dir + "DLLPROD.TXT", std::ios::binary) << content;
    }

private:
    std::string m_dir;
};

// Runs regsvr32 silently and returns its exit code.
DWORD RunRegsvr32(const std::string& dll, bool unregister)
{
    std::string command = std::string("regsvr32.exe /s ") + (unregister ? "/u " : "") + "\"" + dll + "\"";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return GetLastError() | 0x80000000u;
    WaitForSingleObject(pi.hProcess, 60000);
    DWORD code = 0;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return code;
}

bool KeyExists(HKEY root, const std::string& path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

// The key's value (default when name is empty), or "<none>".
std::string ValueOf(HKEY root, const std::string& path, const char* name = "")
{
    char data[1024] = {};
    DWORD size = sizeof data, type = 0;
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return "<none>";
    const LONG rc = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(key);
    return rc == ERROR_SUCCESS ? std::string(data) : "<none>";
}

// The register and unregister calls the maker's library received, in order (other tests may
// ask it for identifier mappings meanwhile).
std::vector<std::string> MakerLog()
{
    std::vector<std::string> out;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\ZKTComCreate\\Log", 0, KEY_READ, &key) != ERROR_SUCCESS)
        return out;
    for (DWORD i = 1;; ++i) {
        char name[16], data[256] = {};
        snprintf(name, sizeof name, "%04lu", static_cast<unsigned long>(i));
        DWORD size = sizeof data;
        if (RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(data), &size) != ERROR_SUCCESS)
            break;
        const std::string entry(data);
        if (entry.rfind("RegisterClass", 0) == 0 || entry.rfind("UnregisterClass", 0) == 0) out.push_back(entry);
    }
    RegCloseKey(key);
    return out;
}

void ClearMakerLog()
{
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\ZKTComCreate\\Log");
}

void DeleteTree(HKEY root, const std::string& path)
{
    RegDeleteTreeA(root, path.c_str());
}

class Registration : public ::testing::Test
{
protected:
    // Every test starts from a registry without the component (the demo may have registered it).
    void SetUp() override { Clean(); }
    void TearDown() override { Clean(); }
    static void Clean()
    {
        SetEnvironmentVariableA("ZKT_DEVELOPER_ENV", nullptr);
        for (const char* product : {"RVTestProduct", "ProductFromFile", "ProductNoLineEnd"})
            DeleteTree(HKEY_CLASSES_ROOT, product);
        DeleteTree(HKEY_CLASSES_ROOT, std::string("CLSID\\") + kClsid);
        DeleteTree(HKEY_CLASSES_ROOT, "RVWnd.RVWnd.1");
        DeleteTree(HKEY_CLASSES_ROOT, "RVWnd.RVWnd");
        ClearMakerLog();
    }
};

} // namespace

TEST_F(Registration, RegistersBelowTheProductKeyFromTheEnvironment)
{
    CInstallFolder folder("rvreg-env");
    SetEnvironmentVariableA("ZKT_DEVELOPER_ENV", "RVTestProduct");
    ASSERT_EQ(RunRegsvr32(folder.Dll(), false), 0u);

    const std::string classKey = std::string("RVTestProduct\\") + kClsid;
    EXPECT_EQ(ValueOf(HKEY_CLASSES_ROOT, classKey), "RVWnd Class");
    EXPECT_EQ(ValueOf(HKEY_CLASSES_ROOT, classKey + "\\ProgID"), "RVWnd.RVWnd.1");
    EXPECT_EQ(ValueOf(HKEY_CLASSES_ROOT, classKey + "\\VersionIndependentProgID"), "RVWnd.RVWnd");
    EXPECT_STRCASEEQ(ValueOf(HKEY_CLASSES_ROOT, classKey + "\\InprocServer32").c_str(), folder.Dll().c_str());
    EXPECT_EQ(ValueOf(HKEY_CLASSES_ROOT, classKey + "\\InprocServer32", "ThreadingModel"), "Apartment");
    EXPECT_EQ(ValueOf(HKEY_CLASSES_ROOT, "RVWnd.RVWnd.1"), "RVWnd Class");
    EXPECT_EQ(ValueOf(HKEY_CLASSES_ROOT, "RVWnd.RVWnd.1\\CLSID"), kClsid);
    EXPECT_EQ(ValueOf(HKEY_CLASSES_ROOT, "RVWnd.RVWnd"), "RVWnd Class");
    EXPECT_EQ(ValueOf(HKEY_CLASSES_ROOT, "RVWnd.RVWnd\\CurVer"), "RVWnd.RVWnd.1");
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, std::string("CLSID\\") + kClsid));
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, std::string("TypeLib\\") + kLibid + "\\1.0"));

    // The maker's library hears of the class before and after the script runs.
    EXPECT_EQ(MakerLog(), (std::vector<std::string>{std::string("UnregisterClass ") + kClsid,
                                                     std::string("RegisterClass ") + kClsid}));

    ClearMakerLog();
    ASSERT_EQ(RunRegsvr32(folder.Dll(), true), 0u);
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, classKey)) << "the class key goes";
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, "RVTestProduct")) << "the product key stays";
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, std::string("TypeLib\\") + kLibid + "\\1.0"))
        << "the type library stays registered";
    EXPECT_EQ(MakerLog(), (std::vector<std::string>{std::string("UnregisterClass ") + kClsid}));
}

TEST_F(Registration, WithoutProductSettingsTheClassGoesBelowCLSIDAndCanBeCreated)
{
    CInstallFolder folder("rvreg-plain");
    ASSERT_EQ(RunRegsvr32(folder.Dll(), false), 0u);
    const std::string classKey = std::string("CLSID\\") + kClsid;
    EXPECT_EQ(ValueOf(HKEY_CLASSES_ROOT, classKey), "RVWnd Class");
    EXPECT_STRCASEEQ(ValueOf(HKEY_CLASSES_ROOT, classKey + "\\InprocServer32").c_str(), folder.Dll().c_str());

    {
        CComPtr<IRVWnd> rv;
        ASSERT_HRESULT_SUCCEEDED(CoCreateInstance(CLSID_RVWnd, nullptr, CLSCTX_INPROC_SERVER, IID_IRVWnd,
                                                  reinterpret_cast<void**>(&rv)));
        CLSID fromProgId{};
        EXPECT_HRESULT_SUCCEEDED(CLSIDFromProgID(L"RVWnd.RVWnd.1", &fromProgId));
        EXPECT_TRUE(IsEqualCLSID(fromProgId, CLSID_RVWnd));
    }
    CoFreeUnusedLibrariesEx(0, 0);

    ASSERT_EQ(RunRegsvr32(folder.Dll(), true), 0u);
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, classKey));
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, "CLSID"));
}

TEST_F(Registration, ProductFileNamesTheKeyWithoutItsLineEnd)
{
    CInstallFolder folder("rvreg-file");
    folder.WriteProductFile("ProductFromFile\r\nsecond line\n");
    ASSERT_EQ(RunRegsvr32(folder.Dll(), false), 0u);
    EXPECT_EQ(ValueOf(HKEY_CLASSES_ROOT, std::string("ProductFromFile\\") + kClsid), "RVWnd Class");
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "ProductFromFile\n"));

    folder.WriteProductFile("ProductNoLineEnd");
    ASSERT_EQ(RunRegsvr32(folder.Dll(), false), 0u);
    EXPECT_EQ(ValueOf(HKEY_CLASSES_ROOT, std::string("ProductNoLineEnd\\") + kClsid), "RVWnd Class");

    // The environment wins over the file.
    SetEnvironmentVariableA("ZKT_DEVELOPER_ENV", "RVTestProduct");
    ASSERT_EQ(RunRegsvr32(folder.Dll(), false), 0u);
    EXPECT_EQ(ValueOf(HKEY_CLASSES_ROOT, std::string("RVTestProduct\\") + kClsid), "RVWnd Class");
}

TEST_F(Registration, AnEmptyProductFileFallsBackToCLSID)
{
    CInstallFolder folder("rvreg-empty");
    folder.WriteProductFile("");
    ASSERT_EQ(RunRegsvr32(folder.Dll(), false), 0u);
    EXPECT_EQ(ValueOf(HKEY_CLASSES_ROOT, std::string("CLSID\\") + kClsid), "RVWnd Class");
}
