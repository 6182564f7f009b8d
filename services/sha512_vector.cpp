// SHA-512 compression for x86 CPUs with AVX2 and BMI2: the rounds run on the
// general registers while vector code computes the next block's message words
// (with the round constants added) two at a time, so that the message schedule
// takes no room from the rounds. Only 128-bit registers are used: the Windows
// compiler cannot keep 256-bit values on the stack aligned. The words of the next
// block are kept in memory, where each step reads its earlier words at any offset.
#include "services/sha2_round.h"

#ifdef QN_DIGEST_X86
#include <immintrin.h>
#endif

namespace digest {

#ifdef QN_DIGEST_X86
namespace {

// GCC is held to 128-bit vectors also where it vectorises on its own: on Windows it
// cannot align 256-bit stack slots. Clang has no such option and no such fault.
#if defined(__clang__)
#define QN_VECTOR_TARGET target("avx2,bmi2")
#else
#define QN_VECTOR_TARGET target("avx2,bmi2,prefer-vector-width=128")
#endif
#define QN_VECTOR_CODE __attribute__((QN_VECTOR_TARGET, always_inline)) inline

constexpr std::size_t kBlockSize = 128;
constexpr int kRounds = 80;

// Where the words of the next block come from and go to. Pass 0 loads the block's
// sixteen words; passes 1 to 4 extend them by sixteen words each.
struct Schedule {
    const uint8_t* next;   // the next block
    uint64_t* message;     // its 80 message words
    uint64_t* words;       // the same plus the round constants
    int pass;
};

// Rotations of both 64-bit halves by `n` bits to the right.
template <int N>
QN_VECTOR_CODE __m128i rotr_pair(__m128i x)
{
    return _mm_or_si128(_mm_srli_epi64(x, N), _mm_slli_epi64(x, 64 - N));
}

QN_VECTOR_CODE __m128i sigma0_pair(__m128i x)
{
    const __m128i rotr8 = _mm_set_epi8(8, 15, 14, 13, 12, 11, 10, 9, 0, 7, 6, 5, 4, 3, 2, 1);
    return _mm_xor_si128(_mm_xor_si128(rotr_pair<1>(x), _mm_shuffle_epi8(x, rotr8)), _mm_srli_epi64(x, 7));
}

QN_VECTOR_CODE __m128i sigma1_pair(__m128i x)
{
    return _mm_xor_si128(_mm_xor_si128(rotr_pair<19>(x), rotr_pair<61>(x)), _mm_srli_epi64(x, 6));
}

QN_VECTOR_CODE __m128i load_pair(const uint64_t* p)
{
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

// Message words 2q and 2q+1 of the next block: loaded in pass 0 (`Load`), computed
// from the earlier words after it. `last` holds the pair before.
template <int J, bool Load>
QN_VECTOR_CODE void schedule_pair(__m128i& last, const Schedule& s)
{
    const int q = 8 * s.pass + J;
    uint64_t* w = s.message + 2 * q;
    if (Load) {
        const __m128i swap = _mm_set_epi8(8, 9, 10, 11, 12, 13, 14, 15, 0, 1, 2, 3, 4, 5, 6, 7);
        last = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(s.next + 16 * J)), swap);
    } else {
        // W[t] = sigma1(W[t-2]) + W[t-7] + sigma0(W[t-15]) + W[t-16] for t = 2q, 2q+1.
        const __m128i sum = _mm_add_epi64(_mm_add_epi64(load_pair(w - 16), sigma0_pair(load_pair(w - 15))), load_pair(w - 7));
        last = _mm_add_epi64(sum, sigma1_pair(last));
    }
    _mm_storeu_si128(reinterpret_cast<__m128i*>(w), last);
    const __m128i k = _mm_loadu_si128(reinterpret_cast<const __m128i*>(sha512_k + 2 * q));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(s.words + 2 * q), _mm_add_epi64(last, k));
}

