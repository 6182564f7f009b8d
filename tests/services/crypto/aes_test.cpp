// Tests of the AES cipher: published vectors (FIPS-197 appendix C, NIST
// SP 800-38A), the worked stealing cases, refusals, both block-cipher
// paths, and on the host an independent implementation (libcrypto).
#include "services/crypto/aes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#ifndef _WIN32
#include <openssl/core_names.h>
#include <openssl/evp.h>
#include <openssl/params.h>
#endif

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes hex(const std::string& text)
{
    Bytes out;
    for (std::size_t i = 0; i + 1 < text.size(); i += 2) {
        out.push_back(static_cast<std::uint8_t>(std::stoul(text.substr(i, 2), nullptr, 16)));
    }
    return out;
}

Bytes random_bytes(std::mt19937& rng, std::size_t size)
{
    Bytes out(size);
    for (auto& b : out) {
        b = static_cast<std::uint8_t>(rng());
    }
    return out;
}

// The block-cipher paths this machine can run: the table path always, AES-NI if present.
std::vector<bool> paths()
{
    std::vector<bool> result = {false};
    if (aes_hardware_available()) {
        result.push_back(true);
    }
    return result;
}

const char* path_name(bool hardware)
{
    return hardware ? "AES-NI" : "table";
}

// Selects one path for the lifetime of the object, then goes back to the default.
class PathGuard {
public:
    explicit PathGuard(bool hardware) { EXPECT_EQ(aes_use_hardware(hardware), hardware); }
    ~PathGuard() { aes_use_hardware(true); }
    PathGuard(const PathGuard&) = delete;
    PathGuard& operator=(const PathGuard&) = delete;
};

Bytes encode(const Bytes& in, const Bytes& key, const Bytes& iv, std::int32_t mode)
{
    Bytes out(in.size());
    const std::int32_t size = static_cast<std::int32_t>(in.size());
    EXPECT_EQ(aes_encode(in.data(), out.data(), size, key.data(), static_cast<std::int32_t>(key.size() * 8),
                         iv.empty() ? nullptr : iv.data(), mode),
              size);
    return out;
}

Bytes decode(const Bytes& in, const Bytes& key, const Bytes& iv, std::int32_t mode)
{
    Bytes out(in.size());
    const std::int32_t size = static_cast<std::int32_t>(in.size());
    EXPECT_EQ(aes_decode(in.data(), out.data(), size, key.data(), static_cast<std::int32_t>(key.size() * 8),
                         iv.empty() ? nullptr : iv.data(), mode),
              size);
    return out;
}

// E and D of one block, through ECB of exactly 16 bytes.
Bytes encrypt_block(const Bytes& block, const Bytes& key)
{
    return encode(block, key, {}, AES_MODE_ECB);
}

Bytes decrypt_block(const Bytes& block, const Bytes& key)
{
    return decode(block, key, {}, AES_MODE_ECB);
}

Bytes slice(const Bytes& b, std::size_t from, std::size_t count)
{
    return Bytes(b.begin() + static_cast<std::ptrdiff_t>(from), b.begin() + static_cast<std::ptrdiff_t>(from + count));
}

Bytes concat(const Bytes& a, const Bytes& b)
{
    Bytes out = a;
    out.insert(out.end(), b.begin(), b.end());
    return out;
}

// ---- Published vectors ----

struct BlockVector {
    const char* key;
    const char* plain;
    const char* cipher;
};

// FIPS-197 appendix C.1, C.2, C.3.
const BlockVector FIPS197[] = {
    {"000102030405060708090a0b0c0d0e0f", "00112233445566778899aabbccddeeff", "69c4e0d86a7b0430d8cdb78070b4c55a"},
    {"000102030405060708090a0b0c0d0e0f1011121314151617", "00112233445566778899aabbccddeeff",
     "dda97ca4864cdfe06eaf70a0ec0d7191"},
    {"000102030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d1e1f", "00112233445566778899aabbccddeeff",
     "8ea2b7ca516745bfeafc49904b496089"},
};

