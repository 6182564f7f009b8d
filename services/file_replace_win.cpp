// The safe replace: a finished file moved over another one in one step.
#include "services/file.h"

#include "services/file_system_ops.h"

#include <windows.h>

bool file_replace(const char16_t* source, const char16_t* target)
{
    if (!source || !target)
        return false;
    // A virus scanner or indexer may hold the target for a moment.
    constexpr int ATTEMPTS = 6;
    DWORD pause = 20;
    for (int attempt = 1;; ++attempt) {
        if (file_system_ops().move_file(reinterpret_cast<const wchar_t*>(source),
                                        reinterpret_cast<const wchar_t*>(target),
                                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return true;
        const DWORD error = GetLastError();
        if (attempt == ATTEMPTS || (error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION))
            return false;
        Sleep(pause);
        pause *= 2;
    }
}
