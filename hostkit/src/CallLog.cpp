#include "RVHostKit/CallLog.h"
#include "RVWindow/HostMessages.h"

#include <cstdarg>
#include <cstdio>

namespace RVHostKit
{

namespace {
const char kOpen = '\x01';
const char kClose = '\x02';
} // namespace

std::vector<std::string> CCallLog::Entries() const
{
    std::vector<std::string> out;
    for (const auto& e : m_entries) out.push_back(Resolve(e));
    return out;
}

std::vector<std::string> CCallLog::Take()
{
    std::vector<std::string> out = Entries();
    m_entries.clear();
    return out;
}

std::vector<std::string> CCallLog::Matching(const std::string& prefix) const
{
    std::vector<std::string> out;
    for (const auto& e : Entries())
        if (e.compare(0, prefix.size(), prefix) == 0) out.push_back(e);
    return out;
}

std::string CCallLog::HandleText(uintptr_t handle) const
{
    if (handle == 0) return "0";
    return kOpen + std::to_string(handle) + kClose;
}

std::string CCallLog::MessageText(unsigned short wMsg) const
{
    const char* name = m_messageNames ? HostMessageName(wMsg) : nullptr;
    return name ? name : Format("0x%02X", wMsg);
}

std::string CCallLog::Resolve(const std::string& entry) const
{
    std::string out;
    size_t pos = 0;
    for (;;) {
        const size_t open = entry.find(kOpen, pos);
        if (open == std::string::npos) break;
        const size_t close = entry.find(kClose, open);
        out.append(entry, pos, open - pos);
        const auto handle = static_cast<uintptr_t>(std::stoull(entry.substr(open + 1, close - open - 1)));
        const auto it = m_names.find(handle);
        out += it != m_names.end() ? it->second : Format("%#llx", static_cast<unsigned long long>(handle));
        pos = close + 1;
    }
    out.append(entry, pos, std::string::npos);
    return out;
}

std::string Format(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    const int length = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    std::string text(length > 0 ? static_cast<size_t>(length) + 1 : 1, '\0');
    if (length > 0) std::vsnprintf(&text[0], text.size(), format, again);
    va_end(again);
    text.resize(length > 0 ? static_cast<size_t>(length) : 0);
    return text;
}

} // namespace RVHostKit
