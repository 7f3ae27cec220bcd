/// \file CallLog.h
/// \brief The one ordered log of every call the component makes into the host's objects.
#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

/// \brief The RVWindow host test kit: what a host project needs to test its integration of the
/// component in its own test programs, with any test framework or none (`RVHostKit/HostTestKit.h`).
namespace RVHostKit
{

/// \brief One ordered log of every call the component makes into the host's objects, so that a
/// test states the exact sequence it expects, as a conformance test compares message sequences.
///
/// Entries read like `IMessage::SendWithDataID(dataID=9, wID=4, wMsg=0x1F, Size=4, data=Shaft)`,
/// `Sink::SetSelectionLock(1)`, `Vis::SetInvisible(200)`, `View3D::Draw`; item handles show as
/// the names given to them with Name (also in entries logged before the name was given).
class CCallLog
{
public:
    /// \brief Appends an entry, then runs onCall.
    /// \param entry the entry, with handles written by HandleText.
    void Add(std::string entry)
    {
        m_entries.push_back(std::move(entry));
        if (onCall) onCall();
    }
    /// Runs inside every host call, once it is logged: a host calling back into the component
    /// from wherever the component calls it (any method, removing items, releasing it).
    std::function<void()> onCall;
    /// \brief The entries so far.
    /// \return them in order, handles shown by the names they have now.
    std::vector<std::string> Entries() const;
    /// \brief The entries so far, and a fresh start.
    /// \return them as Entries gives them; the log is empty afterwards.
    std::vector<std::string> Take();
    /// \brief Forgets every entry (the names stay).
    void Clear() { m_entries.clear(); }
    /// \brief The entries that start with a prefix.
    /// \param prefix the start to match, such as "IMessage::SendWithDataID(dataID=9, wID=4, wMsg=HM_ITEMDELETED".
    /// \return those entries, in order.
    std::vector<std::string> Matching(const std::string& prefix) const;

    /// \brief Gives a handle a name, printed in place of its value (also in entries logged before).
    /// \param handle the handle's value.
    /// \param name its name.
    void Name(uintptr_t handle, std::string name) { m_names[handle] = std::move(name); }
    /// \brief Gives a handle a name, printed in place of its value.
    /// \tparam H the handle's pointee (`HTREEITEM` is a pointer).
    /// \param handle the handle.
    /// \param name its name.
    template <class H>
    void Name(H* handle, std::string name) { Name(reinterpret_cast<uintptr_t>(handle), std::move(name)); }
    /// \brief A handle's place in an entry.
    /// \param handle the handle's value.
    /// \return "0" for 0; otherwise a mark that reads as the handle's name (or its value in
    ///         hexadecimal) when the log is read.
    std::string HandleText(uintptr_t handle) const;

    /// \brief How host messages log their code from now on.
    /// \param names true: by name ("wMsg=HM_ITEMADDED"); false (the default): by number
    ///        ("wMsg=0x34"). A code the tree never sends always shows its number.
    void ShowMessageNames(bool names = true) { m_messageNames = names; }
    /// \brief A message code as entries show it.
    /// \param wMsg the code.
    /// \return its name or its number, as ShowMessageNames chose.
    std::string MessageText(unsigned short wMsg) const;

private:
    std::string Resolve(const std::string& entry) const;

    std::vector<std::string> m_entries;
    std::map<uintptr_t, std::string> m_names;
    bool m_messageNames = false;
};

/// \cond
// g++ and clang check Format's arguments against its format string; other compilers take it
// as it is.
#if defined(__GNUC__) || defined(__clang__)
#define RVHOSTKIT_PRINTF_FORMAT __attribute__((format(printf, 1, 2)))
#else
#define RVHOSTKIT_PRINTF_FORMAT
#endif
/// \endcond

/// \brief printf into a std::string, whatever its length.
/// \param format a printf format.
/// \return the formatted text.
std::string Format(const char* format, ...) RVHOSTKIT_PRINTF_FORMAT;

} // namespace RVHostKit
