// DialogPreview --check FILE...: every problem of each definition, one a line in the form
// compilers use ("FILE:LINE:COLUMN: error: MESSAGE", or "warning"), so that an editor that
// reads compiler output jumps to the place. Each window a file declares is also built,
// never shown. No window opens.
#pragma once

#include <vector>

// Prints the problems of every file; 1 when an error was printed (or a file could not be
// read), else 0. The program's components must be started.
int preview_check(const std::vector<const wchar_t*>& files);

// As preview_check, starting the components first.
int preview_check_started(const std::vector<const wchar_t*>& files);
