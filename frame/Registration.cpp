#include "frame/Registration.h"

#include "frame/Registrar.h"
#include "platform/ComPtr.h"
#include "platform/Text.h"
#include "res/resource.h"

#include <oleauto.h>

#include <cstdio>
#include <memory>

namespace rv {

namespace {

constexpr size_t kMaxProductName = 1023;
const char kDefaultProduct[] = "CLSID";

std::string ModulePath(HINSTANCE hModule)
{
    char path[MAX_PATH + 1] = {};
    const DWORD n = ::GetModuleFileNameA(hModule, path, MAX_PATH);
    return std::string(path, n < MAX_PATH ? n : MAX_PATH);
}

std::wstring ModulePathW(HINSTANCE hModule)
{
    std::wstring path(32768, L'\0');
    const DWORD n = ::GetModuleFileNameW(hModule, &path[0], static_cast<DWORD>(path.size()));
    path.resize(n);
    return path;
}

// A product name ends at its line end: a key name must not carry "\n" or "\r".
std::string TrimLineEnd(std::string name)
{
    while (!name.empty() && (name.back() == '\n' || name.back() == '\r')) name.pop_back();
    return name;
}

std::string ProductFromFile(HINSTANCE hModule)
{
    std::string path = ModulePath(hModule);
    const size_t slash = path.find_last_of('\\');
    path = (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + "DLLPROD.TXT";
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "r"), &std::fclose);
    if (!file) return {};
    char line[kMaxProductName + 1] = {};
    if (!std::fgets(line, sizeof line, file.get())) return {};
    return TrimLineEnd(line);
}

// In the script the replacement stands inside single quotes, where a quote is doubled.
std::wstring QuotedReplacement(const std::wstring& value)
{
    std::wstring out;
    for (wchar_t c : value) {
        out += c;
        if (c == L'\'') out += L'\'';
    }
    return out;
}

// Creates the system's registrar; falls back to atl.dll's class object when the Registrar
// class is not registered.
HRESULT CreateRegistrar(CComPtr<IRegistrar>& registrar)
{
    HRESULT hr = ::CoCreateInstance(kClsidRegistrar, nullptr, CLSCTX_INPROC_SERVER, __uuidof(IRegistrar),
                                    reinterpret_cast<void**>(&registrar));
    if (SUCCEEDED(hr)) return hr;
    HMODULE atl = ::LoadLibraryA("atl.dll"); // stays loaded for the registrar's lifetime
    if (!atl) return hr;
    using GetClassObjectFn = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);
    auto getClassObject = reinterpret_cast<GetClassObjectFn>(
        reinterpret_cast<void*>(::GetProcAddress(atl, "DllGetClassObject")));
    if (!getClassObject) return hr;
    CComPtr<IClassFactory> factory;
    hr = getClassObject(kClsidRegistrar, IID_IClassFactory, reinterpret_cast<void**>(&factory));
    if (FAILED(hr)) return hr;
    return factory->CreateInstance(nullptr, __uuidof(IRegistrar), reinterpret_cast<void**>(&registrar));
}

// COM for the duration of a registration call (regsvr32 may call without it).
class CComScope
{
public:
    CComScope() : m_hr(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~CComScope() { if (SUCCEEDED(m_hr)) ::CoUninitialize(); }
    CComScope(const CComScope&) = delete;
    CComScope& operator=(const CComScope&) = delete;

private:
    HRESULT m_hr;
};

} // namespace

std::string ProductName(HINSTANCE hModule)
{
    if (const char* env = std::getenv("ZKT_DEVELOPER_ENV"); env && *env)
        return std::string(env).substr(0, kMaxProductName);
    std::string fromFile = ProductFromFile(hModule);
    return fromFile.empty() ? std::string(kDefaultProduct) : fromFile;
}

HRESULT UpdateRegistry(HINSTANCE hModule, bool bRegister)
{
    CComScope com;
    CComPtr<IRegistrar> registrar;
    HRESULT hr = CreateRegistrar(registrar);
    if (FAILED(hr)) return hr;
    const std::wstring module = ModulePathW(hModule);
    const std::wstring product = AnsiToWide(ProductName(hModule).c_str());
    registrar->AddReplacement(L"MODULE", QuotedReplacement(module).c_str());
    registrar->AddReplacement(L"PRODUCT", QuotedReplacement(product).c_str());
    return bRegister ? registrar->ResourceRegister(module.c_str(), IDR_RVWND, L"REGISTRY")
                     : registrar->ResourceUnregister(module.c_str(), IDR_RVWND, L"REGISTRY");
}

HRESULT RegisterTypeLibrary(HINSTANCE hModule)
{
    CComScope com;
    const std::wstring module = ModulePathW(hModule);
    ITypeLib* pTypeLib = nullptr;
    const HRESULT hr = ::LoadTypeLibEx(module.c_str(), REGKIND_REGISTER, &pTypeLib);
    if (pTypeLib) pTypeLib->Release();
    return hr;
}

} // namespace rv
