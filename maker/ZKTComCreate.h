// The maker's class-registration library, as the component calls it.
#pragma once
#include <windows.h>

#ifdef ZKTCOMCREATE_BUILD
#define ZKT_API extern "C" __declspec(dllexport)
#else
#define ZKT_API extern "C" __declspec(dllimport)
#endif

// Fills *pReference with the identifier to look up for *pRequested; a failure result means
// "no mapping, use the requested identifier".
ZKT_API HRESULT WINAPI ZKTGetReferenceGUID(const CLSID* pRequested, CLSID* pReference);
ZKT_API HRESULT WINAPI ZKTRegisterClass(const CLSID* pClsid, HINSTANCE hModule);
ZKT_API HRESULT WINAPI ZKTUnregisterClass(const CLSID* pClsid, HINSTANCE hModule);
