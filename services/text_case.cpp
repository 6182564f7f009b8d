#include "services/text_case.h"

#include <algorithm>

namespace {

bool equal_folded(char16_t a, char16_t b)
{
    return text_fold_ascii(a) == text_fold_ascii(b);
}

bool less_folded(char16_t a, char16_t b)
{
    return text_fold_ascii(a) < text_fold_ascii(b);
}

}  // namespace

bool text_equal_ascii(std::u16string_view a, std::u16string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), equal_folded);
}

bool text_less_ascii(std::u16string_view a, std::u16string_view b)
{
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), less_folded);
}

bool text_starts_with_ascii(std::u16string_view text, std::u16string_view prefix)
{
    return text.size() >= prefix.size() && text_equal_ascii(text.substr(0, prefix.size()), prefix);
}

bool text_ends_with_ascii(std::u16string_view text, std::u16string_view suffix)
{
    return text.size() >= suffix.size() && text_equal_ascii(text.substr(text.size() - suffix.size()), suffix);
}

std::size_t text_find_ascii(std::u16string_view text, std::u16string_view part)
{
    const auto found = std::search(text.begin(), text.end(), part.begin(), part.end(), equal_folded);
    if (found == text.end() && !part.empty())
        return std::u16string_view::npos;
    return static_cast<std::size_t>(found - text.begin());
}
