#include "host/CallLog.h"

#include <cstdarg>
#include <cstdio>

std::vector<std::string> CCallLog::Take()
{
    std::vector<std::string> out;
    out.swap(m_entries);
    return out;
}

std::vector<std::string> CCallLog::Matching(const std::string& prefix) const
{
    std::vector<std::string> out;
    for (const auto& e : m_entries)
        if (e.compare(0, prefix.size(), prefix) == 0) out.push_back(e);
    return out;
}

std::string CCallLog::HandleText(uintptr_t handle) const
{
    if (handle == 0) return "0";
    const auto it = m_names.find(handle);
    if (it != m_names.end()) return it->second;
    return Format("%#llx", static_cast<unsigned long long>(handle));
}

std::string Format(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    char buffer[1024];
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    return buffer;
}
