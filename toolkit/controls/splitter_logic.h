// The splitter's arithmetic, apart from any window: how the available length (the client
// length less the separator) is shared between the two parts.
#pragma once

#include <cstdint>

// What asks for a new layout: a resize applies the fixed flags; a drag or a state change
// does not.
enum class SplitterCause { Resize, Drag, State };

struct SplitterShare {
    double ratio = 2.0;  // available length divided by the second part's length
    std::uint32_t flags = 0;
    int first_minimum = 0;
    int second_minimum = 0;
};

struct SplitterLengths {
    int first;
    int second;
};

// The parts' lengths. `given_second` 0 means none; `first_now` and `second_now` are the
// parts' current lengths (for the fixed flags). The first minimum wins over the second.
SplitterLengths splitter_lengths(const SplitterShare& share, int available, int given_second, int first_now,
                                 int second_now, SplitterCause cause);

// The largest minimum a part keeps: far beyond any screen, and small enough that a length
// plus the separator never overflows.
constexpr int SPLITTER_MINIMUM_LIMIT = 1 << 24;

// A minimum as the splitter keeps it: within 0 to SPLITTER_MINIMUM_LIMIT.
int splitter_minimum_valid(std::int64_t minimum);

// Putting the separator at `position`: the second length to lay out with, and the new ratio
// stored in *share. A position outside 0 to available - 1 is brought within it.
int splitter_state(SplitterShare* share, int available, int position);

// A drag with the pointer at `pointer` (client coordinates along the splitter) after a
// grab `grab` pixels into the separator: sets the ratio so that the first part ends at
// pointer - grab, kept between 0 and the available length.
void splitter_drag(SplitterShare* share, int available, int grab, int pointer);