// NIST SP 800-38A F.1 (ECB) and F.2 (CBC), four blocks each.
const char* const SP800_PLAIN =
    "6bc1bee22e409f96e93d7e117393172a"
    "ae2d8a571e03ac9c9eb76fac45af8e51"
    "30c81c46a35ce411e5fbc1191a0a52ef"
    "f69f2445df4f9b17ad2b417be66c3710";
const char* const SP800_IV = "000102030405060708090a0b0c0d0e0f";

struct ModeVector {
    const char* key;
    const char* ecb;
    const char* cbc;
};

const ModeVector SP800[] = {
    {"2b7e151628aed2a6abf7158809cf4f3c",
     "3ad77bb40d7a3660a89ecaf32466ef97f5d3d58503b9699de785895a96fdbaaf"
     "43b1cd7f598ece23881b00e3ed0306887b0c785e27e8ad3f8223207104725dd4",
     "7649abac8119b246cee98e9b12e9197d5086cb9b507219ee95db113a917678b2"
     "73bed6b8e3c1743b7116e69e222295163ff1caa1681fac09120eca307586e1a7"},
    {"8e73b0f7da0e6452c810f32b809079e562f8ead2522c6b7b",
     "bd334f1d6e45f25ff712a214571fa5cc974104846d0ad3ad7734ecb3ecee4eef"
     "ef7afd2270e2e60adce0ba2face6444e9a4b41ba738d6c72fb16691603c18e0e",
     "4f021db243bc633d7178183a9fa071e8b4d9ada9ad7dedf4e5e738763f69145a"
     "571b242012fb7ae07fa9baac3df102e008b0e27988598881d920a9e64f5615cd"},
    {"603deb1015ca71be2b73aef0857d77811f352c073b6108d72d9810a30914dff4",
     "f3eed1bdb5d2a03c064b5a7e3db181f8591ccb10d410ed26dc5ba74a31362870"
     "b6ed21b99ca6f4f9f153e7b1beafed1d23304b7a39f9f3ff067d8d8f9e24ecc7",
     "f58c4c04d6e5f1ba779eabfb5f7bfbd69cfc4e967edb808d679f777bc6702c7d"
     "39f23369a9d9bacfa530e26304231461b2eb05e2c39be9fcda6c19078c6a9d1b"},
};

TEST(Aes, Fips197AppendixC)
{
    for (bool hardware : paths()) {
        PathGuard guard(hardware);
        for (const auto& v : FIPS197) {
            SCOPED_TRACE(std::string(path_name(hardware)) + " key " + v.key);
            EXPECT_EQ(encrypt_block(hex(v.plain), hex(v.key)), hex(v.cipher));
            EXPECT_EQ(decrypt_block(hex(v.cipher), hex(v.key)), hex(v.plain));
        }
    }
}

TEST(Aes, Sp800_38aEcbAndCbc)
{
    for (bool hardware : paths()) {
        PathGuard guard(hardware);
        for (const auto& v : SP800) {
            SCOPED_TRACE(std::string(path_name(hardware)) + " key " + v.key);
            const Bytes key = hex(v.key);
            const Bytes plain = hex(SP800_PLAIN);
            const Bytes iv = hex(SP800_IV);
            EXPECT_EQ(encode(plain, key, iv, AES_MODE_ECB), hex(v.ecb));
            EXPECT_EQ(decode(hex(v.ecb), key, iv, AES_MODE_ECB), plain);
            // Every mode other than 8 is CBC.
            for (std::int32_t mode : {0, 1, 2, 4, -1, 9}) {
                SCOPED_TRACE(mode);
                EXPECT_EQ(encode(plain, key, iv, mode), hex(v.cbc));
                EXPECT_EQ(decode(hex(v.cbc), key, iv, mode), plain);
            }
            // Prefixes: each whole-block length is plain ECB/CBC, block for block.
            for (std::size_t blocks = 1; blocks <= 4; ++blocks) {
                EXPECT_EQ(encode(slice(plain, 0, 16 * blocks), key, iv, AES_MODE_CBC), slice(hex(v.cbc), 0, 16 * blocks));
                EXPECT_EQ(encode(slice(plain, 0, 16 * blocks), key, {}, AES_MODE_ECB), slice(hex(v.ecb), 0, 16 * blocks));
            }
        }
    }
}

