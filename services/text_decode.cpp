#include "services/text_decode.h"

#include "services/text_bom.h"
#include "services/text_convert.h"

namespace {

std::u16string from_utf16(std::string_view bytes, bool big_endian)
{
    std::u16string text;
    text.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        text.push_back(text_utf16_unit(reinterpret_cast<const unsigned char*>(bytes.data() + i), big_endian));
    return text;
}

std::u16string from_utf8(std::string_view bytes)
{
    return utf8_to_utf16(std::string(bytes).c_str());
}

}  // namespace

std::u16string text_decode(std::string_view bytes)
{
    const TextBom mark = text_bom_detect(bytes);
    switch (mark.format) {
    case TEXT_UTF16:
    case TEXT_UTF32:
        return from_utf16(bytes.substr(2), false);
    case TEXT_UTF16BE:
        return from_utf16(bytes.substr(mark.size), true);
    case TEXT_UTF8:
        return from_utf8(bytes.substr(mark.size));
    }
    if (bytes.size() >= 2 && bytes[0] != 0 && bytes[1] == 0)
        return from_utf16(bytes, false);
    return from_utf8(bytes);
}
