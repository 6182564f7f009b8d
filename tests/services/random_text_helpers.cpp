#include "random_text.h"

std::u16string random_well_formed_text(std::mt19937& gen, std::size_t limit)
{
    std::u16string text;
    const std::size_t length = gen() % limit;
    while (text.size() < length) {
        const char32_t cp = gen() % 3 == 0 ? 0x10000 + gen() % 0x100000 : gen() % 0x10000;
        if (cp >= 0xD800 && cp <= 0xDFFF)
            continue;
        if (cp >= 0x10000) {
            text.push_back(char16_t(0xD800 + ((cp - 0x10000) >> 10)));
            text.push_back(char16_t(0xDC00 + ((cp - 0x10000) & 0x3FF)));
        } else {
            text.push_back(char16_t(cp));
        }
    }
    return text;
}