// ---- Worked cases ----

TEST(Aes, Size16CbcIsOneBlockOfPlainXorIv)
{
    std::mt19937 rng(16);
    for (bool hardware : paths()) {
        PathGuard guard(hardware);
        for (std::size_t key_bytes : {16u, 24u, 32u}) {
            const Bytes key = random_bytes(rng, key_bytes);
            const Bytes iv = random_bytes(rng, 16);
            const Bytes plain = random_bytes(rng, 16);
            Bytes mixed(16);
            for (std::size_t i = 0; i < 16; ++i) {
                mixed[i] = plain[i] ^ iv[i];
            }
            EXPECT_EQ(encode(plain, key, iv, AES_MODE_CBC), encrypt_block(mixed, key));
        }
    }
}

TEST(Aes, Size17EcbStealing)
{
    std::mt19937 rng(17);
    for (bool hardware : paths()) {
        PathGuard guard(hardware);
        for (std::size_t key_bytes : {16u, 24u, 32u}) {
            SCOPED_TRACE(std::string(path_name(hardware)) + " key bytes " + std::to_string(key_bytes));
            const Bytes key = random_bytes(rng, key_bytes);
            const Bytes plain = random_bytes(rng, 17);
            const Bytes x = encrypt_block(slice(plain, 0, 16), key);
            Bytes stolen = slice(x, 0, 16);
            stolen[0] = plain[16];  // the 17th byte followed by the last 15 bytes of X
            const Bytes expected = concat(encrypt_block(stolen, key), Bytes{x[0]});
            const Bytes cipher = encode(plain, key, {}, AES_MODE_ECB);
            EXPECT_EQ(cipher, expected);
            EXPECT_EQ(decode(cipher, key, {}, AES_MODE_ECB), plain);
        }
    }
}

TEST(Aes, Size17CbcStealing)
{
    std::mt19937 rng(1717);
    for (bool hardware : paths()) {
        PathGuard guard(hardware);
        for (std::size_t key_bytes : {16u, 24u, 32u}) {
            SCOPED_TRACE(std::string(path_name(hardware)) + " key bytes " + std::to_string(key_bytes));
            const Bytes key = random_bytes(rng, key_bytes);
            const Bytes iv = random_bytes(rng, 16);
            const Bytes plain = random_bytes(rng, 17);
            Bytes mixed(16);
            for (std::size_t i = 0; i < 16; ++i) {
                mixed[i] = plain[i] ^ iv[i];
            }
            const Bytes x = encrypt_block(mixed, key);
            Bytes folded = x;
            folded[0] ^= plain[16];  // X with its first byte XORed with the 17th input byte
            const Bytes expected = concat(encrypt_block(folded, key), Bytes{x[0]});
            for (std::int32_t mode : {0, 1, 2, 4}) {
                const Bytes cipher = encode(plain, key, iv, mode);
                EXPECT_EQ(cipher, expected);
                EXPECT_EQ(decode(cipher, key, iv, mode), plain);
            }
        }
    }
}

// ---- Properties ----

TEST(Aes, RoundTripEverySizeBothModes)
{
    std::mt19937 rng(42);
    for (bool hardware : paths()) {
        PathGuard guard(hardware);
        for (std::size_t key_bytes : {16u, 24u, 32u}) {
            const Bytes key = random_bytes(rng, key_bytes);
            const Bytes iv = random_bytes(rng, 16);
            for (std::size_t size = 16; size <= 300; ++size) {
                SCOPED_TRACE(std::string(path_name(hardware)) + " size " + std::to_string(size));
                const Bytes plain = random_bytes(rng, size);
                for (std::int32_t mode : {AES_MODE_ECB, AES_MODE_CBC}) {
                    const Bytes cipher = encode(plain, key, iv, mode);
                    EXPECT_NE(cipher, plain);
                    EXPECT_EQ(decode(cipher, key, iv, mode), plain);
                }
            }
        }
    }
}

