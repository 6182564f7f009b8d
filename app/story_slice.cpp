#include "app/story_slice.h"

#include <algorithm>

namespace {

bool is_break(char16_t unit)
{
    return unit == u'\r' || unit == u'\n';
}

// Just past the line break at `at`: a CR and the LF after it are one break.
std::size_t past_break(const char16_t* text, std::size_t size, std::size_t at)
{
    return text[at] == u'\r' && at + 1 < size && text[at + 1] == u'\n' ? at + 2 : at + 1;
}

// The units of the slice's last paragraph, without its line break.
std::size_t last_paragraph_length(const std::u16string& slice)
{
    std::size_t end = slice.size();
    end -= end > 0 && slice[end - 1] == u'\n' ? 1 : 0;
    end -= end > 0 && slice[end - 1] == u'\r' ? 1 : 0;
    std::size_t start = end;
    while (start > 0 && !is_break(slice[start - 1]))
        --start;
    return end - start;
}

// True when a slice may end at `at`: after a line break, but neither between a CR and its
// LF nor after a CR that ends the text (an LF may begin the next file).
bool is_cut(const char16_t* text, std::size_t size, std::size_t at)
{
    if (!is_break(text[at - 1]))
        return false;
    return text[at - 1] == u'\n' || (at < size && text[at] != u'\n');
}

// A CR that ends the text stays out: it may pair with an LF that begins the next file.
std::size_t before_final_cr(const char16_t* text, std::size_t size, std::size_t start, std::size_t end)
{
    return end == size && end > start && text[end - 1] == u'\r' ? end - 1 : end;
}

// True when the slice may end here: after a line break that is not a CR still held for an
// LF in the next file, and that does not end a paragraph whose text is longer than a slice.
bool may_end(const StoryLoad& load, const std::u16string& slice)
{
    return !load.carry_cr && !load.after_long && is_break(slice.back());
}

enum class Piece { TAKEN, FILE_ENDED, SLICE_FULL };

// Adds the next piece of the current file's text to the slice: a CR held from the file
// before with the LF that may begin this one, the paragraphs that fit, or a whole paragraph
// when the slice has nothing else or may not end yet. A CR that ends the file is held.
Piece take_piece(StoryLoad& load, std::u16string& slice)
{
    const char16_t* text = load.text.units.get();
    const std::size_t size = load.text.size;
    if (load.offset >= size)
        return Piece::FILE_ENDED;
    if (load.carry_cr) {
        slice += u'\r';
        if (text[0] == u'\n') {
            slice += u'\n';
            load.offset = 1;
        }
        load.carry_cr = false;
        return Piece::TAKEN;
    }
    const std::size_t room = load.slice_size > slice.size() ? load.slice_size - slice.size() : 0;
    std::size_t end = story_slice_end(text, size, load.offset, room);
    const bool whole_paragraph = end == load.offset;
    if (whole_paragraph && !slice.empty() && may_end(load, slice))
        return Piece::SLICE_FULL;
    if (whole_paragraph)
        end = story_paragraph_end(text, size, load.offset);
    slice.append(text + load.offset, text + end);
    // A paragraph may run on from the file before: its length is the slice's to tell.
    load.after_long = whole_paragraph && last_paragraph_length(slice) > load.slice_size;
    load.offset = end;
    if (end + 1 == size && text[end] == u'\r') {
        load.offset = size;
        load.carry_cr = true;
    }
    return Piece::TAKEN;
}

}  // namespace

std::size_t story_slice_end(const char16_t* text, std::size_t size, std::size_t start, std::size_t wanted)
{
    std::size_t at = start + std::min(wanted, size - start);
    while (at > start && !is_cut(text, size, at))
        --at;
    return at;
}

std::size_t story_paragraph_end(const char16_t* text, std::size_t size, std::size_t start)
{
    std::size_t at = start;
    while (at < size && !is_break(text[at]))
        ++at;
    return before_final_cr(text, size, start, at < size ? past_break(text, size, at) : size);
}

bool story_fill_slice(StoryLoad& load, std::u16string& slice, bool (*read_next)(StoryLoad&))
{
    bool more = true;
    for (;;) {
        const Piece piece = take_piece(load, slice);
        if (piece == Piece::SLICE_FULL || (piece == Piece::FILE_ENDED && !(more = read_next(load))))
            break;
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
