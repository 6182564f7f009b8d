#include "app/story_slice.h"

#include <algorithm>

namespace {

bool is_high_surrogate(char16_t unit)
{
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool is_low_surrogate(char16_t unit)
{
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// Adds the next piece of the current file's text to the slice, after a carried CR; false
// when nothing of the file is left (a CR that ends it is carried on).
bool take_piece(StoryLoad& load, std::u16string& slice)
{
    const char16_t* text = load.text.units.get();
    const std::size_t size = load.text.size;
    if (load.offset >= size)
        return false;
    const std::size_t end = story_slice_end(text, size, load.offset, load.slice_size - slice.size());
    if (load.carry_cr)
        slice += u'\r';
    slice.append(text + load.offset, text + end);
    load.carry_cr = false;
    load.offset = end;
    // A CR that ends the file goes in front of what comes next.
    if (end + 1 == size && text[end] == u'\r') {
        load.offset = size;
        load.carry_cr = true;
    }
    return true;
}

}  // namespace

std::size_t story_slice_end(const char16_t* text, std::size_t size, std::size_t start, std::size_t wanted)
{
    std::size_t end = std::min(size, start + std::max<std::size_t>(wanted, 1));
    if (end < size) {
        const bool cuts_break = text[end - 1] == u'\r' && text[end] == u'\n';
        const bool cuts_pair = is_high_surrogate(text[end - 1]) && is_low_surrogate(text[end]);
        return cuts_break || cuts_pair ? end + 1 : end;
    }
    return end > start && text[end - 1] == u'\r' ? end - 1 : end;
}

bool story_fill_slice(StoryLoad& load, std::u16string& slice, bool (*read_next)(StoryLoad&))
{
    bool more = true;
    while (more && slice.size() < load.slice_size) {
        if (!take_piece(load, slice))
            more = read_next(load);
    }
    if (!more && load.carry_cr) {
        slice += u'\r';
        load.carry_cr = false;
    }
    return more;
}

std::size_t story_next_slice_size(std::size_t size, std::int64_t elapsed_us)
{
    double scaled = 2.0 * static_cast<double>(size);
    if (elapsed_us > 0)
        scaled = std::min(scaled, static_cast<double>(size) * STORY_SLICE_TARGET_US / static_cast<double>(elapsed_us));
    const double bounded = std::clamp(scaled, static_cast<double>(STORY_SLICE_SMALLEST),
                                      static_cast<double>(STORY_SLICE_LARGEST));
    return static_cast<std::size_t>(bounded);
}