TEST(Aes, HardwareEqualsTablePath)
{
    if (!aes_hardware_available()) {
        GTEST_SKIP() << "no AES-NI on this processor";
    }
    std::mt19937 rng(7);
    for (int trial = 0; trial < 400; ++trial) {
        const std::size_t key_bytes = 16 + 8 * (rng() % 3);
        const Bytes key = random_bytes(rng, key_bytes);
        const Bytes iv = random_bytes(rng, 16);
        // Mostly short buffers, some long enough for many eight-block groups.
        const std::size_t size = 16 + rng() % (trial % 4 == 0 ? 5000 : 300);
        const Bytes input = random_bytes(rng, size);
        const std::int32_t mode = trial % 2 == 0 ? AES_MODE_ECB : static_cast<std::int32_t>(rng() % 8);
        SCOPED_TRACE("trial " + std::to_string(trial) + " size " + std::to_string(size));
        Bytes table_enc, table_dec, hardware_enc, hardware_dec;
        {
            PathGuard guard(false);
            table_enc = encode(input, key, iv, mode);
            table_dec = decode(input, key, iv, mode);
        }
        {
            PathGuard guard(true);
            hardware_enc = encode(input, key, iv, mode);
            hardware_dec = decode(input, key, iv, mode);
        }
        EXPECT_EQ(table_enc, hardware_enc);
        EXPECT_EQ(table_dec, hardware_dec);
    }
}

TEST(Aes, VectorAndInputUnchanged)
{
    std::mt19937 rng(3);
    for (bool hardware : paths()) {
        PathGuard guard(hardware);
        const Bytes key = random_bytes(rng, 32);
        const Bytes iv = random_bytes(rng, 16);
        for (std::size_t size : {16u, 17u, 31u, 32u, 200u}) {
            const Bytes plain = random_bytes(rng, size);
            Bytes iv_copy = iv;
            Bytes plain_copy = plain;
            Bytes out(size);
            ASSERT_EQ(aes_encode(plain_copy.data(), out.data(), static_cast<std::int32_t>(size), key.data(), 256,
                                 iv_copy.data(), AES_MODE_CBC),
                      static_cast<std::int32_t>(size));
            EXPECT_EQ(iv_copy, iv);
            EXPECT_EQ(plain_copy, plain);
            Bytes cipher_copy = out;
            Bytes back(size);
            ASSERT_EQ(aes_decode(cipher_copy.data(), back.data(), static_cast<std::int32_t>(size), key.data(), 256,
                                 iv_copy.data(), AES_MODE_CBC),
                      static_cast<std::int32_t>(size));
            EXPECT_EQ(iv_copy, iv);
            EXPECT_EQ(cipher_copy, out);
            EXPECT_EQ(back, plain);
        }
    }
}

TEST(Aes, WritesExactlySizeBytes)
{
    std::mt19937 rng(5);
    for (bool hardware : paths()) {
        PathGuard guard(hardware);
        const Bytes key = random_bytes(rng, 32);
        const Bytes iv = random_bytes(rng, 16);
        for (std::size_t size : {16u, 17u, 33u, 129u, 143u, 144u}) {
            for (std::int32_t mode : {AES_MODE_ECB, AES_MODE_CBC}) {
                const Bytes plain = random_bytes(rng, size);
                Bytes out(size + 32, 0xA5);
                ASSERT_EQ(aes_encode(plain.data(), out.data() + 16, static_cast<std::int32_t>(size), key.data(), 256,
                                     iv.data(), mode),
                          static_cast<std::int32_t>(size));
                for (std::size_t i = 0; i < 16; ++i) {
                    EXPECT_EQ(out[i], 0xA5);
                    EXPECT_EQ(out[size + 16 + i], 0xA5);
                }
                Bytes back(size + 32, 0x5A);
                ASSERT_EQ(aes_decode(out.data() + 16, back.data() + 16, static_cast<std::int32_t>(size), key.data(),
                                     256, iv.data(), mode),
                          static_cast<std::int32_t>(size));
                for (std::size_t i = 0; i < 16; ++i) {
                    EXPECT_EQ(back[i], 0x5A);
                    EXPECT_EQ(back[size + 16 + i], 0x5A);
                }
                EXPECT_EQ(slice(back, 16, size), plain);
            }
        }
    }
}

