// SHA-224, SHA-256, SHA-384 and SHA-512 (FIPS 180-4). SHA-256 uses the x86 SHA
// extensions where the CPU has them.
#include "services/crypto/digest.h"
#include "services/crypto/sha2_round.h"

#ifdef QN_DIGEST_X86
#include <immintrin.h>
#endif

namespace digest {
namespace {

alignas(16) constexpr uint32_t k256[64] = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2,
};

}  // namespace

alignas(16) const uint64_t sha512_k[80] = {
    0x428a2f98d728ae22, 0x7137449123ef65cd, 0xb5c0fbcfec4d3b2f, 0xe9b5dba58189dbbc, 0x3956c25bf348b538,
    0x59f111f1b605d019, 0x923f82a4af194f9b, 0xab1c5ed5da6d8118, 0xd807aa98a3030242, 0x12835b0145706fbe,
    0x243185be4ee4b28c, 0x550c7dc3d5ffb4e2, 0x72be5d74f27b896f, 0x80deb1fe3b1696b1, 0x9bdc06a725c71235,
    0xc19bf174cf692694, 0xe49b69c19ef14ad2, 0xefbe4786384f25e3, 0x0fc19dc68b8cd5b5, 0x240ca1cc77ac9c65,
    0x2de92c6f592b0275, 0x4a7484aa6ea6e483, 0x5cb0a9dcbd41fbd4, 0x76f988da831153b5, 0x983e5152ee66dfab,
    0xa831c66d2db43210, 0xb00327c898fb213f, 0xbf597fc7beef0ee4, 0xc6e00bf33da88fc2, 0xd5a79147930aa725,
    0x06ca6351e003826f, 0x142929670a0e6e70, 0x27b70a8546d22ffc, 0x2e1b21385c26c926, 0x4d2c6dfc5ac42aed,
    0x53380d139d95b3df, 0x650a73548baf63de, 0x766a0abb3c77b2a8, 0x81c2c92e47edaee6, 0x92722c851482353b,
    0xa2bfe8a14cf10364, 0xa81a664bbc423001, 0xc24b8b70d0f89791, 0xc76c51a30654be30, 0xd192e819d6ef5218,
    0xd69906245565a910, 0xf40e35855771202a, 0x106aa07032bbd1b8, 0x19a4c116b8d2d0c8, 0x1e376c085141ab53,
    0x2748774cdf8eeb99, 0x34b0bcb5e19b48a8, 0x391c0cb3c5c95a63, 0x4ed8aa4ae3418acb, 0x5b9cca4f7763e373,
    0x682e6ff3d6b2b8a3, 0x748f82ee5defb2fc, 0x78a5636f43172f60, 0x84c87814a1f0ab72, 0x8cc702081a6439ec,
    0x90befffa23631e28, 0xa4506cebde82bde9, 0xbef9a3f7b2c67915, 0xc67178f2e372532b, 0xca273eceea26619c,
    0xd186b8c721c0c207, 0xeada7dd6cde0eb1e, 0xf57d4f7fee6ed178, 0x06f067aa72176fba, 0x0a637dc5a2c898a6,
    0x113f9804bef90dae, 0x1b710b35131c471b, 0x28db77f523047d84, 0x32caab7b40c72493, 0x3c9ebe0a15c9bebc,
    0x431d67c49c100d4c, 0x4cc5d4becb3e42b6, 0x597f299cfc657e2a, 0x5fcb6fab3ad6faec, 0x6c44198c4a475817,
};

namespace {

constexpr uint32_t iv224[8] = {0xc1059ed8, 0x367cd507, 0x3070dd17, 0xf70e5939,
                               0xffc00b31, 0x68581511, 0x64f98fa7, 0xbefa4fa4};
constexpr uint32_t iv256[8] = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                               0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};
constexpr uint64_t iv384[8] = {0xcbbb9d5dc1059ed8, 0x629a292a367cd507, 0x9159015a3070dd17,
                               0x152fecd8f70e5939, 0x67332667ffc00b31, 0x8eb44a8768581511,
                               0xdb0c2e0d64f98fa7, 0x47b5481dbefa4fa4};
constexpr uint64_t iv512[8] = {0x6a09e667f3bcc908, 0xbb67ae8584caa73b, 0x3c6ef372fe94f82b,
                               0xa54ff53a5f1d36f1, 0x510e527fade682d1, 0x9b05688c2b3e6c1f,
                               0x1f83d9abfb41bd6b, 0x5be0cd19137e2179};

