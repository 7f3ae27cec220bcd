#include "platform/Text.h"

#include <windows.h>

namespace rv {

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
