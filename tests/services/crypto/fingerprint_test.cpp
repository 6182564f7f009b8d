// Fingerprints: the published example vectors of each standard, the registry and
// `bits` rules, text as UTF-8, streaming against one-shot, the hardware paths
// against the portable ones, and (on the host) libcrypto and zlib on random buffers.
#include "services/crypto/fingerprint.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "services/crypto/digest.h"

#ifndef _WIN32
#include <openssl/evp.h>
#include <zlib.h>
#endif

namespace {

std::string narrow(const std::u16string& text)
{
    std::string out;
    for (char16_t u : text) out.push_back(u < 0x80 ? char(u) : '?');
    return out;
}

std::string buffer_hex(const std::string& bytes, int32_t id, int32_t bits = 0)
{
    return narrow(fingerprint_buffer(bytes.data(), int32_t(bytes.size()), id, bits));
}

std::string string_hex(const char16_t* text, int32_t id, int32_t bits = 0)
{
    return narrow(fingerprint_string(text, id, bits));
}

std::vector<uint8_t> random_bytes(std::size_t n, uint32_t seed)
{
    std::mt19937 gen(seed);
    std::vector<uint8_t> v(n);
    for (auto& b : v) b = uint8_t(gen());
    return v;
}

void register_all()
{
    fingerprint_register_md5();
    fingerprint_register_crc32();
    fingerprint_register_sha1();
    fingerprint_register_sha2();
    fingerprint_register_sha3();
}

// Runs before any registration: the tests of this program run in order.
TEST(FingerprintRegistry, NothingWorksBeforeRegistration)
{
    EXPECT_EQ(fingerprint_count(), 0u);
    EXPECT_EQ(fingerprint_find(-1), nullptr);
    EXPECT_EQ(fingerprint_find(3), nullptr);
    EXPECT_EQ(buffer_hex("abc", 3), "");
    EXPECT_EQ(string_hex(u"abc", 3), "");
    EXPECT_EQ(fingerprint_register_sha1(), 1);
    EXPECT_EQ(buffer_hex("abc", 3), "a9993e364706816aba3e25717850c26c9cd0d89d");
    EXPECT_EQ(buffer_hex("abc", 1), "");
}

TEST(FingerprintRegistry, RegisteringTwiceKeepsOneEntry)
{
    EXPECT_EQ(fingerprint_register_md5(), 1);
    EXPECT_EQ(fingerprint_register_crc32(), 1);
    EXPECT_EQ(fingerprint_register_sha2(), 1);
    EXPECT_EQ(fingerprint_register_sha3(), 1);
    EXPECT_EQ(fingerprint_count(), 5u);
    const std::string before = buffer_hex("abc", 1);
    const FingerprintAlgorithm* md5 = fingerprint_find(1);
    for (int round = 0; round < 2; ++round) {
        EXPECT_EQ(fingerprint_register_md5(), 1);
        EXPECT_EQ(fingerprint_register_crc32(), 1);
        EXPECT_EQ(fingerprint_register_sha1(), 1);
        EXPECT_EQ(fingerprint_register_sha2(), 1);
        EXPECT_EQ(fingerprint_register_sha3(), 1);
    }
    EXPECT_EQ(fingerprint_count(), 5u);
    EXPECT_EQ(fingerprint_find(1), md5);
    EXPECT_EQ(buffer_hex("abc", 1), before);
    for (int32_t id = 1; id <= 5; ++id) {
        ASSERT_NE(fingerprint_find(id), nullptr);
        EXPECT_EQ(fingerprint_find(id)->id, id);
    }
    EXPECT_EQ(fingerprint_find(-1)->id, 3);  // the first one registered
    EXPECT_EQ(fingerprint_find(0), nullptr);
    EXPECT_EQ(fingerprint_find(6), nullptr);
    EXPECT_EQ(fingerprint_add(4), nullptr);
    EXPECT_EQ(fingerprint_find(4)->create != nullptr, true);
}

TEST(FingerprintRegistry, OtherIdsGiveEmptyText)
{
    register_all();
    for (int32_t id : {0, 6, 7, -1, -2, 100, INT32_MIN, INT32_MAX}) {
        EXPECT_EQ(buffer_hex("abc", id), "") << id;
        EXPECT_EQ(string_hex(u"abc", id), "") << id;
    }
    // An entry added for another id is kept, but fingerprints know only ids 1-5.
    FingerprintAlgorithm* extra = fingerprint_add(42);
    ASSERT_NE(extra, nullptr);
    *extra = *fingerprint_find(1);
    extra->id = 42;
    EXPECT_EQ(fingerprint_find(42), extra);
    EXPECT_EQ(buffer_hex("abc", 42), "");
}

struct Vector {
    int32_t id;
    int32_t bits;
    const char* message;   // null for one million 'a'
    const char* expected;
};

const char* const m448 = "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq";
const char* const m896 =
    "abcdefghbcdefghicdefghijdefghijkefghijklfghijklmghijklmnhijklmnoijklmnopjklmnopqklmnopqrlmnopqrsmnopqrstnopqrstu";

const Vector vectors[] = {
    {1, 0, "", "d41d8cd98f00b204e9800998ecf8427e"},
    {1, 0, "abc", "900150983cd24fb0d6963f7d28e17f72"},
    {1, 0, m448, "8215ef0796a20bcaaae116d3876c664a"},
    {1, 0, m896, "03dd8807a93175fb062dfb55dc7d359c"},
    {1, 0, nullptr, "7707d6ae4e027c70eea2a935c2296f21"},
    {1, 0, "message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
    {1, 0, "12345678901234567890123456789012345678901234567890123456789012345678901234567890",
     "57edf4a22be3c955ac49da2e2107b67a"},

    {2, 0, "", "00000000"},
    {2, 0, "abc", "352441c2"},
    {2, 0, "123456789", "cbf43926"},
    {2, 0, "The quick brown fox jumps over the lazy dog", "414fa339"},
    {2, 0, m448, "171a3f5f"},
    {2, 0, m896, "191f3349"},
    {2, 0, nullptr, "dc25bfbc"},

    {3, 0, "", "da39a3ee5e6b4b0d3255bfef95601890afd80709"},
    {3, 0, "abc", "a9993e364706816aba3e25717850c26c9cd0d89d"},
    {3, 0, m448, "84983e441c3bd26ebaae4aa1f95129e5e54670f1"},
    {3, 0, m896, "a49b2446a02c645bf419f995b67091253a04a259"},
    {3, 0, nullptr, "34aa973cd4c4daa4f61eeb2bdbad27316534016f"},

    {4, 224, "", "d14a028c2a3a2bc9476102bb288234c415a2b01f828ea62ac5b3e42f"},
    {4, 224, "abc", "23097d223405d8228642a477bda255b32aadbce4bda0b3f7e36c9da7"},
    {4, 224, m448, "75388b16512776cc5dba5da1fd890150b0c6455cb4f58b1952522525"},
    {4, 224, m896, "c97ca9a559850ce97a04a96def6d99a9e0e0e2ab14e6b8df265fc0b3"},
    {4, 224, nullptr, "20794655980c91d8bbb4c1ea97618a4bf03f42581948b2ee4ee7ad67"},
    {4, 256, "", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
    {4, 256, "abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
    {4, 256, m448, "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
    {4, 256, m896, "cf5b16a778af8380036ce59e7b0492370b249b11e8f07a51afac45037afee9d1"},
    {4, 256, nullptr, "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
    {4, 384, "",
     "38b060a751ac96384cd9327eb1b1e36a21fdb71114be07434c0cc7bf63f6e1da274edebfe76f65fbd51ad2f14898b95b"},
    {4, 384, "abc",
     "cb00753f45a35e8bb5a03d699ac65007272c32ab0eded1631a8b605a43ff5bed8086072ba1e7cc2358baeca134c825a7"},
    {4, 384, m448,
     "3391fdddfc8dc7393707a65b1b4709397cf8b1d162af05abfe8f450de5f36bc6b0455a8520bc4e6f5fe95b1fe3c8452b"},
    {4, 384, m896,
     "09330c33f71147e83d192fc782cd1b4753111b173b3b05d22fa08086e3b0f712fcc7c71a557e2db966c3e9fa91746039"},
    {4, 384, nullptr,
     "9d0e1809716474cb086e834e310a4a1ced149e9c00f248527972cec5704c2a5b07b8b3dc38ecc4ebae97ddd87f3d8985"},
    {4, 512, "",
     "cf83e1357eefb8bdf1542850d66d8007d620e4050b5715dc83f4a921d36ce9ce"
     "47d0d13c5d85f2b0ff8318d2877eec2f63b931bd47417a81a538327af927da3e"},
    {4, 512, "abc",
     "ddaf35a193617abacc417349ae20413112e6fa4e89a97ea20a9eeee64b55d39a"
     "2192992a274fc1a836ba3c23a3feebbd454d4423643ce80e2a9ac94fa54ca49f"},
    {4, 512, m448,
     "204a8fc6dda82f0a0ced7beb8e08a41657c16ef468b228a8279be331a703c335"
     "96fd15c13b1b07f9aa1d3bea57789ca031ad85c7a71dd70354ec631238ca3445"},
    {4, 512, m896,
     "8e959b75dae313da8cf4f72814fc143f8f7779c6eb9f7fa17299aeadb6889018"
     "501d289e4900f7e4331b99dec4b5433ac7d329eeb6dd26545e96e55b874be909"},
    {4, 512, nullptr,
     "e718483d0ce769644e2e42c7bc15b4638e1f98b13b2044285632a803afa973eb"
     "de0ff244877ea60a4cb0432ce577c31beb009c5c2c49aa2e4eadb217ad8cc09b"},

    {5, 224, "", "6b4e03423667dbb73b6e15454f0eb1abd4597f9a1b078e3f5b5a6bc7"},
    {5, 224, "abc", "e642824c3f8cf24ad09234ee7d3c766fc9a3a5168d0c94ad73b46fdf"},
    {5, 224, m448, "8a24108b154ada21c9fd5574494479ba5c7e7ab76ef264ead0fcce33"},
    {5, 224, m896, "543e6868e1666c1a643630df77367ae5a62a85070a51c14cbf665cbc"},
    {5, 224, nullptr, "d69335b93325192e516a912e6d19a15cb51c6ed5c15243e7a7fd653c"},
    {5, 256, "", "a7ffc6f8bf1ed76651c14756a061d662f580ff4de43b49fa82d80a4b80f8434a"},
    {5, 256, "abc", "3a985da74fe225b2045c172d6bd390bd855f086e3e9d525b46bfe24511431532"},
    {5, 256, m448, "41c0dba2a9d6240849100376a8235e2c82e1b9998a999e21db32dd97496d3376"},
    {5, 256, m896, "916f6061fe879741ca6469b43971dfdb28b1a32dc36cb3254e812be27aad1d18"},
    {5, 256, nullptr, "5c8875ae474a3634ba4fd55ec85bffd661f32aca75c6d699d0cdcb6c115891c1"},
    {5, 384, "",
     "0c63a75b845e4f7d01107d852e4c2485c51a50aaaa94fc61995e71bbee983a2ac3713831264adb47fb6bd1e058d5f004"},
    {5, 384, "abc",
     "ec01498288516fc926459f58e2c6ad8df9b473cb0fc08c2596da7cf0e49be4b298d88cea927ac7f539f1edf228376d25"},
    {5, 384, m448,
     "991c665755eb3a4b6bbdfb75c78a492e8c56a22c5c4d7e429bfdbc32b9d4ad5aa04a1f076e62fea19eef51acd0657c22"},
    {5, 384, m896,
     "79407d3b5916b59c3e30b09822974791c313fb9ecc849e406f23592d04f625dc8c709b98b43b3852b337216179aa7fc7"},
    {5, 384, nullptr,
     "eee9e24d78c1855337983451df97c8ad9eedf256c6334f8e948d252d5e0e76847aa0774ddb90a842190d2c558b4b8340"},
    {5, 512, "",
     "a69f73cca23a9ac5c8b567dc185a756e97c982164fe25859e0d1dcc1475c80a6"
     "15b2123af1f5f94c11e3e9402c3ac558f500199d95b6d3e301758586281dcd26"},
    {5, 512, "abc",
     "b751850b1a57168a5693cd924b6b096e08f621827444f70d884f5d0240d2712e"
     "10e116e9192af3c91a7ec57647e3934057340b4cf408d5a56592f8274eec53f0"},
    {5, 512, m448,
     "04a371e84ecfb5b8b77cb48610fca8182dd457ce6f326a0fd3d7ec2f1e91636d"
     "ee691fbe0c985302ba1b0d8dc78c086346b533b49c030d99a27daf1139d6e75e"},
    {5, 512, m896,
     "afebb2ef542e6579c50cad06d2e578f9f8dd6881d7dc824d26360feebf18a4fa"
     "73e3261122948efcfd492e74e82e2189ed0fb440d187f382270cb455f21dd185"},
    {5, 512, nullptr,
     "3c3a876da14034ab60627c077bb98f7e120a2a5370212dffb3385a18d4f38859"
     "ed311d0a9d5141ce9cc5c66ee689b266a8aa18ace8282a0e0db596c90b0a7b87"},
};

// Runs the checks of a test on the portable code of every algorithm.
struct PortableOnly {
    PortableOnly() { digest::set_portable_only(true); }
    ~PortableOnly() { digest::set_portable_only(false); }
};

void check_published_examples()
{
    register_all();
    const std::string million(1000000, 'a');
    for (const Vector& v : vectors) {
        const std::string message = v.message ? v.message : million;
        const std::string label = "id " + std::to_string(v.id) + " bits " + std::to_string(v.bits) +
                                  " length " + std::to_string(message.size());
        EXPECT_EQ(buffer_hex(message, v.id, v.bits), v.expected) << label;
        // Texts of ASCII characters are hashed as the same bytes.
        std::u16string text(message.begin(), message.end());
        EXPECT_EQ(string_hex(text.c_str(), v.id, v.bits), v.expected) << label;
    }
}

TEST(FingerprintVectors, PublishedExamples)
{
    check_published_examples();
}

TEST(FingerprintVectors, PublishedExamplesOnPortableCode)
{
    const PortableOnly portable;
    check_published_examples();
}

TEST(FingerprintVectors, OutputLengths)
{
    register_all();
    EXPECT_EQ(buffer_hex("x", 1).size(), 32u);
    EXPECT_EQ(buffer_hex("x", 2).size(), 8u);
    EXPECT_EQ(buffer_hex("x", 3).size(), 40u);
    EXPECT_EQ(buffer_hex("x", 4).size(), 64u);
    EXPECT_EQ(buffer_hex("x", 5).size(), 64u);
    for (int32_t bits : {224, 256, 384, 512}) {
        EXPECT_EQ(buffer_hex("x", 4, bits).size(), std::size_t(bits / 4));
        EXPECT_EQ(buffer_hex("x", 5, bits).size(), std::size_t(bits / 4));
    }
}

TEST(FingerprintBits, ZeroMeans256AndOthersAreRefused)
{
    register_all();
    for (int32_t id : {4, 5}) {
        EXPECT_EQ(buffer_hex("abc", id, 0), buffer_hex("abc", id, 256));
        EXPECT_EQ(string_hex(u"abc", id, 0), string_hex(u"abc", id, 256));
        EXPECT_EQ(buffer_hex("abc", id, 0).size(), 64u);
        for (int32_t bits : {160, 1, -256, 128, 255, 257, 1024, 8, INT32_MIN})
            EXPECT_EQ(buffer_hex("abc", id, bits), "") << id << " " << bits;
        EXPECT_EQ(string_hex(u"abc", id, 160), "");
    }
    // MD5, CRC-32 and SHA-1 ignore bits.
    for (int32_t id : {1, 2, 3})
        for (int32_t bits : {160, 256, -1, 12345})
            EXPECT_EQ(buffer_hex("abc", id, bits), buffer_hex("abc", id)) << id << " " << bits;
}

TEST(FingerprintInput, EmptyInputsGiveTheEmptyDigest)
{
    register_all();
    const char* empty_md5 = "d41d8cd98f00b204e9800998ecf8427e";
    const char bytes[] = "ignored";
    EXPECT_EQ(narrow(fingerprint_buffer(bytes, 0, 1)), empty_md5);
    EXPECT_EQ(narrow(fingerprint_buffer(nullptr, 0, 1)), empty_md5);
    EXPECT_EQ(string_hex(u"", 1), empty_md5);
    EXPECT_EQ(string_hex(nullptr, 1), empty_md5);
    for (int32_t id = 1; id <= 5; ++id) {
        const std::string empty = buffer_hex("", id);
        EXPECT_FALSE(empty.empty());
        EXPECT_EQ(narrow(fingerprint_buffer(nullptr, 0, id)), empty);
        EXPECT_EQ(string_hex(nullptr, id), empty);
        EXPECT_EQ(string_hex(u"", id), empty);
    }
    EXPECT_EQ(string_hex(nullptr, 2), "00000000");
}

TEST(FingerprintInput, BadInputGivesEmptyText)
{
    register_all();
    const char bytes[] = "abc";
    for (int32_t id = 1; id <= 5; ++id) {
        EXPECT_EQ(narrow(fingerprint_buffer(nullptr, 3, id)), "") << id;
        EXPECT_EQ(narrow(fingerprint_buffer(bytes, -1, id)), "") << id;
        EXPECT_EQ(narrow(fingerprint_buffer(bytes, INT32_MIN, id)), "") << id;
    }
}

TEST(FingerprintText, NonAsciiTextIsHashedAsUtf8)
{
    register_all();
    // "ä" is the two bytes C3 A4.
    EXPECT_EQ(string_hex(u"\u00e4", 1), buffer_hex("\xc3\xa4", 1));
    EXPECT_EQ(string_hex(u"\u00e4", 2), buffer_hex("\xc3\xa4", 2));
    const char16_t* texts[] = {u"Gr\u00fc\u00dfe, \u65e5\u672c\u8a9e", u"\U0001F600 smile", u"\u20ac100",
                               u"password \u00e9\u00e8\u00ea"};
    const char* utf8[] = {"Gr\xc3\xbc\xc3\x9f" "e, \xe6\x97\xa5\xe6\x9c\xac\xe8\xaa\x9e", "\xf0\x9f\x98\x80 smile",
                          "\xe2\x82\xac" "100", "password \xc3\xa9\xc3\xa8\xc3\xaa"};
    for (std::size_t n = 0; n < 4; ++n)
        for (int32_t id = 1; id <= 5; ++id) {
            EXPECT_EQ(string_hex(texts[n], id), buffer_hex(utf8[n], id)) << n << " " << id;
            EXPECT_EQ(string_hex(texts[n], id, 256), buffer_hex(utf8[n], id, 256)) << n << " " << id;
        }
    // A lone surrogate is hashed as U+FFFD, as code page 65001 converts it.
    const char16_t lone[] = {u'a', 0xD800, u'b', 0xDC00, 0};
    EXPECT_EQ(string_hex(lone, 3), buffer_hex("a\xef\xbf\xbd" "b\xef\xbf\xbd", 3));
}

// Drives an algorithm entry directly with the input cut into pieces.
std::string pieces_hex(int32_t id, int32_t bits, const std::vector<uint8_t>& data, std::mt19937& gen)
{
    const FingerprintAlgorithm* a = fingerprint_find(id);
    FingerprintContext* c = a->create(bits, 1);
    std::size_t at = 0;
    while (at < data.size()) {
        std::size_t piece = gen() % 300;
        if (piece > data.size() - at) piece = data.size() - at;
        a->update(c, data.data() + at, piece);
        at += piece;
    }
    a->finish(c);
    std::string hex;
    static const char digits[] = "0123456789abcdef";
    for (int n = 0; n < c->bits / 8; ++n) {
        hex.push_back(digits[c->digest[n] >> 4]);
        hex.push_back(digits[c->digest[n] & 15]);
    }
    a->destroy(c);
    return hex;
}

TEST(FingerprintStreaming, PiecesEqualOneShot)
{
    register_all();
    std::mt19937 gen(7);
    const std::vector<uint8_t> data = random_bytes(5000, 11);
    struct { int32_t id, bits; } kinds[] = {{1, 0}, {2, 0}, {3, 0}, {4, 224}, {4, 256}, {4, 384},
                                             {4, 512}, {5, 224}, {5, 256}, {5, 384}, {5, 512}};
    for (std::size_t length : {0u, 1u, 55u, 56u, 63u, 64u, 65u, 111u, 112u, 127u, 128u, 135u, 136u, 143u,
                               144u, 1000u, 4999u}) {
        std::vector<uint8_t> part(data.begin(), data.begin() + long(length));
        for (auto k : kinds) {
            const std::string whole =
                narrow(fingerprint_buffer(part.data(), int32_t(part.size()), k.id, k.bits));
            for (int trial = 0; trial < 5; ++trial)
                EXPECT_EQ(pieces_hex(k.id, k.bits, part, gen), whole) << k.id << " " << k.bits << " " << length;
        }
    }
}

TEST(FingerprintCrc, UpdatesContinueOneCrcAndNullDataChangesNothing)
{
    register_all();
    const FingerprintAlgorithm* crc = fingerprint_find(2);
    FingerprintContext* c = crc->create(0, 1);
    crc->update(c, "1234", 4);
    crc->update(c, nullptr, 100);
    crc->update(c, "56789", 5);
    crc->finish(c);
    const uint8_t expected[4] = {0xcb, 0xf4, 0x39, 0x26};
    EXPECT_EQ(std::memcmp(c->digest, expected, 4), 0);
    EXPECT_EQ(c->bits, 32);
    crc->destroy(c);
}

TEST(FingerprintSha3, NoInputAfterFinish)
{
    register_all();
    const FingerprintAlgorithm* sha3 = fingerprint_find(5);
    FingerprintContext* c = sha3->create(256, 1);
    sha3->update(c, "abc", 3);
    sha3->finish(c);
    sha3->update(c, "more", 4);
    sha3->finish(c);
    const uint8_t expected[4] = {0x3a, 0x98, 0x5d, 0xa7};
    EXPECT_EQ(std::memcmp(c->digest, expected, 4), 0);
    sha3->destroy(c);
}

TEST(FingerprintHardware, AcceleratedPathsEqualPortable)
{
    const std::vector<uint8_t> data = random_bytes(64 * 40, 3);
    if (digest::sha1_compress_hw) {
        for (std::size_t blocks = 1; blocks <= 40; blocks += 13) {
            uint32_t a[5] = {0x67452301, 0xefcdab89, 0x98badcfe, 0x10325476, 0xc3d2e1f0}, b[5];
            std::memcpy(b, a, sizeof(a));
            digest::sha1_compress_hw(a, data.data(), blocks);
            digest::sha1_compress_portable(b, data.data(), blocks);
            EXPECT_EQ(std::memcmp(a, b, sizeof(a)), 0) << blocks;
        }
    } else {
        GTEST_LOG_(INFO) << "no SHA extensions: SHA-1 hardware path not tested";
    }
    if (digest::sha256_compress_hw) {
        for (std::size_t blocks = 1; blocks <= 40; blocks += 13) {
            uint32_t a[8], b[8];
            for (int n = 0; n < 8; ++n) a[n] = b[n] = 0x01234567u * uint32_t(n + 1);
            digest::sha256_compress_hw(a, data.data(), blocks);
            digest::sha256_compress_portable(b, data.data(), blocks);
            EXPECT_EQ(std::memcmp(a, b, sizeof(a)), 0) << blocks;
        }
    }
    // Where AVX-512VL is chosen, the AVX2 schedule is checked beside it.
    for (digest::Compress64 compress : {digest::sha512_compress_hw, digest::sha512_compress_avx2}) {
        for (std::size_t blocks = 1; compress && blocks <= 20; blocks += 7) {
            uint64_t a[8], b[8];
            for (int n = 0; n < 8; ++n) a[n] = b[n] = 0x0123456789abcdefull * uint64_t(n + 1);
            compress(a, data.data(), blocks);
            digest::sha512_compress_portable(b, data.data(), blocks);
            EXPECT_EQ(std::memcmp(a, b, sizeof(a)), 0) << blocks;
        }
    }
    if (digest::keccak_f1600_hw) {
        for (int n = 0; n < 3; ++n) {
            uint64_t a[25], b[25];
            std::memcpy(a, data.data() + 200 * n, sizeof(a));
            std::memcpy(b, a, sizeof(a));
            digest::keccak_f1600_hw(a);
            digest::keccak_f1600_portable(b);
            EXPECT_EQ(std::memcmp(a, b, sizeof(a)), 0) << n;
        }
    }
    if (digest::crc32_update_hw) {
        std::mt19937 gen(5);
        for (std::size_t length = 64; length <= data.size(); length += 1 + length / 16) {
            uint32_t start = gen();
            EXPECT_EQ(digest::crc32_update_hw(start, data.data(), length),
                      digest::crc32_update_portable(start, data.data(), length))
                << length;
        }
    }
}

#ifndef _WIN32

std::string evp_hex(const char* name, const uint8_t* data, std::size_t n)
{
    uint8_t md[EVP_MAX_MD_SIZE];
    unsigned int size = 0;
    EVP_Digest(data, n, md, &size, EVP_get_digestbyname(name), nullptr);
    std::string hex;
    static const char digits[] = "0123456789abcdef";
    for (unsigned i = 0; i < size; ++i) {
        hex.push_back(digits[md[i] >> 4]);
        hex.push_back(digits[md[i] & 15]);
    }
    return hex;
}

void check_every_length_up_to_1000()
{
    register_all();
    struct { int32_t id, bits; const char* name; } kinds[] = {
        {1, 0, "md5"},         {3, 0, "sha1"},        {4, 224, "sha224"},    {4, 256, "sha256"},
        {4, 384, "sha384"},    {4, 512, "sha512"},    {5, 224, "sha3-224"}, {5, 256, "sha3-256"},
        {5, 384, "sha3-384"}, {5, 512, "sha3-512"},
    };
    const std::vector<uint8_t> data = random_bytes(1000, 2024);
    for (std::size_t n = 0; n <= 1000; ++n) {
        // A fresh copy of exactly n bytes, so that reading past the end is caught.
        std::vector<uint8_t> part(data.begin(), data.begin() + long(n));
        const uint8_t* p = part.data();
        for (auto k : kinds)
            ASSERT_EQ(narrow(fingerprint_buffer(p, int32_t(n), k.id, k.bits)), evp_hex(k.name, p, n))
                << k.name << " length " << n;
        char crc[9];
        std::snprintf(crc, sizeof(crc), "%08lx", crc32(0, p, uInt(n)));
        ASSERT_EQ(narrow(fingerprint_buffer(p, int32_t(n), 2)), crc) << "crc32 length " << n;
    }
}

TEST(FingerprintReference, LibcryptoAndZlibOnEveryLengthUpTo1000)
{
    check_every_length_up_to_1000();
}

TEST(FingerprintReference, PortableCodeOnEveryLengthUpTo1000)
{
    const PortableOnly portable;
    check_every_length_up_to_1000();
}

TEST(FingerprintReference, LargeUnalignedBuffers)
{
    register_all();
    const std::vector<uint8_t> data = random_bytes(300000, 99);
    for (std::size_t offset : {0u, 1u, 3u, 7u}) {
        const uint8_t* p = data.data() + offset;
        const std::size_t n = data.size() - offset - 5;
        EXPECT_EQ(narrow(fingerprint_buffer(p, int32_t(n), 1)), evp_hex("md5", p, n));
        EXPECT_EQ(narrow(fingerprint_buffer(p, int32_t(n), 3)), evp_hex("sha1", p, n));
        EXPECT_EQ(narrow(fingerprint_buffer(p, int32_t(n), 4)), evp_hex("sha256", p, n));
        EXPECT_EQ(narrow(fingerprint_buffer(p, int32_t(n), 4, 512)), evp_hex("sha512", p, n));
        EXPECT_EQ(narrow(fingerprint_buffer(p, int32_t(n), 5)), evp_hex("sha3-256", p, n));
        char crc[9];
        std::snprintf(crc, sizeof(crc), "%08lx", crc32(0, p, uInt(n)));
        EXPECT_EQ(narrow(fingerprint_buffer(p, int32_t(n), 2)), crc);
    }
}

#endif

}  // namespace
