// AES cipher: the AES-NI block cipher, chosen at run time when the processor
// has the AES instructions. Constant time: no table lookups, not even in the key
// schedule (SubWord goes through AESENCLAST, InvMixColumns through AESIMC). The
// functions carry their own target attribute, so the file needs no special flags.
// ECB and CBC decryption work on eight blocks at a time to fill the AES pipeline;
// CBC encryption is serial by nature.
#include "services/crypto/aes_internal.h"

#if defined(__x86_64__) || defined(__i386__)

#include <cpuid.h>
#include <immintrin.h>

#include <cstring>

#define AESNI_TARGET __attribute__((target("aes,sse4.1")))

namespace aes_internal {
namespace {

constexpr std::size_t LANES = 8;

AESNI_TARGET inline __m128i load(const std::uint8_t* p)
{
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

AESNI_TARGET inline void store(std::uint8_t* p, __m128i v)
{
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v);
}

// SubWord of one word: with the word in every column, ShiftRows moves nothing, so
// AESENCLAST with a zero round key leaves SubBytes of the word in each column.
AESNI_TARGET std::uint32_t sub_word(std::uint32_t w)
{
    __m128i x = _mm_set1_epi32(static_cast<int>(w));
    x = _mm_aesenclast_si128(x, _mm_setzero_si128());
    return static_cast<std::uint32_t>(_mm_cvtsi128_si32(x));
}

// FIPS-197 5.2 with words kept in memory order (little-endian numbers), so that each
// round key loads straight into a register: RotWord is a right rotation by 8 and the
// round constant goes into the low byte.
AESNI_TARGET void ni_expand_encrypt(Schedule* s, const std::uint8_t* key, int bits)
{
    const int nk = bits / 32;
    s->rounds = nk + 6;
    const int total = 4 * (s->rounds + 1);
    std::uint32_t* w = s->words;
    std::memcpy(w, key, 4 * static_cast<std::size_t>(nk));
    std::uint32_t rcon = 0x01;
    for (int i = nk; i < total; ++i) {
        std::uint32_t t = w[i - 1];
        if (i % nk == 0) {
            t = sub_word((t >> 8) | (t << 24)) ^ rcon;
            rcon = ((rcon << 1) ^ ((rcon & 0x80) ? 0x1b : 0)) & 0xff;
        } else if (nk > 6 && i % nk == 4) {
            t = sub_word(t);
        }
        w[i] = w[i - nk] ^ t;
    }
}

AESNI_TARGET void ni_expand_decrypt(Schedule* s, const std::uint8_t* key, int bits)
{
    Schedule enc;
    ni_expand_encrypt(&enc, key, bits);
    const int nr = enc.rounds;
    s->rounds = nr;
    auto* dk = reinterpret_cast<__m128i*>(s->words);
    const auto* ek = reinterpret_cast<const __m128i*>(enc.words);
    dk[0] = _mm_load_si128(ek + nr);
    for (int i = 1; i < nr; ++i) {
        dk[i] = _mm_aesimc_si128(_mm_load_si128(ek + nr - i));
    }
    dk[nr] = _mm_load_si128(ek);
    wipe(&enc, sizeof enc);
}

template <int NR>
AESNI_TARGET inline void load_keys(const Schedule& s, __m128i k[NR + 1])
{
    const auto* rk = reinterpret_cast<const __m128i*>(s.words);
#pragma GCC unroll 16
    for (int i = 0; i <= NR; ++i) {
        k[i] = _mm_load_si128(rk + i);
    }
}

// One middle or last round of the direction's cipher.
template <bool ENCRYPT, bool LAST>
AESNI_TARGET inline __m128i cipher_round(__m128i x, __m128i k)
{
    if constexpr (ENCRYPT)
        return LAST ? _mm_aesenclast_si128(x, k) : _mm_aesenc_si128(x, k);
    else
        return LAST ? _mm_aesdeclast_si128(x, k) : _mm_aesdec_si128(x, k);
}

template <int NR, bool ENCRYPT>
AESNI_TARGET inline __m128i cipher1(const __m128i k[NR + 1], __m128i x)
{
    x = _mm_xor_si128(x, k[0]);
#pragma GCC unroll 16
    for (int i = 1; i < NR; ++i) {
        x = cipher_round<ENCRYPT, false>(x, k[i]);
    }
    return cipher_round<ENCRYPT, true>(x, k[NR]);
}

template <int NR, bool ENCRYPT>
AESNI_TARGET inline void cipher8(const __m128i k[NR + 1], __m128i x[LANES])
{
#pragma GCC unroll 8
    for (std::size_t j = 0; j < LANES; ++j) {
        x[j] = _mm_xor_si128(x[j], k[0]);
    }
#pragma GCC unroll 16
    for (int i = 1; i < NR; ++i) {
#pragma GCC unroll 8
        for (std::size_t j = 0; j < LANES; ++j) {
            x[j] = cipher_round<ENCRYPT, false>(x[j], k[i]);
        }
    }
#pragma GCC unroll 8
    for (std::size_t j = 0; j < LANES; ++j) {
        x[j] = cipher_round<ENCRYPT, true>(x[j], k[NR]);
    }
}

// CBC decryption of the eight blocks at `in`, whose plaintext is the block cipher's
// output XOR the ciphertext block before it: that XOR goes into the last round key,
// as AESDECLAST ends with AddRoundKey.
template <int NR>
AESNI_TARGET inline void cipher8_chained(const __m128i k[NR + 1], __m128i x[LANES], const std::uint8_t* in,
                                         __m128i previous)
{
#pragma GCC unroll 8
    for (std::size_t j = 0; j < LANES; ++j) {
        x[j] = _mm_xor_si128(x[j], k[0]);
    }
#pragma GCC unroll 16
    for (int i = 1; i < NR; ++i) {
#pragma GCC unroll 8
        for (std::size_t j = 0; j < LANES; ++j) {
            x[j] = _mm_aesdec_si128(x[j], k[i]);
        }
    }
#pragma GCC unroll 8
    for (std::size_t j = 0; j < LANES; ++j) {
        const __m128i chain = j == 0 ? previous : load(in + BLOCK * (j - 1));
        x[j] = _mm_aesdeclast_si128(x[j], _mm_xor_si128(k[NR], chain));
    }
}

// Eight blocks at a time keep the AES units busy; the rest go one by one.
template <int NR, bool ENCRYPT>
AESNI_TARGET void ecb_rounds(const Schedule& s, const std::uint8_t* in, std::uint8_t* out, std::size_t blocks)
{
    __m128i k[NR + 1];
    load_keys<NR>(s, k);
    std::size_t i = 0;
    for (; i + LANES <= blocks; i += LANES) {
        __m128i x[LANES];
#pragma GCC unroll 8
        for (std::size_t j = 0; j < LANES; ++j) {
            x[j] = load(in + BLOCK * (i + j));
        }
        cipher8<NR, ENCRYPT>(k, x);
#pragma GCC unroll 8
        for (std::size_t j = 0; j < LANES; ++j) {
            store(out + BLOCK * (i + j), x[j]);
        }
    }
    for (; i < blocks; ++i) {
        const __m128i x = load(in + BLOCK * i);
        store(out + BLOCK * i, cipher1<NR, ENCRYPT>(k, x));
    }
}

template <int NR>
AESNI_TARGET void cbc_encrypt_rounds(const Schedule& s, const std::uint8_t* in, std::uint8_t* out, std::size_t blocks,
                                     std::uint8_t chain[BLOCK])
{
    __m128i k[NR + 1];
    load_keys<NR>(s, k);
    __m128i c = load(chain);
    for (std::size_t i = 0; i < blocks; ++i) {
        c = cipher1<NR, true>(k, _mm_xor_si128(load(in + BLOCK * i), c));
        store(out + BLOCK * i, c);
    }
    store(chain, c);
}

template <int NR>
AESNI_TARGET void cbc_decrypt_rounds(const Schedule& s, const std::uint8_t* in, std::uint8_t* out, std::size_t blocks,
                                     std::uint8_t chain[BLOCK])
{
    __m128i k[NR + 1];
    load_keys<NR>(s, k);
    __m128i previous = load(chain);
    std::size_t i = 0;
    for (; i + LANES <= blocks; i += LANES) {
        __m128i x[LANES];
#pragma GCC unroll 8
        for (std::size_t j = 0; j < LANES; ++j) {
            x[j] = load(in + BLOCK * (i + j));
        }
        cipher8_chained<NR>(k, x, in + BLOCK * i, previous);
        previous = load(in + BLOCK * (i + LANES - 1));
#pragma GCC unroll 8
        for (std::size_t j = 0; j < LANES; ++j) {
            store(out + BLOCK * (i + j), x[j]);
        }
    }
    for (; i < blocks; ++i) {
        __m128i c = load(in + BLOCK * i);
        store(out + BLOCK * i, _mm_xor_si128(cipher1<NR, false>(k, c), previous));
        previous = c;
    }
    store(chain, previous);
}

// One entry point per operation, choosing the unrolled variant for the key length.
AESNI_TARGET void ni_ecb_encrypt(const Schedule& s, const std::uint8_t* in, std::uint8_t* out, std::size_t blocks)
{
    switch (s.rounds) {
    case 10: return ecb_rounds<10, true>(s, in, out, blocks);
    case 12: return ecb_rounds<12, true>(s, in, out, blocks);
    default: return ecb_rounds<14, true>(s, in, out, blocks);
    }
}

AESNI_TARGET void ni_ecb_decrypt(const Schedule& s, const std::uint8_t* in, std::uint8_t* out, std::size_t blocks)
{
    switch (s.rounds) {
    case 10: return ecb_rounds<10, false>(s, in, out, blocks);
    case 12: return ecb_rounds<12, false>(s, in, out, blocks);
    default: return ecb_rounds<14, false>(s, in, out, blocks);
    }
}

AESNI_TARGET void ni_cbc_encrypt(const Schedule& s, const std::uint8_t* in, std::uint8_t* out, std::size_t blocks,
                                 std::uint8_t chain[BLOCK])
{
    switch (s.rounds) {
    case 10: return cbc_encrypt_rounds<10>(s, in, out, blocks, chain);
    case 12: return cbc_encrypt_rounds<12>(s, in, out, blocks, chain);
    default: return cbc_encrypt_rounds<14>(s, in, out, blocks, chain);
    }
}

AESNI_TARGET void ni_cbc_decrypt(const Schedule& s, const std::uint8_t* in, std::uint8_t* out, std::size_t blocks,
                                 std::uint8_t chain[BLOCK])
{
    switch (s.rounds) {
    case 10: return cbc_decrypt_rounds<10>(s, in, out, blocks, chain);
    case 12: return cbc_decrypt_rounds<12>(s, in, out, blocks, chain);
    default: return cbc_decrypt_rounds<14>(s, in, out, blocks, chain);
    }
}

const Kernel ni_kernel = {
    ni_expand_encrypt, ni_expand_decrypt, ni_ecb_encrypt, ni_ecb_decrypt, ni_cbc_encrypt, ni_cbc_decrypt,
};

bool cpu_has_aesni()
{
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    if (__get_cpuid(1, &eax, &ebx, &ecx, &edx) == 0) {
        return false;
    }
    return (ecx & bit_AES) != 0 && (ecx & bit_SSE4_1) != 0;
}

}  // namespace

const Kernel* hardware_kernel()
{
    static const bool available = cpu_has_aesni();
    return available ? &ni_kernel : nullptr;
}

}  // namespace aes_internal

#else  // not x86: the table path only

namespace aes_internal {

const Kernel* hardware_kernel()
{
    return nullptr;
}

}  // namespace aes_internal

#endif
