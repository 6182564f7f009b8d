// Numbered file objects with a 4096-byte buffer, reading and writing bytes and text.
// Every operation on a number that names no open file does nothing and returns its
// failure value.
#pragma once

#include "core/object.h"

#include <cstdint>
#include <string>

// Text formats.
constexpr std::int32_t TEXT_UTF8 = 2;
constexpr std::int32_t TEXT_UTF16BE = 4;   // byte-order mark only
constexpr std::int32_t TEXT_UTF32 = 5;     // byte-order mark only
constexpr std::int32_t TEXT_UTF32BE = 6;   // byte-order mark only
constexpr std::int32_t TEXT_ANSI = 24;
constexpr std::int32_t TEXT_UTF16 = 25;

// Open flags: the low five bits are the file's default text format (0: TEXT_UTF8).
constexpr std::uint32_t TEXT_FORMAT_MASK = 0x1F;
constexpr std::uint32_t OPEN_SHARE_READ = 0x20000;
constexpr std::uint32_t OPEN_SHARE_ALL = 0x40000;   // read, write and delete; wins over OPEN_SHARE_READ
constexpr std::uint32_t OPEN_NO_BUFFER = 0x80000;
constexpr std::uint32_t OPEN_APPEND = 0x100000;     // file_open only: start at the end

// file_read_string flags: the low five bits are the format (0: the file's default).
constexpr std::uint32_t READ_WHOLE_FILE = 0x10000;

constexpr std::size_t FILE_BUFFER_SIZE = 4096;

// Creates the tables of files and directory scans; false when memory runs out.
bool file_start();
// Closes every open file and directory scan.
void file_end();

// Open an existing file for reading; open or create a file for reading and writing;
// create or empty a file for reading and writing. Each returns the new number for
// GK_ANY, the platform handle for a fixed number, or 0.
ObjectNumber file_open_read(ObjectNumber number, const char16_t* path, std::uint32_t flags);
ObjectNumber file_open(ObjectNumber number, const char16_t* path, std::uint32_t flags);
ObjectNumber file_create(ObjectNumber number, const char16_t* path, std::uint32_t flags);
// file_create with exclusive access, TEXT_UTF8 and a buffer.
ObjectNumber file_create_simple(ObjectNumber number, const char16_t* path);

bool file_is_open(ObjectNumber number);
// Records held for dynamic numbers, open or not: a failed open must leave none behind.
std::size_t file_dynamic_records();

// Length in bytes, counting what is still buffered; -1 when not open.
std::int64_t file_length(ObjectNumber number);
// The logical position; -1 when not open.
std::int64_t file_position(ObjectNumber number);
bool file_seek(ObjectNumber number, std::int64_t position);

// Bytes read or written; 0 for a null pointer or a length below 1.
std::int64_t file_read_data(ObjectNumber number, void* destination, std::int64_t length);
std::int64_t file_write_data(ObjectNumber number, const void* source, std::int64_t length);

// Writes the byte-order mark of a format (nothing for TEXT_ANSI and unknown formats).
bool file_write_bom(ObjectNumber number, std::int32_t format);
// Reads a byte-order mark and returns its format, leaving the position behind it;
// without a mark returns TEXT_ANSI and leaves the position unchanged.
std::int32_t file_detect_bom(ObjectNumber number);

// Writes the text in TEXT_UTF16, TEXT_UTF8 or (any other format) the ANSI code page,
// without terminator; returns the bytes written.
std::int64_t file_write_string(ObjectNumber number, const char16_t* text, std::int32_t format);
// Reads one line (or the rest of the file with READ_WHOLE_FILE), up to a zero unit.
std::u16string file_read_string(ObjectNumber number, std::uint32_t flags);

// Hands what is buffered to the platform and has it written through to the disk.
// False when some byte given to the file never reached the platform, or the flush fails.
bool file_flush(ObjectNumber number);
// Drops what is still buffered and sets the file's length; the position moves there.
bool file_truncate(ObjectNumber number, std::int64_t length);

// Moves a file over another one in one step, written through to the disk; retries a
// few times, with growing pauses, while another program holds the target.
bool file_replace(const char16_t* source, const char16_t* target);

// Writes out what is buffered and closes the file; GK_ANY closes every open file.
// True when every byte given to the file reached the platform and the handle closed.
bool file_close(ObjectNumber number);
