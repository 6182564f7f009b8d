// Filling the story viewer a slice at a time: the whole story, newest file first, goes
// into the viewer in pieces small enough that the program answers between them. The
// pieces are cut where the viewer reads the joined text the same as the whole.
#pragma once

#include "app/story_text.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The slice size a load starts with, and the bounds it adapts within (UTF-16 units).
constexpr std::size_t STORY_SLICE_FIRST = 4096;
constexpr std::size_t STORY_SLICE_SMALLEST = 512;
constexpr std::size_t STORY_SLICE_LARGEST = 1 << 18;
// How long one slice should keep the viewer busy: well below the 50 ms that a key press
// may wait, since the cost of a slice varies from one to the next.
constexpr std::int64_t STORY_SLICE_TARGET_US = 15000;

// A load in progress: the time files still to read and the text of the one being read.
struct StoryLoad {
    bool active = false;
    std::vector<std::u16string> files;  // the time files, ascending
    std::size_t files_left = 0;         // files[0 .. files_left) are still to read
    StoryText text;                     // the current file's text, un-reversed
    std::size_t offset = 0;             // how much of it is in the viewer
    bool carry_cr = false;              // a CR that ended a file, held for a following LF
    std::size_t slice_size = STORY_SLICE_FIRST;
};

// Where a slice of about `wanted` units from `start` ends: never between a CR and its LF
// or inside a surrogate pair, and never after a CR that ends the text (it may pair with an
// LF that begins the next file). Equals `start` when nothing but such a CR is left.
std::size_t story_slice_end(const char16_t* text, std::size_t size, std::size_t start, std::size_t wanted);

// Adds about load.slice_size units of the story to `slice`, from the current file's text on,
// calling `read_next` to put the next file into the load when one is used up (false when
// none is left). False when the story has ended: the slice then holds its end.
bool story_fill_slice(StoryLoad& load, std::u16string& slice, bool (*read_next)(StoryLoad& load));

// The size of the next slice, from the size of the last one and the time it took: scaled
// toward STORY_SLICE_TARGET_US, at most doubled in one step, within the bounds.
std::size_t story_next_slice_size(std::size_t size, std::int64_t elapsed_us);
