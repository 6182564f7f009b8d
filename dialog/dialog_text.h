// Text rules of dialog definitions: names and keywords match without regard to case
// (A-Z fold to a-z, as the C runtime's wide comparison does in the "C" locale), and
// numbers are read as the leading decimal integer of a text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

bool dialog_text_equal(std::u16string_view a, std::u16string_view b);

bool dialog_text_starts_with(std::u16string_view text, std::u16string_view prefix);

// Position of the first case-insensitive occurrence of part, or npos.
std::size_t dialog_text_find(std::u16string_view text, std::u16string_view part);

// The leading decimal integer: blanks, an optional sign, digits; 0 when there are no
// digits. A value beyond the 32-bit range saturates instead of wrapping.
std::int32_t dialog_leading_int(std::u16string_view text);
