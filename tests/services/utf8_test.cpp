// UTF-16 <-> UTF-8 as code page 65001 converts: well-formed text both ways, lone
// surrogates, and ill-formed UTF-8 replaced by U+FFFD where Windows puts it.
#include "random_text.h"

#include "services/utf8.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

std::u16string units(std::initializer_list<char16_t> list)
{
    return std::u16string(list);
}

constexpr char16_t R = 0xFFFD;

TEST(Utf8Encode, WellFormedText)
{
    EXPECT_EQ(utf8_encode(u""), "");
    EXPECT_EQ(utf8_encode(u"abc"), "abc");
    EXPECT_EQ(utf8_encode(u"\u00e4"), "\xc3\xa4");
    EXPECT_EQ(utf8_encode(u"\u007f\u0080\u07ff\u0800"), "\x7f\xc2\x80\xdf\xbf\xe0\xa0\x80");
    EXPECT_EQ(utf8_encode(u"\uffff\ue000\ud7ff"), "\xef\xbf\xbf\xee\x80\x80\xed\x9f\xbf");
    EXPECT_EQ(utf8_encode(u"\U00010000\U0010FFFF\U0001F600"),
              "\xf0\x90\x80\x80\xf4\x8f\xbf\xbf\xf0\x9f\x98\x80");
    EXPECT_EQ(utf8_encode(std::u16string(u"a\0b", 3)), std::string("a\0b", 3));
    EXPECT_EQ(utf8_encode(u"\ufeffx"), "\xef\xbb\xbfx");  // a BOM in the text is kept
}

TEST(Utf8Encode, LoneSurrogatesBecomeReplacementCharacter)
{
    const std::string r = "\xef\xbf\xbd";
    EXPECT_EQ(utf8_encode(units({0xD800})), r);
    EXPECT_EQ(utf8_encode(units({0xDC00})), r);
    EXPECT_EQ(utf8_encode(units({0xDBFF, u'a'})), r + "a");
    EXPECT_EQ(utf8_encode(units({u'a', 0xDFFF, u'b'})), "a" + r + "b");
    EXPECT_EQ(utf8_encode(units({0xDC00, 0xD800})), r + r);          // reversed pair
    EXPECT_EQ(utf8_encode(units({0xD800, 0xD800, 0xDC00})), r + "\xf0\x90\x80\x80");
    EXPECT_EQ(utf8_encode(units({0xD83D, 0xDE00, 0xDE00})), "\xf0\x9f\x98\x80" + r);
}

TEST(Utf8Encode, LengthMatchesOutput)
{
    std::mt19937 gen(1);
    for (int trial = 0; trial < 2000; ++trial) {
        std::u16string text(gen() % 20, u'\0');
        for (auto& u : text) u = char16_t(gen() % 4 == 0 ? 0xD800 + gen() % 0x800 : gen() % 0x10000);
        EXPECT_EQ(utf8_encoded_length(text), utf8_encode(text).size());
    }
}

TEST(Utf8Decode, WellFormedBytes)
{
    EXPECT_EQ(utf8_decode(""), u"");
    EXPECT_EQ(utf8_decode("abc"), u"abc");
    EXPECT_EQ(utf8_decode("\xc3\xa4"), u"\u00e4");
    EXPECT_EQ(utf8_decode("\xef\xbf\xbf\xee\x80\x80\xed\x9f\xbf"), u"\uffff\ue000\ud7ff");
    EXPECT_EQ(utf8_decode("\xf0\x90\x80\x80\xf4\x8f\xbf\xbf"), u"\U00010000\U0010FFFF");
    EXPECT_EQ(utf8_decode(std::string("a\0b", 3)), std::u16string(u"a\0b", 3));
    EXPECT_EQ(utf8_decode("\xef\xbb\xbfx"), u"\ufeffx");
}

struct Case {
    std::string bytes;
    std::u16string expected;
};

