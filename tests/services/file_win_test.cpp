#include "services/file.h"
#include "services/file_system_ops.h"
#include "services/folder.h"

#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

using namespace std::string_literals;

class FileTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(file_start()); }
    void TearDown() override
    {
        file_set_system_ops(nullptr);
        file_end();
    }

    // Opens a file with the given content for reading and writing.
    ObjectNumber open_with(const std::u16string& path, std::string_view content, std::uint32_t flags = 0)
    {
        EXPECT_TRUE(raw_write(path, content));
        ObjectNumber file = file_open(GK_ANY, path.c_str(), flags);
        EXPECT_NE(file, 0) << last_error_text();
        return file;
    }

    std::string read_bytes(ObjectNumber file, std::int64_t length)
    {
        std::string out(static_cast<std::size_t>(length), '\0');
        out.resize(static_cast<std::size_t>(file_read_data(file, out.data(), length)));
        return out;
    }

    std::int64_t write_text(ObjectNumber file, std::string_view bytes)
    {
        return file_write_data(file, bytes.data(), static_cast<std::int64_t>(bytes.size()));
    }

    TempFolder folder;
};

std::string pattern_bytes(std::size_t count, unsigned seed)
{
    std::string out(count, '\0');
    std::mt19937 random(seed);
    for (char& c : out)
        c = static_cast<char>(random());
    return out;
}

}  // namespace

TEST_F(FileTest, OpenVariants)
{
    const std::u16string path = folder / u"a.txt";
    EXPECT_EQ(file_open_read(GK_ANY, path.c_str(), 0), 0);  // missing
    EXPECT_FALSE(raw_exists(path));

    ObjectNumber created = file_open(GK_ANY, path.c_str(), 0);  // created when missing
    ASSERT_NE(created, 0);
    EXPECT_TRUE(file_is_open(created));
    EXPECT_EQ(write_text(created, "hello"), 5);
    EXPECT_TRUE(file_close(created));
    EXPECT_FALSE(file_is_open(created));
    EXPECT_EQ(raw_read(path), "hello");

    ObjectNumber appended = file_open(GK_ANY, path.c_str(), OPEN_APPEND);
    EXPECT_EQ(file_position(appended), 5);
    write_text(appended, "!");
    file_close(appended);
    EXPECT_EQ(raw_read(path), "hello!");

    ObjectNumber reading = file_open_read(GK_ANY, path.c_str(), OPEN_APPEND);  // append is ignored
    EXPECT_EQ(file_position(reading), 0);
    EXPECT_EQ(read_bytes(reading, 100), "hello!");
    file_close(reading);

    ObjectNumber emptied = file_create(GK_ANY, path.c_str(), OPEN_APPEND);
    EXPECT_EQ(file_length(emptied), 0);
    file_close(emptied);
    EXPECT_EQ(raw_read(path), "");
    EXPECT_EQ(file_create(GK_ANY, (folder / u"missing\\x.txt").c_str(), 0), 0);
}

// A failed open or create with a new number gives its record back: a thousand of them,
// read, read-write and create, leave the table as it was.
TEST_F(FileTest, FailedOpensLeaveNoRecord)
{
    const std::u16string missing = folder / u"missing\\x.txt";
    const std::size_t before = file_dynamic_records();
    for (int i = 0; i < 1000; ++i) {
        ASSERT_EQ(file_open_read(GK_ANY, missing.c_str(), 0), 0);
        ASSERT_EQ(file_open(GK_ANY, missing.c_str(), 0), 0);
        ASSERT_EQ(file_create(GK_ANY, missing.c_str(), OPEN_NO_BUFFER), 0);
    }
    EXPECT_EQ(file_dynamic_records(), before);
    const ObjectNumber open = file_create(GK_ANY, (folder / u"y.txt").c_str(), 0);
    ASSERT_NE(open, 0);
    EXPECT_EQ(file_dynamic_records(), before + 1);
    file_close(open);
    EXPECT_EQ(file_dynamic_records(), before);
}

