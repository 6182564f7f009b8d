// A text accumulator: one growing memory block holding a 32-bit character count
// followed by the UTF-16 characters, for joining many pieces of text cheaply.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

struct TextAccumulator;

// Starts with room for 20,480 bytes of characters; null when memory runs out.
TextAccumulator* accumulator_new();

// Appends `count` characters of `text`; a count below 1 takes the whole zero-terminated
// text. Does nothing for a null accumulator or text. False when the block cannot grow
// (the accumulator then keeps what it had).
bool accumulator_append(TextAccumulator* accumulator, const char16_t* text, std::int32_t count);

// Makes room for `count` characters in all, so that appends up to that many move
// nothing; false when the block cannot grow (it then stays as it was).
bool accumulator_reserve(TextAccumulator* accumulator, std::int32_t count);

// The characters gathered so far, read in place: valid until the next append or the
// free; "" for a null accumulator.
std::u16string_view accumulator_text(const TextAccumulator* accumulator);

void accumulator_free(TextAccumulator* accumulator);

struct AccumulatorFree {
    void operator()(TextAccumulator* accumulator) const { accumulator_free(accumulator); }
};
using AccumulatorHandle = std::unique_ptr<TextAccumulator, AccumulatorFree>;
