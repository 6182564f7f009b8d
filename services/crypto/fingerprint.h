// Fingerprints: message digests and checksums of byte buffers and texts, as
// lowercase hexadecimal text. Each algorithm has a small numeric id and is usable
// only once its registration function has been called in the process.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

constexpr int32_t FINGERPRINT_MD5 = 1;     // RFC 1321, 128 bits
constexpr int32_t FINGERPRINT_CRC32 = 2;   // ISO-HDLC / IEEE 802.3, 32 bits
constexpr int32_t FINGERPRINT_SHA1 = 3;    // FIPS 180-4, 160 bits
constexpr int32_t FINGERPRINT_SHA2 = 4;    // FIPS 180-4, 224/256/384/512 bits
constexpr int32_t FINGERPRINT_SHA3 = 5;    // FIPS 202, 224/256/384/512 bits

// The head of every algorithm's context; the algorithm's running state follows it.
struct FingerprintContext {
    int32_t bits;           // output length in bits
    uint8_t digest[64];     // the first bits / 8 bytes hold the result after finish
};

// One registry entry. `create` gives null when `bits` is refused (or memory runs out).
struct FingerprintAlgorithm {
    int32_t id;
    FingerprintContext* (*create)(int32_t bits, int32_t flags);
    void (*update)(FingerprintContext* context, const void* data, std::size_t length);
    void (*finish)(FingerprintContext* context);
    void (*destroy)(FingerprintContext* context);
};

// Each adds the entry for its id unless one is there; always returns 1.
int fingerprint_register_md5();
int fingerprint_register_crc32();
int fingerprint_register_sha1();
int fingerprint_register_sha2();
int fingerprint_register_sha3();

// The digest of `length` bytes at `data` with algorithm `id`. An unregistered id, a
// refused `bits`, a negative length or null data with a positive length give "".
// A zero length gives the digest of empty input.
std::u16string fingerprint_buffer(const void* data, int32_t length, int32_t id, int32_t bits = 0);

// The digest of the UTF-8 form of a zero-terminated text (converted as Windows code
// page 65001 does); a null text counts as empty.
std::u16string fingerprint_string(const char16_t* text, int32_t id, int32_t bits = 0);

// The registry. Lookup gives the entry with that id (the first entry for -1), or null.
// Adding appends an entry with no operations for the caller to fill, or gives null
// when the id is already present or the table is full.
FingerprintAlgorithm* fingerprint_find(int32_t id);
FingerprintAlgorithm* fingerprint_add(int32_t id);
std::size_t fingerprint_count();
