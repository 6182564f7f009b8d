// Definition files in every encoding the preview program reads give the same text.
#include "dialog/dialog_source.h"

#include <gtest/gtest.h>

#include <string>

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

TEST(DialogSource, EveryEncodingGivesTheSameText)
{
    const std::u16string text = u"<window name='w\u00E9'><button text='\u20AC \U0001F600'/></window>";
    const std::string utf8 = "<window name='w\xC3\xA9'><button text='\xE2\x82\xAC \xF0\x9F\x98\x80'/></window>";
    EXPECT_EQ(dialog_decode_definition(utf8), text);
    EXPECT_EQ(dialog_decode_definition("\xEF\xBB\xBF" + utf8), text);
    EXPECT_EQ(dialog_decode_definition("\xFF\xFE" + utf16_bytes(text, false)), text);
    EXPECT_EQ(dialog_decode_definition("\xFE\xFF" + utf16_bytes(text, true)), text);
    EXPECT_EQ(dialog_decode_definition(utf16_bytes(text, false)), text);
}

TEST(DialogSource, ShortAndBrokenFilesDecodeWithoutFault)
{
    EXPECT_EQ(dialog_decode_definition(""), u"");
    EXPECT_EQ(dialog_decode_definition("\xFF\xFE"), u"");
    EXPECT_EQ(dialog_decode_definition(std::string("\xFF\xFE<\0>", 5)), u"<");
    EXPECT_EQ(dialog_decode_definition("<"), u"<");
    // An embedded zero byte ends UTF-8 text, as it ends the definition.
    EXPECT_EQ(dialog_decode_definition(std::string("<a\0b", 4)), u"<a");
}

}  // namespace
