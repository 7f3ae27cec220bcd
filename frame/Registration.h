// Registration of the component: the registrar script with its product key, and the type
// library.
#pragma once
#include <windows.h>

#include <string>

namespace rv {

// The product key the class is registered under: the environment variable ZKT_DEVELOPER_ENV,
// else the first line of DLLPROD.TXT beside the module, else "CLSID".
std::string ProductName(HINSTANCE hModule);

// Runs the registration script (resource 102) to add or remove the keys.
HRESULT UpdateRegistry(HINSTANCE hModule, bool bRegister);

// Registers the type library embedded as resource 1.
HRESULT RegisterTypeLibrary(HINSTANCE hModule);

} // namespace rv
