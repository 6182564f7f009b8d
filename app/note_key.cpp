#include "app/note_key.h"

#include "services/crypto/fingerprint.h"
#include "services/utf8.h"

#include <cstring>

namespace {

constexpr std::size_t STRETCHED_LENGTH = 32;
constexpr std::int32_t SHA256_BITS = 256;

// The value of a hex digit, or -1.
int hex_value(std::uint32_t unit)
{
    if (unit >= '0' && unit <= '9')
        return static_cast<int>(unit - '0');
    if (unit >= 'a' && unit <= 'f')
        return static_cast<int>(unit - 'a' + 10);
    if (unit >= 'A' && unit <= 'F')
        return static_cast<int>(unit - 'A' + 10);
    return -1;
}

template <typename Unit>
std::int32_t hex_to_bytes(SecretBytes& bytes, const Unit* hex, std::size_t length)
{
    const std::size_t count = length == 0 ? 1 : (length + 1) / 2;
    if (!secret_resize(bytes, count))
        return -1;
    for (std::size_t pair = 0; 2 * pair < length; ++pair) {
        int value = 0;
        for (std::size_t i = 2 * pair; i < length && i < 2 * pair + 2; ++i) {
            const int digit = hex_value(static_cast<std::uint32_t>(hex[i]));
            if (digit < 0)
                break;
            value = value * 16 + digit;
        }
        bytes.data[pair] = static_cast<std::uint8_t>(value);
    }
    return static_cast<std::int32_t>(count) - 1;
}

// A running fingerprint, so that a digest of joined texts needs no joined copy.
struct Digest {
    const FingerprintAlgorithm* algorithm = nullptr;
    FingerprintContext* context = nullptr;

    Digest() = default;
    ~Digest()
    {
        if (context)
            algorithm->destroy(context);
    }
    Digest(const Digest&) = delete;
    Digest& operator=(const Digest&) = delete;
};

bool digest_begin(Digest& digest, std::int32_t id, std::int32_t bits)
{
    digest.algorithm = fingerprint_find(id);
    if (!digest.algorithm || !digest.algorithm->create)
        return false;
    digest.context = digest.algorithm->create(bits, 1);
    return digest.context != nullptr;
}

void digest_add(Digest& digest, const void* data, std::size_t length)
{
    if (length > 0)
        digest.algorithm->update(digest.context, data, length);
}

// Finishes the digest and writes its lowercase hex text to `hex`; returns its length.
std::size_t digest_hex(Digest& digest, char* hex)
{
    static const char DIGITS[] = "0123456789abcdef";
    digest.algorithm->finish(digest.context);
    const auto bytes = static_cast<std::size_t>(digest.context->bits / 8);
    for (std::size_t i = 0; i < bytes; ++i) {
        hex[2 * i] = DIGITS[digest.context->digest[i] >> 4];
        hex[2 * i + 1] = DIGITS[digest.context->digest[i] & 0x0F];
    }
    return 2 * bytes;
}

// The hex digest of `first` followed by `second`, written to `hex`; 0 on failure.
std::size_t hex_of(std::int32_t id, std::int32_t bits, const void* first, std::size_t first_length,
                   const void* second, std::size_t second_length, char* hex)
{
    Digest digest;
    if (!digest_begin(digest, id, bits))
        return 0;
    digest_add(digest, first, first_length);
    digest_add(digest, second, second_length);
    return digest_hex(digest, hex);
}

// The growing hex text H of the chain, as ASCII bytes (its UTF-8 form).
bool text_append(SecretBytes& text, const char* hex, std::size_t length)
{
    return length > 0 && secret_append(text, hex, length);
}

bool text_prepend(SecretBytes& text, const char* hex, std::size_t length)
{
    const std::size_t old_size = text.size;
    if (length == 0 || !secret_append(text, hex, length))
        return false;
    std::memmove(text.data + length, text.data, old_size);
    std::memcpy(text.data, hex, length);
    return true;
}

// The password doubled until it has at least 32 characters, as UTF-16 units.
bool stretch(std::u16string_view password, SecretBytes& units)
{
    std::size_t length = password.size();
    while (length < STRETCHED_LENGTH)
        length *= 2;
    if (!secret_resize(units, length * sizeof(char16_t)))
        return false;
    for (std::size_t done = 0; done < length; done += password.size())
        std::memcpy(units.data + done * sizeof(char16_t), password.data(), password.size() * sizeof(char16_t));
    return true;
}

// Phase 1: 32 rounds of H = H + CRC-32 hex of (H + the password from unit i on).
bool phase_crc(const SecretBytes& units, SecretBytes& text)
{
    const std::u16string_view password(reinterpret_cast<const char16_t*>(units.data), units.size / sizeof(char16_t));
    char hex[8];
    const SecretWipeGuard wipe_hex(hex, sizeof hex);
    for (std::size_t i = 1; i <= STRETCHED_LENGTH; ++i) {
        std::string tail = utf8_encode(password.substr(i));
        const std::size_t length = hex_of(FINGERPRINT_CRC32, 0, text.data, text.size, tail.data(), tail.size(), hex);
        secret_wipe(tail.data(), tail.size());
        if (!text_append(text, hex, length))
            return false;
    }
    return true;
}

// The two digests of a phase (see phase_swaps for how each round uses them).
struct Round {
    std::int32_t inner;
    std::int32_t inner_bits;
    std::int32_t outer;
    std::int32_t outer_bits;
};

// Phases 2 and 3: rounds over the bytes A (last index c), j stepping by `stride`.
// Even A[j]: swap A[j] with A[c], then H = outer(H + inner(A[0..c-1])) + H.
// Odd A[j]: swap A[j] with A[c-j], then H = H + inner(outer(A[0..c-1]) + H).
bool phase_swaps(SecretBytes& bytes, SecretBytes& text, std::size_t stride, const Round& round)
{
    const std::size_t c = bytes.size - 1;
    char first[128];
    char second[128];
    const SecretWipeGuard wipe_first(first, sizeof first);
    const SecretWipeGuard wipe_second(second, sizeof second);
    bool ok = true;
    for (std::size_t j = 0; ok && j <= c; j += stride) {
        const bool even = (bytes.data[j] & 1) == 0;
        std::swap(bytes.data[j], bytes.data[even ? c : c - j]);
        if (even) {
            const std::size_t inner = hex_of(round.inner, round.inner_bits, bytes.data, c, nullptr, 0, first);
            const std::size_t outer = hex_of(round.outer, round.outer_bits, text.data, text.size, first, inner, second);
            ok = inner > 0 && text_prepend(text, second, outer);
        } else {
            const std::size_t outer = hex_of(round.outer, round.outer_bits, bytes.data, c, nullptr, 0, first);
            const std::size_t inner = hex_of(round.inner, round.inner_bits, first, outer, text.data, text.size, second);
            ok = outer > 0 && text_append(text, second, inner);
        }
    }
    return ok;
}

}  // namespace

