// Internal pieces shared by the fingerprint algorithms: byte order, the block
// buffering of the Merkle-Damgard hashes, the compression functions (portable and,
// on x86, the hardware-assisted ones with the CPU test that selects them), and a
// wipe that the compiler cannot drop. Tests include this header to check the
// hardware paths against the portable ones.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <new>

#include "services/crypto/fingerprint.h"

// QN_DIGEST_PORTABLE builds the portable code only, as on other architectures.
#if (defined(__x86_64__) || defined(__i386__)) && !defined(QN_DIGEST_PORTABLE)
#define QN_DIGEST_X86 1
#endif

namespace digest {

inline uint32_t load_be32(const uint8_t* p)
{
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | uint32_t(p[3]);
}

inline uint64_t load_be64(const uint8_t* p)
{
    return (uint64_t(load_be32(p)) << 32) | load_be32(p + 4);
}

inline uint32_t load_le32(const uint8_t* p)
{
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

inline uint64_t load_le64(const uint8_t* p)
{
    return uint64_t(load_le32(p)) | (uint64_t(load_le32(p + 4)) << 32);
}

inline void store_be32(uint8_t* p, uint32_t v)
{
    p[0] = uint8_t(v >> 24); p[1] = uint8_t(v >> 16); p[2] = uint8_t(v >> 8); p[3] = uint8_t(v);
}

inline void store_be64(uint8_t* p, uint64_t v)
{
    store_be32(p, uint32_t(v >> 32));
    store_be32(p + 4, uint32_t(v));
}

inline void store_le32(uint8_t* p, uint32_t v)
{
    p[0] = uint8_t(v); p[1] = uint8_t(v >> 8); p[2] = uint8_t(v >> 16); p[3] = uint8_t(v >> 24);
}

inline void store_le64(uint8_t* p, uint64_t v)
{
    store_le32(p, uint32_t(v));
    store_le32(p + 4, uint32_t(v >> 32));
}

inline uint32_t rotl32(uint32_t x, int n) { return (x << n) | (x >> (32 - n)); }
inline uint32_t rotr32(uint32_t x, int n) { return (x >> n) | (x << (32 - n)); }
inline uint64_t rotl64(uint64_t x, int n) { return (x << n) | (x >> ((64 - n) & 63)); }
inline uint64_t rotr64(uint64_t x, int n) { return (x >> n) | (x << (64 - n)); }

// Hides a value's origin from the optimiser, so that it cannot regroup a sum: the
// hash rounds order their adds so that the longest path meets the fewest of them.
template <typename Word>
__attribute__((always_inline)) inline Word settled(Word x)
{
    __asm__("" : "+r"(x));
    return x;
}

// Contexts may hold a password-derived state: clear them before the memory is released.
void wipe(void* p, std::size_t n);

// Processes `blocks` whole blocks of `data` (64 bytes; 128 for SHA-512).
using Compress32 = void (*)(uint32_t* state, const uint8_t* data, std::size_t blocks);
using Compress64 = void (*)(uint64_t* state, const uint8_t* data, std::size_t blocks);

void md5_compress(uint32_t* state, const uint8_t* data, std::size_t blocks);
void sha1_compress_portable(uint32_t* state, const uint8_t* data, std::size_t blocks);
void sha256_compress_portable(uint32_t* state, const uint8_t* data, std::size_t blocks);
void sha512_compress_portable(uint64_t* state, const uint8_t* data, std::size_t blocks);
using KeccakPermute = void (*)(uint64_t* lanes);
void keccak_f1600_portable(uint64_t* lanes);

// The reflected CRC-32 register update without the complements on entry and exit.
uint32_t crc32_update_portable(uint32_t crc, const uint8_t* data, std::size_t length);

// x86 CPU features, read once. The hardware paths below are null on other CPUs
// and on other architectures, so callers fall back to the portable functions.
bool cpu_has_sha_ni();
bool cpu_has_pclmul();
bool cpu_has_bmi1();
bool cpu_has_bmi2();
bool cpu_has_avx2();
bool cpu_has_avx512vl();   // AVX-512 Foundation with its 128- and 256-bit forms
extern const Compress32 sha1_compress_hw;
extern const Compress32 sha256_compress_hw;
// The SHA-512 vector schedule with AVX-512VL, else with AVX2, else BMI2 rotates; the
// AVX2 one on its own too, so that tests run it also where the other is chosen.
extern const Compress64 sha512_compress_hw;
extern const Compress64 sha512_compress_avx2;
using CrcUpdate = uint32_t (*)(uint32_t crc, const uint8_t* data, std::size_t length);
extern const CrcUpdate crc32_update_hw;
extern const KeccakPermute keccak_f1600_hw;   // the portable code built for BMI1

// Tests switch this on to run every algorithm on its portable code; contexts made
// while it is on use no hardware path.
void set_portable_only(bool on);
bool portable_only();

// The function a new context uses: the hardware path when there is one.
template <typename Function>
Function pick(Function hardware, Function portable)
{
    return hardware && !portable_only() ? hardware : portable;
}

// The state shared by MD5, SHA-1 and SHA-2: a partial block and the message length.
// Word is uint32_t (64-byte blocks) or uint64_t (128-byte blocks).
template <typename Word>
struct MdContext {
    FingerprintContext base;
    Word state[8];
    uint64_t length;             // bytes so far; the padding writes it in bits
    std::size_t used;            // bytes waiting in block
    uint8_t block[16 * sizeof(Word)];
    void (*compress)(Word* state, const uint8_t* data, std::size_t blocks);
};

template <typename Word>
void md_update(MdContext<Word>* c, const uint8_t* p, std::size_t n)
{
    constexpr std::size_t size = sizeof(c->block);
    if (!p || n == 0) return;
    c->length += n;
    if (c->used) {
        std::size_t take = size - c->used < n ? size - c->used : n;
        std::memcpy(c->block + c->used, p, take);
        c->used += take; p += take; n -= take;
        if (c->used < size) return;
        c->compress(c->state, c->block, 1);
        c->used = 0;
    }
    if (n >= size) {
        c->compress(c->state, p, n / size);
        p += n - n % size;
        n %= size;
    }
    std::memcpy(c->block, p, n);
    c->used = n;
}

// The standard padding: 0x80, zeros, then the bit length in the last 8 bytes
// (16 for 128-byte blocks), little-endian for MD5 and big-endian otherwise.
template <typename Word>
void md_pad(MdContext<Word>* c, bool little_endian_length)
{
    constexpr std::size_t size = sizeof(c->block);
    constexpr std::size_t field = size / 8;
    uint64_t bits_low = c->length << 3;
    uint64_t bits_high = c->length >> 61;
    c->block[c->used++] = 0x80;
    if (c->used > size - field) {
        std::memset(c->block + c->used, 0, size - c->used);
        c->compress(c->state, c->block, 1);
        c->used = 0;
    }
    std::memset(c->block + c->used, 0, size - c->used);
    if (little_endian_length) {
        store_le64(c->block + size - 8, bits_low);
    } else {
        store_be64(c->block + size - 8, bits_low);
        if (field == 16) store_be64(c->block + size - 16, bits_high);
    }
    c->compress(c->state, c->block, 1);
    c->used = 0;
}

template <typename Context>
Context* context_new(int32_t bits)
{
    Context* c = new (std::nothrow) Context();
    if (c) c->base.bits = bits;
    return c;
}

template <typename Context>
void context_delete(FingerprintContext* base)
{
    Context* c = reinterpret_cast<Context*>(base);
    if (!c) return;
    wipe(c, sizeof(*c));
    delete c;
}

}  // namespace digest