// The bits argument: 0 means 256; 224, 256, 384 and 512 are accepted.
int32_t accepted_bits(int32_t bits)
{
    if (bits == 0) return 256;
    return bits == 224 || bits == 256 || bits == 384 || bits == 512 ? bits : 0;
}

// One context type for both word sizes; `wide` selects the 64-bit half.
struct Context {
    FingerprintContext base;
    bool wide;
    MdContext<uint32_t> narrow_md;
    MdContext<uint64_t> wide_md;
};

FingerprintContext* create(int32_t bits, int32_t)
{
    bits = accepted_bits(bits);
    if (!bits) return nullptr;
    Context* c = context_new<Context>(bits);
    if (!c) return nullptr;
    c->wide = bits > 256;
    if (c->wide) {
        std::memcpy(c->wide_md.state, bits == 384 ? iv384 : iv512, sizeof(iv512));
        c->wide_md.compress = pick(sha512_compress_hw, sha512_compress_portable);
    } else {
        std::memcpy(c->narrow_md.state, bits == 224 ? iv224 : iv256, sizeof(iv256));
        c->narrow_md.compress = pick(sha256_compress_hw, sha256_compress_portable);
    }
    return &c->base;
}

void update(FingerprintContext* base, const void* data, std::size_t length)
{
    Context* c = reinterpret_cast<Context*>(base);
    const uint8_t* p = static_cast<const uint8_t*>(data);
    if (c->wide)
        md_update(&c->wide_md, p, length);
    else
        md_update(&c->narrow_md, p, length);
}

void finish(FingerprintContext* base)
{
    Context* c = reinterpret_cast<Context*>(base);
    if (c->wide) {
        md_pad(&c->wide_md, false);
        for (int n = 0; n < base->bits / 64; ++n) store_be64(base->digest + 8 * n, c->wide_md.state[n]);
    } else {
        md_pad(&c->narrow_md, false);
        for (int n = 0; n < base->bits / 32; ++n) store_be32(base->digest + 4 * n, c->narrow_md.state[n]);
    }
}

// The message word for round t (t >= 16) in a 16-word ring.
template <typename Word>
inline Word schedule(Word* w, int t)
{
    w[t & 15] += small_sigma1(w[(t - 2) & 15]) + w[(t - 7) & 15] + small_sigma0(w[(t - 15) & 15]);
    return w[t & 15];
}

template <typename Word, int Rounds, typename Load>
__attribute__((always_inline)) inline void compress_block(Word* state, const uint8_t* p, const Word* k, Load load)
{
    Word w[16];
    for (int t = 0; t < 16; ++t) w[t] = load(p + sizeof(Word) * t);
    Word a = state[0], b = state[1], c = state[2], d = state[3];
    Word e = state[4], f = state[5], g = state[6], h = state[7];
    Word bc = b ^ c;
#pragma GCC unroll 2
    for (int t = 0; t < 16; t += 8) {
        sha2_round(a, b, d, e, f, g, h, k[t + 0] + w[t + 0], bc);
        sha2_round(h, a, c, d, e, f, g, k[t + 1] + w[t + 1], bc);
        sha2_round(g, h, b, c, d, e, f, k[t + 2] + w[t + 2], bc);
        sha2_round(f, g, a, b, c, d, e, k[t + 3] + w[t + 3], bc);
        sha2_round(e, f, h, a, b, c, d, k[t + 4] + w[t + 4], bc);
        sha2_round(d, e, g, h, a, b, c, k[t + 5] + w[t + 5], bc);
        sha2_round(c, d, f, g, h, a, b, k[t + 6] + w[t + 6], bc);
        sha2_round(b, c, e, f, g, h, a, k[t + 7] + w[t + 7], bc);
    }
#pragma GCC unroll 16
    for (int t = 16; t < Rounds; t += 8) {
        sha2_round(a, b, d, e, f, g, h, k[t + 0] + schedule(w, t + 0), bc);
        sha2_round(h, a, c, d, e, f, g, k[t + 1] + schedule(w, t + 1), bc);
        sha2_round(g, h, b, c, d, e, f, k[t + 2] + schedule(w, t + 2), bc);
        sha2_round(f, g, a, b, c, d, e, k[t + 3] + schedule(w, t + 3), bc);
        sha2_round(e, f, h, a, b, c, d, k[t + 4] + schedule(w, t + 4), bc);
        sha2_round(d, e, g, h, a, b, c, k[t + 5] + schedule(w, t + 5), bc);
        sha2_round(c, d, f, g, h, a, b, k[t + 6] + schedule(w, t + 6), bc);
        sha2_round(b, c, e, f, g, h, a, k[t + 7] + schedule(w, t + 7), bc);
    }
    state[0] += a; state[1] += b; state[2] += c; state[3] += d;
    state[4] += e; state[5] += f; state[6] += g; state[7] += h;
}

