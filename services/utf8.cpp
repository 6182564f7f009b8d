#include "services/utf8.h"

#include <cstdint>
#include <cstring>

namespace {

// Runs of ASCII are taken several units at a time: long texts are mostly ASCII.
constexpr std::uint64_t kHighBitsOf4Units = 0xFF80FF80FF80FF80ull;
constexpr std::uint64_t kHighBitsOf8Bytes = 0x8080808080808080ull;

// The number of units below 0x80 from text[i] on.
std::size_t ascii_units(std::u16string_view text, std::size_t i)
{
    const std::size_t start = i;
    for (std::uint64_t word = 0; i + 4 <= text.size(); i += 4) {
        std::memcpy(&word, text.data() + i, sizeof word);
        if (word & kHighBitsOf4Units)
            break;
    }
    while (i < text.size() && text[i] < 0x80)
        ++i;
    return i - start;
}

// The number of bytes below 0x80 from bytes[i] on.
std::size_t ascii_bytes(std::string_view bytes, std::size_t i)
{
    const std::size_t start = i;
    for (std::uint64_t word = 0; i + 8 <= bytes.size(); i += 8) {
        std::memcpy(&word, bytes.data() + i, sizeof word);
        if (word & kHighBitsOf8Bytes)
            break;
    }
    while (i < bytes.size() && uint8_t(bytes[i]) < 0x80)
        ++i;
    return i - start;
}

constexpr char16_t kReplacement = 0xFFFD;

bool is_high_surrogate(char32_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool is_low_surrogate(char32_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

// The code point starting at text[i] and the units it takes; a lone surrogate
// reads as U+FFFD taking one unit.
char32_t next_code_point(std::u16string_view text, std::size_t i, std::size_t* units)
{
    char32_t u = text[i];
    *units = 1;
    if (u < 0xD800 || u > 0xDFFF) return u;
    if (is_high_surrogate(u) && i + 1 < text.size() && is_low_surrogate(text[i + 1])) {
        *units = 2;
        return 0x10000 + ((u - 0xD800) << 10) + (char32_t(text[i + 1]) - 0xDC00);
    }
    return kReplacement;
}

std::size_t encoded_size(char32_t cp)
{
    return cp < 0x80 ? 1 : cp < 0x800 ? 2 : cp < 0x10000 ? 3 : 4;
}

// The number of continuation bytes that a lead byte announces; 0 for a byte that
// can never start a sequence.
unsigned continuation_count(uint8_t b)
{
    if (b >= 0xC2 && b <= 0xDF) return 1;
    if (b >= 0xE0 && b <= 0xEF) return 2;
    if (b >= 0xF0 && b <= 0xF4) return 3;
    return 0;
}

bool is_continuation(uint8_t b) { return (b & 0xC0) == 0x80; }

// Decodes the sequence whose lead byte (>= 0x80) is at bytes[i]; sets *next to the
// first byte after what it consumed. Returns the code point, or U+FFFD for an
// ill-formed sequence, consuming bytes as Windows does:
// - a byte that starts no sequence: that byte;
// - fewer bytes left than the lead announces: every byte up to the end;
// - a byte that is not a continuation: the bytes before it;
// - an overlong form (E0 80-9F, F0 80-8F) or a surrogate (ED A0-BF): the lead and the
//   first continuation;
// - a code point above U+10FFFF (F4 90-BF): the lead and the first continuation.
char32_t decode_sequence(std::string_view bytes, std::size_t i, std::size_t* next)
{
    const uint8_t lead = uint8_t(bytes[i]);
    const unsigned count = continuation_count(lead);
    *next = i + 1;
    if (count == 0) return kReplacement;
    if (bytes.size() - *next < count) {
        *next = bytes.size();
        return kReplacement;
    }
    char32_t cp = lead & (0x7F >> (count + 1));
    for (unsigned k = 0; k < count; ++k) {
        const uint8_t b = uint8_t(bytes[*next]);
        if (!is_continuation(b)) return kReplacement;
        cp = (cp << 6) | (b & 0x3F);
        // The limit is tested on the first two bytes of a four-byte sequence, before
        // the second continuation is taken.
        if (count == 3 && k == 1 && cp >= (0x110000 >> 6)) return kReplacement;
        ++*next;
        if (k == 0 && count == 3 && cp < (0x10000 >> 12)) return kReplacement;
        if (k == 0 && count == 2 && (cp < (0x800 >> 6) || (cp >= (0xD800 >> 6) && cp <= (0xDFFF >> 6))))
            return kReplacement;
    }
    return cp;
}

}  // namespace

std::size_t utf8_encoded_length(std::u16string_view text)
{
    std::size_t total = 0;
    for (std::size_t i = 0, units = 0; i < text.size(); i += units) {
        const std::size_t ascii = ascii_units(text, i);
        total += ascii;
        i += ascii;
        if (i < text.size())
            total += encoded_size(next_code_point(text, i, &units));
    }
    return total;
}

std::string utf8_encode(std::u16string_view text)
{
    std::string out(utf8_encoded_length(text), '\0');
    std::size_t o = 0;
    for (std::size_t i = 0, units = 0; i < text.size(); i += units) {
        const std::size_t ascii = ascii_units(text, i);
        for (std::size_t k = 0; k < ascii; ++k)
            out[o + k] = char(text[i + k]);
        o += ascii;
        i += ascii;
        if (i == text.size())
            break;
        char32_t cp = next_code_point(text, i, &units);
        if (cp < 0x800) {
            out[o++] = char(0xC0 | (cp >> 6));
            out[o++] = char(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out[o++] = char(0xE0 | (cp >> 12));
            out[o++] = char(0x80 | ((cp >> 6) & 0x3F));
            out[o++] = char(0x80 | (cp & 0x3F));
        } else {
            out[o++] = char(0xF0 | (cp >> 18));
            out[o++] = char(0x80 | ((cp >> 12) & 0x3F));
            out[o++] = char(0x80 | ((cp >> 6) & 0x3F));
            out[o++] = char(0x80 | (cp & 0x3F));
        }
    }
    return out;
}

std::size_t utf8_decode_to(std::string_view bytes, char16_t* out)
{
    std::size_t o = 0;
    std::size_t i = 0;
    while (i < bytes.size()) {
        const std::size_t ascii = ascii_bytes(bytes, i);
        for (std::size_t k = 0; k < ascii; ++k)
            out[o + k] = char16_t(uint8_t(bytes[i + k]));
        o += ascii;
        i += ascii;
        if (i == bytes.size())
            break;
        const char32_t cp = decode_sequence(bytes, i, &i);
        if (cp < 0x10000) {
            out[o++] = char16_t(cp);
        } else {
            out[o++] = char16_t(0xD800 + ((cp - 0x10000) >> 10));
            out[o++] = char16_t(0xDC00 + ((cp - 0x10000) & 0x3FF));
        }
    }
    return o;
}

std::u16string utf8_decode(std::string_view bytes)
{
    std::u16string out(bytes.size(), u'\0');
    out.resize(utf8_decode_to(bytes, out.data()));
    return out;
}

std::size_t utf8_lead_length(std::uint8_t lead)
{
    if (lead < 0x80)
        return 1;
    if ((lead & 0xE0) == 0xC0)
        return 2;
    if ((lead & 0xF0) == 0xE0)
        return 3;
    return (lead & 0xF8) == 0xF0 ? 4 : 0;
}