TEST_F(FileTest, FixedNumbers)
{
    const std::u16string first = folder / u"1.txt";
    const std::u16string second = folder / u"2.txt";
    ObjectNumber handle = file_create_simple(9, first.c_str());
    ASSERT_NE(handle, 0);
    EXPECT_NE(handle, 9);  // the platform handle
    EXPECT_TRUE(file_is_open(9));
    write_text(9, "buffered");
    // Reusing the number closes the first file, writing its buffer out.
    ASSERT_NE(file_open(9, second.c_str(), 0), 0);
    EXPECT_EQ(raw_read(first), "buffered");
    write_text(9, "second");
    // A failed open on the number leaves it free.
    EXPECT_EQ(file_open_read(9, (folder / u"none").c_str(), 0), 0);
    EXPECT_FALSE(file_is_open(9));
    EXPECT_EQ(raw_read(second), "second");
    EXPECT_NE(file_open(40, first.c_str(), 0), 0);  // beyond the first 16 slots
    EXPECT_TRUE(file_is_open(40));
}

TEST_F(FileTest, CloseAllWritesEveryBuffer)
{
    ObjectNumber a = file_create(GK_ANY, (folder / u"a").c_str(), 0);
    ASSERT_NE(file_create(3, (folder / u"b").c_str(), 0), 0);
    write_text(a, "aaa");
    write_text(3, "bbb");
    EXPECT_TRUE(file_close(GK_ANY));
    EXPECT_FALSE(file_is_open(a));
    EXPECT_FALSE(file_is_open(3));
    EXPECT_EQ(raw_read(folder / u"a"), "aaa");
    EXPECT_EQ(raw_read(folder / u"b"), "bbb");
}

TEST_F(FileTest, ShareModes)
{
    const std::u16string path = folder / u"shared.txt";
    ObjectNumber exclusive = file_create(GK_ANY, path.c_str(), 0);
    EXPECT_EQ(file_open_read(GK_ANY, path.c_str(), OPEN_SHARE_ALL), 0);
    file_close(exclusive);
    ObjectNumber shared = file_open(GK_ANY, path.c_str(), OPEN_SHARE_READ);
    ObjectNumber reader = file_open_read(GK_ANY, path.c_str(), OPEN_SHARE_ALL);
    EXPECT_NE(reader, 0);
    EXPECT_EQ(file_open(GK_ANY, path.c_str(), OPEN_SHARE_ALL), 0);  // writing is not shared
    file_close(reader);
    file_close(shared);
}

TEST_F(FileTest, SmallWritesStayBufferedUntilLengthOrClose)
{
    const std::u16string path = folder / u"ten.bin";
    ObjectNumber file = file_create(GK_ANY, path.c_str(), 0);
    EXPECT_EQ(write_text(file, "0123456789"), 10);
    EXPECT_EQ(file_size(path.c_str()), 0);  // still in the buffer
    EXPECT_EQ(file_position(file), 10);
    EXPECT_EQ(file_length(file), 10);
    EXPECT_EQ(file_size(path.c_str()), 10);
    EXPECT_EQ(write_text(file, "ab"), 2);
    EXPECT_TRUE(file_close(file));
    EXPECT_EQ(raw_read(path), "0123456789ab");
}

TEST_F(FileTest, LargeWritesGoStraightToTheFile)
{
    const std::u16string path = folder / u"big.bin";
    const std::string big = pattern_bytes(5000, 1);
    ObjectNumber file = file_create(GK_ANY, path.c_str(), 0);
    EXPECT_EQ(write_text(file, big), 5000);
    EXPECT_EQ(file_size(path.c_str()), 5000);
    file_close(file);

    file = file_create(GK_ANY, path.c_str(), 0);
    EXPECT_EQ(write_text(file, big.substr(0, 100)), 100);
    EXPECT_EQ(write_text(file, big), 5000);
    EXPECT_EQ(file_size(path.c_str()), 5100);
    file_close(file);
    EXPECT_EQ(raw_read(path), big.substr(0, 100) + big);
}

TEST_F(FileTest, BufferFillsExactly)
{
    const std::u16string path = folder / u"fill.bin";
    const std::string data = pattern_bytes(3 * 4096 + 17, 2);
    ObjectNumber file = file_create(GK_ANY, path.c_str(), 0);
    EXPECT_EQ(write_text(file, data.substr(0, 4095)), 4095);
    EXPECT_EQ(file_size(path.c_str()), 0);
    EXPECT_EQ(write_text(file, data.substr(4095, 1)), 1);  // not shorter than the 1 free byte
    EXPECT_EQ(file_size(path.c_str()), 4095);
    EXPECT_EQ(write_text(file, data.substr(4096, 4096)), 4096);
    EXPECT_EQ(file_size(path.c_str()), 8192);
    EXPECT_EQ(write_text(file, data.substr(8192)), 4113);
    EXPECT_EQ(file_position(file), static_cast<std::int64_t>(data.size()));
    file_close(file);
    EXPECT_EQ(raw_read(path), data);
}

