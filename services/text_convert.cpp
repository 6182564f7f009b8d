#include "services/text_convert.h"

#include "services/utf8.h"

std::string utf16_to_utf8(const char16_t* text)
{
    return text ? utf8_encode(text) : std::string();
}

std::u16string utf8_to_utf16(const char* text)
{
    return text ? utf8_decode(text) : std::u16string();
}