// Eight rounds of the current block (v holds a..h) with four pairs of the next
// block's schedule between them; `last` carries the latest pair from one to the next.
template <int J, bool Load>
QN_VECTOR_CODE void rounds8(uint64_t* v, uint64_t& bc, const uint64_t* kw, __m128i& last, const Schedule& s)
{
    sha2_round(v[0], v[1], v[3], v[4], v[5], v[6], v[7], kw[0], bc);
    sha2_round(v[7], v[0], v[2], v[3], v[4], v[5], v[6], kw[1], bc);
    schedule_pair<J, Load>(last, s);
    sha2_round(v[6], v[7], v[1], v[2], v[3], v[4], v[5], kw[2], bc);
    sha2_round(v[5], v[6], v[0], v[1], v[2], v[3], v[4], kw[3], bc);
    schedule_pair<J + 1, Load>(last, s);
    sha2_round(v[4], v[5], v[7], v[0], v[1], v[2], v[3], kw[4], bc);
    sha2_round(v[3], v[4], v[6], v[7], v[0], v[1], v[2], kw[5], bc);
    schedule_pair<J + 2, Load>(last, s);
    sha2_round(v[2], v[3], v[5], v[6], v[7], v[0], v[1], kw[6], bc);
    sha2_round(v[1], v[2], v[4], v[5], v[6], v[7], v[0], kw[7], bc);
    schedule_pair<J + 3, Load>(last, s);
}

// Sixteen words of one pass, with no rounds beside them.
template <bool Load>
QN_VECTOR_CODE void schedule_pass(__m128i& last, const Schedule& s)
{
    schedule_pair<0, Load>(last, s);
    schedule_pair<1, Load>(last, s);
    schedule_pair<2, Load>(last, s);
    schedule_pair<3, Load>(last, s);
    schedule_pair<4, Load>(last, s);
    schedule_pair<5, Load>(last, s);
    schedule_pair<6, Load>(last, s);
    schedule_pair<7, Load>(last, s);
}

// The whole schedule of the first block, before any rounds.
QN_VECTOR_CODE void schedule_block(__m128i& last, Schedule s)
{
    schedule_pass<true>(last, s);
    for (s.pass = 1; s.pass < kRounds / 16; ++s.pass) schedule_pass<false>(last, s);
}

// Each pass of sixteen rounds computes sixteen words of the next block; the load
// pass and the computing passes are separate code, with no test between them, so
// that the compiler keeps the vector work spread between the rounds.
__attribute__((QN_VECTOR_TARGET))
void compress_vector(uint64_t* state, const uint8_t* p, std::size_t blocks)
{
    if (!blocks) return;
    alignas(16) uint64_t words[3][kRounds];
    alignas(16) uint64_t message[kRounds];
    __m128i last;
    schedule_block(last, Schedule{p, message, words[0], 0});
    for (int current = 0; blocks; --blocks, p += kBlockSize, current ^= 1) {
        // After the last block the schedule runs on that block again, into a spare row.
        Schedule s{blocks > 1 ? p + kBlockSize : p, message, words[blocks > 1 ? current ^ 1 : 2], 0};
        uint64_t v[8];
        for (int n = 0; n < 8; ++n) v[n] = state[n];
        uint64_t bc = v[1] ^ v[2];
        rounds8<0, true>(v, bc, words[current], last, s);
        rounds8<4, true>(v, bc, words[current] + 8, last, s);
        for (s.pass = 1; s.pass < kRounds / 16; ++s.pass) {
            rounds8<0, false>(v, bc, words[current] + 16 * s.pass, last, s);
            rounds8<4, false>(v, bc, words[current] + 16 * s.pass + 8, last, s);
        }
        for (int n = 0; n < 8; ++n) state[n] += v[n];
    }
}

#undef QN_VECTOR_CODE
#undef QN_VECTOR_TARGET

}  // namespace

const Compress64 sha512_compress_hw = !cpu_has_bmi2() ? nullptr
                                      : cpu_has_avx2() ? compress_vector
                                                       : sha512_compress_bmi2;
#else
const Compress64 sha512_compress_hw = nullptr;
#endif

}  // namespace digest
