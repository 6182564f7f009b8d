#include "app/note_cipher.h"

#include "services/crypto/aes.h"
#include "services/crypto/fingerprint.h"
#include "services/random.h"

namespace {

constexpr std::size_t TERMINATOR_BYTES = 4;

// The vector is one cipher block; note_hex_to_bytes reports the index of the last byte.
constexpr std::int32_t IV_LAST_INDEX = static_cast<std::int32_t>(NOTE_BLOCK_SIZE) - 1;

}  // namespace

bool note_cipher(const std::uint8_t* key, std::size_t key_size, const std::uint8_t* input, std::size_t size,
                 std::int32_t direction, SecretBytes& output)
{
    if (key_size != 16 && key_size != 24 && key_size != 32)
        return false;
    if ((direction != NOTE_ENCRYPT && direction != NOTE_DECRYPT) || !input || size < NOTE_BLOCK_SIZE ||
        size > INT32_MAX)
        return false;
    fingerprint_register_md5();
    std::u16string iv_hex = fingerprint_buffer(key, static_cast<std::int32_t>(key_size - 1), FINGERPRINT_MD5);
    const SecretTextGuard wipe_iv_hex(iv_hex);
    SecretBytes iv;
    if (note_hex_to_bytes(iv, iv_hex) != IV_LAST_INDEX || !secret_resize(output, size))
        return false;
    const auto length = static_cast<std::int32_t>(size);
    const auto bits = static_cast<std::int32_t>(key_size * 8);
    const std::int32_t done = direction == NOTE_ENCRYPT
                                  ? aes_encode(input, output.data, length, key, bits, iv.data, AES_MODE_CBC)
                                  : aes_decode(input, output.data, length, key, bits, iv.data, AES_MODE_CBC);
    if (done != length) {
        secret_clear(output);
        return false;
    }
    return true;
}

bool note_build_plaintext(std::u16string_view text, SecretBytes& plaintext)
{
    const std::size_t padding = random_between(NOTE_PADDING_MAX, NOTE_PADDING_MIN);
    const std::size_t text_bytes = text.size() * sizeof(char16_t);
    if (!secret_resize(plaintext, text_bytes + padding))
        return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        plaintext.data[2 * i] = static_cast<std::uint8_t>(text[i] & 0xFF);
        plaintext.data[2 * i + 1] = static_cast<std::uint8_t>(text[i] >> 8);
    }
    // secret_resize zero-filled the terminator.
    random_fill(plaintext.data + text_bytes + TERMINATOR_BYTES, padding - TERMINATOR_BYTES);
    return true;
}

bool note_plaintext_has_layout(const std::uint8_t* plaintext, std::size_t size)
{
    if (!plaintext)
        return false;
    for (std::size_t tail = NOTE_PADDING_MIN; tail <= NOTE_PADDING_MAX && tail <= size; ++tail) {
        const std::uint8_t* terminator = plaintext + (size - tail);
        if ((size - tail) % 2 == 0 && (terminator[0] | terminator[1] | terminator[2] | terminator[3]) == 0)
            return true;
    }
    return false;
}

std::u16string note_parse_plaintext(const std::uint8_t* plaintext, std::size_t size)
{
    std::size_t units = 0;
    while (2 * units + 1 < size && (plaintext[2 * units] | plaintext[2 * units + 1]) != 0)
        ++units;
    // Sized once, so that no partial copy of the text is left behind in freed memory.
    std::u16string text(units, u'\0');
    for (std::size_t i = 0; i < units; ++i)
        text[i] = static_cast<char16_t>(plaintext[2 * i] | (plaintext[2 * i + 1] << 8));
    return text;
}

NoteEncryptResult note_encrypt_text(const NoteKey& key, std::u16string_view text, std::vector<std::uint8_t>& data)
{
    SecretBytes plaintext;
    if (!note_build_plaintext(text, plaintext))
        return NoteEncryptResult::NO_MEMORY;
    SecretBytes cipher;
    if (!note_cipher(key.data(), key.size(), plaintext.data, plaintext.size, NOTE_ENCRYPT, cipher))
        return NoteEncryptResult::CIPHER_FAILED;
    data.assign(cipher.data, cipher.data + cipher.size);
    return NoteEncryptResult::OK;
}

bool note_decrypt_text(const NoteKey& key, const std::vector<std::uint8_t>& data, std::u16string& text)
{
    if (data.size() < NOTE_BLOCK_SIZE) {
        text.clear();
        return true;
    }
    SecretBytes plaintext;
    if (!note_cipher(key.data(), key.size(), data.data(), data.size(), NOTE_DECRYPT, plaintext) ||
        !note_plaintext_has_layout(plaintext.data, plaintext.size))
        return false;
    text = note_parse_plaintext(plaintext.data, plaintext.size);
    return true;
}
