// Shared between the file service's files: the record of an open file, its buffer, and the
// buffered transfers that the byte, mark and text operations are built on.
#pragma once

#include "services/file.h"

#include <windows.h>

// A file's buffer serves one direction at a time. Writing, it holds bytes not yet handed
// to the platform, so the platform position is behind the logical one by `pending`;
// reading, it holds bytes the platform already gave, so the platform position is ahead of
// the logical one by the unread `loaded - taken`.
struct FileBuffer {
    std::uint8_t* bytes;      // FILE_BUFFER_SIZE bytes, or null when unbuffered
    bool writing;
    std::int32_t pending;     // writing: bytes waiting to go to the platform
    std::int32_t loaded;      // reading: bytes the last refill put into the buffer
    std::int32_t taken;       // reading: bytes of those already handed out
    bool write_failed;        // some buffered bytes never reached the platform
};

struct FileObject {
    HANDLE handle;            // primary handle: the record is live while it is set
    FileBuffer buffer;
    bool read_only;
    std::int32_t format;      // default text format
};

// The record of an open file, or null.
FileObject* file_object(ObjectNumber number);

// Moves the platform position; `result`, when given, receives the new one.
bool file_platform_seek(HANDLE handle, std::int64_t distance, DWORD method, std::int64_t* result = nullptr);

// Bytes written or read through the buffer; 0 for a null pointer or a length below 1.
std::int64_t file_buffered_write(FileObject* file, const void* source, std::int64_t length);
std::int64_t file_buffered_read(FileObject* file, void* destination, std::int64_t length);
// Hands the bytes waiting in the buffer to the platform; the buffer is empty after it
// either way, and a failure is remembered for file_close.
bool file_write_pending(FileObject* file);
// Forgets what the buffer holds, written or not (the file's length is about to change).
void file_discard_buffer(FileObject* file);
// The logical position (what was handed in or out so far); -1 on failure.
std::int64_t file_logical_position(FileObject* file);
bool file_move_to(FileObject* file, std::int64_t position);
// Moves the logical position back over bytes just read, within the buffer when it still
// holds them.
void file_give_back(FileObject* file, std::int32_t bytes);
