// Removing a repeated pattern from both ends of a text.
#pragma once

#include <string>
#include <string_view>

// The text without every whole occurrence of `pattern` at its start and, of what
// remains, every whole occurrence at its end. An empty pattern removes nothing.
std::u16string text_trim_pattern(std::u16string_view text, std::u16string_view pattern);
