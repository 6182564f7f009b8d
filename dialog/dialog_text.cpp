#include "dialog/dialog_text.h"

#include <limits>

namespace {

char16_t fold(char16_t c)
{
    return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + (u'a' - u'A')) : c;
}

bool is_blank(char16_t c)
{
    return c == u' ' || (c >= u'\t' && c <= u'\r');
}

}

bool dialog_text_equal(std::u16string_view a, std::u16string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (fold(a[i]) != fold(b[i]))
            return false;
    return true;
}

bool dialog_text_starts_with(std::u16string_view text, std::u16string_view prefix)
{
    return text.size() >= prefix.size() && dialog_text_equal(text.substr(0, prefix.size()), prefix);
}

std::size_t dialog_text_find(std::u16string_view text, std::u16string_view part)
{
    if (part.size() > text.size())
        return std::u16string_view::npos;
    for (std::size_t i = 0; i + part.size() <= text.size(); ++i)
        if (dialog_text_equal(text.substr(i, part.size()), part))
            return i;
    return std::u16string_view::npos;
}

std::int32_t dialog_leading_int(std::u16string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && is_blank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    // Accumulate one past the int32 range at most, then saturate.
    const std::int64_t limit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    std::int64_t value = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        value = value * 10 + (text[i] - u'0');
        if (value > limit)
            value = limit;
    }
    if (negative)
        return static_cast<std::int32_t>(-value);
    return value >= limit ? std::numeric_limits<std::int32_t>::max() : static_cast<std::int32_t>(value);
}
