// AES cipher: the mode code (ECB, CBC, ciphertext stealing) and the
// table-driven block cipher. The AES-NI block cipher lives in aes_ni.cpp.
#include "services/crypto/aes.h"

#include <array>
#include <atomic>
#include <cstring>

#include "services/crypto/aes_internal.h"

namespace aes_internal {

void wipe(void* data, std::size_t size)
{
    volatile std::uint8_t* p = static_cast<volatile std::uint8_t*>(data);
    for (std::size_t i = 0; i < size; ++i) {
        p[i] = 0;
    }
}

namespace {

// ---- Constant tables, computed by the compiler (no run-time set-up) ----

constexpr std::uint8_t gf_mul(std::uint8_t a, std::uint8_t b)
{
    std::uint8_t product = 0;
    while (b != 0) {
        if (b & 1) {
            product ^= a;
        }
        a = static_cast<std::uint8_t>((a << 1) ^ ((a & 0x80) ? 0x1b : 0));
        b >>= 1;
    }
    return product;
}

constexpr std::uint8_t gf_inverse(std::uint8_t a)
{
    // a^254 is the multiplicative inverse in GF(2^8), and maps 0 to 0.
    std::uint8_t result = 1;
    for (int exponent = 254; exponent != 0; exponent >>= 1) {
        if (exponent & 1) {
            result = gf_mul(result, a);
        }
        a = gf_mul(a, a);
    }
    return result;
}

constexpr std::uint8_t rotl8(std::uint8_t x, int n)
{
    return static_cast<std::uint8_t>((x << n) | (x >> (8 - n)));
}

struct Tables {
    std::uint8_t sbox[256];
    std::uint8_t inv_sbox[256];
    std::uint32_t te[4][256];
    std::uint32_t td[4][256];
};

constexpr std::uint32_t rotr32(std::uint32_t x, int n)
{
    return (x >> n) | (x << (32 - n));
}

constexpr Tables make_tables()
{
    Tables t{};
    for (int x = 0; x < 256; ++x) {
        std::uint8_t b = gf_inverse(static_cast<std::uint8_t>(x));
        std::uint8_t s = b ^ rotl8(b, 1) ^ rotl8(b, 2) ^ rotl8(b, 3) ^ rotl8(b, 4) ^ 0x63;
        t.sbox[x] = s;
        t.inv_sbox[s] = static_cast<std::uint8_t>(x);
    }
    for (int x = 0; x < 256; ++x) {
        std::uint8_t s = t.sbox[x];
        std::uint32_t e = (std::uint32_t{gf_mul(s, 2)} << 24) | (std::uint32_t{s} << 16) |
                          (std::uint32_t{s} << 8) | gf_mul(s, 3);
        std::uint8_t v = t.inv_sbox[x];
        std::uint32_t d = (std::uint32_t{gf_mul(v, 14)} << 24) | (std::uint32_t{gf_mul(v, 9)} << 16) |
                          (std::uint32_t{gf_mul(v, 13)} << 8) | gf_mul(v, 11);
        for (int k = 0; k < 4; ++k) {
            t.te[k][x] = k == 0 ? e : rotr32(e, 8 * k);
            t.td[k][x] = k == 0 ? d : rotr32(d, 8 * k);
        }
    }
    return t;
}

constexpr Tables TABLES = make_tables();
static_assert(TABLES.sbox[0x00] == 0x63 && TABLES.sbox[0x53] == 0xed && TABLES.sbox[0xff] == 0x16);
static_assert(TABLES.inv_sbox[0x63] == 0x00 && TABLES.te[0][0] == 0xc66363a5u);

constexpr const std::uint8_t* SBOX = TABLES.sbox;
constexpr const std::uint8_t* INV_SBOX = TABLES.inv_sbox;
constexpr const auto& TE = TABLES.te;
constexpr const auto& TD = TABLES.td;

// ---- Table-driven block cipher ----

std::uint32_t load_be32(const std::uint8_t* p)
{
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | p[3];
}

void store_be32(std::uint8_t* p, std::uint32_t v)
{
    p[0] = static_cast<std::uint8_t>(v >> 24);
    p[1] = static_cast<std::uint8_t>(v >> 16);
    p[2] = static_cast<std::uint8_t>(v >> 8);
    p[3] = static_cast<std::uint8_t>(v);
}

std::uint32_t sub_word(std::uint32_t w)
{
    return (std::uint32_t{SBOX[w >> 24]} << 24) | (std::uint32_t{SBOX[(w >> 16) & 0xff]} << 16) |
           (std::uint32_t{SBOX[(w >> 8) & 0xff]} << 8) | SBOX[w & 0xff];
}

// FIPS-197 5.2, with words as big-endian numbers.
void table_expand_encrypt(Schedule* s, const std::uint8_t* key, int bits)
{
    const int nk = bits / 32;
    s->rounds = nk + 6;
    const int total = 4 * (s->rounds + 1);
    std::uint32_t* w = s->words;
    for (int i = 0; i < nk; ++i) {
        w[i] = load_be32(key + 4 * i);
    }
    std::uint32_t rcon = 0x01;
    for (int i = nk; i < total; ++i) {
        std::uint32_t t = w[i - 1];
        if (i % nk == 0) {
            t = sub_word((t << 8) | (t >> 24)) ^ (rcon << 24);
            rcon = gf_mul(static_cast<std::uint8_t>(rcon), 2);
        } else if (nk > 6 && i % nk == 4) {
            t = sub_word(t);
        }
        w[i] = w[i - nk] ^ t;
    }
}

std::uint32_t inv_mix_column(std::uint32_t w)
{
    // Td[k][x] holds InvMixColumns of InvSubBytes(x); feeding it S(x) cancels the latter.
    return TD[0][SBOX[w >> 24]] ^ TD[1][SBOX[(w >> 16) & 0xff]] ^ TD[2][SBOX[(w >> 8) & 0xff]] ^
           TD[3][SBOX[w & 0xff]];
}

// The equivalent inverse cipher: round keys in reverse order, InvMixColumns applied to
// all but the first and the last.
void table_expand_decrypt(Schedule* s, const std::uint8_t* key, int bits)
{
    Schedule enc;
    table_expand_encrypt(&enc, key, bits);
    const int nr = enc.rounds;
    s->rounds = nr;
    for (int round = 0; round <= nr; ++round) {
        for (int c = 0; c < 4; ++c) {
            std::uint32_t w = enc.words[4 * (nr - round) + c];
            s->words[4 * round + c] = (round == 0 || round == nr) ? w : inv_mix_column(w);
        }
    }
    wipe(&enc, sizeof enc);
}

// One block through the table cipher. Decryption uses the inverse tables and takes each
// column's second and fourth bytes from the columns on the other side.
template <bool DECRYPT>
void table_block(const Schedule& s, const std::uint8_t in[16], std::uint8_t out[16])
{
    const auto& t = DECRYPT ? TD : TE;
    const std::uint8_t* box = DECRYPT ? INV_SBOX : SBOX;
    constexpr int second = DECRYPT ? 3 : 1;
    constexpr int fourth = DECRYPT ? 1 : 3;
    const std::uint32_t* rk = s.words;
    std::uint32_t st[4];
#pragma GCC unroll 4
    for (int c = 0; c < 4; ++c)
        st[c] = load_be32(in + 4 * c) ^ rk[c];
    for (int round = 1; round < s.rounds; ++round) {
        rk += 4;
        std::uint32_t next[4];
#pragma GCC unroll 4
        for (int c = 0; c < 4; ++c)
            next[c] = t[0][st[c] >> 24] ^ t[1][(st[(c + second) & 3] >> 16) & 0xff] ^
                      t[2][(st[(c + 2) & 3] >> 8) & 0xff] ^ t[3][st[(c + fourth) & 3] & 0xff] ^ rk[c];
#pragma GCC unroll 4
        for (int c = 0; c < 4; ++c)
            st[c] = next[c];
    }
    rk += 4;
#pragma GCC unroll 4
    for (int c = 0; c < 4; ++c) {
        const std::uint32_t word = (std::uint32_t{box[st[c] >> 24]} << 24) |
                                   (std::uint32_t{box[(st[(c + second) & 3] >> 16) & 0xff]} << 16) |
                                   (std::uint32_t{box[(st[(c + 2) & 3] >> 8) & 0xff]} << 8) |
                                   box[st[(c + fourth) & 3] & 0xff];
        store_be32(out + 4 * c, word ^ rk[c]);
    }
}

void table_encrypt_block(const Schedule& s, const std::uint8_t in[16], std::uint8_t out[16])
{
    table_block<false>(s, in, out);
}

void table_decrypt_block(const Schedule& s, const std::uint8_t in[16], std::uint8_t out[16])
{
    table_block<true>(s, in, out);
}

void xor_block(std::uint8_t* dst, const std::uint8_t* a, const std::uint8_t* b)
{
    for (std::size_t i = 0; i < BLOCK; ++i) {
        dst[i] = a[i] ^ b[i];
    }
}

void table_ecb_encrypt(const Schedule& s, const std::uint8_t* in, std::uint8_t* out, std::size_t blocks)
{
    for (std::size_t i = 0; i < blocks; ++i) {
        table_encrypt_block(s, in + BLOCK * i, out + BLOCK * i);
    }
}

void table_ecb_decrypt(const Schedule& s, const std::uint8_t* in, std::uint8_t* out, std::size_t blocks)
{
    for (std::size_t i = 0; i < blocks; ++i) {
        table_decrypt_block(s, in + BLOCK * i, out + BLOCK * i);
    }
}

void table_cbc_encrypt(const Schedule& s, const std::uint8_t* in, std::uint8_t* out, std::size_t blocks,
                       std::uint8_t chain[BLOCK])
{
    for (std::size_t i = 0; i < blocks; ++i) {
        std::uint8_t x[BLOCK];
        xor_block(x, in + BLOCK * i, chain);
        table_encrypt_block(s, x, chain);
        std::memcpy(out + BLOCK * i, chain, BLOCK);
    }
}

void table_cbc_decrypt(const Schedule& s, const std::uint8_t* in, std::uint8_t* out, std::size_t blocks,
                       std::uint8_t chain[BLOCK])
{
    for (std::size_t i = 0; i < blocks; ++i) {
        std::uint8_t y[BLOCK];
        table_decrypt_block(s, in + BLOCK * i, y);
        xor_block(out + BLOCK * i, y, chain);
        std::memcpy(chain, in + BLOCK * i, BLOCK);
    }
}

}  // namespace

const Kernel table_kernel = {
    table_expand_encrypt, table_expand_decrypt, table_ecb_encrypt,
    table_ecb_decrypt,    table_cbc_encrypt,    table_cbc_decrypt,
};

}  // namespace aes_internal

