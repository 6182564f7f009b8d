// The SHA-2 round and its sigma functions (FIPS 180-4), shared by the portable
// compressions and the SHA-512 one that prepares its message words with vector code.
#pragma once

#include "services/crypto/digest.h"

namespace digest {

extern const uint64_t sha512_k[80];

// The portable SHA-512 compression built for BMI2 (x86 only).
void sha512_compress_bmi2(uint64_t* state, const uint8_t* data, std::size_t blocks);

__attribute__((always_inline)) inline uint32_t big_sigma0(uint32_t x) { return rotr32(x, 2) ^ rotr32(x, 13) ^ rotr32(x, 22); }
__attribute__((always_inline)) inline uint32_t big_sigma1(uint32_t x) { return rotr32(x, 6) ^ rotr32(x, 11) ^ rotr32(x, 25); }
__attribute__((always_inline)) inline uint32_t small_sigma0(uint32_t x) { return rotr32(x, 7) ^ rotr32(x, 18) ^ (x >> 3); }
__attribute__((always_inline)) inline uint32_t small_sigma1(uint32_t x) { return rotr32(x, 17) ^ rotr32(x, 19) ^ (x >> 10); }

__attribute__((always_inline)) inline uint64_t big_sigma0(uint64_t x) { return rotr64(x, 28) ^ rotr64(x, 34) ^ rotr64(x, 39); }
__attribute__((always_inline)) inline uint64_t big_sigma1(uint64_t x) { return rotr64(x, 14) ^ rotr64(x, 18) ^ rotr64(x, 41); }
__attribute__((always_inline)) inline uint64_t small_sigma0(uint64_t x) { return rotr64(x, 1) ^ rotr64(x, 8) ^ (x >> 7); }
__attribute__((always_inline)) inline uint64_t small_sigma1(uint64_t x) { return rotr64(x, 19) ^ rotr64(x, 61) ^ (x >> 6); }

// One round with the roles of the eight working variables passed in rotated
// order, so that eight calls in a row need no moves between them. `kw` is the
// round constant plus the message word. The sums are grouped so that the new e
// and a wait on sigma1(e) and sigma0(a), the longest paths, by one add each.
template <typename Word>
__attribute__((always_inline)) inline void sha2_round(Word a, Word b, Word& d, Word e, Word f, Word g, Word& h, Word kw, Word& bc)
{
    // Maj(a, b, c) = b ^ ((a ^ b) & (b ^ c)), and this round's a ^ b is the next one's b ^ c.
    Word ab = a ^ b;
    Word hkc = settled(settled(h + kw) + (g ^ (e & (f ^ g))));
    Word t1 = settled(hkc + big_sigma1(e));
    d += t1;
    h = settled(t1 + (b ^ (ab & bc))) + big_sigma0(a);
    bc = ab;
}

// The same round with shorter chains for code whose message schedule runs on other
// units: Maj(a, b, c) is taken as (a & (b ^ c)) + (b & c), two parts that never share
// a bit, with b ^ c and b & c carried from the round before, so that the new a waits
// on one AND, an add and sigma0(a). The new e is summed as d + h + kw + Ch with
// sigma1(e) last, and T1 read back from it. Each chain from a to a and from e to e
// is then four steps, for one more operation than above.
template <typename Word>
__attribute__((always_inline)) inline void sha2_round_short(Word a, Word b, Word& d, Word e, Word f, Word g, Word& h, Word kw, Word& bc, Word& b_and_c)
{
    const Word old_d = d;
    d = settled(settled(settled(h + kw) + d) + (g ^ (e & (f ^ g)))) + big_sigma1(e);
    const Word t1 = d - old_d;
    h = settled(settled(t1 + b_and_c) + (a & bc)) + big_sigma0(a);
    bc = a ^ b;
    b_and_c = a & b;
}

}  // namespace digest