TEST_F(FileTest, ReadAfterWriteContinuesAtTheLogicalPosition)
{
    const std::u16string path = folder / u"mixed.txt";
    ObjectNumber file = open_with(path, "0123456789");
    EXPECT_EQ(write_text(file, "ab"), 2);
    EXPECT_EQ(read_bytes(file, 3), "234");
    EXPECT_EQ(file_position(file), 5);
    // A write after a read lands at the logical position, not behind the read-ahead.
    EXPECT_EQ(write_text(file, "XY"), 2);
    EXPECT_EQ(file_position(file), 7);
    EXPECT_EQ(read_bytes(file, 10), "789");
    EXPECT_EQ(file_position(file), 10);
    EXPECT_EQ(read_bytes(file, 10), "");
    file_close(file);
    EXPECT_EQ(raw_read(path), "ab234XY789");
}

TEST_F(FileTest, ReadsAcrossTheBuffer)
{
    const std::u16string path = folder / u"read.bin";
    const std::string data = pattern_bytes(20000, 3);
    ObjectNumber file = open_with(path, data);
    std::string got = read_bytes(file, 10);
    got += read_bytes(file, 4090);    // crosses a refill
    got += read_bytes(file, 9000);    // more than a buffer: read directly
    EXPECT_EQ(file_position(file), 13100);
    got += read_bytes(file, 4096);
    got += read_bytes(file, 100000);  // to the end
    EXPECT_EQ(got, data);
    EXPECT_EQ(file_position(file), 20000);
    EXPECT_EQ(read_bytes(file, 1), "");
}

TEST_F(FileTest, SeekAndPosition)
{
    const std::u16string path = folder / u"seek.bin";
    ObjectNumber file = open_with(path, "abcdefghij");
    EXPECT_TRUE(file_seek(file, 7));
    EXPECT_EQ(read_bytes(file, 2), "hi");
    EXPECT_TRUE(file_seek(file, 2));
    write_text(file, "CD");
    EXPECT_TRUE(file_seek(file, 1));
    EXPECT_EQ(read_bytes(file, 4), "bCDe");
    EXPECT_FALSE(file_seek(file, -1));
    EXPECT_EQ(file_position(file), 5);
    EXPECT_EQ(read_bytes(file, 1), "f");
    EXPECT_TRUE(file_seek(file, 12));  // beyond the end: a write fills the gap with zeros
    write_text(file, "z");
    EXPECT_EQ(file_length(file), 13);
    file_close(file);
    EXPECT_EQ(raw_read(path), "abCDefghij\0\0z"s);
}

TEST_F(FileTest, UnbufferedFilesWriteAtOnce)
{
    const std::u16string path = folder / u"direct.bin";
    ObjectNumber file = file_create(GK_ANY, path.c_str(), OPEN_NO_BUFFER);
    EXPECT_EQ(write_text(file, "abc"), 3);
    EXPECT_EQ(file_size(path.c_str()), 3);
    EXPECT_TRUE(file_seek(file, 1));
    EXPECT_EQ(read_bytes(file, 1), "b");
    EXPECT_EQ(write_text(file, "X"), 1);
    EXPECT_EQ(file_position(file), 3);
    file_close(file);
    EXPECT_EQ(raw_read(path), "abX");
}

TEST_F(FileTest, ReadOnlyFilesRefuseWrites)
{
    const std::u16string path = folder / u"ro.txt";
    ASSERT_TRUE(raw_write(path, "keep"));
    ObjectNumber file = file_open_read(GK_ANY, path.c_str(), 0);
    ASSERT_NE(file, 0);
    EXPECT_EQ(write_text(file, "xx"), 0);
    EXPECT_EQ(file_write_string(file, u"text", TEXT_UTF8), 0);
    EXPECT_FALSE(file_write_bom(file, TEXT_UTF8));
    EXPECT_FALSE(file_write_bom(file, TEXT_ANSI));
    EXPECT_EQ(file_position(file), 0);
    EXPECT_EQ(read_bytes(file, 10), "keep");
    EXPECT_TRUE(file_close(file));
    EXPECT_EQ(raw_read(path), "keep");
}

