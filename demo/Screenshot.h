// A picture of the demo's main window as the user sees it, written as a PNG file with the
// platform's imaging component (WIC).
#pragma once
#include <windows.h>

#include <functional>

// Paints every child of the main window into one picture: the tree through WM_PRINTCLIENT (the
// component paints it with the code that paints the screen), the 3D view through drawView, and
// the log list. Returns false when the file could not be written.
bool SaveWindowPng(HWND hMain, HWND hTree, HWND hView, HWND hLog,
                   const std::function<void(HDC, const RECT&)>& drawView, const wchar_t* path);