TEST(Utf8Decode, MaximalSubpartsBecomeOneReplacementEach)
{
    const Case cases[] = {
        // Results of Windows 10 for the same inputs.
        {"\xc0", units({R})},
        {std::string("\xc0\0", 2), units({R, 0})},
        {"\xc0\xc0\x80", units({R, R, R})},
        {std::string("\xe0\xc0\0", 3), units({R, R, 0})},
        {std::string("\xe0\x20\xc0\0", 4), units({R, u' ', R, 0})},
        {"\x82\xa0\x82\xa2", units({R, R, R, R})},
        {"\xe6", units({R})},
        {"\xf8\xa3\xa3\xa3\xa3", units({R, R, R, R, R})},
        {"\xfc\xa3\xa3\xa3\xa3\xa3", units({R, R, R, R, R, R})},
        {"\xff\xfe", units({R, R})},
        // The Unicode Standard's example of maximal subparts, which Windows follows here.
        {"\x61\xf1\x80\x80\xe1\x80\xc2\x62\x80\x63\x80\xbf\x64",
         units({u'a', R, R, R, u'b', R, u'c', R, R, u'd'})},
        // Overlong forms, surrogates and code points beyond U+10FFFF: the lead byte and
        // the first continuation make one U+FFFD.
        {"\xc1\xbf", units({R, R})},
        {"\xe0\x80\x80", units({R, R})},
        {"\xe0\x9f\xbf", units({R, R})},
        {"\xed\xa0\x80", units({R, R})},
        {"\xed\xbf\xbf", units({R, R})},
        {"\xf0\x80\x80\x80", units({R, R, R})},
        {"\xf0\x8f\xbf\xbf", units({R, R, R})},
        {"\xf4\x90\x80\x80", units({R, R, R})},
        {"\xf5\x80\x80\x80", units({R, R, R, R})},
        {"\xe0\xa0\x80", units({0x0800})},
        {"\xed\x9f\xbf", units({0xD7FF})},
        {"\xf4\x8f\xbf\xbf", units({0xDBFF, 0xDFFF})},
        // A lead byte that announces more bytes than are left takes the rest.
        {"\xe2\x82", units({R})},
        {"\xe2" "a", units({R})},
        {"\xf0\x9f\x98", units({R})},
        {"\xf0" "ab", units({R})},
        {"x\xf0\x41\x42", units({u'x', R})},
        {"\xc3", units({R})},
        {"a\xc3", units({u'a', R})},
        // Enough bytes, but one is not a continuation: the bytes before it.
        {"\xe2\x82" "a", units({R, u'a'})},
        {"\xe2" "ab", units({R, u'a', u'b'})},
        {"\xf0\x9f\x98" "a", units({R, u'a'})},
        {"\xf0\x9f" "\xf0\x9f\x98\x80", units({R, 0xD83D, 0xDE00})},
    };
    for (const Case& c : cases) {
        std::string hex;
        for (unsigned char b : c.bytes) hex += " " + std::to_string(b);
        EXPECT_EQ(utf8_decode(c.bytes), c.expected) << "bytes" << hex;
    }
}

TEST(Utf8RoundTrip, WellFormedTextSurvives)
{
    std::mt19937 gen(2);
    for (int trial = 0; trial < 5000; ++trial) {
        const std::u16string text = random_well_formed_text(gen, 30);
        EXPECT_EQ(utf8_decode(utf8_encode(text)), text);
    }
}

TEST(Utf8RoundTrip, DecodedBytesAreWellFormed)
{
    std::mt19937 gen(3);
    for (int trial = 0; trial < 20000; ++trial) {
        std::string bytes(gen() % 16, '\0');
        for (auto& b : bytes) b = char(gen() % 2 ? 0x80 + gen() % 0x80 : gen() % 0x100);
        const std::u16string once = utf8_decode(bytes);
        const std::string again = utf8_encode(once);
        EXPECT_EQ(utf8_decode(again), once);
        // Without replacements the bytes were well-formed and come back as they were.
        if (once.find(R) == std::u16string::npos) {
            EXPECT_EQ(again, bytes);
        }
    }
}

}  // namespace