TEST_F(FileTest, ByteOrderMarksWritten)
{
    struct Case {
        std::int32_t format;
        std::string bytes;
    };
    const Case cases[] = {
        {TEXT_UTF8, "\xEF\xBB\xBF"},       {TEXT_UTF16, "\xFF\xFE"},         {TEXT_UTF16BE, "\xFE\xFF"},
        {TEXT_UTF32, "\xFF\xFE\0\0"s},     {TEXT_UTF32BE, "\0\0\xFE\xFF"s}, {TEXT_ANSI, ""},
        {0, ""},                           {99, ""},
    };
    for (const Case& c : cases) {
        const std::u16string path = folder / u"bom";
        ObjectNumber file = file_create(GK_ANY, path.c_str(), 0);
        EXPECT_TRUE(file_write_bom(file, c.format)) << c.format;
        file_close(file);
        EXPECT_EQ(raw_read(path), c.bytes) << c.format;
    }
}

TEST_F(FileTest, ByteOrderMarksDetected)
{
    struct Case {
        std::string content;
        std::int32_t format;
        std::int64_t position;
    };
    const Case cases[] = {
        {"\xEF\xBB\xBFxy", TEXT_UTF8, 3},
        {"\xFF\xFE", TEXT_UTF16, 2},
        {"\xFF\xFE\0"s, TEXT_UTF16, 2},
        {"\xFF\xFE\0\0"s, TEXT_UTF32, 4},
        {"\0\0\xFE\xFFz"s, TEXT_UTF32BE, 4},
        {"\xFE\xFF" "ab", TEXT_UTF16BE, 2},
        {"\xEF\xBB", TEXT_ANSI, 0},
        {"\xFF", TEXT_ANSI, 0},
        {"", TEXT_ANSI, 0},
        {"plain text", TEXT_ANSI, 0},
        {"\0\0\xFE"s, TEXT_ANSI, 0},
    };
    for (const Case& c : cases) {
        const std::u16string path = folder / u"detect";
        ObjectNumber file = open_with(path, c.content);
        EXPECT_EQ(file_detect_bom(file), c.format) << c.content.size();
        EXPECT_EQ(file_position(file), c.position);
        EXPECT_EQ(read_bytes(file, 100), c.content.substr(static_cast<std::size_t>(c.position)));
        file_close(file);
    }
    // Detection starts at the current position and restores it without a mark.
    ObjectNumber file = open_with(folder / u"middle", "ab\xEF\xBB\xBF" "c");
    read_bytes(file, 1);
    EXPECT_EQ(file_detect_bom(file), TEXT_ANSI);
    EXPECT_EQ(file_position(file), 1);
    read_bytes(file, 1);
    EXPECT_EQ(file_detect_bom(file), TEXT_UTF8);
    EXPECT_EQ(read_bytes(file, 1), "c");
}

TEST_F(FileTest, WriteStringFormats)
{
    const std::u16string path = folder / u"strings";
    ObjectNumber file = file_create(GK_ANY, path.c_str(), 0);
    EXPECT_EQ(file_write_string(file, u"a\u00e9\U0001F600", TEXT_UTF8), 7);
    EXPECT_EQ(file_write_string(file, u"a\u00e9", TEXT_UTF16), 4);
    EXPECT_EQ(file_write_string(file, u"abc", TEXT_ANSI), 3);
    EXPECT_EQ(file_write_string(file, u"\xD800x", TEXT_UTF8), 4);  // a lone surrogate becomes U+FFFD
    EXPECT_EQ(file_write_string(file, u"", TEXT_UTF8), 0);
    EXPECT_EQ(file_write_string(file, nullptr, TEXT_UTF16), 0);
    file_close(file);
    EXPECT_EQ(raw_read(path), "a\xC3\xA9\xF0\x9F\x98\x80" "a\0\xE9\0abc\xEF\xBF\xBDx"s);
}