// ---- Refusals: 0 and nothing written ----

using AesOperation = std::int32_t (*)(const void*, void*, std::int32_t, const void*, std::int32_t, const void*,
                                      std::int32_t);

TEST(Aes, RefusalsWriteNothing)
{
    const Bytes key(32, 0x11);
    const Bytes iv(16, 0x22);
    Bytes input(64, 0x33);
    for (bool hardware : paths()) {
        PathGuard guard(hardware);
        for (AesOperation op : {&aes_encode, &aes_decode}) {
            for (std::int32_t mode : {AES_MODE_ECB, AES_MODE_CBC}) {
                Bytes out(64, 0xEE);
                const Bytes untouched = out;
                auto check = [&](std::int32_t result, const char* what) {
                    EXPECT_EQ(result, 0) << what;
                    EXPECT_EQ(out, untouched) << what;
                };
                for (std::int32_t size : {0, 1, 15, -1, -16, -17, INT32_MIN}) {
                    check(op(input.data(), out.data(), size, key.data(), 256, iv.data(), mode), "size");
                }
                for (std::int32_t bits : {0, 8, 64, 100, 127, 129, 160, 224, 255, 257, 512, -128}) {
                    check(op(input.data(), out.data(), 32, key.data(), bits, iv.data(), mode), "bits");
                }
                check(op(nullptr, out.data(), 32, key.data(), 256, iv.data(), mode), "null input");
                check(op(input.data(), out.data(), 32, nullptr, 256, iv.data(), mode), "null key");
                check(op(input.data(), nullptr, 32, key.data(), 256, iv.data(), mode), "null output");
                // Overlapping buffers: the same buffer and a partial overlap.
                Bytes shared = input;
                EXPECT_EQ(op(shared.data(), shared.data(), 32, key.data(), 256, iv.data(), mode), 0);
                EXPECT_EQ(shared, input);
                EXPECT_EQ(op(shared.data(), shared.data() + 16, 32, key.data(), 256, iv.data(), mode), 0);
                EXPECT_EQ(op(shared.data() + 16, shared.data(), 32, key.data(), 256, iv.data(), mode), 0);
                EXPECT_EQ(shared, input);
                // Adjacent (touching, not overlapping) buffers are fine.
                Bytes adjacent(64, 0);
                EXPECT_EQ(op(adjacent.data(), adjacent.data() + 32, 32, key.data(), 256, iv.data(), mode), 32);
            }
            // The vector is needed only in CBC.
            Bytes out(32, 0xEE);
            const Bytes untouched = out;
            EXPECT_EQ(op(input.data(), out.data(), 32, key.data(), 256, nullptr, AES_MODE_CBC), 0);
            EXPECT_EQ(out, untouched);
            EXPECT_EQ(op(input.data(), out.data(), 32, key.data(), 256, nullptr, AES_MODE_ECB), 32);
            EXPECT_EQ(op(input.data(), out.data(), 17, key.data(), 256, nullptr, AES_MODE_ECB), 17);
        }
    }
}

#ifndef _WIN32
// ---- Against libcrypto on the host ----

const EVP_CIPHER* evp_block_cipher(std::size_t key_bytes, bool cbc)
{
    switch (key_bytes) {
    case 16: return cbc ? EVP_aes_128_cbc() : EVP_aes_128_ecb();
    case 24: return cbc ? EVP_aes_192_cbc() : EVP_aes_192_ecb();
    default: return cbc ? EVP_aes_256_cbc() : EVP_aes_256_ecb();
    }
}

