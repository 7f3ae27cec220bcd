// Conversions between the interface's wide strings and the component's 8-bit text.
#pragma once
#include <string>

namespace rv {

// Wide → system code page. The buffer is sized by the conversion itself, so no code page
// (double-byte or UTF-8 included) can overflow it. A null string gives an empty result.
std::string WideToAnsi(const wchar_t* text);

// 8-bit (system code page) → wide; len bytes of text, or up to the terminator when len < 0.
std::wstring AnsiToWide(const char* text, int len = -1);

} // namespace rv