TEST_F(FileTest, ReadStringDefaultsToTheFileFormat)
{
    const std::u16string path = folder / u"utf8.txt";
    ObjectNumber file = open_with(path, "\xC3\xA9t\xC3\xA9\n\xF0\x9F\x98\x80");
    EXPECT_EQ(file_read_string(file, 0), u"\u00e9t\u00e9");
    EXPECT_EQ(file_read_string(file, 0), u"\U0001F600");
    EXPECT_EQ(file_read_string(file, 0), u"");
    file_close(file);

    file = open_with(folder / u"utf16.txt", "h\0i\0\n\0x\0"s, TEXT_UTF16);
    EXPECT_EQ(file_read_string(file, 0), u"hi");
    EXPECT_TRUE(file_seek(file, 0));
    EXPECT_EQ(file_read_string(file, TEXT_UTF8 | READ_WHOLE_FILE), u"h");  // the zero byte ends it
}

TEST_F(FileTest, ReadStringLineEnds)
{
    struct Case {
        std::string content;
        std::vector<std::u16string> lines;
        std::u16string whole;
    };
    const Case cases[] = {
        {"a\rb", {u"a", u"b"}, u"a\rb"},
        {"a\r\nb", {u"a", u"b"}, u"a\r\nb"},
        {"a\nb\n", {u"a", u"b", u""}, u"a\nb\n"},
        {"\r\r\n\n", {u"", u"", u"", u""}, u"\r\r\n\n"},
        {"x\r", {u"x", u""}, u"x\r"},
        {"ab\0cd"s, {u"ab", u"cd"}, u"ab"},
    };
    for (std::int32_t format : {TEXT_UTF8, TEXT_ANSI, TEXT_UTF16}) {
        for (const Case& c : cases) {
            std::string content = c.content;
            if (format == TEXT_UTF16) {
                content.clear();
                for (char byte : c.content)
                    content += std::string(1, byte) + '\0';
            }
            const std::u16string path = folder / u"lines";
            ObjectNumber file = open_with(path, content);
            for (const std::u16string& line : c.lines)
                EXPECT_EQ(file_read_string(file, static_cast<std::uint32_t>(format)), line) << format;
            EXPECT_EQ(file_position(file), static_cast<std::int64_t>(content.size())) << format;
            EXPECT_TRUE(file_seek(file, 0));
            EXPECT_EQ(file_read_string(file, static_cast<std::uint32_t>(format) | READ_WHOLE_FILE), c.whole);
            file_close(file);
        }
    }
}

TEST_F(FileTest, ReadStringAcrossBufferRefills)
{
    // A CR as the last byte of the buffer, followed by a unit that is given back.
    std::string content(4095, 'a');
    content += "\rb";
    ObjectNumber file = open_with(folder / u"cr", content);
    EXPECT_EQ(file_read_string(file, TEXT_UTF8), std::u16string(4095, u'a'));
    EXPECT_EQ(file_position(file), 4096);
    EXPECT_EQ(file_read_string(file, TEXT_UTF8), u"b");
    file_close(file);

    // A long line of multi-byte characters straddling several refills, then a whole read.
    std::string long_line;
    std::u16string expected;
    for (int i = 0; i < 5000; ++i) {
        long_line += "\xE2\x82\xAC";  // the euro sign
        expected += u'\u20ac';
    }
    file = open_with(folder / u"long", long_line + "\r\n" + long_line);
    EXPECT_EQ(file_read_string(file, 0), expected);
    EXPECT_EQ(file_read_string(file, READ_WHOLE_FILE), expected);
}

TEST_F(FileTest, ReadStringMalformedUtf8)
{
    struct Case {
        std::string content;
        std::u16string text;
    };
    const Case cases[] = {
        {"a\x80" "b", u"a?b"},          // a continuation byte cannot lead
        {"\xF8\xFF", u"??"},
        {"a\xC3", u"a\uFFFD"},          // cut short by the end of the file
        {"a\xE2\x82", u"a\uFFFD"},
        {"a\xC3\0b"s, u"a\uFFFD"},      // cut short by a zero byte
        {"\xC3\x0A" "b", u"\uFFFD\nb"}, // the lead byte decides the length
    };
    for (const Case& c : cases) {
        ObjectNumber file = open_with(folder / u"bad", c.content);
        EXPECT_EQ(file_read_string(file, READ_WHOLE_FILE), c.text) << c.content;
        file_close(file);
    }
}