Bytes evp_run(const EVP_CIPHER* cipher, const Bytes& in, const Bytes& key, const Bytes& iv, bool encrypt,
              const OSSL_PARAM* params = nullptr)
{
    EVP_CIPHER_CTX* ctx = EVP_CIPHER_CTX_new();
    Bytes out(in.size() + 32);
    int written = 0;
    int final_written = 0;
    bool ok = EVP_CipherInit_ex2(ctx, cipher, key.data(), iv.empty() ? nullptr : iv.data(), encrypt ? 1 : 0,
                                 params) == 1;
    ok = ok && EVP_CIPHER_CTX_set_padding(ctx, 0) == 1;
    ok = ok && EVP_CipherUpdate(ctx, out.data(), &written, in.data(), static_cast<int>(in.size())) == 1;
    ok = ok && EVP_CipherFinal_ex(ctx, out.data() + written, &final_written) == 1;
    EVP_CIPHER_CTX_free(ctx);
    EXPECT_TRUE(ok);
    out.resize(static_cast<std::size_t>(written + final_written));
    return out;
}

TEST(AesReference, VectorsAgreeWithLibcrypto)
{
    for (const auto& v : FIPS197) {
        EXPECT_EQ(evp_run(evp_block_cipher(hex(v.key).size(), false), hex(v.plain), hex(v.key), {}, true),
                  hex(v.cipher));
    }
    for (const auto& v : SP800) {
        const Bytes key = hex(v.key);
        EXPECT_EQ(evp_run(evp_block_cipher(key.size(), false), hex(SP800_PLAIN), key, {}, true), hex(v.ecb));
        EXPECT_EQ(evp_run(evp_block_cipher(key.size(), true), hex(SP800_PLAIN), key, hex(SP800_IV), true), hex(v.cbc));
    }
}

TEST(AesReference, WholeBlocksEqualLibcrypto)
{
    std::mt19937 rng(11);
    for (bool hardware : paths()) {
        PathGuard guard(hardware);
        for (std::size_t key_bytes : {16u, 24u, 32u}) {
            const Bytes key = random_bytes(rng, key_bytes);
            const Bytes iv = random_bytes(rng, 16);
            for (std::size_t size = 16; size <= 4112; size += 16) {
                SCOPED_TRACE(std::string(path_name(hardware)) + " size " + std::to_string(size));
                const Bytes plain = random_bytes(rng, size);
                for (bool cbc : {false, true}) {
                    const std::int32_t mode = cbc ? AES_MODE_CBC : AES_MODE_ECB;
                    const Bytes expected = evp_run(evp_block_cipher(key_bytes, cbc), plain, key, iv, true);
                    EXPECT_EQ(encode(plain, key, iv, mode), expected);
                    EXPECT_EQ(decode(expected, key, iv, mode), plain);
                }
            }
        }
    }
}

EVP_CIPHER* fetch_cts(std::size_t key_bytes)
{
    const char* name = key_bytes == 16 ? "AES-128-CBC-CTS" : key_bytes == 24 ? "AES-192-CBC-CTS" : "AES-256-CBC-CTS";
    return EVP_CIPHER_fetch(nullptr, name, nullptr);
}

