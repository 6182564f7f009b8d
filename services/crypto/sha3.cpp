// SHA3-224, SHA3-256, SHA3-384 and SHA3-512 (FIPS 202): Keccak-f[1600] with a rate
// of (1600 - 2 * bits) / 8 bytes and the domain padding 0x06 ... 0x80.
#include "services/crypto/digest.h"

namespace digest {
namespace {

constexpr uint64_t round_constants[24] = {
    0x0000000000000001, 0x0000000000008082, 0x800000000000808a, 0x8000000080008000,
    0x000000000000808b, 0x0000000080000001, 0x8000000080008081, 0x8000000000008009,
    0x000000000000008a, 0x0000000000000088, 0x0000000080008009, 0x000000008000000a,
    0x000000008000808b, 0x800000000000008b, 0x8000000000008089, 0x8000000000008003,
    0x8000000000008002, 0x8000000000000080, 0x000000000000800a, 0x800000008000000a,
    0x8000000080008081, 0x8000000000008080, 0x0000000080000001, 0x8000000080008008,
};

// Rotation offsets by lane index x + 5y.
constexpr int rho[25] = {
    0, 1, 62, 28, 27, 36, 44, 6, 55, 20, 3, 10, 43, 25, 39, 41, 45, 15, 21, 8, 18, 2, 61, 56, 14,
};

// The pi step moves lane (x, y) to (y, 2x + 3y), so output lane (X, Y) comes from
// input lane (x, X) with x = 3 (Y - 3X) mod 5.
constexpr int pi_source(int x_out, int y_out)
{
    return (3 * (y_out + 15 - 3 * x_out)) % 5 + 5 * x_out;
}

// Theta's column mix, rho and pi for the five lanes that land in output row Y, then
// chi across that row. `d` holds the five theta column terms.
template <int Y>
__attribute__((always_inline)) inline void keccak_row(const uint64_t* a, uint64_t* e, const uint64_t* d)
{
    constexpr int s0 = pi_source(0, Y), s1 = pi_source(1, Y), s2 = pi_source(2, Y);
    constexpr int s3 = pi_source(3, Y), s4 = pi_source(4, Y);
    const uint64_t b0 = rotl64(a[s0] ^ d[s0 % 5], rho[s0]);
    const uint64_t b1 = rotl64(a[s1] ^ d[s1 % 5], rho[s1]);
    const uint64_t b2 = rotl64(a[s2] ^ d[s2 % 5], rho[s2]);
    const uint64_t b3 = rotl64(a[s3] ^ d[s3 % 5], rho[s3]);
    const uint64_t b4 = rotl64(a[s4] ^ d[s4 % 5], rho[s4]);
    e[5 * Y + 0] = b0 ^ (~b1 & b2);
    e[5 * Y + 1] = b1 ^ (~b2 & b3);
    e[5 * Y + 2] = b2 ^ (~b3 & b4);
    e[5 * Y + 3] = b3 ^ (~b4 & b0);
    e[5 * Y + 4] = b4 ^ (~b0 & b1);
}

// One round from lanes `a` into lanes `e`, every index a constant so that the
// compiler keeps lanes in registers.
__attribute__((always_inline)) inline void keccak_round(const uint64_t* __restrict a, uint64_t* __restrict e,
                                                        uint64_t round_constant)
{
    const uint64_t c0 = a[0] ^ a[5] ^ a[10] ^ a[15] ^ a[20];
    const uint64_t c1 = a[1] ^ a[6] ^ a[11] ^ a[16] ^ a[21];
    const uint64_t c2 = a[2] ^ a[7] ^ a[12] ^ a[17] ^ a[22];
    const uint64_t c3 = a[3] ^ a[8] ^ a[13] ^ a[18] ^ a[23];
    const uint64_t c4 = a[4] ^ a[9] ^ a[14] ^ a[19] ^ a[24];
    const uint64_t d[5] = {c4 ^ rotl64(c1, 1), c0 ^ rotl64(c2, 1), c1 ^ rotl64(c3, 1), c2 ^ rotl64(c4, 1),
                           c3 ^ rotl64(c0, 1)};
    keccak_row<0>(a, e, d);
    keccak_row<1>(a, e, d);
    keccak_row<2>(a, e, d);
    keccak_row<3>(a, e, d);
    keccak_row<4>(a, e, d);
    e[0] ^= round_constant;
}

// Two rounds per step, the second back into the state, so no lanes are copied.
__attribute__((always_inline)) inline void keccak_permute(uint64_t* state)
{
    uint64_t e[25];
    for (int r = 0; r < 24; r += 2) {
        keccak_round(state, e, round_constants[r]);
        keccak_round(e, state, round_constants[r + 1]);
    }
}

#ifdef QN_DIGEST_X86
// The same permutation with BMI1, whose and-not makes chi one instruction per lane.
__attribute__((target("bmi"))) void keccak_f1600_bmi(uint64_t* state)
{
    keccak_permute(state);
}
#endif

struct Context {
    FingerprintContext base;
    uint64_t lanes[25];
    std::size_t rate;        // bytes
    std::size_t used;        // bytes waiting in block
    bool finished;
    uint8_t block[144];      // the largest rate, for SHA3-224
    KeccakPermute permute;
};

int32_t accepted_bits(int32_t bits)
{
    if (bits == 0) return 256;
    return bits == 224 || bits == 256 || bits == 384 || bits == 512 ? bits : 0;
}

FingerprintContext* create(int32_t bits, int32_t)
{
    bits = accepted_bits(bits);
    if (!bits) return nullptr;
    Context* c = context_new<Context>(bits);
    if (!c) return nullptr;
    c->rate = std::size_t(1600 - 2 * bits) / 8;
    c->permute = pick(keccak_f1600_hw, keccak_f1600_portable);
    return &c->base;
}

void absorb(Context* c, const uint8_t* p)
{
    for (std::size_t n = 0; n < c->rate / 8; ++n) c->lanes[n] ^= load_le64(p + 8 * n);
    c->permute(c->lanes);
}

void update(FingerprintContext* base, const void* data, std::size_t n)
{
    Context* c = reinterpret_cast<Context*>(base);
    const uint8_t* p = static_cast<const uint8_t*>(data);
    if (!p || n == 0 || c->finished) return;
    if (c->used) {
        std::size_t take = c->rate - c->used < n ? c->rate - c->used : n;
        std::memcpy(c->block + c->used, p, take);
        c->used += take; p += take; n -= take;
        if (c->used < c->rate) return;
        absorb(c, c->block);
        c->used = 0;
    }
    for (; n >= c->rate; n -= c->rate, p += c->rate) absorb(c, p);
    std::memcpy(c->block, p, n);
    c->used = n;
}

void finish(FingerprintContext* base)
{
    Context* c = reinterpret_cast<Context*>(base);
    if (c->finished) return;
    std::memset(c->block + c->used, 0, c->rate - c->used);
    c->block[c->used] ^= 0x06;
    c->block[c->rate - 1] ^= 0x80;
    absorb(c, c->block);
    c->used = 0;
    c->finished = true;
    uint8_t out[200];
    for (int n = 0; n < 25; ++n) store_le64(out + 8 * n, c->lanes[n]);
    std::memcpy(base->digest, out, std::size_t(base->bits) / 8);
    wipe(out, sizeof(out));
}

}  // namespace

void keccak_f1600_portable(uint64_t* state)
{
    keccak_permute(state);
}

#ifdef QN_DIGEST_X86
const KeccakPermute keccak_f1600_hw = cpu_has_bmi1() ? keccak_f1600_bmi : nullptr;
#else
const KeccakPermute keccak_f1600_hw = nullptr;
#endif

}  // namespace digest

int fingerprint_register_sha3()
{
    if (FingerprintAlgorithm* entry = fingerprint_add(FINGERPRINT_SHA3)) {
        entry->create = digest::create;
        entry->update = digest::update;
        entry->finish = digest::finish;
        entry->destroy = digest::context_delete<digest::Context>;
    }
    return 1;
}
