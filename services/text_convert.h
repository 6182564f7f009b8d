// Text conversions between the program's UTF-16 and the byte forms of files:
// UTF-8 (as code page 65001 converts) and, on Windows, the system ANSI code page.
// Each returns a new string; the std::string results are zero-terminated bytes.
#pragma once

#include <string>

// A null text gives an empty result.
std::string utf16_to_utf8(const char16_t* text);

// Zero-terminated UTF-8; null counts as empty.
std::u16string utf8_to_utf16(const char* text);

#ifdef _WIN32
// A null text gives an empty result.
std::string utf16_to_ansi(const char16_t* text);

// Zero-terminated ANSI bytes; empty for null or unconvertible input.
std::u16string ansi_to_utf16(const char* text);
#endif
