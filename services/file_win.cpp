// Numbered file objects: opening, closing and the byte operations. The buffer is in
// file_buffer_win.cpp, marks in file_bom_win.cpp, text in file_text_win.cpp and the safe
// replace in file_replace_win.cpp.
#include "services/file.h"

#include "services/file_internal_win.h"
#include "services/file_system_ops.h"
#include "services/folder.h"

#include <cstdlib>

namespace {

struct FileState {
    ObjectTable* files;
};

FileState* state = nullptr;

void close_for_table(ObjectNumber number)
{
    file_close(number);
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

enum class Access { read, read_write, create };

HANDLE open_handle(const char16_t* path, std::uint32_t flags, Access access)
{
    const auto* name = reinterpret_cast<const wchar_t*>(path);
    const DWORD share = share_mode(flags);
    const FileSystemOps& ops = file_system_ops();
    switch (access) {
    case Access::read:
        return ops.create_file(name, GENERIC_READ, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    case Access::read_write:
        return ops.create_file(name, GENERIC_READ | GENERIC_WRITE, share, nullptr, OPEN_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    case Access::create:
        break;
    }
    HANDLE handle = ops.create_file(name, GENERIC_READ | GENERIC_WRITE, share, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    // A hidden or system file refuses CREATE_ALWAYS with new attributes but can still be
    // emptied in place.
    if (handle == INVALID_HANDLE_VALUE)
        handle = ops.create_file(name, GENERIC_WRITE, share, nullptr, TRUNCATE_EXISTING, 0, nullptr);
    return handle;
}

ObjectNumber open_file(ObjectNumber number, const char16_t* path, std::uint32_t flags, Access access)
{
    if (!state || !path)
        return 0;
    auto* file = static_cast<FileObject*>(object_new(state->files, number));
    if (!file)
        return 0;
    HANDLE handle = open_handle(path, flags, access);
    if (handle == INVALID_HANDLE_VALUE || handle == nullptr) {
        object_free(state->files, object_number_for(number, file));
        return 0;
    }
    file->handle = handle;
    file->format = default_format(flags);
    file->read_only = access == Access::read;
    if (!(flags & OPEN_NO_BUFFER))
        file->buffer.bytes = static_cast<std::uint8_t*>(std::malloc(FILE_BUFFER_SIZE));
    if (access == Access::read_write && (flags & OPEN_APPEND))
        file_platform_seek(handle, 0, FILE_END);
    return number == GK_ANY ? object_number_for(number, file) : reinterpret_cast<ObjectNumber>(handle);
}

}  // namespace

FileObject* file_object(ObjectNumber number)
{
    return state ? static_cast<FileObject*>(object_get(state->files, number)) : nullptr;
}

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
    return file_object(number) != nullptr;
}

std::size_t file_dynamic_records()
{
    return state ? object_dynamic_count(state->files) : 0;
}

std::int64_t file_length(ObjectNumber number)
{
    FileObject* file = file_object(number);
    if (!file)
        return -1;
    file_write_pending(file);
    LARGE_INTEGER size;
    return GetFileSizeEx(file->handle, &size) ? size.QuadPart : -1;
}

std::int64_t file_position(ObjectNumber number)
{
    FileObject* file = file_object(number);
    return file ? file_logical_position(file) : -1;
}

bool file_seek(ObjectNumber number, std::int64_t position)
{
    FileObject* file = file_object(number);
    return file && file_move_to(file, position);
}

std::int64_t file_read_data(ObjectNumber number, void* destination, std::int64_t length)
{
    FileObject* file = file_object(number);
    return file ? file_buffered_read(file, destination, length) : 0;
}

std::int64_t file_write_data(ObjectNumber number, const void* source, std::int64_t length)
{
    FileObject* file = file_object(number);
    return file ? file_buffered_write(file, source, length) : 0;
}

bool file_flush(ObjectNumber number)
{
    FileObject* file = file_object(number);
    if (!file || file->read_only)
        return false;
    const bool written = file_write_pending(file) && !file->buffer.write_failed;
    return file_system_ops().flush_file_buffers(file->handle) && written;
}

bool file_truncate(ObjectNumber number, std::int64_t length)
{
    FileObject* file = file_object(number);
    if (!file || file->read_only || length < 0)
        return false;
    file_discard_buffer(file);
    return file_platform_seek(file->handle, length, FILE_BEGIN) && file_system_ops().set_end_of_file(file->handle);
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
    FileObject* file = file_object(number);
    if (!file)
        return false;
    bool ok = file_write_pending(file) && !file->buffer.write_failed;
    std::free(file->buffer.bytes);
    ok = CloseHandle(file->handle) && ok;
    object_free(state->files, number);
    return ok;
}
