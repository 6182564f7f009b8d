// Starting programs and opening documents or folders, and the program's own file name.
#pragma once

#include <string>

// The command line that starts the program at path: the path in double quotes, unless
// it already starts with one (then it is taken as a whole command line).
std::u16string program_command_line(const std::u16string& path);

// The working folder for opening path through the shell: the path up to and including
// its last backslash; "" when it has none.
std::u16string program_working_folder(const std::u16string& path);

// A file name without a leading "\\?\"; "\\?\UNC\server\share\..." becomes the
// network path "\\server\share\...", and so does "UNC\server\share\...", the form in
// which Wine names a program started from a share (a program's name is never relative).
std::u16string program_without_long_prefix(const std::u16string& path);

// Starts the program at path, or, when that fails (a folder or a document), opens it
// with the program the shell associates with it. Returns 1, or 0 if neither way works
// or path is null or empty.
int program_open(const char16_t* path);

// The full path of the running program's executable, "" on failure.
std::u16string program_file_name();
