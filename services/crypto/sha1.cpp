// SHA-1 (FIPS 180-4), with the x86 SHA extensions where the CPU has them.
#include "services/crypto/digest.h"

#ifdef QN_DIGEST_X86
#include <immintrin.h>
#endif

namespace digest {
namespace {

using Context = MdContext<uint32_t>;

// Flag 1 asks for each block to be copied to a work area before it is compressed,
// which cannot change the result; blocks are compressed where they lie.
FingerprintContext* create(int32_t, int32_t)
{
    Context* c = context_new<Context>(160);
    if (!c) return nullptr;
    static const uint32_t iv[5] = {0x67452301, 0xefcdab89, 0x98badcfe, 0x10325476, 0xc3d2e1f0};
    std::memcpy(c->state, iv, sizeof(iv));
    c->compress = pick(sha1_compress_hw, sha1_compress_portable);
    return &c->base;
}

void update(FingerprintContext* base, const void* data, std::size_t length)
{
    md_update(reinterpret_cast<MdContext<uint32_t>*>(base), static_cast<const uint8_t*>(data), length);
}

void finish(FingerprintContext* base)
{
    auto* c = reinterpret_cast<MdContext<uint32_t>*>(base);
    md_pad(c, false);
    for (int n = 0; n < 5; ++n) store_be32(base->digest + 4 * n, c->state[n]);
}

#ifdef QN_DIGEST_X86

// Twenty groups of four rounds. The message words for group j are prepared by
// sha1msg1 at group j-3, an XOR at j-2 and sha1msg2 at j-1.
__attribute__((target("sha,sse4.1")))
void compress_sha_ni(uint32_t* state, const uint8_t* p, std::size_t blocks)
{
    const __m128i mask = _mm_set_epi64x(0x0001020304050607LL, 0x08090a0b0c0d0e0fLL);
    __m128i abcd = _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(state)), 0x1B);
    __m128i e0 = _mm_set_epi32(int(state[4]), 0, 0, 0);

    for (; blocks; --blocks, p += 64) {
        const __m128i abcd_save = abcd, e_save = e0;
        __m128i w[4], e1;
        for (int n = 0; n < 4; ++n)
            w[n] = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * n)), mask);

#pragma GCC unroll 20
        for (int g = 0; g < 20; ++g) {
            __m128i& e_cur = (g & 1) ? e1 : e0;
            __m128i& e_next = (g & 1) ? e0 : e1;
            e_cur = g == 0 ? _mm_add_epi32(e0, w[0]) : _mm_sha1nexte_epu32(e_cur, w[g & 3]);
            e_next = abcd;
            if (g >= 3 && g <= 18) w[(g + 1) & 3] = _mm_sha1msg2_epu32(w[(g + 1) & 3], w[g & 3]);
            switch (g / 5) {
            case 0: abcd = _mm_sha1rnds4_epu32(abcd, e_cur, 0); break;
            case 1: abcd = _mm_sha1rnds4_epu32(abcd, e_cur, 1); break;
            case 2: abcd = _mm_sha1rnds4_epu32(abcd, e_cur, 2); break;
            default: abcd = _mm_sha1rnds4_epu32(abcd, e_cur, 3); break;
            }
            if (g >= 1 && g <= 16) w[(g - 1) & 3] = _mm_sha1msg1_epu32(w[(g - 1) & 3], w[g & 3]);
            if (g >= 2 && g <= 17) w[(g + 2) & 3] = _mm_xor_si128(w[(g + 2) & 3], w[g & 3]);
        }
        e0 = _mm_sha1nexte_epu32(e0, e_save);
        abcd = _mm_add_epi32(abcd, abcd_save);
    }
    _mm_storeu_si128(reinterpret_cast<__m128i*>(state), _mm_shuffle_epi32(abcd, 0x1B));
    state[4] = uint32_t(_mm_extract_epi32(e0, 3));
}

#endif

}  // namespace

void sha1_compress_portable(uint32_t* state, const uint8_t* p, std::size_t blocks)
{
    for (; blocks; --blocks, p += 64) {
        uint32_t w[80];
        for (int t = 0; t < 16; ++t) w[t] = load_be32(p + 4 * t);
        for (int t = 16; t < 80; ++t) w[t] = rotl32(w[t - 3] ^ w[t - 8] ^ w[t - 14] ^ w[t - 16], 1);
        uint32_t a = state[0], b = state[1], c = state[2], d = state[3], e = state[4];
        for (int t = 0; t < 80; ++t) {
            uint32_t f, k;
            if (t < 20) { f = d ^ (b & (c ^ d)); k = 0x5a827999; }
            else if (t < 40) { f = b ^ c ^ d; k = 0x6ed9eba1; }
            else if (t < 60) { f = (b & c) | (d & (b | c)); k = 0x8f1bbcdc; }
            else { f = b ^ c ^ d; k = 0xca62c1d6; }
            uint32_t temp = rotl32(a, 5) + f + e + k + w[t];
            e = d; d = c; c = rotl32(b, 30); b = a; a = temp;
        }
        state[0] += a; state[1] += b; state[2] += c; state[3] += d; state[4] += e;
    }
}

#ifdef QN_DIGEST_X86
const Compress32 sha1_compress_hw = cpu_has_sha_ni() ? compress_sha_ni : nullptr;
#else
const Compress32 sha1_compress_hw = nullptr;
#endif

}  // namespace digest

int fingerprint_register_sha1()
{
    if (FingerprintAlgorithm* entry = fingerprint_add(FINGERPRINT_SHA1)) {
        entry->create = digest::create;
        entry->update = digest::update;
        entry->finish = digest::finish;
        entry->destroy = digest::context_delete<digest::Context>;
    }
    return 1;
}
