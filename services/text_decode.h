// Decoding a whole text file's bytes: UTF-16 (either byte order) or UTF-8, with or without
// a byte-order mark.
#pragma once

#include <string>
#include <string_view>

// One UTF-16 unit from two bytes in the given byte order.
inline char16_t text_utf16_unit(const unsigned char* bytes, bool big_endian)
{
    return static_cast<char16_t>(big_endian ? (bytes[0] << 8) | bytes[1] : bytes[0] | (bytes[1] << 8));
}

// A leading mark decides (a UTF-32 little-endian mark counts as the UTF-16 one it begins
// with, since only UTF-8 and UTF-16 are decoded); without one, a text whose first unit has a
// zero high byte is UTF-16 little-endian, anything else UTF-8. An odd trailing byte of
// UTF-16 is dropped; a zero byte ends UTF-8 text.
std::u16string text_decode(std::string_view bytes);
