// CRC-32 of ISO-HDLC / IEEE 802.3: reflected polynomial 0xEDB88320, initial value
// and final XOR 0xFFFFFFFF. Slicing-by-8 tables, and carry-less multiplication
// folding on x86 CPUs that have PCLMULQDQ.
#include "services/crypto/digest.h"

#ifdef QN_DIGEST_X86
#include <immintrin.h>
#endif

namespace digest {
namespace {

struct CrcTables {
    uint32_t t[8][256];
};

constexpr CrcTables make_tables()
{
    CrcTables tables{};
    for (uint32_t n = 0; n < 256; ++n) {
        uint32_t c = n;
        for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1)));
        tables.t[0][n] = c;
    }
    for (int s = 1; s < 8; ++s)
        for (int n = 0; n < 256; ++n) {
            uint32_t c = tables.t[s - 1][n];
            tables.t[s][n] = (c >> 8) ^ tables.t[0][c & 0xFF];
        }
    return tables;
}

constexpr CrcTables kTables = make_tables();
static_assert(kTables.t[0][1] == 0x77073096u, "the standard CRC-32 table");

struct Context {
    FingerprintContext base;
    uint32_t value;   // the CRC of the input so far; 0 for none
};

FingerprintContext* create(int32_t, int32_t)
{
    Context* c = context_new<Context>(32);
    return c ? &c->base : nullptr;
}

void update(FingerprintContext* base, const void* data, std::size_t length)
{
    Context* c = reinterpret_cast<Context*>(base);
    if (!data) return;
    const uint8_t* p = static_cast<const uint8_t*>(data);
    uint32_t crc = ~c->value;
    const CrcUpdate run = length >= 64 ? pick(crc32_update_hw, crc32_update_portable) : crc32_update_portable;
    crc = run(crc, p, length);
    c->value = ~crc;
}

void finish(FingerprintContext* base)
{
    store_be32(base->digest, reinterpret_cast<Context*>(base)->value);
}

#ifdef QN_DIGEST_X86

// Folding constants for the reflected polynomial: x^(4*128+32), x^(4*128-32),
// x^(128+32) and x^(128-32) modulo P, bit-reflected and shifted left by one.
__attribute__((target("pclmul,sse4.1")))
inline __m128i fold(__m128i x, __m128i k)
{
    __m128i lo = _mm_clmulepi64_si128(x, k, 0x00);
    __m128i hi = _mm_clmulepi64_si128(x, k, 0x11);
    return _mm_xor_si128(lo, hi);
}

// Folds 16-byte lanes with carry-less multiplication until fewer than 16 bytes are
// left, then runs the tables over the 16-byte remainder and the tail. Needs n >= 64.
__attribute__((target("pclmul,sse4.1")))
uint32_t crc32_update_clmul(uint32_t crc, const uint8_t* p, std::size_t n)
{
    const __m128i k4 = _mm_set_epi64x(0x01c6e41596, 0x0154442bd4);
    const __m128i k1 = _mm_set_epi64x(0x00ccaa009e, 0x01751997d0);
    auto load = [](const uint8_t* q) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(q)); };

    __m128i x0 = _mm_xor_si128(load(p), _mm_cvtsi32_si128(int(crc)));
    __m128i x1 = load(p + 16), x2 = load(p + 32), x3 = load(p + 48);
    p += 64;
    n -= 64;
    while (n >= 64) {
        x0 = _mm_xor_si128(fold(x0, k4), load(p));
        x1 = _mm_xor_si128(fold(x1, k4), load(p + 16));
        x2 = _mm_xor_si128(fold(x2, k4), load(p + 32));
        x3 = _mm_xor_si128(fold(x3, k4), load(p + 48));
        p += 64;
        n -= 64;
    }
    __m128i x = _mm_xor_si128(fold(x0, k1), x1);
    x = _mm_xor_si128(fold(x, k1), x2);
    x = _mm_xor_si128(fold(x, k1), x3);
    while (n >= 16) {
        x = _mm_xor_si128(fold(x, k1), load(p));
        p += 16;
        n -= 16;
    }
    alignas(16) uint8_t rest[16];
    _mm_store_si128(reinterpret_cast<__m128i*>(rest), x);
    crc = crc32_update_portable(0, rest, 16);
    return crc32_update_portable(crc, p, n);
}

#endif

}  // namespace

uint32_t crc32_update_portable(uint32_t crc, const uint8_t* p, std::size_t n)
{
    const auto& t = kTables.t;
    for (; n >= 8; n -= 8, p += 8) {
        uint32_t a = load_le32(p) ^ crc;
        uint32_t b = load_le32(p + 4);
        crc = t[7][a & 0xFF] ^ t[6][(a >> 8) & 0xFF] ^ t[5][(a >> 16) & 0xFF] ^ t[4][a >> 24] ^
              t[3][b & 0xFF] ^ t[2][(b >> 8) & 0xFF] ^ t[1][(b >> 16) & 0xFF] ^ t[0][b >> 24];
    }
    for (; n; --n, ++p) crc = (crc >> 8) ^ t[0][(crc ^ *p) & 0xFF];
    return crc;
}

#ifdef QN_DIGEST_X86

const CrcUpdate crc32_update_hw = cpu_has_pclmul() ? crc32_update_clmul : nullptr;

#else

const CrcUpdate crc32_update_hw = nullptr;

#endif

}  // namespace digest

int fingerprint_register_crc32()
{
    if (FingerprintAlgorithm* entry = fingerprint_add(FINGERPRINT_CRC32)) {
        entry->create = digest::create;
        entry->update = digest::update;
        entry->finish = digest::finish;
        entry->destroy = digest::context_delete<digest::Context>;
    }
    return 1;
}