// ---- Mode code ----

namespace {

using aes_internal::BLOCK;
using aes_internal::Kernel;
using aes_internal::Schedule;
using aes_internal::wipe;

std::atomic<bool> g_prefer_hardware{true};

const Kernel& active_kernel()
{
    const Kernel* hardware = aes_internal::hardware_kernel();
    if (hardware != nullptr && g_prefer_hardware.load(std::memory_order_relaxed)) {
        return *hardware;
    }
    return aes_internal::table_kernel;
}

bool overlaps(const void* a, const void* b, std::size_t size)
{
    auto pa = reinterpret_cast<std::uintptr_t>(a);
    auto pb = reinterpret_cast<std::uintptr_t>(b);
    return pa < pb + size && pb < pa + size;
}

// Every refusal the header documents, checked before anything is written.
bool arguments_valid(const void* input, void* output, std::int32_t size, const void* key, std::int32_t bits,
                     const void* iv, std::int32_t mode)
{
    if (bits != 128 && bits != 192 && bits != 256) {
        return false;
    }
    if (size < static_cast<std::int32_t>(BLOCK)) {
        return false;  // 0, 1 to 15 and negative sizes
    }
    if (input == nullptr || output == nullptr || key == nullptr) {
        return false;
    }
    if (mode != AES_MODE_ECB && iv == nullptr) {
        return false;
    }
    return !overlaps(input, output, static_cast<std::size_t>(size));
}

// One call's buffers in blocks: n whole blocks and r bytes of a short last piece; with a
// piece, the last whole block goes together with it (ciphertext stealing), so `plain`
// blocks need nothing special.
struct Blocks {
    const std::uint8_t* in;
    std::uint8_t* out;
    std::size_t n;
    std::size_t r;
    std::size_t plain;
};

Blocks blocks_of(const void* input, void* output, std::int32_t size)
{
    const std::size_t n = static_cast<std::size_t>(size) / BLOCK;
    const std::size_t r = static_cast<std::size_t>(size) % BLOCK;
    return {static_cast<const std::uint8_t*>(input), static_cast<std::uint8_t*>(output), n, r, r > 0 ? n - 1 : n};
}

// The key schedule and the two blocks of one call, wiped when the call ends.
struct Workspace {
    Schedule schedule;
    alignas(16) std::uint8_t chain[BLOCK];
    alignas(16) std::uint8_t block[BLOCK];

