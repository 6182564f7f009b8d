#include "services/folder.h"

#include "services/file_system_ops.h"

#include <windows.h>

#include <string>

namespace {

// Paths longer than this are cut, as the classic Win32 path limit does.
constexpr std::size_t PATH_LIMIT = 260;

struct DirectoryObject {
    HANDLE search;             // primary handle; INVALID_HANDLE_VALUE when nothing matched
    bool first_pending;        // the first match is found but not handed out yet
    bool has_entry;            // an entry has been handed out
    WIN32_FIND_DATAW entry;
};

struct DirectoryState {
    ObjectTable* scans;
};

DirectoryState* state = nullptr;

void finish_for_table(ObjectNumber number)
{
    dir_finish(number);
}

DirectoryObject* find_scan(ObjectNumber number)
{
    return state ? static_cast<DirectoryObject*>(object_get(state->scans, number)) : nullptr;
}

const wchar_t* wide(const std::u16string& text)
{
    return reinterpret_cast<const wchar_t*>(text.c_str());
}

std::u16string limited(const char16_t* path)
{
    std::u16string text(path);
    if (text.size() > PATH_LIMIT)
        text.resize(PATH_LIMIT);
    return text;
}

bool is_separator(char16_t unit)
{
    return unit == u'\\' || unit == u'/';
}

// -2 when the platform knows a root directory at the path (a trailing backslash is
// added when missing), else -1.
std::int64_t root_size(std::u16string root)
{
    if (root.back() != u'\\')
        root.push_back(u'\\');
    return GetDriveTypeW(wide(root)) > DRIVE_NO_ROOT_DIR ? FILE_SIZE_FOLDER : FILE_SIZE_MISSING;
}

}  // namespace

bool dir_start()
{
    if (state)
        return true;
    auto* block = static_cast<DirectoryState*>(state_block_new(sizeof(DirectoryState), nullptr));
    if (!block)
        return false;
    block->scans = object_table_new(sizeof(DirectoryObject), 16, finish_for_table);
    if (!block->scans)
        return false;
    state = block;
    return true;
}

ObjectNumber dir_examine(ObjectNumber number, const char16_t* folder, const char16_t* pattern)
{
    if (!state)
        return 0;
    std::u16string search_path = folder ? folder : u"";
    if (!search_path.empty() && search_path.back() != u'\\')
        search_path.push_back(u'\\');
    search_path += pattern && *pattern ? pattern : u"*.*";

    auto* scan = static_cast<DirectoryObject*>(object_new(state->scans, number));
    if (!scan)
        return 0;
    HANDLE search = FindFirstFileW(wide(search_path), &scan->entry);
    if (search == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_NOT_FOUND && error != ERROR_NO_MORE_FILES) {
            object_free(state->scans, object_number_for(number, scan));
            return 0;
        }
    }
    scan->search = search;
    scan->first_pending = search != INVALID_HANDLE_VALUE;
    return number == GK_ANY ? object_number_for(number, scan) : reinterpret_cast<ObjectNumber>(search);
}

bool dir_next_entry(ObjectNumber number)
{
    DirectoryObject* scan = find_scan(number);
    if (!scan || scan->search == INVALID_HANDLE_VALUE)
        return false;
    if (scan->first_pending) {
        scan->first_pending = false;
        scan->has_entry = true;
        return true;
    }
    WIN32_FIND_DATAW next;
    if (!FindNextFileW(scan->search, &next))
        return false;
    scan->entry = next;
    return true;
}

std::int32_t dir_entry_type(ObjectNumber number)
{
    DirectoryObject* scan = find_scan(number);
    if (!scan || !scan->has_entry)
        return 0;
    return scan->entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY ? ENTRY_DIRECTORY : ENTRY_FILE;
}

std::u16string dir_entry_name(ObjectNumber number)
{
    DirectoryObject* scan = find_scan(number);
    if (!scan || !scan->has_entry)
        return std::u16string();
    return std::u16string(reinterpret_cast<const char16_t*>(scan->entry.cFileName));
}

void dir_finish(ObjectNumber number)
{
    if (number == GK_ANY) {
        dir_finish_all();
        return;
    }
    DirectoryObject* scan = find_scan(number);
    if (!scan)
        return;
    if (scan->search != INVALID_HANDLE_VALUE)
        FindClose(scan->search);
    object_free(state->scans, number);
}

void dir_finish_all()
{
    if (state)
        object_free_all(state->scans);
}

std::size_t dir_dynamic_records()
{
    return state ? object_dynamic_count(state->scans) : 0;
}

std::int64_t file_size(const char16_t* path)
{
    if (!path || !*path)
        return FILE_SIZE_MISSING;
    std::u16string text = limited(path);
    if ((text.size() == 2 || text.size() == 3) && text[1] == u':')
        return root_size(text);
    while (text.size() > 1 && is_separator(text.back()))
        text.pop_back();
    // Attributes rather than a directory search, so that wildcards match nothing.
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (GetFileAttributesExW(wide(text), GetFileExInfoStandard, &data)) {
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            return FILE_SIZE_FOLDER;
        return static_cast<std::int64_t>((static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) |
                                         data.nFileSizeLow);
    }
    // A network share's root is no entry of any folder.
    if (text.starts_with(u"\\\\") || text.starts_with(u".."))
        return root_size(text);
    return FILE_SIZE_MISSING;
}

bool file_rename(const char16_t* old_path, const char16_t* new_path)
{
    if (!old_path || !new_path)
        return false;
    return file_system_ops().move_file(reinterpret_cast<const wchar_t*>(old_path),
                                       reinterpret_cast<const wchar_t*>(new_path), MOVEFILE_COPY_ALLOWED) != 0;
}

bool file_delete(const char16_t* path, std::uint32_t flags)
{
    if (!path)
        return false;
    const auto* name = reinterpret_cast<const wchar_t*>(path);
    if (flags & DELETE_FORCE)
        SetFileAttributesW(name, FILE_ATTRIBUTE_NORMAL);
    return DeleteFileW(name) != 0;
}

bool dir_create(const char16_t* path)
{
    if (!path)
        return false;
    std::u16string text = limited(path);
    while (!text.empty() && (text.back() == u' ' || is_separator(text.back())))
        text.pop_back();
    return !text.empty() && CreateDirectoryW(wide(text), nullptr) != 0;
}
