#ifdef _WIN32

#include "journal_folder.h"

#include "services/file_system_ops.h"

#include <windows.h>

namespace {

int fail_at = 0;
int counted = 0;
bool struck = false;

// True when this call is the one to fail.
bool strikes()
{
    if (++counted != fail_at)
        return false;
    struck = true;
    return true;
}

BOOL WINAPI counted_write(HANDLE file, LPCVOID data, DWORD length, LPDWORD written, LPOVERLAPPED overlapped)
{
    if (!strikes())
        return WriteFile(file, data, length, written, overlapped);
    WriteFile(file, data, length / 2, written, overlapped);
    SetLastError(ERROR_DISK_FULL);
    return FALSE;
}

BOOL WINAPI counted_flush(HANDLE file)
{
    if (!strikes())
        return FlushFileBuffers(file);
    SetLastError(ERROR_WRITE_FAULT);
    return FALSE;
}

BOOL WINAPI counted_move(LPCWSTR from, LPCWSTR to, DWORD flags)
{
    if (!strikes())
        return MoveFileExW(from, to, flags);
    SetLastError(ERROR_WRITE_FAULT);
    return FALSE;
}

const FileSystemOps COUNTED_OPS = {CreateFileW, counted_write, counted_move, SetEndOfFile, counted_flush};

}  // namespace

void faults_install(int fail)
{
    fail_at = fail;
    counted = 0;
    struck = false;
    file_set_system_ops(&COUNTED_OPS);
}

bool faults_struck()
{
    return struck;
}

void faults_remove()
{
    file_set_system_ops(nullptr);
}

#endif
