// Time files: the block reader's text equals what a reader taking one UTF-8 sequence at a
// time gives, un-reversing in place equals the copying reversal, and a post written as the
// journal writes it reads back as it was.
#include "fuzz_support.h"

#include "app/story_post.h"
#include "app/story_text.h"
#include "services/utf8.h"

#include <cstring>
#include <vector>

namespace {

std::size_t mark_length(const std::vector<char>& bytes)
{
    static const std::string MARKS[] = {std::string("\xFF\xFE\x00\x00", 4), std::string("\x00\x00\xFE\xFF", 4),
                                        "\xFF\xFE", "\xEF\xBB\xBF", "\xFE\xFF"};
    for (const std::string& mark : MARKS)
        if (bytes.size() >= mark.size() && std::memcmp(bytes.data(), mark.data(), mark.size()) == 0)
            return mark.size();
    return 0;
}

// One sequence at a time: the lead byte gives the length, a byte that cannot lead is
// "?", a zero byte or the end stops the read; the bytes taken are decoded at the end.
std::u16string read_by_sequence(const std::vector<char>& bytes)
{
    std::string taken;
    std::size_t i = mark_length(bytes);
    while (i < bytes.size() && bytes[i] != 0) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        const std::size_t length = lead < 0x80 ? 1 : (lead & 0xE0) == 0xC0 ? 2 : (lead & 0xF0) == 0xE0 ? 3
                                               : (lead & 0xF8) == 0xF0 ? 4 : 0;
        if (length == 0) {
            taken += '?';
            ++i;
            continue;
        }
        std::size_t k = 0;
        while (k < length && i + k < bytes.size() && bytes[i + k] != 0)
            taken += bytes[i + k++];
        if (k < length)
            break;
        i += length;
    }
    return utf8_decode(taken);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::vector<char> bytes(data, data + size);
    const std::u16string expected = read_by_sequence(bytes);
    StoryText text;
    FUZZ_CHECK(story_decode_time_file(bytes.data(), bytes.size(), text));
    const std::u16string got(text.units.get(), text.size);
    FUZZ_CHECK(got == expected);

    story_reverse_in_place(text.units.get(), text.size);
    FUZZ_CHECK(std::u16string(text.units.get(), text.size) == story_reverse(got));

    // The text as a post's body: stored reversed after a mark, read back and un-reversed.
    const std::u16string post = story_build_post(got, 0);
    std::string stored = "\xEF\xBB\xBF" + utf8_encode(story_reverse(post));
    StoryText back;
    FUZZ_CHECK(story_decode_time_file(stored.data(), stored.size(), back));
    story_reverse_in_place(back.units.get(), back.size);
    const std::u16string read = std::u16string(back.units.get(), back.size);
    if (got.find(u'\0') == std::u16string::npos && utf8_decode(utf8_encode(got)) == got)
        FUZZ_CHECK(read == post);
    return 0;
}
