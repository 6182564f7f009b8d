#include "services/text_convert.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <random>
#include <string>

namespace {

std::string platform_utf8(const std::u16string& text)
{
    const auto* wide = reinterpret_cast<const wchar_t*>(text.c_str());
    int size = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide, -1, out.data(), size, nullptr, nullptr);
    out.pop_back();
    return out;
}

}  // namespace

// Random texts of every kind of unit, lone surrogates included, against the platform.
TEST(TextConvertWin, Utf8MatchesThePlatform)
{
    std::mt19937 random(65001);
    for (int i = 0; i < 2000; ++i) {
        std::u16string text;
        std::size_t length = random() % 20;
        for (std::size_t k = 0; k < length; ++k) {
            switch (random() % 4) {
            case 0: text.push_back(static_cast<char16_t>(1 + random() % 0x7F)); break;
            case 1: text.push_back(static_cast<char16_t>(0x80 + random() % 0xD780)); break;
            case 2: text.push_back(static_cast<char16_t>(0xD800 + random() % 0x800)); break;
            default: text.push_back(static_cast<char16_t>(0xE000 + random() % 0x2000)); break;
            }
        }
        const std::string bytes = platform_utf8(text);
        ASSERT_EQ(utf16_to_utf8(text.c_str()), bytes);
        if (bytes.find("\xEF\xBF\xBD") == std::string::npos) {
            ASSERT_EQ(utf8_to_utf16(bytes.c_str()), text);
        }
    }
}

TEST(TextConvertWin, AnsiRoundTripsAscii)
{
    std::u16string text;
    for (char16_t c = 1; c < 0x80; ++c)
        text.push_back(c);
    const std::string bytes = utf16_to_ansi(text.c_str());
    ASSERT_EQ(bytes.size(), text.size());
    for (std::size_t i = 0; i < text.size(); ++i)
        EXPECT_EQ(static_cast<unsigned char>(bytes[i]), text[i]);
    EXPECT_EQ(ansi_to_utf16(bytes.c_str()), text);
}

TEST(TextConvertWin, AnsiUsesTheSystemCodePage)
{
    if (GetACP() != 1252)
        GTEST_SKIP() << "code page " << GetACP();
    EXPECT_EQ(utf16_to_ansi(u"\u00e9\u20ac"), "\xE9\x80");
    EXPECT_EQ(ansi_to_utf16("\xE9\x80"), u"\u00e9\u20ac");
    EXPECT_EQ(utf16_to_ansi(u"\u4e2d"), "?");  // not in the code page
}

TEST(TextConvertWin, AnsiNullAndEmpty)
{
    EXPECT_EQ(utf16_to_ansi(nullptr), "");
    EXPECT_EQ(utf16_to_ansi(u""), "");
    EXPECT_EQ(ansi_to_utf16(nullptr), u"");
    EXPECT_EQ(ansi_to_utf16(""), u"");
}
