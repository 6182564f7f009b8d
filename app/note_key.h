// The note key: a fixed chain of fingerprints (CRC-32, MD5, SHA-1, SHA-256, SHA3-256)
// and byte swaps that turns a password into a 256-bit AES key. Every step is part of
// the note file format. Every working copy is wiped before it is released.
#pragma once

#include "app/secret.h"

#include <array>
#include <cstdint>
#include <string_view>

constexpr std::size_t NOTE_KEY_SIZE = 32;

using NoteKey = std::array<std::uint8_t, NOTE_KEY_SIZE>;

// Replaces the content of `bytes` by the bytes the hexadecimal text spells: one byte
// per pair of characters (the last may be one), a pair read up to its first character
// that is not a hex digit. The size becomes half the length rounded up, at least 1;
// a byte not written keeps its value (or 0 when new). Returns the last index, or -1
// when memory runs out.
std::int32_t note_hex_to_bytes(SecretBytes& bytes, std::u16string_view hex);

// Derives the key of a password. False for an empty password or when memory runs out
// (the key is then unchanged).
bool note_derive_key(std::u16string_view password, NoteKey& key);
