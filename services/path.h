// Splitting a path into folder, file name and extension. Backslash and slash both
// separate folders; a leading double quote is skipped. Null paths give "".
#pragma once

#include <cstdint>
#include <string>

// path_file_part flag: leave the extension out.
constexpr std::uint32_t PATH_NO_EXTENSION = 1;

// Everything up to and including the last separator before the end or a "|".
std::u16string path_folder_part(const char16_t* path);

// Everything after the last separator, up to the end or a double quote.
std::u16string path_file_part(const char16_t* path, std::uint32_t flags);

// The text after the extension's dot; "" when the name has none (".txt" has none).
std::u16string path_extension_part(const char16_t* path);
