// The text of a story post: a header line with the date and time, the body, blank
// lines around it, and the character-reversed form in which posts are stored.
#pragma once

#include "services/date.h"

#include <string>
#include <string_view>

// The header's date pattern: 51 "=", a space, and the bracketed local date and time.
inline constexpr char16_t STORY_HEADER_PATTERN[] =
    u"=================================================== [%yyyy-%mm-%dd %hh:%ii:%ss]";

// What is trimmed off both ends of the editor's text before posting.
inline constexpr char16_t STORY_LINE_BREAK[] = u"\r\n";

// The editor's text without its leading and trailing CR LF pairs; "" means nothing to post.
std::u16string story_body(std::u16string_view editor_text);

// header + CR LF CR LF + body + CR LF CR LF, the header dated `date`.
std::u16string story_build_post(std::u16string_view body, DateValue date);

// The text with its characters in reverse order; a surrogate pair counts as one
// character and keeps its two units in order.
std::u16string story_reverse(std::u16string_view text);
// story_reverse of `size` units, in place.
void story_reverse_in_place(char16_t* text, std::size_t size);
