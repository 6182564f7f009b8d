// Reading and writing note files. Windows only; the file service must have been started.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Largest note file that is read: a note of 32 million characters. Loading holds the file,
// its plaintext and the text at once, so a larger (damaged or foreign) file is refused
// before anything is allocated for it.
constexpr std::int64_t NOTE_READ_LIMIT = std::int64_t{64} << 20;

// The whole content of a note file; false when it cannot be opened or read, is larger
// than NOTE_READ_LIMIT, or the name is not a valid note name.
bool note_read_file(const std::u16string& folder, const std::u16string& name, std::vector<std::uint8_t>& data);

// Replaces a note file's content in one step: the bytes go to a temporary file in the
// same folder, which is flushed, read back and compared, then moved over the note file.
// On any failure (an invalid note name included, or more bytes than NOTE_READ_LIMIT, which
// could never be read back) the note file is as it was, the temporary file is gone, and
// the result is false.
bool note_write_file(const std::u16string& folder, const std::u16string& name, const std::vector<std::uint8_t>& data);

// The names of the notes in the folder, sorted ignoring case.
std::vector<std::u16string> note_list(const std::u16string& folder);
