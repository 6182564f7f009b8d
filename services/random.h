// Random numbers: one process-wide lagged generator with rotations, seeded
// automatically from the thread id and the millisecond tick count on first use. Fast,
// not cryptographic; nothing stored depends on its exact numbers. No lock: the journal
// uses it from one thread.
#pragma once

#include <cstddef>
#include <cstdint>

// Seeds the generator; the same seed gives the same sequence of results afterwards.
void random_seed(std::uint32_t seed);

// A number from 0 to n inclusive (n taken as unsigned); for n = -1 the raw 32-bit value.
std::uint32_t random_value(std::int32_t n);

// A number from minimum to maximum inclusive; when minimum is above maximum, maximum.
std::uint32_t random_between(std::uint32_t maximum, std::uint32_t minimum);

// Fills `length` bytes at `buffer` with random bytes; a null buffer or length 0 does nothing.
void random_fill(void* buffer, std::size_t length);
