// SHA-512 compression for x86 CPUs with AVX2 and BMI2: the rounds run on the
// general registers while vector code computes the next block's message words
// (with the round constants added) two at a time, so that the message schedule
// takes no room from the rounds. Only 128-bit registers are used: the Windows
// compiler cannot keep 256-bit values on the stack aligned. The words of the next
// block are kept in memory, where each step reads its earlier words at any offset.
//
// The vector code is written with the compiler's generic vector types and no target
// of its own, so that each entry point below compiles it for its own instruction
// set: with AVX-512VL the compiler has vector rotations and three-way logic, and
// the schedule's fewer instructions leave the rounds more room.
#include "services/crypto/sha2_round.h"

namespace digest {

#ifdef QN_DIGEST_X86
namespace {

// GCC is held to 128-bit vectors also where it vectorises on its own: on Windows it
// cannot align 256-bit stack slots. Clang has no such option and no such fault.
#if defined(__clang__)
#define QN_AVX2_TARGET target("avx2,bmi2")
#define QN_AVX512_TARGET target("avx2,bmi2,avx512f,avx512vl")
#else
#define QN_AVX2_TARGET target("avx2,bmi2,prefer-vector-width=128")
#define QN_AVX512_TARGET target("avx2,bmi2,avx512f,avx512vl,prefer-vector-width=128")
#endif
#define QN_VECTOR_CODE __attribute__((always_inline)) inline

constexpr std::size_t kBlockSize = 128;
constexpr int kRounds = 80;

// Two message words, and the same as bytes for the byte shuffles.
typedef uint64_t Pair __attribute__((vector_size(16)));
typedef uint8_t PairBytes __attribute__((vector_size(16)));

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
QN_VECTOR_CODE Pair rotr_pair(Pair x)
{
    return (x >> N) | (x << (64 - N));
}

// The rotation by eight is a byte shuffle where there is no vector rotation.
QN_VECTOR_CODE Pair sigma0_pair(Pair x)
{
    const PairBytes b = reinterpret_cast<PairBytes>(x);
    const Pair rotr8 = reinterpret_cast<Pair>(__builtin_shufflevector(b, b, 1, 2, 3, 4, 5, 6, 7, 0, 9, 10, 11, 12, 13, 14, 15, 8));
    return rotr_pair<1>(x) ^ rotr8 ^ (x >> 7);
}

QN_VECTOR_CODE Pair sigma1_pair(Pair x)
{
    return rotr_pair<19>(x) ^ rotr_pair<61>(x) ^ (x >> 6);
}

QN_VECTOR_CODE Pair load_pair(const void* p)
{
    Pair x;
    std::memcpy(&x, p, sizeof(x));
    return x;
}

QN_VECTOR_CODE void store_pair(void* p, Pair x)
{
    std::memcpy(p, &x, sizeof(x));
}

// Message words 2q and 2q+1 of the next block: loaded in pass 0 (`Load`), computed
// from the earlier words after it. `last` holds the pair before.
template <int J, bool Load>
QN_VECTOR_CODE void schedule_pair(Pair& last, const Schedule& s)
{
    const int q = 8 * s.pass + J;
    uint64_t* w = s.message + 2 * q;
    if (Load) {
        const PairBytes b = reinterpret_cast<PairBytes>(load_pair(s.next + 16 * J));
        last = reinterpret_cast<Pair>(__builtin_shufflevector(b, b, 7, 6, 5, 4, 3, 2, 1, 0, 15, 14, 13, 12, 11, 10, 9, 8));
    } else {
        // W[t] = sigma1(W[t-2]) + W[t-7] + sigma0(W[t-15]) + W[t-16] for t = 2q, 2q+1.
        last = load_pair(w - 16) + sigma0_pair(load_pair(w - 15)) + load_pair(w - 7) + sigma1_pair(last);
    }
    store_pair(w, last);
    store_pair(s.words + 2 * q, last + load_pair(sha512_k + 2 * q));
}
// Eight rounds of the current block (v holds a..h) with four pairs of the next
// block's schedule between them; `last` carries the latest pair from one to the next.
template <int J, bool Load>
QN_VECTOR_CODE void rounds8(uint64_t* v, uint64_t& bc, uint64_t& b_and_c, const uint64_t* kw, Pair& last, const Schedule& s)
{
    sha2_round_short(v[0], v[1], v[3], v[4], v[5], v[6], v[7], kw[0], bc, b_and_c);
    sha2_round_short(v[7], v[0], v[2], v[3], v[4], v[5], v[6], kw[1], bc, b_and_c);
    schedule_pair<J, Load>(last, s);
    sha2_round_short(v[6], v[7], v[1], v[2], v[3], v[4], v[5], kw[2], bc, b_and_c);
    sha2_round_short(v[5], v[6], v[0], v[1], v[2], v[3], v[4], kw[3], bc, b_and_c);
    schedule_pair<J + 1, Load>(last, s);
    sha2_round_short(v[4], v[5], v[7], v[0], v[1], v[2], v[3], kw[4], bc, b_and_c);
    sha2_round_short(v[3], v[4], v[6], v[7], v[0], v[1], v[2], kw[5], bc, b_and_c);
    schedule_pair<J + 2, Load>(last, s);
    sha2_round_short(v[2], v[3], v[5], v[6], v[7], v[0], v[1], kw[6], bc, b_and_c);
    sha2_round_short(v[1], v[2], v[4], v[5], v[6], v[7], v[0], kw[7], bc, b_and_c);
    schedule_pair<J + 3, Load>(last, s);
}

// Sixteen words of one pass, with no rounds beside them.
template <bool Load>
QN_VECTOR_CODE void schedule_pass(Pair& last, const Schedule& s)
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
QN_VECTOR_CODE void schedule_block(Pair& last, Schedule s)
{
    schedule_pass<true>(last, s);
    for (s.pass = 1; s.pass < kRounds / 16; ++s.pass) schedule_pass<false>(last, s);
}

// Each pass of sixteen rounds computes sixteen words of the next block; the load
// pass and the computing passes are separate code, with no test between them, so
// that the compiler keeps the vector work spread between the rounds.
QN_VECTOR_CODE void compress_blocks(uint64_t* state, const uint8_t* p, std::size_t blocks)
{
    if (!blocks) return;
    alignas(16) uint64_t words[3][kRounds];
    alignas(16) uint64_t message[kRounds];
    Pair last;
    schedule_block(last, Schedule{p, message, words[0], 0});
    for (int current = 0; blocks; --blocks, p += kBlockSize, current ^= 1) {
        // After the last block the schedule runs on that block again, into a spare row.
        Schedule s{blocks > 1 ? p + kBlockSize : p, message, words[blocks > 1 ? current ^ 1 : 2], 0};
        uint64_t v[8];
        for (int n = 0; n < 8; ++n) v[n] = state[n];
        uint64_t bc = v[1] ^ v[2], b_and_c = v[1] & v[2];
        rounds8<0, true>(v, bc, b_and_c, words[current], last, s);
        rounds8<4, true>(v, bc, b_and_c, words[current] + 8, last, s);
        for (s.pass = 1; s.pass < kRounds / 16; ++s.pass) {
            rounds8<0, false>(v, bc, b_and_c, words[current] + 16 * s.pass, last, s);
            rounds8<4, false>(v, bc, b_and_c, words[current] + 16 * s.pass + 8, last, s);
        }
        for (int n = 0; n < 8; ++n) state[n] += v[n];
    }
}

__attribute__((QN_AVX2_TARGET))
void compress_avx2(uint64_t* state, const uint8_t* p, std::size_t blocks)
{
    compress_blocks(state, p, blocks);
}

__attribute__((QN_AVX512_TARGET))
void compress_avx512(uint64_t* state, const uint8_t* p, std::size_t blocks)
{
    compress_blocks(state, p, blocks);
}

#undef QN_VECTOR_CODE
#undef QN_AVX2_TARGET
#undef QN_AVX512_TARGET

}  // namespace

const Compress64 sha512_compress_avx2 = cpu_has_bmi2() && cpu_has_avx2() ? compress_avx2 : nullptr;
const Compress64 sha512_compress_hw = !cpu_has_bmi2()       ? nullptr
                                      : cpu_has_avx512vl() ? compress_avx512
                                      : cpu_has_avx2()     ? compress_avx2
                                                           : sha512_compress_bmi2;
#else
const Compress64 sha512_compress_avx2 = nullptr;
const Compress64 sha512_compress_hw = nullptr;
#endif

}  // namespace digest
