// Text rules of dialog definitions: names and keywords match by the ASCII case rule
// (services/text_case.h), because the C runtime's wide comparison that definitions were
// written against folds only A-Z in the "C" locale; numbers are read as the leading
// decimal integer of a text.
#pragma once

#include "services/text_case.h"

#include <cstdint>
#include <string_view>

// The leading decimal integer: blanks, an optional sign, digits; 0 when there are no
// digits. A value beyond the 32-bit range saturates instead of wrapping.
std::int32_t dialog_leading_int(std::u16string_view text);
