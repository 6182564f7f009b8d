#include "services/text_bom.h"

namespace {

struct Mark {
    std::string_view bytes;
    std::int32_t format;
};

// Longer marks first: the UTF-32 little-endian mark begins with the UTF-16 one.
constexpr Mark MARKS[] = {
    {{"\xFF\xFE\x00\x00", 4}, TEXT_UTF32}, {{"\x00\x00\xFE\xFF", 4}, TEXT_UTF32BE},
    {{"\xFF\xFE", 2}, TEXT_UTF16},         {{"\xEF\xBB\xBF", 3}, TEXT_UTF8},
    {{"\xFE\xFF", 2}, TEXT_UTF16BE},
};

}  // namespace

TextBom text_bom_detect(std::string_view bytes)
{
    for (const Mark& mark : MARKS) {
        if (bytes.starts_with(mark.bytes))
            return {mark.format, mark.bytes.size()};
    }
    return {TEXT_ANSI, 0};
}

std::string_view text_bom_bytes(std::int32_t format)
{
    for (const Mark& mark : MARKS) {
        if (mark.format == format)
            return mark.bytes;
    }
    return {};
}
