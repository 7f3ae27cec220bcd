// What the library's four entry points do: the object map (one class, RVWnd), its cached class
// object, registration around the maker's class-registration library, and unloading.
#pragma once
#include <objbase.h>

namespace rv {

HRESULT RegisterServer();
HRESULT UnregisterServer();
HRESULT GetClassObject(REFCLSID rclsid, REFIID riid, void** ppv);
HRESULT CanUnloadNow();
// Releases the cached class object when the library ends.
void TermModule();

} // namespace rv
