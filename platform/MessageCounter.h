// Counts the messages a tree-control wrapper sends, in all and by message, for measurements.
#pragma once
#include "platform/TreeCtrl.h"

#include <map>

class CMessageCounter final : public ISentMessageHook
{
public:
    void OnSent(UINT msg) override
    {
        ++m_nSent;
        ++m_byType[msg >= TV_FIRST && msg < TV_FIRST + kCountedTypes ? msg - TV_FIRST : kCountedTypes];
    }
    unsigned long Sent() const { return m_nSent; }
    // Tree-view messages by code; every other message under 0.
    std::map<UINT, unsigned long> ByType() const
    {
        std::map<UINT, unsigned long> counts;
        for (UINT i = 0; i < kCountedTypes; ++i)
            if (m_byType[i]) counts[TV_FIRST + i] = m_byType[i];
        if (m_byType[kCountedTypes]) counts[0] = m_byType[kCountedTypes];
        return counts;
    }

private:
    // Tree-view messages by their offset from TV_FIRST; every other message in the last slot.
    static constexpr UINT kCountedTypes = 0x80;
    unsigned long m_nSent = 0;
    unsigned long m_byType[kCountedTypes + 1] = {};
};
