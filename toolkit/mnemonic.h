// The mnemonic of a control's text: the character after a single "&", which the platform
// underlines; "&&" shows one "&" and marks nothing.
#pragma once

#include <string>

// The marked character, or 0 when the text marks none.
char16_t mnemonic_of(const std::u16string& text);

// The text as it shows: every mnemonic "&" left out, "&&" made one "&".
std::u16string mnemonic_strip(const std::u16string& text);
