// What one switching operation (SetHTIState, SetKeyState, a click on a state picture) knows of
// the key twins it has switched: the keys whose every item it has brought to a state. Another
// item of such a key, switched to that state, finds all its twins there already, so the walk
// passes them by instead of visiting every one of them again: a switch costs the items it
// touches plus each key's twins once.
//
// What it knows holds only while nobody else has changed the items: the caller hands in a
// stamp that moves whenever an item comes or goes or gets another record, a key is registered
// or dropped, or a state is written by any other operation (a host calling back in starts one
// of its own). Each operation has its own, on its own stack frame.
#pragma once
#include <cstdint>
#include <unordered_map>

class CTwinVisits
{
public:
    bool AllTwinsAt(uint32_t key, uint32_t state, uint64_t stamp) const
    {
        const auto it = m_keys.find(key);
        return it != m_keys.end() && it->second.state == state && it->second.stamp == stamp;
    }
    void Remember(uint32_t key, uint32_t state, uint64_t stamp) { m_keys[key] = Visit{state, stamp}; }
    void Forget(uint32_t key) { m_keys.erase(key); }

    // The states this operation wrote itself, which do not move its own stamp.
    void CountOwnWrite() { ++m_nOwnWrites; }
    uint64_t OwnWrites() const { return m_nOwnWrites; }

private:
    struct Visit
    {
        uint32_t state;
        uint64_t stamp;
    };
    std::unordered_map<uint32_t, Visit> m_keys;
    uint64_t m_nOwnWrites = 0;
};
