#include "app/story_post.h"

#include "app/text_trim.h"

#include <algorithm>
#include <utility>

namespace {

bool is_high_surrogate(char16_t unit)
{
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool is_low_surrogate(char16_t unit)
{
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

}  // namespace

std::u16string story_body(std::u16string_view editor_text)
{
    return text_trim_pattern(editor_text, STORY_LINE_BREAK);
}

std::u16string story_build_post(std::u16string_view body, DateValue date)
{
    std::u16string post = date_format(STORY_HEADER_PATTERN, date);
    post += u"\r\n\r\n";
    post += body;
    post += u"\r\n\r\n";
    return post;
}

void story_reverse_in_place(char16_t* text, std::size_t size)
{
    std::reverse(text, text + size);
    // A pair reads low-high once reversed; each such neighbour pair was one character.
    for (std::size_t i = 0; i + 1 < size; ++i) {
        if (is_low_surrogate(text[i]) && is_high_surrogate(text[i + 1])) {
            std::swap(text[i], text[i + 1]);
            ++i;
        }
    }
}

std::u16string story_reverse(std::u16string_view text)
{
    std::u16string reversed(text);
    story_reverse_in_place(reversed.data(), reversed.size());
    return reversed;
}
