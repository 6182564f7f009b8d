#ifdef _WIN32

#include "tests/support/temp_folder.h"

#include <windows.h>

#include <atomic>
#include <cstdio>

namespace {

const wchar_t* wide(const std::u16string& text)
{
    return reinterpret_cast<const wchar_t*>(text.c_str());
}

// Removes a folder with everything inside it.
void remove_tree(const std::u16string& folder)
{
    for (const std::u16string& name : raw_names(folder)) {
        const std::u16string full = folder + name;
        if (GetFileAttributesW(wide(full)) & FILE_ATTRIBUTE_DIRECTORY) {
            remove_tree(full + u"\\");
        } else {
            SetFileAttributesW(wide(full), FILE_ATTRIBUTE_NORMAL);
            DeleteFileW(wide(full));
        }
    }
    RemoveDirectoryW(wide(folder));
}

}  // namespace

TempFolder::TempFolder(const char* prefix)
{
    static std::atomic<unsigned> counter{0};
    wchar_t base[MAX_PATH + 1];
    const DWORD length = GetTempPathW(MAX_PATH + 1, base);
    char name[64];
    std::snprintf(name, sizeof name, "%s-%lu-%lu-%u", prefix, GetCurrentProcessId(), GetTickCount(), counter++);
    path.assign(reinterpret_cast<const char16_t*>(base), length);
    for (const char* c = name; *c; ++c)
        path.push_back(static_cast<char16_t>(*c));
    CreateDirectoryW(wide(path), nullptr);
    path += u"\\";
}

TempFolder::~TempFolder()
{
    remove_tree(path);
}

std::string raw_read(const std::u16string& path)
{
    std::string bytes;
    HANDLE file = CreateFileW(wide(path), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return bytes;
    char chunk[65536];
    DWORD got = 0;
    while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0)
        bytes.append(chunk, got);
    CloseHandle(file);
    return bytes;
}

bool raw_write(const std::u16string& path, std::string_view bytes)
{
    HANDLE file = CreateFileW(wide(path), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool ok = bytes.empty() || (WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                                                nullptr) && written == bytes.size());
    return CloseHandle(file) && ok;
}

bool raw_exists(const std::u16string& path)
{
    return GetFileAttributesW(wide(path)) != INVALID_FILE_ATTRIBUTES;
}

std::vector<std::u16string> raw_names(const std::u16string& folder)
{
    std::vector<std::u16string> names;
    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileW(wide(folder + u"*"), &entry);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        std::u16string name(reinterpret_cast<const char16_t*>(entry.cFileName));
        if (name != u"." && name != u"..")
            names.push_back(name);
    } while (FindNextFileW(search, &entry));
    FindClose(search);
    return names;
}

std::string last_error_text()
{
    DWORD error = GetLastError();
    char text[512] = {};
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, text,
                   sizeof text, nullptr);
    return "error " + std::to_string(error) + ": " + text;
}

#endif
