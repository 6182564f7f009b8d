// Turning a time file's bytes into the story's text without a throwing allocation, so that
// a huge or damaged file costs its own text, never the program and its unsaved work.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

// Largest time file that is read; a larger one is taken as unreadable and adds nothing.
// A new file starts once one reaches 32,768 bytes, so only a huge single post or a file
// changed by hand comes near it; its text (up to 128 MiB in UTF-16) still fits the viewer.
constexpr std::int64_t STORY_READ_LIMIT = std::int64_t{64} << 20;

struct MallocFree {
    void operator()(void* block) const { std::free(block); }
};
template <typename T>
using MallocPtr = std::unique_ptr<T[], MallocFree>;

// A block from malloc for `count` items; null when memory runs out (or count is 0).
template <typename T>
MallocPtr<T> malloc_array(std::size_t count)
{
    return MallocPtr<T>(count ? static_cast<T*>(std::malloc(count * sizeof(T))) : nullptr);
}

struct StoryText {
    MallocPtr<char16_t> units;
    std::size_t size = 0;
};

// The text a unit-by-unit UTF-8 reader takes from a time file: after a byte-order mark
// (any that is recognised), up to the first zero byte, a byte that cannot lead a UTF-8
// sequence read as "?". The bytes are changed in place. False when memory runs out.
bool story_decode_time_file(char* bytes, std::size_t size, StoryText& text);