std::int32_t note_hex_to_bytes(SecretBytes& bytes, std::u16string_view hex)
{
    return hex_to_bytes(bytes, hex.data(), hex.size());
}

bool note_derive_key(std::u16string_view password, NoteKey& key)
{
    if (password.empty())
        return false;
    fingerprint_register_crc32();
    fingerprint_register_md5();
    fingerprint_register_sha1();
    fingerprint_register_sha2();
    fingerprint_register_sha3();

    SecretBytes units;
    SecretBytes text;
    SecretBytes bytes;
    if (!stretch(password, units) || !phase_crc(units, text))
        return false;
    secret_clear(units);
    // Phase 2 starts from an empty H; phase 3 keeps it.
    if (hex_to_bytes(bytes, text.data, text.size) < 0)
        return false;
    text.size = 0;
    if (!phase_swaps(bytes, text, 4, Round{FINGERPRINT_MD5, 0, FINGERPRINT_SHA1, 0}))
        return false;
    if (hex_to_bytes(bytes, text.data, text.size) < 0 ||
        !phase_swaps(bytes, text, 2, Round{FINGERPRINT_SHA2, SHA256_BITS, FINGERPRINT_SHA3, SHA256_BITS}))
        return false;
    const std::int32_t last = hex_to_bytes(bytes, text.data, text.size);
    if (last < 0)
        return false;
    char hex[2 * NOTE_KEY_SIZE];
    const SecretWipeGuard wipe_hex(hex, sizeof hex);
    const std::size_t length =
        hex_of(FINGERPRINT_SHA3, SHA256_BITS, bytes.data, static_cast<std::size_t>(last), nullptr, 0, hex);
    SecretBytes derived;
    const bool ok =
        length == sizeof hex && hex_to_bytes(derived, hex, length) == static_cast<std::int32_t>(NOTE_KEY_SIZE) - 1;
    if (ok)
        std::memcpy(key.data(), derived.data, NOTE_KEY_SIZE);
    return ok;
}
