#include "toolkit/program.h"

#include <windows.h>
#include <shellapi.h>

#include <vector>

namespace {

const wchar_t* wide(const std::u16string& text)
{
    return reinterpret_cast<const wchar_t*>(text.c_str());
}

bool start_process(const std::u16string& path)
{
    std::u16string command = program_command_line(path);
    // CreateProcessW may write into the command line, so it gets a copy of its own.
    std::vector<wchar_t> buffer(command.begin(), command.end());
    buffer.push_back(L'\0');
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS, nullptr, nullptr,
                        &startup, &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

bool shell_open(const std::u16string& path)
{
    std::u16string folder = program_working_folder(path);
    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_DDEWAIT | SEE_MASK_FLAG_NO_UI;
    info.lpFile = wide(path);
    info.lpDirectory = folder.empty() ? nullptr : wide(folder);
    info.nShow = SW_SHOWNORMAL;
    if (!ShellExecuteExW(&info))
        return false;
    if (info.hProcess)
        CloseHandle(info.hProcess);
    return true;
}

bool is_folder(const std::u16string& path)
{
    DWORD attributes = GetFileAttributesW(wide(path));
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

int program_open(const char16_t* path)
{
    if (!path || !path[0])
        return 0;
    std::u16string text(path);
    // A folder goes straight to the shell: started as a program, a folder "story" would run
    // a "story.exe" placed beside it.
    return (!is_folder(text) && start_process(text)) || shell_open(text) ? 1 : 0;
}

std::u16string program_file_name()
{
    // A path longer than the classic limit is not cut short: the buffer grows until it fits.
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0)
            return std::u16string();
        if (length < buffer.size())
            return program_without_long_prefix(
                std::u16string(reinterpret_cast<const char16_t*>(buffer.data()), length));
        if (buffer.size() >= 32768)
            return std::u16string();
        buffer.resize(buffer.size() * 2);
    }
}
