// DialogPreview reads each of its files whole: the definition and the files of --text and
// --items.
#pragma once

#include <string>

// The file's bytes; false when it cannot be opened or not all of it was read.
bool preview_read_file(const std::u16string& path, std::string* bytes);

// The file's text as text_decode reads its bytes (UTF-16 or UTF-8); false as preview_read_file.
bool preview_read_text(const std::u16string& path, std::u16string* text);
