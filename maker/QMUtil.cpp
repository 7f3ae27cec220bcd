// Stand-in for the maker's utility library. The normal build shows a real message box. The
// recording build (QMUTIL_RECORDING) never blocks: it appends each call to
// HKCU\Software\QMUtil\Log (values 0001, 0002, ... holding "type|help|text") and returns IDOK,
// so tests can see what the user would have been shown.
#define QMUTIL_BUILD
#include "QMUtil.h"

#include <cstdio>
#include <string>

QMUTIL_API int WINAPI ZAfxMessageBox(const char* text, unsigned int nType, unsigned int nIDHelp)
{
#ifdef QMUTIL_RECORDING
    HKEY log = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\QMUtil\\Log", 0, nullptr, 0,
                        KEY_READ | KEY_WRITE, nullptr, &log, nullptr) != ERROR_SUCCESS)
        return IDOK;
    DWORD n = 0;
    RegQueryInfoKeyA(log, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &n, nullptr,
                     nullptr, nullptr, nullptr);
    char name[16];
    std::snprintf(name, sizeof name, "%04lu", static_cast<unsigned long>(n + 1));
    const std::string entry = std::to_string(nType) + "|" + std::to_string(nIDHelp) + "|" +
                              (text ? text : "");
    RegSetValueExA(log, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(entry.c_str()),
                   static_cast<DWORD>(entry.size() + 1));
    RegCloseKey(log);
    return IDOK;
#else
    (void)nIDHelp;
    return MessageBoxA(GetActiveWindow(), text ? text : "", "RVWindow", nType);
#endif
}
