#include "toolkit/controls/explorer_folder_win.h"

#include <windows.h>

#include <shellapi.h>
#include <shlobj.h>

#include <map>
#include <utility>

namespace {

// Icon and type name per extension, read from the shell once each.
struct FileLook {
    int icon;
    std::u16string type;
};

std::map<std::u16string, FileLook> g_looks;

FileLook look_of(const std::u16string& name, bool folder)
{
    std::size_t dot = name.rfind(u'.');
    std::u16string key = folder ? u"\\" : dot == std::u16string::npos ? u"" : name.substr(dot);
    auto found = g_looks.find(key);
    if (found != g_looks.end())
        return found->second;
    SHFILEINFOW info = {};
    std::u16string probe = u"x" + key;
    SHGetFileInfoW(reinterpret_cast<LPCWSTR>(probe.c_str()), folder ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL,
                   &info, sizeof(info), SHGFI_USEFILEATTRIBUTES | SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_TYPENAME);
    FileLook look{info.iIcon, reinterpret_cast<const char16_t*>(info.szTypeName)};
    g_looks.emplace(key, look);
    return look;
}

ExplorerEntry entry_of(const WIN32_FIND_DATAW& found)
{
    bool folder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    std::u16string name = reinterpret_cast<const char16_t*>(found.cFileName);
    FileLook look = look_of(name, folder);
    std::uint64_t size = (std::uint64_t{found.nFileSizeHigh} << 32) | found.nFileSizeLow;
    std::uint64_t changed = (std::uint64_t{found.ftLastWriteTime.dwHighDateTime} << 32)
                            | found.ftLastWriteTime.dwLowDateTime;
    return ExplorerEntry{std::move(name), look.type, size, changed, folder, look.icon};
}

}  // namespace

std::u16string explorer_platform_path(const std::u16string& path)
{
    if (path.size() >= MAX_PATH - 12 && path.rfind(u"\\\\", 0) != 0)
        return u"\\\\?\\" + path;
    return path;
}

std::u16string explorer_documents_folder()
{
    wchar_t path[MAX_PATH] = {};
    if (SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, path) != S_OK)
        return {};
    std::u16string folder = reinterpret_cast<const char16_t*>(path);
    return folder.empty() || folder.back() == u'\\' ? folder : folder + u'\\';
}

std::u16string explorer_resolve_folder(const std::u16string& folder, std::uint32_t flags)
{
    if (!folder.empty())
        return folder;
    if (!(flags & GK_Explorer_NoMyDocuments))
        return explorer_documents_folder();
    wchar_t current[MAX_PATH] = {};
    DWORD length = GetCurrentDirectoryW(MAX_PATH, current);
    return explorer_split_path(std::u16string(reinterpret_cast<const char16_t*>(current), length)).folder;
}

bool explorer_is_folder(const std::u16string& folder)
{
    DWORD attributes = GetFileAttributesW(reinterpret_cast<LPCWSTR>(explorer_platform_path(folder).c_str()));
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool explorer_scan_open(const std::u16string& folder, ExplorerScan* scan, std::vector<ExplorerEntry>* entries)
{
    scan->search = INVALID_HANDLE_VALUE;
    if (folder.empty())
        return false;
    std::u16string pattern = explorer_platform_path(folder + u"*");
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileExW(reinterpret_cast<LPCWSTR>(pattern.c_str()), FindExInfoBasic, &found,
                                     FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (search == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_FILE_NOT_FOUND;
    entries->push_back(entry_of(found));
    scan->search = search;
    return true;
}

bool explorer_scan_more(ExplorerScan* scan, std::size_t count, std::vector<ExplorerEntry>* entries)
{
    if (scan->search == INVALID_HANDLE_VALUE)
        return false;
    WIN32_FIND_DATAW found;
    for (std::size_t read = 0; read < count; ++read) {
        if (!FindNextFileW(scan->search, &found)) {
            explorer_scan_close(scan);
            return false;
        }
        entries->push_back(entry_of(found));
    }
    return true;
}

void explorer_scan_close(ExplorerScan* scan)
{
    if (scan->search != INVALID_HANDLE_VALUE)
        FindClose(scan->search);
    scan->search = INVALID_HANDLE_VALUE;
}

bool explorer_read_folder(const std::u16string& folder, std::vector<ExplorerEntry>* entries)
{
    entries->clear();
    ExplorerScan scan;
    if (!explorer_scan_open(folder, &scan, entries))
        return false;
    while (explorer_scan_more(&scan, SIZE_MAX, entries)) {
    }
    return true;
}

void* explorer_small_icons()
{
    SHFILEINFOW info = {};
    return reinterpret_cast<void*>(SHGetFileInfoW(L"x", FILE_ATTRIBUTE_NORMAL, &info, sizeof(info),
                                                  SHGFI_USEFILEATTRIBUTES | SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
}

int explorer_folder_icon()
{
    return look_of(u"x", true).icon;
}
