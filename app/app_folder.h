// Listing the files of a data folder by extension.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// True when the name's extension (path_extension_part, not empty) equals one of
// the entries of a "|"-terminated list such as "txt|" or "bin|", ignoring case.
bool app_extension_listed(std::u16string_view name, std::u16string_view extensions);

// The folders to make, outermost first, so that the whole folder path exists: every
// prefix of the path that ends at a separator, after its root. The root (a drive "C:\",
// a network share "\\server\share\", their "\\?\" and "\\?\UNC\" forms, a volume
// "\\?\Volume{...}\") is never among them: it cannot be made, only be there.
std::vector<std::u16string> app_folder_levels(std::u16string_view path);

#ifdef _WIN32
// The names of the files directly inside the folder whose extension is listed, in no
// particular order; empty when the folder cannot be read.
std::vector<std::u16string> app_scan_folder(std::u16string_view folder, std::u16string_view extensions);
#endif
