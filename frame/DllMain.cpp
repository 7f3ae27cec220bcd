// The library's entry points.
#include "frame/Module.h"
#include "platform/ComModule.h"

#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD reason, LPVOID reserved)
{
    switch (reason) {
    case DLL_PROCESS_ATTACH:
        g_module.Init(hInstance);
        ::DisableThreadLibraryCalls(hInstance);
        break;
    case DLL_PROCESS_DETACH:
        // At process exit other libraries may already be gone; only a real unload cleans up.
        if (!reserved) rv::TermModule();
        break;
    default:
        break;
    }
    return TRUE;
}

STDAPI DllCanUnloadNow()
{
    return rv::CanUnloadNow();
}

STDAPI DllGetClassObject(REFCLSID rclsid, REFIID riid, LPVOID* ppv)
{
    return rv::GetClassObject(rclsid, riid, ppv);
}

STDAPI DllRegisterServer()
{
    return rv::RegisterServer();
}

STDAPI DllUnregisterServer()
{
    return rv::UnregisterServer();
}
