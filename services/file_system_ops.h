// The Win32 calls through which the file layer changes the disk, in one table so that
// a test can put failing versions in their place. Windows only.
#pragma once

#include <windows.h>

struct FileSystemOps {
    HANDLE(WINAPI* create_file)(LPCWSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD, HANDLE);
    BOOL(WINAPI* write_file)(HANDLE, LPCVOID, DWORD, LPDWORD, LPOVERLAPPED);
    BOOL(WINAPI* move_file)(LPCWSTR, LPCWSTR, DWORD);
    BOOL(WINAPI* set_end_of_file)(HANDLE) = nullptr;
    BOOL(WINAPI* flush_file_buffers)(HANDLE) = nullptr;
};

// The table in use.
const FileSystemOps& file_system_ops();

// For tests: puts a copy of the table in use, with the platform's own call for every
// entry left null; null restores the platform's own calls throughout.
void file_set_system_ops(const FileSystemOps* ops);
