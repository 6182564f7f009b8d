// The portable UTF-8 conversions against Windows' own: WideCharToMultiByte and
// MultiByteToWideChar with code page 65001 and flags 0, on edge cases, on every
// one- and two-byte input, on three-byte inputs around the boundaries, and on
// random inputs.
#include "random_text.h"

#include "services/utf8.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <random>
#include <string>
#include <vector>

namespace {

std::string windows_encode(const std::u16string& text)
{
    if (text.empty()) return {};
    const wchar_t* w = reinterpret_cast<const wchar_t*>(text.data());
    int n = WideCharToMultiByte(CP_UTF8, 0, w, int(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(std::size_t(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w, int(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

std::u16string windows_decode(const std::string& bytes)
{
    if (bytes.empty()) return {};
    int n = MultiByteToWideChar(CP_UTF8, 0, bytes.data(), int(bytes.size()), nullptr, 0);
    std::u16string out(std::size_t(n), u'\0');
    MultiByteToWideChar(CP_UTF8, 0, bytes.data(), int(bytes.size()), reinterpret_cast<wchar_t*>(out.data()), n);
    return out;
}

std::string hex(const std::string& bytes)
{
    std::string s;
    char buf[4];
    for (unsigned char b : bytes) {
        std::snprintf(buf, sizeof(buf), " %02x", b);
        s += buf;
    }
    return s;
}

std::string hex(const std::u16string& text)
{
    std::string s;
    char buf[8];
    for (char16_t u : text) {
        std::snprintf(buf, sizeof(buf), " %04x", unsigned(u));
        s += buf;
    }
    return s;
}

// Compares one input; returns false (after reporting) when the results differ.
bool same_decode(const std::string& bytes)
{
    const std::u16string mine = utf8_decode(bytes), theirs = windows_decode(bytes);
    if (mine == theirs) return true;
    ADD_FAILURE() << "bytes" << hex(bytes) << "\n ours   " << hex(mine) << "\n Windows" << hex(theirs);
    return false;
}

bool same_encode(const std::u16string& text)
{
    const std::string mine = utf8_encode(text), theirs = windows_encode(text);
    if (mine == theirs) return true;
    ADD_FAILURE() << "units" << hex(text) << "\n ours   " << hex(mine) << "\n Windows" << hex(theirs);
    return false;
}

TEST(Utf8Windows, EncodeEdgeCases)
{
    const std::u16string cases[] = {
        u"", u"abc", u"\u00e4", u"\u007f\u0080\u07ff\u0800\uffff", u"\U00010000\U0010FFFF",
        {0xD800}, {0xDC00}, {0xDBFF, u'a'}, {u'a', 0xDFFF}, {0xDC00, 0xD800}, {0xD800, 0xD800, 0xDC00},
        {0xD83D, 0xDE00, 0xDE00}, {0, 0xD800, 0}, {0xFFFE, 0xFEFF},
    };
    for (const auto& text : cases) same_encode(text);
}

TEST(Utf8Windows, EncodeRandomText)
{
    std::mt19937 gen(1);
    int failures = 0;
    for (int trial = 0; trial < 20000 && failures < 10; ++trial) {
        std::u16string text(gen() % 24, u'\0');
        for (auto& u : text) {
            switch (gen() % 5) {
            case 0: u = char16_t(gen() % 0x80); break;
            case 1: u = char16_t(0xD800 + gen() % 0x400); break;
            case 2: u = char16_t(0xDC00 + gen() % 0x400); break;
            default: u = char16_t(gen() % 0x10000); break;
            }
        }
        failures += !same_encode(text);
    }
}

TEST(Utf8Windows, DecodeEdgeCases)
{
    const std::string cases[] = {
        "", "abc", "\xc3\xa4", "\xc0", "\xc0\xc0\x80", "\xe0\xc0", "\xe0\x20\xc0", "\x82\xa0\x82\xa2",
        "\xf8\xa3\xa3\xa3\xa3", "\xfc\xa3\xa3\xa3\xa3\xa3", "\xff\xfe",
        "\x61\xf1\x80\x80\xe1\x80\xc2\x62\x80\x63\x80\xbf\x64", "\xc1\xbf", "\xe0\x80\x80", "\xe0\x9f\xbf",
        "\xed\xa0\x80", "\xed\xbf\xbf", "\xf0\x80\x80\x80", "\xf0\x8f\xbf\xbf", "\xf4\x90\x80\x80",
        "\xf5\x80\x80\x80", "\xe2\x82", "\xe2\x82" "a", "\xe2" "a", "\xf0\x9f\x98", "\xf0\x9f\x98" "a",
        "\xf0\x9f\xf0\x9f\x98\x80", "\xc3", "a\xc3", "\xe2" "ab", "\xf0" "ab", "x\xf0\x41\x42",
        "\xe0\xa0\x80", "\xed\x9f\xbf", "\xf4\x8f\xbf\xbf", std::string("\xe0\xc0\0", 3), "\xef\xbb\xbfx", std::string("a\0b", 3),
    };
    for (const auto& bytes : cases) same_decode(bytes);
}

TEST(Utf8Windows, DecodeEveryOneAndTwoByteInput)
{
    int failures = 0;
    for (int a = 0; a < 256 && failures < 10; ++a) {
        failures += !same_decode(std::string(1, char(a)));
        for (int b = 0; b < 256 && failures < 10; ++b) failures += !same_decode({char(a), char(b)});
    }
}

TEST(Utf8Windows, DecodeThreeByteInputsAroundBoundaries)
{
    const unsigned char thirds[] = {0x00, 0x41, 0x7f, 0x80, 0x8f, 0x90, 0x9f, 0xa0, 0xbf, 0xc0, 0xc2, 0xe0, 0xf0, 0xff};
    int failures = 0;
    for (int a = 0xc0; a < 256 && failures < 10; ++a)
        for (int b = 0; b < 256 && failures < 10; ++b)
            for (unsigned char c : thirds) failures += !same_decode({char(a), char(b), char(c)});
}

TEST(Utf8Windows, DecodeFourByteInputsAroundBoundaries)
{
    const unsigned char others[] = {0x00, 0x41, 0x7f, 0x80, 0x8f, 0x90, 0x9f, 0xa0, 0xbf, 0xc0, 0xc2, 0xe0, 0xf0, 0xff};
    int failures = 0;
    for (int a = 0xf0; a <= 0xf5 && failures < 10; ++a)
        for (int b = 0; b < 256 && failures < 10; ++b)
            for (unsigned char c : others)
                for (unsigned char d : others) failures += !same_decode({char(a), char(b), char(c), char(d)});
}

TEST(Utf8Windows, DecodeRandomBytes)
{
    // Bytes drawn from the classes that matter: ASCII, continuations, each kind of lead.
    const unsigned char pool[] = {0x00, 0x41, 0x7f, 0x80, 0x8f, 0x90, 0x9f, 0xa0, 0xbf, 0xc0, 0xc1, 0xc2,
                                  0xdf, 0xe0, 0xe1, 0xec, 0xed, 0xee, 0xef, 0xf0, 0xf1, 0xf3, 0xf4, 0xf5,
                                  0xf8, 0xfe, 0xff};
    std::mt19937 gen(2);
    int failures = 0;
    for (int trial = 0; trial < 50000 && failures < 10; ++trial) {
        std::string bytes(gen() % 12, '\0');
        for (auto& b : bytes) b = char(gen() % 3 ? pool[gen() % sizeof(pool)] : gen() % 256);
        failures += !same_decode(bytes);
    }
}

TEST(Utf8Windows, RoundTripOfRandomValidText)
{
    std::mt19937 gen(3);
    int failures = 0;
    for (int trial = 0; trial < 5000 && failures < 10; ++trial) {
        const std::u16string text = random_well_formed_text(gen, 20);
        failures += !same_encode(text);
        failures += !same_decode(utf8_encode(text));
    }
}

}  // namespace
