// What the benchmarks share: a clock and a host window.
#pragma once
#include <windows.h>

inline double Now()
{
    static const LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / static_cast<double>(frequency.QuadPart);
}

inline HWND CreateHostWindow()
{
    return CreateWindowExW(0, L"STATIC", L"bench", WS_OVERLAPPEDWINDOW, 0, 0, 400, 600, nullptr, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
}
