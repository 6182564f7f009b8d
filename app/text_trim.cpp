#include "app/text_trim.h"

std::u16string text_trim_pattern(std::u16string_view text, std::u16string_view pattern)
{
    if (pattern.empty())
        return std::u16string(text);
    while (text.starts_with(pattern))
        text.remove_prefix(pattern.size());
    while (text.ends_with(pattern))
        text.remove_suffix(pattern.size());
    return std::u16string(text);
}
