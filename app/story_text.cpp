#include "app/story_text.h"

#include "services/utf8.h"

#include <cstring>
#include <string_view>

namespace {

// The byte-order marks a time file may start with, longest first where they share a start.
struct Mark {
    const char* bytes;
    std::size_t size;
};
constexpr Mark MARKS[] = {
    {"\xFF\xFE\x00\x00", 4}, {"\x00\x00\xFE\xFF", 4}, {"\xFF\xFE", 2}, {"\xEF\xBB\xBF", 3}, {"\xFE\xFF", 2},
};

std::size_t mark_size(const char* bytes, std::size_t size)
{
    for (const Mark& mark : MARKS)
        if (size >= mark.size && std::memcmp(bytes, mark.bytes, mark.size) == 0)
            return mark.size;
    return 0;
}

// Walks the sequences as a reader taking one at a time would, making each byte that
// cannot lead one a "?"; the bytes of a sequence go to the decoder as they are.
void mark_bad_leads(char* bytes, std::size_t size)
{
    for (std::size_t i = 0; i < size;) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        const std::size_t length = utf8_lead_length(lead);
        if (length == 0) {
            bytes[i++] = '?';
            continue;
        }
        i += length;
    }
}

}  // namespace

bool story_decode_time_file(char* bytes, std::size_t size, StoryText& text)
{
    text.size = 0;
    text.units.reset();
    if (size == 0)
        return true;
    const std::size_t start = mark_size(bytes, size);
    const void* zero = std::memchr(bytes + start, 0, size - start);
    const std::size_t end = zero ? static_cast<std::size_t>(static_cast<const char*>(zero) - bytes) : size;
    if (end == start)
        return true;
    mark_bad_leads(bytes + start, end - start);
    text.units = malloc_array<char16_t>(end - start);
    if (!text.units)
        return false;
    text.size = utf8_decode_to(std::string_view(bytes + start, end - start), text.units.get());
    return true;
}
