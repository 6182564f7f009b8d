// The content of a note file: the AES-256 CBC ciphertext, with ciphertext stealing, of
// the note's UTF-16LE text, four zero bytes and 60 to 124 random bytes. The vector is
// the MD5 digest of the key without its last byte; nothing else is stored.
#pragma once

#include "app/note_key.h"
#include "app/secret.h"

#include <cstdint>
#include <string>
#include <vector>

constexpr std::int32_t NOTE_DECRYPT = 1;
constexpr std::int32_t NOTE_ENCRYPT = 2;

// The padding after the text, terminator included, is drawn from this range per save.
constexpr std::uint32_t NOTE_PADDING_MIN = 64;
constexpr std::uint32_t NOTE_PADDING_MAX = 128;

// A file shorter than one block is not decrypted: it holds an empty note.
constexpr std::size_t NOTE_BLOCK_SIZE = 16;

// Encrypts (NOTE_ENCRYPT) or decrypts (NOTE_DECRYPT) `size` bytes into `output` under a
// key of 16, 24 or 32 bytes. False for another key size or direction, fewer than 16
// bytes, or when memory runs out.
bool note_cipher(const std::uint8_t* key, std::size_t key_size, const std::uint8_t* input, std::size_t size,
                 std::int32_t direction, SecretBytes& output);

// The plaintext of a note: its UTF-16LE text, four zero bytes, then random bytes up to
// the drawn padding length. False when memory runs out.
bool note_build_plaintext(std::u16string_view text, SecretBytes& plaintext);

// True when a decrypted block has the layout every saved note has: four zero bytes at
// an even offset followed by the rest of a padding of NOTE_PADDING_MIN..MAX bytes. The
// text before them may itself hold zero characters, so any such offset counts. A wrong
// key leaves this layout with a chance of about one in a hundred million.
bool note_plaintext_has_layout(const std::uint8_t* plaintext, std::size_t size);

// The text of a plaintext: its UTF-16LE characters up to the first zero one, or up to
// the end when there is none.
std::u16string note_parse_plaintext(const std::uint8_t* plaintext, std::size_t size);

enum class NoteEncryptResult {
    OK,
    NO_MEMORY,        // the plaintext could not be built
    CIPHER_FAILED,
};

// The file content for a note text.
NoteEncryptResult note_encrypt_text(const NoteKey& key, std::u16string_view text, std::vector<std::uint8_t>& data);

// The note text a file content holds; a content shorter than a block is an empty note.
// False when decryption fails or the plaintext lacks the note layout (a wrong key or a
// damaged file); `text` is then unchanged.
bool note_decrypt_text(const NoteKey& key, const std::vector<std::uint8_t>& data, std::u16string& text);
