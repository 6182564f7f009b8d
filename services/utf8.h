// UTF-16 <-> UTF-8 exactly as Windows converts with code page 65001 and flags 0
// (WideCharToMultiByte / MultiByteToWideChar), so that host and Windows builds turn
// a text into the same bytes:
// - encoding: a surrogate that is not part of a high-low pair becomes U+FFFD (EF BF BD);
// - decoding: each ill-formed part becomes one U+FFFD, cut as Windows cuts it. This is
//   the Unicode Standard's "maximal subpart" except in two places: a sequence whose
//   lead byte announces more bytes than are left takes everything up to the end, and
//   an overlong, surrogate or beyond-U+10FFFF lead pair (E0 80-9F, ED A0-BF,
//   F0 80-8F, F4 90-BF) is one U+FFFD rather than two.
// Zero units and bytes are converted like any other; no terminator is added.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The number of UTF-8 bytes that utf8_encode gives for the text.
std::size_t utf8_encoded_length(std::u16string_view text);

std::string utf8_encode(std::u16string_view text);
std::u16string utf8_decode(std::string_view bytes);
// utf8_decode into a buffer of at least bytes.size() units (no more are ever needed);
// returns the units written.
std::size_t utf8_decode_to(std::string_view bytes, char16_t* out);

// The length of a UTF-8 sequence by its lead byte's bit pattern alone (1 to 4); 0 for a
// byte that cannot lead one. Text files are split into sequences by this rule when read.
std::size_t utf8_lead_length(std::uint8_t lead);
