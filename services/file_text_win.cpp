// Text written to and read from an open file: UTF-16, UTF-8 or the ANSI code page, line by
// line or the whole rest of the file.
#include "services/file_internal_win.h"

#include "services/text_convert.h"
#include "services/text_decode.h"
#include "services/utf8.h"

#include <cstring>

namespace {

// One unit of text as bytes, by format.
enum class Unit { byte, utf16, utf8 };

Unit unit_for(std::int32_t format)
{
    if (format == TEXT_UTF16)
        return Unit::utf16;
    return format == TEXT_UTF8 ? Unit::utf8 : Unit::byte;
}

// One unit of text read from a file.
struct TextUnit {
    std::uint8_t bytes[4];
    std::int32_t stored;     // bytes of the unit to keep; 0 at the end of the file
    std::int32_t consumed;   // bytes taken from the file
    std::uint32_t value;     // the unit's value, or 0x80 for a multi-byte UTF-8 sequence
    bool complete;           // false for a UTF-8 sequence cut short by the end or a zero byte
};

// The rest of a UTF-8 sequence whose lead byte the unit holds; a zero byte cuts it short.
void read_utf8_tail(FileObject* file, TextUnit* text)
{
    const auto size = static_cast<std::int32_t>(utf8_lead_length(text->bytes[0]));
    if (size == 0) {
        text->bytes[0] = '?';
        text->value = '?';
        return;
    }
    const auto got = static_cast<std::int32_t>(file_buffered_read(file, text->bytes + 1, size - 1));
    text->consumed += got;
    text->value = 0x80;
    const void* zero = std::memchr(text->bytes + 1, 0, static_cast<std::size_t>(got));
    if (zero)
        text->stored = static_cast<std::int32_t>(static_cast<const std::uint8_t*>(zero) - text->bytes);
    else
        text->stored += got;
    text->complete = text->stored == size;
}

TextUnit read_unit(FileObject* file, Unit unit)
{
    TextUnit text{};
    text.complete = true;
    if (unit == Unit::utf16) {
        if (file_buffered_read(file, text.bytes, 2) == 2) {
            text.stored = text.consumed = 2;
            text.value = text_utf16_unit(text.bytes, false);
        }
        return text;
    }
    if (file_buffered_read(file, text.bytes, 1) != 1)
        return text;
    text.stored = text.consumed = 1;
    text.value = text.bytes[0];
    if (unit == Unit::utf8 && text.value >= 0x80)
        read_utf8_tail(file, &text);
    return text;
}

// Whether the unit ends the text read: the end of the file, a zero unit, or a line break
// when reading a line. CR LF ends a line as one; any other unit after CR is left for the
// next read.
bool ends_text(FileObject* file, Unit unit, const TextUnit& text, bool whole_file)
{
    if (text.stored == 0 || text.value == 0)
        return true;
    if (whole_file)
        return false;
    if (text.value == '\r') {
        const TextUnit next = read_unit(file, unit);
        if (next.consumed > 0 && next.value != '\n')
            file_give_back(file, next.consumed);
        return true;
    }
    return text.value == '\n';
}

}  // namespace

std::int64_t file_write_string(ObjectNumber number, const char16_t* text, std::int32_t format)
{
    FileObject* file = file_object(number);
    if (!file || !text || !*text)
        return 0;
    if (format == TEXT_UTF16) {
        const std::size_t units = std::char_traits<char16_t>::length(text);
        return file_buffered_write(file, text, static_cast<std::int64_t>(units * sizeof(char16_t)));
    }
    const std::string bytes = format == TEXT_UTF8 ? utf16_to_utf8(text) : utf16_to_ansi(text);
    return file_buffered_write(file, bytes.data(), static_cast<std::int64_t>(bytes.size()));
}

std::u16string file_read_string(ObjectNumber number, std::uint32_t flags)
{
    FileObject* file = file_object(number);
    if (!file)
        return std::u16string();
    const std::int32_t format = (flags & TEXT_FORMAT_MASK) ? static_cast<std::int32_t>(flags & TEXT_FORMAT_MASK)
                                                           : file->format;
    const bool whole_file = (flags & READ_WHOLE_FILE) != 0;
    const Unit unit = unit_for(format);
    std::u16string wide;    // UTF-16 units as read
    std::string narrow;     // UTF-8 or ANSI bytes as read
    narrow.reserve(FILE_BUFFER_SIZE);
    for (;;) {
        const TextUnit text = read_unit(file, unit);
        if (ends_text(file, unit, text, whole_file))
            break;
        if (unit == Unit::utf16)
            wide.push_back(static_cast<char16_t>(text.value));
        else
            narrow.append(reinterpret_cast<const char*>(text.bytes), static_cast<std::size_t>(text.stored));
        if (!text.complete)
            break;
    }
    if (unit == Unit::utf16)
        return wide;
    return unit == Unit::utf8 ? utf8_to_utf16(narrow.c_str()) : ansi_to_utf16(narrow.c_str());
}
