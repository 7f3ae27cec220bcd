// The COM module: the library's instance handle and its lock count. There is one per library
// (g_module); objects, the class object and LockServer hold the lock count above zero while
// the library must stay loaded.
#pragma once
#include <windows.h>

class CComModule
{
public:
    void Init(HINSTANCE hInstance) { m_hInstance = hInstance; }
    HINSTANCE GetModuleInstance() const { return m_hInstance ? m_hInstance : ::GetModuleHandleA(nullptr); }

    LONG Lock() { return ::InterlockedIncrement(&m_nLockCount); }
    LONG Unlock() { return ::InterlockedDecrement(&m_nLockCount); }
    LONG GetLockCount() const { return m_nLockCount; }

private:
    HINSTANCE m_hInstance = nullptr;
    volatile LONG m_nLockCount = 0;
};

extern CComModule g_module;
