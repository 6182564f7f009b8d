#include "demo/preview_watch.h"

#include <windows.h>

namespace {

bool look(const std::wstring& path, std::uint64_t* written, std::uint64_t* size)
{
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return false;
    *written = (static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
               data.ftLastWriteTime.dwLowDateTime;
    *size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return true;
}

}  // namespace

void preview_watch_start(PreviewWatch* watch, const wchar_t* path)
{
    watch->path = path;
    look(watch->path, &watch->written, &watch->size);
}

bool preview_watch_changed(PreviewWatch* watch)
{
    std::uint64_t written = 0;
    std::uint64_t size = 0;
    if (!look(watch->path, &written, &size) || (written == watch->written && size == watch->size))
        return false;
    watch->written = written;
    watch->size = size;
    return true;
}

void preview_watch_place_like(void* window, void* previous)
{
    RECT before = {};
    if (GetWindowRect(static_cast<HWND>(previous), &before))
        SetWindowPos(static_cast<HWND>(window), nullptr, before.left, before.top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
