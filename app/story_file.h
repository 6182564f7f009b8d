// Reading and writing the story's time files. Windows only; the file service must
// have been started.
#pragma once

#include "app/accumulator.h"
#include "app/story_text.h"
#include "services/date.h"

#include <cstdint>
#include <string>
#include <vector>

// Appends the text as UTF-8 to a time file, created when missing, with a byte-order
// mark first when the file is empty. Either every byte reaches the disk, or the file
// is cut back to its previous length (a file made for it stays, empty) and the result
// is false. While the file is open no other writer gets in: another program's append
// fails. A file that another writer has lengthened anyway is not cut back.
bool story_append(const char16_t* path, const std::u16string& text);

// A time file's text in one read of its bytes; false when it cannot be opened or read,
// is larger than STORY_READ_LIMIT, or memory runs out.
bool story_read_time_file(const char16_t* path, StoryText& text);

// The whole text of a time file after its byte-order mark; "" when it cannot be read or
// is larger than STORY_READ_LIMIT.
std::u16string story_read_file(const char16_t* path);

// The time files of the story folder (a path ending in a separator), ascending.
std::vector<std::u16string> story_list_time_files(const std::u16string& folder);

// The whole story, newest post first: the time files from the highest number down,
// each un-reversed; empty and unreadable files add nothing. It stays in the accumulator,
// so that the viewer can read it in place; null when there is no time file or no memory.
AccumulatorHandle story_collect(const std::u16string& folder);

enum class StoryPostResult {
    POSTED,
    EMPTY,       // the text had nothing but line breaks: nothing was written
    LIMIT,       // the last time file is full: nothing was written
    FAILED,      // the time file could not be written: it is as it was
};

// Posts the editor's text at `date` into the right time file of the folder. On
// POSTED, `post` receives the post as shown (not reversed).
StoryPostResult story_write_post(const std::u16string& folder, const std::u16string& editor_text, DateValue date,
                                 std::u16string& post);