#ifdef QN_DIGEST_X86

// Sixteen groups of four rounds on the state split as ABEF / CDGH. The message
// words for group j come from sha256msg1 at group j-3 and sha256msg2 at j-1.
__attribute__((target("sha,sse4.1")))
void compress_sha_ni(uint32_t* state, const uint8_t* p, std::size_t blocks)
{
    const __m128i mask = _mm_set_epi64x(0x0c0d0e0f08090a0bLL, 0x0405060700010203LL);
    __m128i tmp = _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(state)), 0xB1);
    __m128i state1 = _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(state + 4)), 0x1B);
    __m128i state0 = _mm_alignr_epi8(tmp, state1, 8);   // ABEF
    state1 = _mm_blend_epi16(state1, tmp, 0xF0);         // CDGH

    for (; blocks; --blocks, p += 64) {
        const __m128i save0 = state0, save1 = state1;
        __m128i w[4];
        for (int n = 0; n < 4; ++n)
            w[n] = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * n)), mask);
#pragma GCC unroll 16
        for (int g = 0; g < 16; ++g) {
            __m128i msg = _mm_add_epi32(w[g & 3], _mm_load_si128(reinterpret_cast<const __m128i*>(k256 + 4 * g)));
            state1 = _mm_sha256rnds2_epu32(state1, state0, msg);
            if (g >= 3 && g <= 14) {
                __m128i& next = w[(g + 1) & 3];
                next = _mm_add_epi32(next, _mm_alignr_epi8(w[g & 3], w[(g - 1) & 3], 4));
                next = _mm_sha256msg2_epu32(next, w[g & 3]);
            }
            state0 = _mm_sha256rnds2_epu32(state0, state1, _mm_shuffle_epi32(msg, 0x0E));
            if (g >= 1 && g <= 12) w[(g - 1) & 3] = _mm_sha256msg1_epu32(w[(g - 1) & 3], w[g & 3]);
        }
        state0 = _mm_add_epi32(state0, save0);
        state1 = _mm_add_epi32(state1, save1);
    }
    tmp = _mm_shuffle_epi32(state0, 0x1B);                       // FEBA
    state1 = _mm_shuffle_epi32(state1, 0xB1);                    // DCHG
    state0 = _mm_blend_epi16(tmp, state1, 0xF0);                 // DCBA
    state1 = _mm_alignr_epi8(state1, tmp, 8);                    // HGFE
    _mm_storeu_si128(reinterpret_cast<__m128i*>(state), state0);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(state + 4), state1);
}

#endif

}  // namespace

void sha256_compress_portable(uint32_t* state, const uint8_t* p, std::size_t blocks)
{
    for (; blocks; --blocks, p += 64) compress_block<uint32_t, 64>(state, p, k256, load_be32);
}

void sha512_compress_portable(uint64_t* state, const uint8_t* p, std::size_t blocks)
{
    for (; blocks; --blocks, p += 128) compress_block<uint64_t, 80>(state, p, sha512_k, load_be64);
}

#ifdef QN_DIGEST_X86
// The same code with BMI2, whose rotate leaves its source intact and saves moves.
__attribute__((target("bmi2")))
void sha512_compress_bmi2(uint64_t* state, const uint8_t* p, std::size_t blocks)
{
    for (; blocks; --blocks, p += 128) compress_block<uint64_t, 80>(state, p, sha512_k, load_be64);
}

const Compress32 sha256_compress_hw = cpu_has_sha_ni() ? compress_sha_ni : nullptr;
#else
const Compress32 sha256_compress_hw = nullptr;
#endif

}  // namespace digest

int fingerprint_register_sha2()
{
    if (FingerprintAlgorithm* entry = fingerprint_add(FINGERPRINT_SHA2)) {
        entry->create = digest::create;
        entry->update = digest::update;
        entry->finish = digest::finish;
        entry->destroy = digest::context_delete<digest::Context>;
    }
    return 1;
}
