// Conversion of 8-bit text in the system code page to the tree's wide text.
#pragma once
#include <string>

namespace rv {

// 8-bit (system code page) → wide; len bytes of text, or up to the terminator when len < 0.
std::wstring AnsiToWide(const char* text, int len = -1);

} // namespace rv