    ~Workspace()
    {
        wipe(&schedule, sizeof schedule);
        wipe(chain, sizeof chain);
        wipe(block, sizeof block);
    }
};

// The last whole block Pn and the short piece T after it: X = E(Pn) in ECB, E(Pn XOR Cn-1)
// in CBC; the piece of output is the head of X, and block n = E(T followed by the tail of
// X) in ECB, E(X XOR (T followed by zeros)) in CBC.
void steal_encrypt(const Kernel& k, Workspace& work, const Blocks& blocks, bool ecb)
{
    const auto [in, out, n, r, plain] = blocks;
    std::uint8_t* x = work.block;
    const std::uint8_t* piece = in + BLOCK * n;
    if (ecb) {
        k.ecb_encrypt(work.schedule, in + BLOCK * (n - 1), x, 1);
        std::memcpy(out + BLOCK * n, x, r);
        std::memcpy(x, piece, r);
    } else {
        k.cbc_encrypt(work.schedule, in + BLOCK * (n - 1), x, 1, work.chain);
        std::memcpy(out + BLOCK * n, x, r);
        for (std::size_t i = 0; i < r; ++i) {
            x[i] ^= piece[i];
        }
    }
    k.ecb_encrypt(work.schedule, x, out + BLOCK * (n - 1), 1);
}

// The last whole block Cn and the short piece S after it: Y = D(Cn); the piece of output is
// the head of Y (XOR S in CBC), and block n comes from D(S followed by the tail of Y).
void steal_decrypt(const Kernel& k, Workspace& work, const Blocks& blocks, bool ecb)
{
    const auto [in, out, n, r, plain] = blocks;
    std::uint8_t* y = work.block;
    const std::uint8_t* piece = in + BLOCK * n;
    std::uint8_t* out_piece = out + BLOCK * n;
    k.ecb_decrypt(work.schedule, in + BLOCK * (n - 1), y, 1);
    for (std::size_t i = 0; i < r; ++i) {
        out_piece[i] = ecb ? y[i] : static_cast<std::uint8_t>(y[i] ^ piece[i]);
    }
    std::memcpy(y, piece, r);
    if (ecb) {
        k.ecb_decrypt(work.schedule, y, out + BLOCK * (n - 1), 1);
    } else {
        k.cbc_decrypt(work.schedule, y, out + BLOCK * (n - 1), 1, work.chain);
    }
}

// Both directions: the whole blocks through the kernel, then the short piece, if any.
std::int32_t code(bool decrypt, const void* input, void* output, std::int32_t size, const void* key,
                  std::int32_t bits, const void* iv, std::int32_t mode)
{
    if (!arguments_valid(input, output, size, key, bits, iv, mode)) {
        return 0;
    }
    const Kernel& k = active_kernel();
    const Blocks blocks = blocks_of(input, output, size);
    Workspace work;
    (decrypt ? k.expand_decrypt : k.expand_encrypt)(&work.schedule, static_cast<const std::uint8_t*>(key), bits);
    const bool ecb = mode == AES_MODE_ECB;
    if (!ecb) {
        std::memcpy(work.chain, iv, BLOCK);
    }
    if (decrypt) {
        // CBC leaves Cn-1 in the chain, which the short piece needs.
        ecb ? k.ecb_decrypt(work.schedule, blocks.in, blocks.out, blocks.plain)
            : k.cbc_decrypt(work.schedule, blocks.in, blocks.out, blocks.plain, work.chain);
        if (blocks.r > 0) {
            steal_decrypt(k, work, blocks, ecb);
        }
    } else {
        ecb ? k.ecb_encrypt(work.schedule, blocks.in, blocks.out, blocks.plain)
            : k.cbc_encrypt(work.schedule, blocks.in, blocks.out, blocks.plain, work.chain);
        if (blocks.r > 0) {
            steal_encrypt(k, work, blocks, ecb);
        }
    }
    return size;
}

}  // namespace

std::int32_t aes_encode(const void* input, void* output, std::int32_t size, const void* key, std::int32_t bits,
                        const void* iv, std::int32_t mode)
{
    return code(false, input, output, size, key, bits, iv, mode);
}

std::int32_t aes_decode(const void* input, void* output, std::int32_t size, const void* key, std::int32_t bits,
                        const void* iv, std::int32_t mode)
{
    return code(true, input, output, size, key, bits, iv, mode);
}

bool aes_hardware_available()
{
    return aes_internal::hardware_kernel() != nullptr;
}

bool aes_use_hardware(bool enable)
{
    g_prefer_hardware.store(enable, std::memory_order_relaxed);
    return enable && aes_hardware_available();
}
