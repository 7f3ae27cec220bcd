// The maker's utility library, as the component calls it.
#pragma once
#include <windows.h>

#ifdef QMUTIL_BUILD
#define QMUTIL_API extern "C" __declspec(dllexport)
#else
#define QMUTIL_API extern "C" __declspec(dllimport)
#endif

QMUTIL_API int WINAPI ZAfxMessageBox(const char* text, unsigned int nType, unsigned int nIDHelp);
