#include "toolkit/program.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <tlhelp32.h>

#include <string>

namespace {

const wchar_t* wide(const std::u16string& text)
{
    return reinterpret_cast<const wchar_t*>(text.c_str());
}

std::u16string temp_path(const char16_t* name)
{
    wchar_t folder[MAX_PATH];
    DWORD length = GetTempPathW(MAX_PATH, folder);
    return std::u16string(reinterpret_cast<const char16_t*>(folder), length) + name;
}

// The file's first bytes once it exists and has some, polling for up to 20 s.
std::string wait_for_file(const std::u16string& path)
{
    for (int attempt = 0; attempt < 400; ++attempt, Sleep(50)) {
        HANDLE file = CreateFileW(wide(path), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            continue;
        char buffer[64];
        DWORD read = 0;
        ReadFile(file, buffer, sizeof(buffer), &read, nullptr);
        CloseHandle(file);
        if (read > 0)
            return std::string(buffer, read);
    }
    return "(no file)";
}

// Ends the processes that this test started through the shell.
void end_child_processes()
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
        HANDLE process = entry.th32ParentProcessID == GetCurrentProcessId()
                             ? OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, entry.th32ProcessID)
                             : nullptr;
        if (process) {
            TerminateProcess(process, 0);
            WaitForSingleObject(process, 5000);
            CloseHandle(process);
        }
    }
    CloseHandle(snapshot);
}

TEST(ProgramWinTest, FileNameIsTheFullPathOfTheRunningExecutable)
{
    std::u16string name = program_file_name();
    wchar_t image[1024];
    DWORD size = 1024;
    ASSERT_TRUE(QueryFullProcessImageNameW(GetCurrentProcess(), 0, image, &size));
    EXPECT_EQ(_wcsicmp(wide(name), image), 0);
    EXPECT_EQ(name.substr(1, 2), u":\\");
    EXPECT_TRUE(name.ends_with(u"toolkit_program_win_test.exe"));
    DWORD attributes = GetFileAttributesW(wide(name));
    EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY));
}

TEST(ProgramWinTest, StartsAProgramGivenAsAQuotedCommandLine)
{
    std::u16string marker = temp_path(u"program_open_cmd.txt");
    DeleteFileW(wide(marker));
    ASSERT_EQ(program_open((u"\"cmd.exe\" /c echo ran>" + marker).c_str()), 1);
    EXPECT_EQ(wait_for_file(marker).substr(0, 3), "ran");
    DeleteFileW(wide(marker));
}

TEST(ProgramWinTest, AFolderOpensThroughTheShell)
{
    std::u16string folder = temp_path(u"program_open_folder");
    CreateDirectoryW(wide(folder), nullptr);
    EXPECT_EQ(program_open(folder.c_str()), 1);
    EXPECT_EQ(program_open((folder + u"\\").c_str()), 1);
    end_child_processes();
    RemoveDirectoryW(wide(folder));
}

TEST(ProgramWinTest, NothingToOpenFails)
{
    EXPECT_EQ(program_open(nullptr), 0);
    EXPECT_EQ(program_open(u""), 0);
    EXPECT_EQ(program_open(u"C:\\no such folder\\no such program.exe"), 0);
}

}  // namespace
