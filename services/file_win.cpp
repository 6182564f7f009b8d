#include "services/file.h"

#include "services/file_system_ops.h"
#include "services/folder.h"
#include "services/text_convert.h"
#include "services/utf8.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>

namespace {

constexpr std::int32_t BUFFER_SIZE = static_cast<std::int32_t>(FILE_BUFFER_SIZE);

// Largest piece handed to one ReadFile or WriteFile call.
constexpr std::int64_t MAX_TRANSFER = 1 << 30;

struct FileObject {
    HANDLE handle;            // primary handle: the record is live while it is set
    std::uint8_t* buffer;     // FILE_BUFFER_SIZE bytes, or null when unbuffered
    std::int32_t count;       // writing: free bytes left; reading: bytes not yet handed out
    std::int32_t loaded;      // bytes the last refill put into the buffer
    bool writing;
    bool read_only;
    bool write_failed;        // some buffered bytes never reached the platform
    std::int32_t format;      // default text format
};

struct FileState {
    ObjectTable* files;
};

FileState* state = nullptr;

void close_for_table(ObjectNumber number)
{
    file_close(number);
}

FileObject* find_file(ObjectNumber number)
{
    return state ? static_cast<FileObject*>(object_get(state->files, number)) : nullptr;
}

std::int32_t default_format(std::uint32_t flags)
{
    const auto format = static_cast<std::int32_t>(flags & TEXT_FORMAT_MASK);
    return format == 0 ? TEXT_UTF8 : format;
}

DWORD share_mode(std::uint32_t flags)
{
    if (flags & OPEN_SHARE_ALL)
        return FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    return flags & OPEN_SHARE_READ ? FILE_SHARE_READ : 0;
}

// Writes everything or as much as the platform takes; returns the bytes written.
std::int64_t write_platform(HANDLE handle, const std::uint8_t* data, std::int64_t length)
{
    std::int64_t total = 0;
    while (total < length) {
        const std::int64_t piece = length - total < MAX_TRANSFER ? length - total : MAX_TRANSFER;
        DWORD written = 0;
        const BOOL done =
            file_system_ops().write_file(handle, data + total, static_cast<DWORD>(piece), &written, nullptr);
        // A failed call may still have written part of the piece: it counts.
        total += written;
        if (!done || written == 0)
            break;
    }
    return total;
}

// Reads until the length is reached or the file ends; returns the bytes read.
std::int64_t read_platform(HANDLE handle, std::uint8_t* data, std::int64_t length)
{
    std::int64_t total = 0;
    while (total < length) {
        const std::int64_t piece = length - total < MAX_TRANSFER ? length - total : MAX_TRANSFER;
        DWORD got = 0;
        if (!ReadFile(handle, data + total, static_cast<DWORD>(piece), &got, nullptr) || got == 0)
            break;
        total += got;
    }
    return total;
}

bool move_platform(HANDLE handle, std::int64_t distance, DWORD method, std::int64_t* result = nullptr)
{
    LARGE_INTEGER move;
    move.QuadPart = distance;
    LARGE_INTEGER now;
    if (!SetFilePointerEx(handle, move, &now, method))
        return false;
    if (result)
        *result = now.QuadPart;
    return true;
}

// Hands the bytes waiting in the buffer to the platform; the buffer is empty after it
// either way, and a failure is remembered for file_close.
bool write_pending(FileObject* file)
{
    if (!file->buffer || !file->writing || file->count == BUFFER_SIZE)
        return true;
    const std::int64_t pending = BUFFER_SIZE - file->count;
    file->count = BUFFER_SIZE;
    if (write_platform(file->handle, file->buffer, pending) == pending)
        return true;
    file->write_failed = true;
    return false;
}

// Leaves the buffer empty in reading direction, with the platform position at the
// logical one.
bool drop_buffer(FileObject* file)
{
    bool ok = write_pending(file);
    file->writing = false;
    file->count = 0;
    file->loaded = 0;
    return ok;
}

std::int64_t write_bytes(FileObject* file, const void* source, std::int64_t length)
{
    if (file->read_only || !source || length <= 0)
        return 0;
    const auto* data = static_cast<const std::uint8_t*>(source);
    if (!file->buffer)
        return write_platform(file->handle, data, length);
    if (!file->writing) {
        // The platform position is ahead of the logical one by the unread bytes.
        if (file->count > 0 && !move_platform(file->handle, -file->count, FILE_CURRENT))
            return 0;
        file->writing = true;
        file->count = BUFFER_SIZE;
        file->loaded = 0;
    }
    if (length < file->count) {
        std::memcpy(file->buffer + (BUFFER_SIZE - file->count), data, static_cast<std::size_t>(length));
        file->count -= static_cast<std::int32_t>(length);
        return length;
    }
    if (!write_pending(file))
        return 0;
    if (length >= BUFFER_SIZE)
        return write_platform(file->handle, data, length);
    std::memcpy(file->buffer, data, static_cast<std::size_t>(length));
    file->count -= static_cast<std::int32_t>(length);
    return length;
}

std::int64_t read_bytes(FileObject* file, void* destination, std::int64_t length)
{
    if (!destination || length <= 0)
        return 0;
    auto* out = static_cast<std::uint8_t*>(destination);
    if (!file->buffer)
        return read_platform(file->handle, out, length);
    if (file->writing)
        drop_buffer(file);
    std::int64_t total = file->count < length ? file->count : length;
    std::memcpy(out, file->buffer + (file->loaded - file->count), static_cast<std::size_t>(total));
    file->count -= static_cast<std::int32_t>(total);
    const std::int64_t rest = length - total;
    if (rest == 0)
        return total;
    if (rest >= BUFFER_SIZE) {
        file->loaded = 0;
        return total + read_platform(file->handle, out + total, rest);
    }
    file->loaded = static_cast<std::int32_t>(read_platform(file->handle, file->buffer, BUFFER_SIZE));
    const std::int64_t piece = rest < file->loaded ? rest : file->loaded;
    std::memcpy(out + total, file->buffer, static_cast<std::size_t>(piece));
    file->count = file->loaded - static_cast<std::int32_t>(piece);
    return total + piece;
}

std::int64_t logical_position(FileObject* file)
{
    std::int64_t position = 0;
    if (!move_platform(file->handle, 0, FILE_CURRENT, &position))
        return -1;
    if (!file->buffer)
        return position;
    return file->writing ? position + (BUFFER_SIZE - file->count) : position - file->count;
}

bool seek_to(FileObject* file, std::int64_t position)
{
    if (position < 0)
        return false;
    drop_buffer(file);
    return move_platform(file->handle, position, FILE_BEGIN);
}

// Moves the logical position back over bytes just read, within the buffer when it
// still holds them.
void give_back(FileObject* file, std::int32_t bytes)
{
    if (file->buffer && !file->writing && file->loaded - file->count >= bytes) {
        file->count += bytes;
        return;
    }
    seek_to(file, logical_position(file) - bytes);
}

enum class Access { read, read_write, create };

ObjectNumber open_file(ObjectNumber number, const char16_t* path, std::uint32_t flags, Access access)
{
    if (!state || !path)
        return 0;
    auto* file = static_cast<FileObject*>(object_new(state->files, number));
    if (!file)
        return 0;
    const auto* name = reinterpret_cast<const wchar_t*>(path);
    const DWORD share = share_mode(flags);
    const FileSystemOps& ops = file_system_ops();
    HANDLE handle = INVALID_HANDLE_VALUE;
    switch (access) {
    case Access::read:
        handle = ops.create_file(name, GENERIC_READ, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        break;
    case Access::read_write:
        handle = ops.create_file(name, GENERIC_READ | GENERIC_WRITE, share, nullptr, OPEN_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
        break;
    case Access::create:
        handle = ops.create_file(name, GENERIC_READ | GENERIC_WRITE, share, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
        // A hidden or system file refuses CREATE_ALWAYS with new attributes but can
        // still be emptied in place.
        if (handle == INVALID_HANDLE_VALUE)
            handle = ops.create_file(name, GENERIC_WRITE, share, nullptr, TRUNCATE_EXISTING, 0, nullptr);
        break;
    }
    if (handle == INVALID_HANDLE_VALUE || handle == nullptr) {
        object_free(state->files, object_number_for(number, file));
        return 0;
    }
    file->handle = handle;
    file->format = default_format(flags);
    file->read_only = access == Access::read;
    if (!(flags & OPEN_NO_BUFFER))
        file->buffer = static_cast<std::uint8_t*>(std::malloc(FILE_BUFFER_SIZE));
    if (access == Access::read_write && (flags & OPEN_APPEND))
        move_platform(handle, 0, FILE_END);
    return number == GK_ANY ? object_number_for(number, file) : reinterpret_cast<ObjectNumber>(handle);
}

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

TextUnit read_unit(FileObject* file, Unit unit)
{
    TextUnit text{};
    text.complete = true;
    if (unit == Unit::utf16) {
        if (read_bytes(file, text.bytes, 2) == 2) {
            text.stored = text.consumed = 2;
            text.value = text.bytes[0] | (text.bytes[1] << 8);
        }
        return text;
    }
    if (read_bytes(file, text.bytes, 1) != 1)
        return text;
    text.stored = text.consumed = 1;
    text.value = text.bytes[0];
    if (unit == Unit::byte || text.value < 0x80)
        return text;
    const auto size = static_cast<std::int32_t>(utf8_lead_length(text.bytes[0]));
    if (size == 0) {
        text.bytes[0] = '?';
        text.value = '?';
        return text;
    }
    const auto got = static_cast<std::int32_t>(read_bytes(file, text.bytes + 1, size - 1));
    text.consumed += got;
    text.value = 0x80;
    const void* zero = std::memchr(text.bytes + 1, 0, static_cast<std::size_t>(got));
    if (zero)
        text.stored = static_cast<std::int32_t>(static_cast<const std::uint8_t*>(zero) - text.bytes);
    else
        text.stored += got;
    text.complete = text.stored == size;
    return text;
}

}  // namespace

bool file_start()
{
    if (!state) {
        auto* block = static_cast<FileState*>(state_block_new(sizeof(FileState), nullptr));
        if (!block)
            return false;
        block->files = object_table_new(sizeof(FileObject), 16, close_for_table);
        if (!block->files)
            return false;
        state = block;
    }
    return dir_start();
}

void file_end()
{
    file_close(GK_ANY);
    dir_finish_all();
}

ObjectNumber file_open_read(ObjectNumber number, const char16_t* path, std::uint32_t flags)
{
    return open_file(number, path, flags, Access::read);
}

ObjectNumber file_open(ObjectNumber number, const char16_t* path, std::uint32_t flags)
{
    return open_file(number, path, flags, Access::read_write);
}

ObjectNumber file_create(ObjectNumber number, const char16_t* path, std::uint32_t flags)
{
    return open_file(number, path, flags, Access::create);
}

ObjectNumber file_create_simple(ObjectNumber number, const char16_t* path)
{
    return open_file(number, path, TEXT_UTF8, Access::create);
}

bool file_is_open(ObjectNumber number)
{
    return find_file(number) != nullptr;
}

std::size_t file_dynamic_records()
{
    return state ? object_dynamic_count(state->files) : 0;
}

std::int64_t file_length(ObjectNumber number)
{
    FileObject* file = find_file(number);
    if (!file)
        return -1;
    write_pending(file);
    LARGE_INTEGER size;
    return GetFileSizeEx(file->handle, &size) ? size.QuadPart : -1;
}

std::int64_t file_position(ObjectNumber number)
{
    FileObject* file = find_file(number);
    return file ? logical_position(file) : -1;
}

bool file_seek(ObjectNumber number, std::int64_t position)
{
    FileObject* file = find_file(number);
    return file && seek_to(file, position);
}

std::int64_t file_read_data(ObjectNumber number, void* destination, std::int64_t length)
{
    FileObject* file = find_file(number);
    return file ? read_bytes(file, destination, length) : 0;
}

std::int64_t file_write_data(ObjectNumber number, const void* source, std::int64_t length)
{
    FileObject* file = find_file(number);
    return file ? write_bytes(file, source, length) : 0;
}

bool file_write_bom(ObjectNumber number, std::int32_t format)
{
    FileObject* file = find_file(number);
    if (!file || file->read_only)
        return false;
    static const std::uint8_t UTF8[] = {0xEF, 0xBB, 0xBF};
    static const std::uint8_t UTF16[] = {0xFF, 0xFE};
    static const std::uint8_t UTF16BE[] = {0xFE, 0xFF};
    static const std::uint8_t UTF32[] = {0xFF, 0xFE, 0x00, 0x00};
    static const std::uint8_t UTF32BE[] = {0x00, 0x00, 0xFE, 0xFF};
    switch (format) {
    case TEXT_UTF8:
        return write_bytes(file, UTF8, sizeof UTF8) == sizeof UTF8;
    case TEXT_UTF16:
        return write_bytes(file, UTF16, sizeof UTF16) == sizeof UTF16;
    case TEXT_UTF16BE:
        return write_bytes(file, UTF16BE, sizeof UTF16BE) == sizeof UTF16BE;
    case TEXT_UTF32:
        return write_bytes(file, UTF32, sizeof UTF32) == sizeof UTF32;
    case TEXT_UTF32BE:
        return write_bytes(file, UTF32BE, sizeof UTF32BE) == sizeof UTF32BE;
    default:
        return true;
    }
}

std::int32_t file_detect_bom(ObjectNumber number)
{
    FileObject* file = find_file(number);
    if (!file)
        return TEXT_ANSI;
    struct Mark {
        std::uint8_t bytes[4];
        std::int64_t size;
        std::int32_t format;
    };
    static const Mark MARKS[] = {
        {{0xFF, 0xFE, 0x00, 0x00}, 4, TEXT_UTF32}, {{0x00, 0x00, 0xFE, 0xFF}, 4, TEXT_UTF32BE},
        {{0xFF, 0xFE}, 2, TEXT_UTF16},             {{0xEF, 0xBB, 0xBF}, 3, TEXT_UTF8},
        {{0xFE, 0xFF}, 2, TEXT_UTF16BE},
    };
    const std::int64_t start = logical_position(file);
    std::uint8_t head[4] = {};
    const std::int64_t got = read_bytes(file, head, sizeof head);
    for (const Mark& mark : MARKS) {
        if (got >= mark.size && std::memcmp(head, mark.bytes, static_cast<std::size_t>(mark.size)) == 0) {
            seek_to(file, start + mark.size);
            return mark.format;
        }
    }
    seek_to(file, start);
    return TEXT_ANSI;
}

std::int64_t file_write_string(ObjectNumber number, const char16_t* text, std::int32_t format)
{
    FileObject* file = find_file(number);
    if (!file || !text || !*text)
        return 0;
    if (format == TEXT_UTF16) {
        const std::size_t units = std::char_traits<char16_t>::length(text);
        return write_bytes(file, text, static_cast<std::int64_t>(units * sizeof(char16_t)));
    }
    const std::string bytes = format == TEXT_UTF8 ? utf16_to_utf8(text) : utf16_to_ansi(text);
    return write_bytes(file, bytes.data(), static_cast<std::int64_t>(bytes.size()));
}

std::u16string file_read_string(ObjectNumber number, std::uint32_t flags)
{
    FileObject* file = find_file(number);
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
        if (text.stored == 0 || text.value == 0)
            break;
        if (!whole_file && text.value == '\n')
            break;
        if (!whole_file && text.value == '\r') {
            // CR LF ends a line as one; any other unit after CR is left for the next read.
            const TextUnit next = read_unit(file, unit);
            if (next.consumed > 0 && next.value != '\n')
                give_back(file, next.consumed);
            break;
        }
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

bool file_flush(ObjectNumber number)
{
    FileObject* file = find_file(number);
    if (!file || file->read_only)
        return false;
    const bool written = write_pending(file) && !file->write_failed;
    return file_system_ops().flush_file_buffers(file->handle) && written;
}

bool file_truncate(ObjectNumber number, std::int64_t length)
{
    FileObject* file = find_file(number);
    if (!file || file->read_only || length < 0)
        return false;
    file->writing = false;
    file->count = 0;
    file->loaded = 0;
    return move_platform(file->handle, length, FILE_BEGIN) && file_system_ops().set_end_of_file(file->handle);
}

bool file_replace(const char16_t* source, const char16_t* target)
{
    if (!source || !target)
        return false;
    // A virus scanner or indexer may hold the target for a moment.
    constexpr int ATTEMPTS = 6;
    DWORD pause = 20;
    for (int attempt = 1;; ++attempt) {
        if (file_system_ops().move_file(reinterpret_cast<const wchar_t*>(source),
                                        reinterpret_cast<const wchar_t*>(target),
                                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return true;
        const DWORD error = GetLastError();
        if (attempt == ATTEMPTS || (error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION))
            return false;
        Sleep(pause);
        pause *= 2;
    }
}

bool file_close(ObjectNumber number)
{
    if (!state)
        return false;
    if (number == GK_ANY) {
        bool all_ok = true;
        ObjectNumber open_number = 0;
        object_enum_reset(state->files);
        while (object_enum_next(state->files, &open_number))
            all_ok = file_close(open_number) && all_ok;
        return all_ok;
    }
    FileObject* file = find_file(number);
    if (!file)
        return false;
    bool ok = write_pending(file) && !file->write_failed;
    std::free(file->buffer);
    ok = CloseHandle(file->handle) && ok;
    object_free(state->files, number);
    return ok;
}
