// Note names: what the user may call a note, and the files that hold the notes.
// A note "N" is the file "N.bin" in the notes folder.
#pragma once

#include <string>
#include <string_view>
#include <vector>

inline constexpr char16_t NOTE_EXTENSION[] = u".bin";

// Longest name, so that the note's file and its temporary file fit in a file name.
constexpr std::size_t NOTE_NAME_MAX = 200;

// True when the name stays a plain file name inside the notes folder: not empty, not
// only dots, no \ / : * ? " < > | or control character, not a device name such as
// CON, NUL, COM1 or LPT1 (also with an extension, in any case, with trailing dots or
// spaces), and at most NOTE_NAME_MAX characters.
bool note_name_valid(std::u16string_view name);

// The note file's name: name + ".bin".
std::u16string note_file_name(std::u16string_view name);

// The name of the temporary file a save writes first: "~" + name + ".bin.tmp", which
// the note list never shows.
std::u16string note_temporary_file_name(std::u16string_view name);

// The note names among file names: those ending in ".bin" (any case), without it,
// sorted ignoring case.
std::vector<std::u16string> note_names(const std::vector<std::u16string>& file_names);
