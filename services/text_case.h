// The ASCII case rule: A-Z match a-z and every other unit matches only itself, the same
// on every machine and in every locale. Names the program or its definitions fix (dialog
// keywords, XML names, story file names, device names, path prefixes) use it; note
// names, which the user types in any script, use the platform's full Unicode fold instead.
#pragma once

#include <cstddef>
#include <string_view>

constexpr char16_t text_fold_ascii(char16_t unit)
{
    return unit >= u'A' && unit <= u'Z' ? static_cast<char16_t>(unit + (u'a' - u'A')) : unit;
}

bool text_equal_ascii(std::u16string_view a, std::u16string_view b);

// Ordering by folded units, a shorter text before a longer one that it begins.
bool text_less_ascii(std::u16string_view a, std::u16string_view b);

bool text_starts_with_ascii(std::u16string_view text, std::u16string_view prefix);

bool text_ends_with_ascii(std::u16string_view text, std::u16string_view suffix);

// Position of the first occurrence of part, or npos.
std::size_t text_find_ascii(std::u16string_view text, std::u16string_view part);
