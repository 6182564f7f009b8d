// Filling the story viewer a slice at a time: the whole story, newest file first, goes
// into the viewer in pieces small enough that the program answers between them. The
// pieces are cut where the viewer reads the joined text the same as the whole, and
// between paragraphs: the viewer lays out a whole paragraph again for every text
// appended to it, so a paragraph cut into n pieces would cost n layouts of it.
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
    bool listed = false;                // the time files listed and the newest one read
    std::vector<std::u16string> files;  // the time files, ascending
    std::size_t files_left = 0;         // files[0 .. files_left) are still to read
    StoryText text;                     // the current file's text, un-reversed
    std::size_t offset = 0;             // how much of it is in the viewer
    bool carry_cr = false;              // a CR that ended a file, held for a following LF
    bool after_long = false;            // the slice's last paragraph is longer than a slice
    std::size_t slice_size = STORY_SLICE_FIRST;
};

// Where a slice of at most `wanted` units from `start` ends: past the newest line break
// within them (a CR LF pair is one break), or `start` when no whole paragraph fits. Never
// after a CR that ends the text (it may pair with an LF that begins the next file).
std::size_t story_slice_end(const char16_t* text, std::size_t size, std::size_t start, std::size_t wanted);

// Where the paragraph at `start` ends: past its line break, or at the end of the text,
// with the same rule for a CR that ends the text.
std::size_t story_paragraph_end(const char16_t* text, std::size_t size, std::size_t start);

// Adds about load.slice_size units of the story to `slice`, from the current file's text on,
// calling `read_next` to put the next file into the load when one is used up (false when
// none is left). The slice ends between paragraphs: a paragraph that does not fit is left
// for the next slice, unless the slice has nothing else, and then it goes in whole, however
// long, also when it runs on into the next file, with the paragraph after it (text appended
// right after a long paragraph would make the viewer lay that one out again). False when
// the story has ended: the slice then holds its end.
bool story_fill_slice(StoryLoad& load, std::u16string& slice, bool (*read_next)(StoryLoad& load));

// The size of the next slice, from the units the last one held and the time it took:
// scaled toward STORY_SLICE_TARGET_US, at most doubled in one step, within the bounds.
std::size_t story_next_slice_size(std::size_t size, std::int64_t elapsed_us);
