// Byte-order marks and whole-text decoding: a text file in every encoding the program reads
// gives the same text.
#include "services/text_bom.h"
#include "services/text_decode.h"

#include <gtest/gtest.h>

#include <string>

using namespace std::string_literals;

namespace {

std::string utf16_bytes(const std::u16string& text, bool big_endian)
{
    std::string bytes;
    for (char16_t unit : text) {
        char low = static_cast<char>(unit & 0xFF);
        char high = static_cast<char>(unit >> 8);
        bytes += big_endian ? std::string{high, low} : std::string{low, high};
    }
    return bytes;
}

TEST(TextBom, EveryMarkIsFoundAsItsOwnFormat)
{
    for (std::int32_t format : {TEXT_UTF8, TEXT_UTF16, TEXT_UTF16BE, TEXT_UTF32, TEXT_UTF32BE}) {
        const std::string_view mark = text_bom_bytes(format);
        ASSERT_FALSE(mark.empty()) << format;
        const TextBom found = text_bom_detect(std::string(mark) + "text");
        EXPECT_EQ(found.format, format);
        EXPECT_EQ(found.size, mark.size());
    }
    EXPECT_TRUE(text_bom_bytes(TEXT_ANSI).empty());
    EXPECT_TRUE(text_bom_bytes(99).empty());
}

TEST(TextBom, CutMarksAndPlainTextHaveNone)
{
    for (const std::string& bytes : {""s, "\xEF\xBB"s, "\xFF"s, "\0\0\xFE"s, "plain"s}) {
        const TextBom found = text_bom_detect(bytes);
        EXPECT_EQ(found.format, TEXT_ANSI) << bytes.size();
        EXPECT_EQ(found.size, 0u);
    }
    // The UTF-16 mark followed by one zero byte is not yet the UTF-32 one.
    EXPECT_EQ(text_bom_detect("\xFF\xFE\0"s).format, TEXT_UTF16);
}

TEST(TextDecode, EveryEncodingGivesTheSameText)
{
    const std::u16string text = u"<window name='w\u00E9'><button text='\u20AC \U0001F600'/></window>";
    const std::string utf8 = "<window name='w\xC3\xA9'><button text='\xE2\x82\xAC \xF0\x9F\x98\x80'/></window>";
    EXPECT_EQ(text_decode(utf8), text);
    EXPECT_EQ(text_decode("\xEF\xBB\xBF" + utf8), text);
    EXPECT_EQ(text_decode("\xFF\xFE" + utf16_bytes(text, false)), text);
    EXPECT_EQ(text_decode("\xFE\xFF" + utf16_bytes(text, true)), text);
    EXPECT_EQ(text_decode(utf16_bytes(text, false)), text);
}

TEST(TextDecode, ShortAndBrokenFilesDecodeWithoutFault)
{
    EXPECT_EQ(text_decode(""), u"");
    EXPECT_EQ(text_decode("\xFF\xFE"), u"");
    EXPECT_EQ(text_decode("\xFF\xFE<\0>"s), u"<");
    EXPECT_EQ(text_decode("<"), u"<");
    // An embedded zero byte ends UTF-8 text, as it ends a definition.
    EXPECT_EQ(text_decode("<a\0b"s), u"<a");
    // A UTF-32 mark is read as the UTF-16 mark it begins with; big-endian as plain UTF-8.
    EXPECT_EQ(text_decode("\xFF\xFE\0\0<\0"s), u"\0<"s);
    EXPECT_EQ(text_decode("\0\0\xFE\xFF<"s), u"");
}

}  // namespace
