// Windows test support: a fresh folder under the temporary folder, and raw file access
// through Win32 that bypasses the file layer under test.
#pragma once

#ifdef _WIN32

#include <string>
#include <string_view>
#include <vector>

struct TempFolder {
    std::u16string path;  // ends in a backslash

    // The folder's name starts with `prefix`, so that a leftover folder tells which tests made it.
    explicit TempFolder(const char* prefix = "qn-test");
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    std::u16string operator/(std::u16string_view name) const { return path + std::u16string(name); }
};

// The whole content of a file; empty when it cannot be read.
std::string raw_read(const std::u16string& path);
bool raw_write(const std::u16string& path, std::string_view bytes);
bool raw_exists(const std::u16string& path);
// The names of everything in a folder (ending in a backslash) but "." and "..".
std::vector<std::u16string> raw_names(const std::u16string& folder);

// GetLastError as text, for failure messages.
std::string last_error_text();

#endif