TEST_F(FileTest, ReadStringAnsiUsesTheCodePage)
{
    std::string bytes;
    for (int b = 1; b < 256; ++b) {
        if (b != '\r' && b != '\n')
            bytes.push_back(static_cast<char>(b));
    }
    wchar_t reference[512] = {};
    int units = MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), reference, 512);
    ObjectNumber file = open_with(folder / u"ansi", bytes, TEXT_ANSI);
    EXPECT_EQ(file_read_string(file, 0), std::u16string(reinterpret_cast<const char16_t*>(reference), units));
}

TEST_F(FileTest, NumbersThatNameNothing)
{
    const std::u16string path = folder / u"untouched";
    ASSERT_TRUE(raw_write(path, "same"));
    ObjectNumber open = file_open(GK_ANY, path.c_str(), 0);
    char buffer[8] = {};
    const ObjectNumber unknown[] = {0, 5, 1000, GK_ANY, -2, open + 16, 0x12345678};
    for (ObjectNumber number : unknown) {
        EXPECT_FALSE(file_is_open(number));
        EXPECT_EQ(file_length(number), -1);
        EXPECT_EQ(file_position(number), -1);
        EXPECT_FALSE(file_seek(number, 0));
        EXPECT_EQ(file_read_data(number, buffer, 4), 0);
        EXPECT_EQ(file_write_data(number, "data", 4), 0);
        EXPECT_FALSE(file_write_bom(number, TEXT_UTF8));
        EXPECT_EQ(file_detect_bom(number), TEXT_ANSI);
        EXPECT_EQ(file_write_string(number, u"text", TEXT_UTF8), 0);
        EXPECT_EQ(file_read_string(number, 0), u"");
        if (number != GK_ANY) {
            EXPECT_FALSE(file_close(number));
        }
    }
    EXPECT_EQ(file_open(-2, path.c_str(), 0), 0);
    EXPECT_EQ(file_create(-5, path.c_str(), 0), 0);
    EXPECT_TRUE(file_close(open));
    EXPECT_EQ(raw_read(path), "same");
}

TEST_F(FileTest, NullPointersAndBadSizes)
{
    const std::u16string path = folder / u"untouched";
    EXPECT_EQ(file_open(GK_ANY, nullptr, 0), 0);
    EXPECT_EQ(file_open_read(GK_ANY, nullptr, 0), 0);
    EXPECT_EQ(file_create(GK_ANY, nullptr, 0), 0);
    EXPECT_EQ(file_create_simple(4, nullptr), 0);
    EXPECT_FALSE(file_is_open(4));
    EXPECT_EQ(file_open(GK_ANY, u"", 0), 0);
    ObjectNumber file = open_with(path, "same");
    char buffer[8] = {};
    EXPECT_EQ(file_write_data(file, nullptr, 4), 0);
    EXPECT_EQ(file_write_data(file, "data", 0), 0);
    EXPECT_EQ(file_write_data(file, "data", -4), 0);
    EXPECT_EQ(file_read_data(file, nullptr, 4), 0);
    EXPECT_EQ(file_read_data(file, buffer, 0), 0);
    EXPECT_EQ(file_read_data(file, buffer, -1), 0);
    EXPECT_EQ(file_position(file), 0);
    EXPECT_TRUE(file_close(file));
    EXPECT_EQ(raw_read(path), "same");
}

namespace {

// Platform calls that fail, for the fault paths.
int create_calls = 0;
DWORD last_disposition = 0;
DWORD last_access = 0;

HANDLE WINAPI refuse_create_always(LPCWSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                                   DWORD disposition, DWORD attributes, HANDLE model)
{
    ++create_calls;
    last_disposition = disposition;
    last_access = access;
    if (disposition == CREATE_ALWAYS) {
        SetLastError(ERROR_ACCESS_DENIED);
        return INVALID_HANDLE_VALUE;
    }
    return CreateFileW(name, access, share, security, disposition, attributes, model);
}

BOOL WINAPI disk_full(HANDLE, LPCVOID, DWORD, LPDWORD written, LPOVERLAPPED)
{
    *written = 0;
    SetLastError(ERROR_DISK_FULL);
    return FALSE;
}

}  // namespace

