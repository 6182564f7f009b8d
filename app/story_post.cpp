#include "app/story_post.h"

#include "app/text_trim.h"

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

std::u16string story_reverse(std::u16string_view text)
{
    std::u16string reversed(text.size(), u'\0');
    std::size_t out = text.size();
    for (std::size_t i = 0; i < text.size();) {
        if (i + 1 < text.size() && is_high_surrogate(text[i]) && is_low_surrogate(text[i + 1])) {
            out -= 2;
            reversed[out] = text[i];
            reversed[out + 1] = text[i + 1];
            i += 2;
        } else {
            reversed[--out] = text[i++];
        }
    }
    return reversed;
}
