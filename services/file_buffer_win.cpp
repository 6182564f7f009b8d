// The file's buffer: small transfers gather in FILE_BUFFER_SIZE bytes before one platform
// call, and large ones go straight through.
#include "services/file_internal_win.h"

#include "services/file_system_ops.h"

#include <cstring>

namespace {

constexpr std::int32_t BUFFER_SIZE = static_cast<std::int32_t>(FILE_BUFFER_SIZE);

// Largest piece handed to one ReadFile or WriteFile call.
constexpr std::int64_t MAX_TRANSFER = 1 << 30;

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

std::int32_t unread(const FileBuffer& buffer)
{
    return buffer.loaded - buffer.taken;
}

// Leaves the buffer empty in reading direction, with the platform position at the
// logical one.
bool drop_buffer(FileObject* file)
{
    bool ok = file_write_pending(file);
    file->buffer.writing = false;
    file->buffer.loaded = 0;
    file->buffer.taken = 0;
    return ok;
}

// Turns a reading buffer to writing: the platform position moves back over the unread bytes.
bool start_writing(FileObject* file)
{
    FileBuffer& buffer = file->buffer;
    if (unread(buffer) > 0 && !file_platform_seek(file->handle, -unread(buffer), FILE_CURRENT))
        return false;
    buffer.writing = true;
    buffer.pending = 0;
    buffer.loaded = 0;
    buffer.taken = 0;
    return true;
}

}  // namespace

bool file_platform_seek(HANDLE handle, std::int64_t distance, DWORD method, std::int64_t* result)
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

bool file_write_pending(FileObject* file)
{
    FileBuffer& buffer = file->buffer;
    if (!buffer.bytes || !buffer.writing || buffer.pending == 0)
        return true;
    const std::int64_t pending = buffer.pending;
    buffer.pending = 0;
    if (write_platform(file->handle, buffer.bytes, pending) == pending)
        return true;
    buffer.write_failed = true;
    return false;
}

void file_discard_buffer(FileObject* file)
{
    file->buffer.writing = false;
    file->buffer.pending = 0;
    file->buffer.loaded = 0;
    file->buffer.taken = 0;
}

std::int64_t file_buffered_write(FileObject* file, const void* source, std::int64_t length)
{
    if (file->read_only || !source || length <= 0)
        return 0;
    const auto* data = static_cast<const std::uint8_t*>(source);
    FileBuffer& buffer = file->buffer;
    if (!buffer.bytes)
        return write_platform(file->handle, data, length);
    if (!buffer.writing && !start_writing(file))
        return 0;
    if (length < BUFFER_SIZE - buffer.pending) {
        std::memcpy(buffer.bytes + buffer.pending, data, static_cast<std::size_t>(length));
        buffer.pending += static_cast<std::int32_t>(length);
        return length;
    }
    if (!file_write_pending(file))
        return 0;
    if (length >= BUFFER_SIZE)
        return write_platform(file->handle, data, length);
    std::memcpy(buffer.bytes, data, static_cast<std::size_t>(length));
    buffer.pending = static_cast<std::int32_t>(length);
    return length;
}

std::int64_t file_buffered_read(FileObject* file, void* destination, std::int64_t length)
{
    if (!destination || length <= 0)
        return 0;
    auto* out = static_cast<std::uint8_t*>(destination);
    FileBuffer& buffer = file->buffer;
    if (!buffer.bytes)
        return read_platform(file->handle, out, length);
    if (buffer.writing)
        drop_buffer(file);
    const std::int64_t total = unread(buffer) < length ? unread(buffer) : length;
    std::memcpy(out, buffer.bytes + buffer.taken, static_cast<std::size_t>(total));
    buffer.taken += static_cast<std::int32_t>(total);
    const std::int64_t rest = length - total;
    if (rest == 0)
        return total;
    if (rest >= BUFFER_SIZE) {
        buffer.loaded = 0;
        buffer.taken = 0;
        return total + read_platform(file->handle, out + total, rest);
    }
    buffer.loaded = static_cast<std::int32_t>(read_platform(file->handle, buffer.bytes, BUFFER_SIZE));
    const std::int64_t piece = rest < buffer.loaded ? rest : buffer.loaded;
    std::memcpy(out + total, buffer.bytes, static_cast<std::size_t>(piece));
    buffer.taken = static_cast<std::int32_t>(piece);
    return total + piece;
}

std::int64_t file_logical_position(FileObject* file)
{
    std::int64_t position = 0;
    if (!file_platform_seek(file->handle, 0, FILE_CURRENT, &position))
        return -1;
    const FileBuffer& buffer = file->buffer;
    if (!buffer.bytes)
        return position;
    return buffer.writing ? position + buffer.pending : position - unread(buffer);
}

bool file_move_to(FileObject* file, std::int64_t position)
{
    if (position < 0)
        return false;
    drop_buffer(file);
    return file_platform_seek(file->handle, position, FILE_BEGIN);
}

void file_give_back(FileObject* file, std::int32_t bytes)
{
    FileBuffer& buffer = file->buffer;
    if (buffer.bytes && !buffer.writing && buffer.taken >= bytes) {
        buffer.taken -= bytes;
        return;
    }
    file_move_to(file, file_logical_position(file) - bytes);
}