// Our CBC stealing is exactly NIST SP 800-38A addendum CBC-CS3 whenever
// the length is not a multiple of 16: block n = E(X XOR (T || 0)) followed by the first
// r bytes of X = Cn. (For whole-block lengths CS3 swaps the last two blocks, whereas the
// code gives plain CBC; those lengths are checked against plain CBC above.)
TEST(AesReference, CbcStealingEqualsOpensslCs3)
{
    std::mt19937 rng(33);
    char cs3[] = "CS3";
    OSSL_PARAM params[] = {
        OSSL_PARAM_construct_utf8_string(OSSL_CIPHER_PARAM_CTS_MODE, cs3, 0),
        OSSL_PARAM_construct_end(),
    };
    for (std::size_t key_bytes : {16u, 24u, 32u}) {
        EVP_CIPHER* cts = fetch_cts(key_bytes);
        ASSERT_NE(cts, nullptr);
        const Bytes key = random_bytes(rng, key_bytes);
        const Bytes iv = random_bytes(rng, 16);
        for (std::size_t size = 17; size <= 4112; ++size) {
            if (size % 16 == 0) {
                continue;
            }
            const Bytes plain = random_bytes(rng, size);
            const Bytes expected = evp_run(cts, plain, key, iv, true, params);
            ASSERT_EQ(expected.size(), size);
            for (bool hardware : paths()) {
                PathGuard guard(hardware);
                SCOPED_TRACE(std::string(path_name(hardware)) + " key bytes " + std::to_string(key_bytes) + " size " +
                             std::to_string(size));
                const Bytes cipher = encode(plain, key, iv, AES_MODE_CBC);
                ASSERT_EQ(cipher, expected);
                ASSERT_EQ(decode(expected, key, iv, AES_MODE_CBC), plain);
            }
            // And OpenSSL reads ours back.
            ASSERT_EQ(evp_run(cts, expected, key, iv, false, params), plain);
        }
        EVP_CIPHER_free(cts);
    }
}

// For whole-block lengths of two blocks or more, CS3 swaps the last two blocks, while the
// code (and the journal's files) use plain CBC: the two differ by exactly that swap.
TEST(AesReference, WholeBlocksDifferFromCs3ByLastTwoBlocksSwapped)
{
    std::mt19937 rng(55);
    char cs3[] = "CS3";
    OSSL_PARAM params[] = {
        OSSL_PARAM_construct_utf8_string(OSSL_CIPHER_PARAM_CTS_MODE, cs3, 0),
        OSSL_PARAM_construct_end(),
    };
    EVP_CIPHER* cts = fetch_cts(32);
    ASSERT_NE(cts, nullptr);
    const Bytes key = random_bytes(rng, 32);
    const Bytes iv = random_bytes(rng, 16);
    for (std::size_t size = 16; size <= 512; size += 16) {
        const Bytes plain = random_bytes(rng, size);
        Bytes expected = evp_run(cts, plain, key, iv, true, params);
        if (size >= 32) {
            std::swap_ranges(expected.end() - 32, expected.end() - 16, expected.end() - 16);
        }
        EXPECT_EQ(encode(plain, key, iv, AES_MODE_CBC), expected) << "size " << size;
    }
    EVP_CIPHER_free(cts);
}

// ECB stealing has no libcrypto mode; build it from libcrypto's single-block ECB
// following the same rule, independently of the code under test.
Bytes reference_ecb_stealing(const Bytes& plain, const Bytes& key)
{
    const EVP_CIPHER* ecb = evp_block_cipher(key.size(), false);
    const std::size_t n = plain.size() / 16;
    const std::size_t r = plain.size() % 16;
    Bytes out = evp_run(ecb, slice(plain, 0, 16 * (n - 1)), key, {}, true);
    const Bytes x = evp_run(ecb, slice(plain, 16 * (n - 1), 16), key, {}, true);
    Bytes last = x;
    std::memcpy(last.data(), plain.data() + 16 * n, r);
    out = concat(out, evp_run(ecb, last, key, {}, true));
    return concat(out, slice(x, 0, r));
}

TEST(AesReference, EcbStealingEqualsReference)
{
    std::mt19937 rng(44);
    for (std::size_t key_bytes : {16u, 24u, 32u}) {
        const Bytes key = random_bytes(rng, key_bytes);
        for (std::size_t size = 17; size <= 1040; ++size) {
            if (size % 16 == 0) {
                continue;
            }
            const Bytes plain = random_bytes(rng, size);
            const Bytes expected = reference_ecb_stealing(plain, key);
            for (bool hardware : paths()) {
                PathGuard guard(hardware);
                SCOPED_TRACE(std::string(path_name(hardware)) + " size " + std::to_string(size));
                ASSERT_EQ(encode(plain, key, {}, AES_MODE_ECB), expected);
                ASSERT_EQ(decode(expected, key, {}, AES_MODE_ECB), plain);
            }
        }
    }
}
#endif  // _WIN32

}  // namespace
