// SHA3-224, SHA3-256, SHA3-384 and SHA3-512 (FIPS 202): Keccak-f[1600] with a rate
// of (1600 - 2 * bits) / 8 bytes and the domain padding 0x06 ... 0x80.
#include "services/digest.h"

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

// The pi step moves lane (x, y) to (y, 2x + 3y).
constexpr int pi_target(int i)
{
    int x = i % 5, y = i / 5;
    return y + 5 * ((2 * x + 3 * y) % 5);
}

struct Context {
    FingerprintContext base;
    uint64_t lanes[25];
    std::size_t rate;        // bytes
    std::size_t used;        // bytes waiting in block
    bool finished;
    uint8_t block[144];      // the largest rate, for SHA3-224
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
    return &c->base;
}

void absorb(uint64_t* lanes, const uint8_t* p, std::size_t rate)
{
    for (std::size_t n = 0; n < rate / 8; ++n) lanes[n] ^= load_le64(p + 8 * n);
    keccak_f1600(lanes);
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
        absorb(c->lanes, c->block, c->rate);
        c->used = 0;
    }
    for (; n >= c->rate; n -= c->rate, p += c->rate) absorb(c->lanes, p, c->rate);
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
    absorb(c->lanes, c->block, c->rate);
    c->used = 0;
    c->finished = true;
    uint8_t out[200];
    for (int n = 0; n < 25; ++n) store_le64(out + 8 * n, c->lanes[n]);
    std::memcpy(base->digest, out, std::size_t(base->bits) / 8);
    wipe(out, sizeof(out));
}

}  // namespace

void keccak_f1600(uint64_t* state)
{
    uint64_t a[25];
    for (int i = 0; i < 25; ++i) a[i] = state[i];
    for (int r = 0; r < 24; ++r) {
        uint64_t c[5], b[25];
#pragma GCC unroll 5
        for (int x = 0; x < 5; ++x) c[x] = a[x] ^ a[x + 5] ^ a[x + 10] ^ a[x + 15] ^ a[x + 20];
#pragma GCC unroll 5
        for (int x = 0; x < 5; ++x) {
            uint64_t d = c[(x + 4) % 5] ^ rotl64(c[(x + 1) % 5], 1);
#pragma GCC unroll 5
            for (int y = 0; y < 25; y += 5) b[pi_target(x + y)] = rotl64(a[x + y] ^ d, rho[x + y]);
        }
#pragma GCC unroll 5
        for (int y = 0; y < 25; y += 5) {
#pragma GCC unroll 5
            for (int x = 0; x < 5; ++x) a[y + x] = b[y + x] ^ (~b[y + (x + 1) % 5] & b[y + (x + 2) % 5]);
        }
        a[0] ^= round_constants[r];
    }
    for (int i = 0; i < 25; ++i) state[i] = a[i];
}

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
