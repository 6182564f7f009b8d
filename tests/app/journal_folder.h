// Windows test support for the journal's files: a fresh folder under the temporary
// folder, raw file access that bypasses the file service, and a file layer that fails
// the Nth write, flush or move.
#pragma once

#ifdef _WIN32

#include "tests/support/temp_folder.h"

struct JournalFolder : TempFolder {
    JournalFolder() : TempFolder("qn-journal") {}
};

// Counts every write, flush and move the file service makes from now on, and fails
// the one numbered `fail_at` (1 for the first). A failing write writes half of its
// bytes first, as a disk that fills up does.
void faults_install(int fail_at);
// Whether the failure was made.
bool faults_struck();
void faults_remove();

#endif
