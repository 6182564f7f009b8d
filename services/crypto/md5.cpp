// MD5 (RFC 1321).
#include "services/crypto/digest.h"

namespace digest {
namespace {

using Context = MdContext<uint32_t>;

// The four functions of RFC 1321, 3.4.
enum class Mix { F, G, H, I };

// Each step waits on b, the previous step's result, so everything that does not
// need b is added to a + x + k first, and b meets one or two operations before the
// rotation. G's two terms have no bit in common, so they may be added instead of
// or-ed, and the one without b goes in early.
template <Mix M>
inline void step(uint32_t& a, uint32_t b, uint32_t c, uint32_t d, uint32_t x, uint32_t k, int s)
{
    uint32_t sum = 0;
    if constexpr (M == Mix::F)
        sum = settled(a + x + k) + (d ^ (b & (c ^ d)));
    else if constexpr (M == Mix::G)
        sum = settled(a + x + k + (c & ~d)) + (b & d);
    else if constexpr (M == Mix::H)
        sum = settled(a + x + k) + (b ^ c ^ d);
    else
        sum = settled(a + x + k) + (c ^ (b | ~d));
    a = b + rotl32(sum, s);
}

// Each round is sixteen steps over the block words in its own order, with its own
// constants and shifts (RFC 1321, 3.4).
inline void round_f(uint32_t& a, uint32_t& b, uint32_t& c, uint32_t& d, const uint32_t* x)
{
    step<Mix::F>(a, b, c, d, x[0], 0xd76aa478, 7);
    step<Mix::F>(d, a, b, c, x[1], 0xe8c7b756, 12);
    step<Mix::F>(c, d, a, b, x[2], 0x242070db, 17);
    step<Mix::F>(b, c, d, a, x[3], 0xc1bdceee, 22);
    step<Mix::F>(a, b, c, d, x[4], 0xf57c0faf, 7);
    step<Mix::F>(d, a, b, c, x[5], 0x4787c62a, 12);
    step<Mix::F>(c, d, a, b, x[6], 0xa8304613, 17);
    step<Mix::F>(b, c, d, a, x[7], 0xfd469501, 22);
    step<Mix::F>(a, b, c, d, x[8], 0x698098d8, 7);
    step<Mix::F>(d, a, b, c, x[9], 0x8b44f7af, 12);
    step<Mix::F>(c, d, a, b, x[10], 0xffff5bb1, 17);
    step<Mix::F>(b, c, d, a, x[11], 0x895cd7be, 22);
    step<Mix::F>(a, b, c, d, x[12], 0x6b901122, 7);
    step<Mix::F>(d, a, b, c, x[13], 0xfd987193, 12);
    step<Mix::F>(c, d, a, b, x[14], 0xa679438e, 17);
    step<Mix::F>(b, c, d, a, x[15], 0x49b40821, 22);
}

inline void round_g(uint32_t& a, uint32_t& b, uint32_t& c, uint32_t& d, const uint32_t* x)
{
    step<Mix::G>(a, b, c, d, x[1], 0xf61e2562, 5);
    step<Mix::G>(d, a, b, c, x[6], 0xc040b340, 9);
    step<Mix::G>(c, d, a, b, x[11], 0x265e5a51, 14);
    step<Mix::G>(b, c, d, a, x[0], 0xe9b6c7aa, 20);
    step<Mix::G>(a, b, c, d, x[5], 0xd62f105d, 5);
    step<Mix::G>(d, a, b, c, x[10], 0x02441453, 9);
    step<Mix::G>(c, d, a, b, x[15], 0xd8a1e681, 14);
    step<Mix::G>(b, c, d, a, x[4], 0xe7d3fbc8, 20);
    step<Mix::G>(a, b, c, d, x[9], 0x21e1cde6, 5);
    step<Mix::G>(d, a, b, c, x[14], 0xc33707d6, 9);
    step<Mix::G>(c, d, a, b, x[3], 0xf4d50d87, 14);
    step<Mix::G>(b, c, d, a, x[8], 0x455a14ed, 20);
    step<Mix::G>(a, b, c, d, x[13], 0xa9e3e905, 5);
    step<Mix::G>(d, a, b, c, x[2], 0xfcefa3f8, 9);
    step<Mix::G>(c, d, a, b, x[7], 0x676f02d9, 14);
    step<Mix::G>(b, c, d, a, x[12], 0x8d2a4c8a, 20);
}

inline void round_h(uint32_t& a, uint32_t& b, uint32_t& c, uint32_t& d, const uint32_t* x)
{
    step<Mix::H>(a, b, c, d, x[5], 0xfffa3942, 4);
    step<Mix::H>(d, a, b, c, x[8], 0x8771f681, 11);
    step<Mix::H>(c, d, a, b, x[11], 0x6d9d6122, 16);
    step<Mix::H>(b, c, d, a, x[14], 0xfde5380c, 23);
    step<Mix::H>(a, b, c, d, x[1], 0xa4beea44, 4);
    step<Mix::H>(d, a, b, c, x[4], 0x4bdecfa9, 11);
    step<Mix::H>(c, d, a, b, x[7], 0xf6bb4b60, 16);
    step<Mix::H>(b, c, d, a, x[10], 0xbebfbc70, 23);
    step<Mix::H>(a, b, c, d, x[13], 0x289b7ec6, 4);
    step<Mix::H>(d, a, b, c, x[0], 0xeaa127fa, 11);
    step<Mix::H>(c, d, a, b, x[3], 0xd4ef3085, 16);
    step<Mix::H>(b, c, d, a, x[6], 0x04881d05, 23);
    step<Mix::H>(a, b, c, d, x[9], 0xd9d4d039, 4);
    step<Mix::H>(d, a, b, c, x[12], 0xe6db99e5, 11);
    step<Mix::H>(c, d, a, b, x[15], 0x1fa27cf8, 16);
    step<Mix::H>(b, c, d, a, x[2], 0xc4ac5665, 23);
}

inline void round_i(uint32_t& a, uint32_t& b, uint32_t& c, uint32_t& d, const uint32_t* x)
{
    step<Mix::I>(a, b, c, d, x[0], 0xf4292244, 6);
    step<Mix::I>(d, a, b, c, x[7], 0x432aff97, 10);
    step<Mix::I>(c, d, a, b, x[14], 0xab9423a7, 15);
    step<Mix::I>(b, c, d, a, x[5], 0xfc93a039, 21);
    step<Mix::I>(a, b, c, d, x[12], 0x655b59c3, 6);
    step<Mix::I>(d, a, b, c, x[3], 0x8f0ccc92, 10);
    step<Mix::I>(c, d, a, b, x[10], 0xffeff47d, 15);
    step<Mix::I>(b, c, d, a, x[1], 0x85845dd1, 21);
    step<Mix::I>(a, b, c, d, x[8], 0x6fa87e4f, 6);
    step<Mix::I>(d, a, b, c, x[15], 0xfe2ce6e0, 10);
    step<Mix::I>(c, d, a, b, x[6], 0xa3014314, 15);
    step<Mix::I>(b, c, d, a, x[13], 0x4e0811a1, 21);
    step<Mix::I>(a, b, c, d, x[4], 0xf7537e82, 6);
    step<Mix::I>(d, a, b, c, x[11], 0xbd3af235, 10);
    step<Mix::I>(c, d, a, b, x[2], 0x2ad7d2bb, 15);
    step<Mix::I>(b, c, d, a, x[9], 0xeb86d391, 21);
}

FingerprintContext* create(int32_t, int32_t)
{
    Context* c = context_new<Context>(128);
    if (!c) return nullptr;
    static const uint32_t iv[4] = {0x67452301, 0xefcdab89, 0x98badcfe, 0x10325476};
    std::memcpy(c->state, iv, sizeof(iv));
    c->compress = md5_compress;
    return &c->base;
}

void update(FingerprintContext* base, const void* data, std::size_t length)
{
    md_update(reinterpret_cast<Context*>(base), static_cast<const uint8_t*>(data), length);
}

void finish(FingerprintContext* base)
{
    Context* c = reinterpret_cast<Context*>(base);
    md_pad(c, true);
    for (int n = 0; n < 4; ++n) store_le32(base->digest + 4 * n, c->state[n]);
}

}  // namespace

void md5_compress(uint32_t* state, const uint8_t* p, std::size_t blocks)
{
    for (; blocks; --blocks, p += 64) {
        uint32_t x[16];
        for (int n = 0; n < 16; ++n) x[n] = load_le32(p + 4 * n);
        uint32_t a = state[0], b = state[1], c = state[2], d = state[3];
        round_f(a, b, c, d, x);
        round_g(a, b, c, d, x);
        round_h(a, b, c, d, x);
        round_i(a, b, c, d, x);
        state[0] += a; state[1] += b; state[2] += c; state[3] += d;
    }
}

}  // namespace digest

int fingerprint_register_md5()
{
    if (FingerprintAlgorithm* entry = fingerprint_add(FINGERPRINT_MD5)) {
        entry->create = digest::create;
        entry->update = digest::update;
        entry->finish = digest::finish;
        entry->destroy = digest::context_delete<digest::MdContext<uint32_t>>;
    }
    return 1;
}
