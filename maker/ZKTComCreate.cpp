// Stand-in for the maker's class-registration library.
//
// It keeps its records in HKCU\Software\ZKTComCreate:
//   Registered\{clsid}   default value = the registering module's path
//   Map\{requested}      default value = "{reference}"; ZKTGetReferenceGUID answers from it
//   Log                  one string value per call, named 0001, 0002, ..., in call order
// Hosts and tests can fill Map to alias identifiers and read Log to see what was asked.
#define ZKTCOMCREATE_BUILD
#include "ZKTComCreate.h"

#include <objbase.h>
#include <cstdio>
#include <string>

namespace {

const char kRoot[] = "Software\\ZKTComCreate";

std::string GuidText(const GUID& g)
{
    char buf[40];
    std::snprintf(buf, sizeof buf, "{%08lX-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                  static_cast<unsigned long>(g.Data1), g.Data2, g.Data3, g.Data4[0], g.Data4[1],
                  g.Data4[2], g.Data4[3], g.Data4[4], g.Data4[5], g.Data4[6], g.Data4[7]);
    return buf;
}

class CRegKey
{
public:
    explicit CRegKey(const std::string& path)
    {
        if (RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_READ | KEY_WRITE,
                            nullptr, &m_hKey, nullptr) != ERROR_SUCCESS)
            m_hKey = nullptr;
    }
    ~CRegKey() { if (m_hKey) RegCloseKey(m_hKey); }
    CRegKey(const CRegKey&) = delete;
    CRegKey& operator=(const CRegKey&) = delete;
    HKEY get() const { return m_hKey; }

private:
    HKEY m_hKey = nullptr;
};

void AppendLog(const std::string& entry)
{
    CRegKey log(std::string(kRoot) + "\\Log");
    if (!log.get()) return;
    DWORD n = 0;
    RegQueryInfoKeyA(log.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &n, nullptr,
                     nullptr, nullptr, nullptr);
    char name[16];
    std::snprintf(name, sizeof name, "%04lu", static_cast<unsigned long>(n + 1));
    RegSetValueExA(log.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(entry.c_str()),
                   static_cast<DWORD>(entry.size() + 1));
}

std::string ModulePath(HINSTANCE hModule)
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(hModule, path, MAX_PATH);
    return path;
}

} // namespace

ZKT_API HRESULT WINAPI ZKTGetReferenceGUID(const CLSID* pRequested, CLSID* pReference)
{
    if (!pRequested || !pReference) return E_POINTER;
    const std::string requested = GuidText(*pRequested);
    AppendLog("GetReferenceGUID " + requested);
    CRegKey map(std::string(kRoot) + "\\Map");
    char text[64] = {};
    LONG size = sizeof text;
    if (!map.get() || RegQueryValueA(map.get(), requested.c_str(), text, &size) != ERROR_SUCCESS)
        return REGDB_E_CLASSNOTREG;
    wchar_t wide[64] = {};
    MultiByteToWideChar(CP_ACP, 0, text, -1, wide, 64);
    return CLSIDFromString(wide, pReference) == NOERROR ? S_OK : REGDB_E_CLASSNOTREG;
}

ZKT_API HRESULT WINAPI ZKTRegisterClass(const CLSID* pClsid, HINSTANCE hModule)
{
    if (!pClsid) return E_POINTER;
    const std::string clsid = GuidText(*pClsid);
    AppendLog("RegisterClass " + clsid);
    CRegKey reg(std::string(kRoot) + "\\Registered");
    if (!reg.get()) return E_FAIL;
    const std::string path = ModulePath(hModule);
    RegSetValueA(reg.get(), clsid.c_str(), REG_SZ, path.c_str(), static_cast<DWORD>(path.size()));
    return S_OK;
}

ZKT_API HRESULT WINAPI ZKTUnregisterClass(const CLSID* pClsid, HINSTANCE /*hModule*/)
{
    if (!pClsid) return E_POINTER;
    const std::string clsid = GuidText(*pClsid);
    AppendLog("UnregisterClass " + clsid);
    CRegKey reg(std::string(kRoot) + "\\Registered");
    if (reg.get()) RegDeleteKeyA(reg.get(), clsid.c_str());
    return S_OK;
}
