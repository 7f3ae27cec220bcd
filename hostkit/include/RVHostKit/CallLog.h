// One ordered log of every call the component makes into the host's objects, so that a test
// can state the exact sequence it expects (like a conformance test's message sequence).
#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace RVHostKit
{

class CCallLog
{
public:
    void Add(std::string entry)
    {
        m_entries.push_back(std::move(entry));
        if (onCall) onCall();
    }
    // Runs inside every host call, once it is logged: a host calling back into the component
    // from wherever the component calls it.
    std::function<void()> onCall;
    // The entries, with handles shown by the names they have now.
    std::vector<std::string> Entries() const;
    // Returns the entries so far and starts afresh.
    std::vector<std::string> Take();
    void Clear() { m_entries.clear(); }
    // Entries that start with prefix.
    std::vector<std::string> Matching(const std::string& prefix) const;

    // Gives a handle a name, printed in place of its value (also in entries logged before).
    void Name(uintptr_t handle, std::string name) { m_names[handle] = std::move(name); }
    template <class H>
    void Name(H* handle, std::string name) { Name(reinterpret_cast<uintptr_t>(handle), std::move(name)); }
    // A handle's place in an entry; it reads as the handle's name when the log is read.
    std::string HandleText(uintptr_t handle) const;

    // How host messages log their code from now on: by name ("wMsg=HM_ITEMADDED") or, the
    // default, by number ("wMsg=0x34"). A code the tree never sends always shows its number.
    void ShowMessageNames(bool names = true) { m_messageNames = names; }
    // A message code as entries show it.
    std::string MessageText(unsigned short wMsg) const;

private:
    std::string Resolve(const std::string& entry) const;

    std::vector<std::string> m_entries;
    std::map<uintptr_t, std::string> m_names;
    bool m_messageNames = false;
};

// g++ and clang check Format's arguments against its format string; other compilers take it
// as it is.
#if defined(__GNUC__) || defined(__clang__)
#define RVHOSTKIT_PRINTF_FORMAT __attribute__((format(printf, 1, 2)))
#else
#define RVHOSTKIT_PRINTF_FORMAT
#endif

// printf into a std::string.
std::string Format(const char* format, ...) RVHOSTKIT_PRINTF_FORMAT;

} // namespace RVHostKit
