// Directory scans (numbered objects of their own) and single-call path operations.
#pragma once

#include "core/object.h"

#include <cstdint>
#include <string>

constexpr std::int32_t ENTRY_FILE = 1;
constexpr std::int32_t ENTRY_DIRECTORY = 2;

constexpr std::uint32_t DELETE_FORCE = 2;

// file_size results besides a size.
constexpr std::int64_t FILE_SIZE_MISSING = -1;
constexpr std::int64_t FILE_SIZE_FOLDER = -2;

// Creates the table of directory scans (file_start calls it); false when memory runs out.
bool dir_start();

// Starts a scan of the folder's entries matching the pattern ("*.*" when null or
// empty). Succeeds with no entries when nothing matches; 0 when the folder cannot
// be searched. Returns the new number for GK_ANY, else a nonzero value.
ObjectNumber dir_examine(ObjectNumber number, const char16_t* folder, const char16_t* pattern);
// Moves to the next entry; false when there is none.
bool dir_next_entry(ObjectNumber number);
// The entry last handed out: ENTRY_FILE or ENTRY_DIRECTORY, 0 before the first one.
std::int32_t dir_entry_type(ObjectNumber number);
std::u16string dir_entry_name(ObjectNumber number);
// Ends a scan; GK_ANY ends every scan.
void dir_finish(ObjectNumber number);
void dir_finish_all();
// Records held for dynamic numbers: a failed scan must leave none behind.
std::size_t dir_dynamic_records();

// The size of a file; FILE_SIZE_FOLDER for a folder or drive root, FILE_SIZE_MISSING
// when nothing is there.
std::int64_t file_size(const char16_t* path);
// Moves a file or folder; fails when the new path exists.
bool file_rename(const char16_t* old_path, const char16_t* new_path);
// Deletes a file; DELETE_FORCE clears its attributes first (read-only files too).
bool file_delete(const char16_t* path, std::uint32_t flags);
// Creates one folder level; fails when it exists.
bool dir_create(const char16_t* path);
