// COM references: the owner is a public header (the host test kit hands it out); the component
// names it without its namespace.
#pragma once
#include "../include/RVWindow/ComPtr.h"

using RVWindow::CComPtr;

// Holds one reference to an object for a scope, when there is an object to hold: the object a
// call has entered must outlive the call, whatever the callee's callers release meanwhile.
class CKeepAlive
{
public:
    explicit CKeepAlive(IUnknown* p) : m_p(p) { if (m_p) m_p->AddRef(); }
    ~CKeepAlive() { if (m_p) m_p->Release(); }
    CKeepAlive(const CKeepAlive&) = delete;
    CKeepAlive& operator=(const CKeepAlive&) = delete;

private:
    IUnknown* const m_p;
};
