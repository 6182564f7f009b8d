// Windows test support for the journal's files: a fresh folder under the temporary
// folder, raw file access that bypasses the file service, and a file layer that fails
// the Nth write, flush or move.
#pragma once

#ifdef _WIN32

#include <string>
#include <string_view>
#include <vector>

struct JournalFolder {
    std::u16string path;  // ends in a backslash

    JournalFolder();
    ~JournalFolder();
    JournalFolder(const JournalFolder&) = delete;
    JournalFolder& operator=(const JournalFolder&) = delete;

    std::u16string operator/(std::u16string_view name) const { return path + std::u16string(name); }
};

std::string raw_read(const std::u16string& path);
bool raw_write(const std::u16string& path, std::string_view bytes);
bool raw_exists(const std::u16string& path);
// The names of everything in a folder but "." and "..".
std::vector<std::u16string> raw_names(const std::u16string& folder);

// Counts every write, flush and move the file service makes from now on, and fails
// the one numbered `fail_at` (1 for the first). A failing write writes half of its
// bytes first, as a disk that fills up does.
void faults_install(int fail_at);
// Whether the failure was made.
bool faults_struck();
void faults_remove();

#endif