TEST_F(FileTest, CreateFallsBackToTruncatingTheExistingFile)
{
    const std::u16string path = folder / u"hidden";
    ASSERT_TRUE(raw_write(path, "old content"));
    const FileSystemOps ops = {refuse_create_always, WriteFile, MoveFileExW};
    file_set_system_ops(&ops);
    create_calls = 0;
    ObjectNumber file = file_create(GK_ANY, path.c_str(), 0);
    ASSERT_NE(file, 0);
    EXPECT_EQ(create_calls, 2);
    EXPECT_EQ(last_disposition, static_cast<DWORD>(TRUNCATE_EXISTING));
    EXPECT_EQ(last_access, static_cast<DWORD>(GENERIC_WRITE));
    EXPECT_EQ(write_text(file, "new"), 3);
    EXPECT_TRUE(file_close(file));
    EXPECT_EQ(raw_read(path), "new");
    // Without an existing file both attempts fail and the number stays free.
    EXPECT_EQ(file_create(7, (folder / u"absent").c_str(), 0), 0);
    EXPECT_FALSE(file_is_open(7));
}

TEST_F(FileTest, WriteFailuresAreReported)
{
    const std::u16string path = folder / u"full";
    ObjectNumber file = file_create(GK_ANY, path.c_str(), 0);
    const FileSystemOps ops = {CreateFileW, disk_full, MoveFileExW};
    file_set_system_ops(&ops);
    EXPECT_EQ(write_text(file, "fits in the buffer"), 18);
    EXPECT_EQ(write_text(file, pattern_bytes(5000, 4)), 0);  // the buffer cannot be written out
    EXPECT_EQ(write_text(file, pattern_bytes(5000, 4)), 0);  // nor the direct write
    EXPECT_EQ(write_text(file, "later"), 5);
    EXPECT_FALSE(file_close(file));  // some bytes never reached the disk
    file_set_system_ops(nullptr);
    EXPECT_EQ(raw_read(path), "");
}

// A file driven by random writes, reads, seeks, length and position queries, closes
// and reopens, checked against the same operations on a byte vector.
class FileModelTest : public FileTest, public ::testing::WithParamInterface<std::uint32_t> {};

TEST_P(FileModelTest, MatchesAnInMemoryFile)
{
    const std::uint32_t flags = GetParam();
    const std::u16string path = folder / u"model.bin";
    std::mt19937 random(flags + 7);
    std::string model;
    std::size_t position = 0;
    ObjectNumber file = file_create(GK_ANY, path.c_str(), flags);
    ASSERT_NE(file, 0);

    auto random_length = [&]() -> std::size_t {
        switch (random() % 6) {
        case 0: return 1 + random() % 8;
        case 1: return 1 + random() % 200;
        case 2: return 4096 - 2 + random() % 5;
        case 3: return 1 + random() % 4096;
        case 4: return 4096 + random() % 9000;
        default: return 1 + random() % 40;
        }
    };
    for (int step = 0; step < 3000; ++step) {
        switch (random() % 10) {
        case 0: case 1: case 2: {
            std::string data = pattern_bytes(random_length(), static_cast<unsigned>(random()));
            ASSERT_EQ(write_text(file, data), static_cast<std::int64_t>(data.size())) << step;
            if (model.size() < position + data.size())
                model.resize(position + data.size(), '\0');
            model.replace(position, data.size(), data);
            position += data.size();
            break;
        }
        case 3: case 4: case 5: {
            std::size_t length = random_length();
            std::string expected = position < model.size() ? model.substr(position, length) : std::string();
            ASSERT_EQ(read_bytes(file, static_cast<std::int64_t>(length)), expected) << step;
            position += expected.size();
            break;
        }
        case 6: {
            position = random() % (model.size() + 50);
            ASSERT_TRUE(file_seek(file, static_cast<std::int64_t>(position))) << step;
            break;
        }
        case 7:
            ASSERT_EQ(file_length(file), static_cast<std::int64_t>(model.size())) << step;
            break;
        case 8:
            ASSERT_EQ(file_position(file), static_cast<std::int64_t>(position)) << step;
            break;
        default: {
            ASSERT_TRUE(file_close(file)) << step;
            ASSERT_EQ(raw_read(path), model) << step;
            const bool append = random() % 2;
            file = file_open(GK_ANY, path.c_str(), flags | (append ? OPEN_APPEND : 0));
            ASSERT_NE(file, 0) << step;
            position = append ? model.size() : 0;
            break;
        }
        }
    }
    ASSERT_TRUE(file_close(file));
    EXPECT_EQ(raw_read(path), model);
}

INSTANTIATE_TEST_SUITE_P(BufferedAndUnbuffered, FileModelTest, ::testing::Values(0u, OPEN_NO_BUFFER));
