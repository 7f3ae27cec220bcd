#include "platform/Text.h"

#include <windows.h>

namespace rv {

std::string WideToAnsi(const wchar_t* text)
{
    if (!text || !*text) return {};
    // Most names fit a small buffer: one conversion instead of measuring first.
    char small[256];
    int written = ::WideCharToMultiByte(CP_ACP, 0, text, -1, small, sizeof small, nullptr, nullptr);
    if (written > 0) return std::string(small, static_cast<size_t>(written - 1));
    const int needed = ::WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (needed <= 1) return {};
    std::string out(static_cast<size_t>(needed), '\0');
    written = ::WideCharToMultiByte(CP_ACP, 0, text, -1, &out[0], needed, nullptr, nullptr);
    out.resize(written > 0 ? static_cast<size_t>(written - 1) : 0);
    return out;
}

std::wstring AnsiToWide(const char* text, int len)
{
    if (!text || len == 0) return {};
    const int needed = ::MultiByteToWideChar(CP_ACP, 0, text, len, nullptr, 0);
    if (needed <= 0) return {};
    std::wstring out(static_cast<size_t>(needed), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text, len, &out[0], needed);
    if (len < 0) out.resize(static_cast<size_t>(needed - 1)); // drop the converted terminator
    return out;
}

} // namespace rv
