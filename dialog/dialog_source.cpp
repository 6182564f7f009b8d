#include "dialog/dialog_source.h"

#include "services/text_convert.h"

namespace {

std::u16string from_utf16(std::string_view bytes, bool big_endian)
{
    std::u16string text;
    text.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        auto low = static_cast<unsigned char>(bytes[big_endian ? i + 1 : i]);
        auto high = static_cast<unsigned char>(bytes[big_endian ? i : i + 1]);
        text.push_back(static_cast<char16_t>(low | (high << 8)));
    }
    return text;
}

bool starts_with(std::string_view bytes, std::string_view mark)
{
    return bytes.substr(0, mark.size()) == mark;
}

}  // namespace

std::u16string dialog_decode_definition(std::string_view bytes)
{
    if (starts_with(bytes, "\xFF\xFE"))
        return from_utf16(bytes.substr(2), false);
    if (starts_with(bytes, "\xFE\xFF"))
        return from_utf16(bytes.substr(2), true);
    if (starts_with(bytes, "\xEF\xBB\xBF"))
        bytes.remove_prefix(3);
    else if (bytes.size() >= 2 && bytes[0] != 0 && bytes[1] == 0)
        return from_utf16(bytes, false);
    return utf8_to_utf16(std::string(bytes).c_str());
}
