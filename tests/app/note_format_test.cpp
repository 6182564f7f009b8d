// The note format: hex parsing, the key chain, the cipher and the plaintext layout;
// on the host, an independent implementation over libcrypto and zlib must read what
// the program writes and write what the program reads.
#include "app/note_cipher.h"
#include "app/note_key.h"
#include "app/secret.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

#ifndef _WIN32
#include <openssl/core_names.h>
#include <openssl/evp.h>
#include <openssl/params.h>
#include <zlib.h>
#endif

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes bytes_of(const SecretBytes& secret)
{
    return Bytes(secret.data, secret.data + secret.size);
}

// Texts for passwords and notes: ASCII, other BMP characters, characters beyond it.
const std::u16string SAMPLES[] = {
    u"x",
    u"secret",
    u"correct horse battery staple, long enough not to be doubled",
    u"p\u00E4ssw\u00F6rd \u00DF \u4E2D\u6587",
    u"\U0001F511",
    u"key \U0001F511\U0001F600 mixed \u00E9",
};

NoteKey derive(std::u16string_view password)
{
    NoteKey key{};
    EXPECT_TRUE(note_derive_key(password, key));
    return key;
}

}  // namespace

TEST(NoteHex, PairsAreParsedUpToTheirFirstNonDigit)
{
    SecretBytes bytes;
    EXPECT_EQ(note_hex_to_bytes(bytes, u"00ff7Fa0"), 3);
    EXPECT_EQ(bytes_of(bytes), (Bytes{0x00, 0xFF, 0x7F, 0xA0}));
    EXPECT_EQ(note_hex_to_bytes(bytes, u"abc"), 1);  // the last pair is one digit
    EXPECT_EQ(bytes_of(bytes), (Bytes{0xAB, 0x0C}));
    EXPECT_EQ(note_hex_to_bytes(bytes, u"1zz2g1-1"), 3);
    EXPECT_EQ(bytes_of(bytes), (Bytes{0x01, 0x00, 0x00, 0x00}));
    // An empty text leaves one byte, keeping its value; a new array gets a zero.
    EXPECT_EQ(note_hex_to_bytes(bytes, u""), 0);
    EXPECT_EQ(bytes_of(bytes), (Bytes{0x01}));
    SecretBytes fresh;
    EXPECT_EQ(note_hex_to_bytes(fresh, u""), 0);
    EXPECT_EQ(bytes_of(fresh), (Bytes{0x00}));
}

TEST(NoteKeyChain, DeterministicAndStretched)
{
    EXPECT_FALSE(note_derive_key(u"", *std::make_unique<NoteKey>()));
    std::set<NoteKey> keys;
    for (const std::u16string& password : SAMPLES) {
        const NoteKey key = derive(password);
        EXPECT_EQ(derive(password), key);
        keys.insert(key);
    }
    EXPECT_EQ(keys.size(), std::size(SAMPLES));
    // A password and the same password doubled stretch to the same 40 characters.
    EXPECT_EQ(derive(u"abcde"), derive(u"abcdeabcde"));
    EXPECT_NE(derive(u"abcde"), derive(u"abcdf"));
}

TEST(NoteCipher, RefusesWhatItCannotDo)
{
    const Bytes key(32, 7);
    const Bytes input(40, 1);
    SecretBytes out;
    EXPECT_FALSE(note_cipher(key.data(), 20, input.data(), input.size(), NOTE_ENCRYPT, out));
    EXPECT_FALSE(note_cipher(key.data(), 32, input.data(), input.size(), 3, out));
    EXPECT_FALSE(note_cipher(key.data(), 32, input.data(), 15, NOTE_DECRYPT, out));
    // Every key size round-trips and the output is as long as the input.
    for (std::size_t key_size : {16u, 24u, 32u}) {
        SecretBytes cipher;
        SecretBytes plain;
        ASSERT_TRUE(note_cipher(key.data(), key_size, input.data(), input.size(), NOTE_ENCRYPT, cipher));
        EXPECT_EQ(cipher.size, input.size());
        ASSERT_TRUE(note_cipher(key.data(), key_size, cipher.data, cipher.size, NOTE_DECRYPT, plain));
        EXPECT_EQ(bytes_of(plain), input);
    }
}

TEST(NotePlaintext, LayoutAndParsing)
{
    std::set<std::size_t> sizes;
    for (int round = 0; round < 100; ++round) {
        SecretBytes plain;
        ASSERT_TRUE(note_build_plaintext(u"h\u00E9", plain));
        ASSERT_GE(plain.size, 4 + NOTE_PADDING_MIN);
        ASSERT_LE(plain.size, 4 + NOTE_PADDING_MAX);
        ASSERT_EQ(Bytes(plain.data, plain.data + 8), (Bytes{'h', 0, 0xE9, 0, 0, 0, 0, 0}));
        sizes.insert(plain.size);
    }
    EXPECT_GT(sizes.size(), 10u);  // the padding length is drawn per save
    const Bytes no_zero = {'a', 0, 'b', 0, 'c'};
    EXPECT_EQ(note_parse_plaintext(no_zero.data(), no_zero.size()), u"ab");
    const Bytes zero_inside = {0x3D, 0xD8, 0x11, 0xDD, 0, 0, 'x', 0};
    EXPECT_EQ(note_parse_plaintext(zero_inside.data(), zero_inside.size()), u"\U0001F511");
}

TEST(NoteText, SizesAndRoundTrip)
{
    const NoteKey key = derive(u"password");
    Bytes file;
    std::u16string text = u"left";
    ASSERT_EQ(note_encrypt_text(key, u"", file), NoteEncryptResult::OK);
    EXPECT_GE(file.size(), 64u);
    EXPECT_LE(file.size(), 128u);
    ASSERT_TRUE(note_decrypt_text(key, file, text));
    EXPECT_EQ(text, u"");

    const std::u16string hundred(100, u'h');
    Bytes first;
    Bytes second;
    ASSERT_EQ(note_encrypt_text(key, hundred, first), NoteEncryptResult::OK);
    ASSERT_EQ(note_encrypt_text(key, hundred, second), NoteEncryptResult::OK);
    EXPECT_GE(first.size(), 264u);
    EXPECT_LE(first.size(), 328u);
    EXPECT_NE(first, second);
    ASSERT_TRUE(note_decrypt_text(key, second, text));
    EXPECT_EQ(text, hundred);
    // Fewer than 16 bytes hold an empty note.
    text = u"left";
    ASSERT_TRUE(note_decrypt_text(key, Bytes(15, 0xAA), text));
    EXPECT_EQ(text, u"");
}

// A wrong key breaks the layout, so it is refused and the text is left alone, for every
// length of text and padding; the right key opens each of them.
TEST(NoteText, WrongKeyIsRefused)
{
    const NoteKey key = derive(u"password");
    const NoteKey wrong = derive(u"passwore");
    for (std::size_t length = 0; length < 300; ++length) {
        const std::u16string written(length, static_cast<char16_t>(u'a' + length % 26));
        Bytes file;
        ASSERT_EQ(note_encrypt_text(key, written, file), NoteEncryptResult::OK);
        std::u16string text = u"kept";
        ASSERT_FALSE(note_decrypt_text(wrong, file, text)) << length;
        EXPECT_EQ(text, u"kept");
        ASSERT_TRUE(note_decrypt_text(key, file, text));
        ASSERT_EQ(text, written);
    }
    // Between one block and the smallest note nothing was ever written.
    std::u16string text = u"kept";
    for (std::size_t size : {16u, 17u, 63u})
        EXPECT_FALSE(note_decrypt_text(key, Bytes(size, 0), text)) << size;
    EXPECT_EQ(text, u"kept");
}

// The terminator is found from the end: a text holding zero characters, or a padding
// holding zero bytes, still has the layout.
TEST(NotePlaintext, LayoutCheck)
{
    const auto plain_of = [](std::size_t text_units, std::size_t padding, std::uint8_t fill) {
        Bytes plain(2 * text_units + padding, fill);
        std::fill_n(plain.begin() + static_cast<std::ptrdiff_t>(2 * text_units), 4, 0);
        return plain;
    };
    for (std::size_t padding = NOTE_PADDING_MIN; padding <= NOTE_PADDING_MAX; ++padding) {
        for (std::size_t units : {0u, 1u, 7u, 100u}) {
            const Bytes plain = plain_of(units, padding, 0xA5);
            EXPECT_TRUE(note_plaintext_has_layout(plain.data(), plain.size())) << units << " " << padding;
        }
    }
    // The text is all zero characters: many candidates, one of them right.
    const Bytes zeros = plain_of(50, 70, 0);
    EXPECT_TRUE(note_plaintext_has_layout(zeros.data(), zeros.size()));
    EXPECT_EQ(note_parse_plaintext(zeros.data(), zeros.size()), u"");

    // Padding too short or too long, a terminator at an odd offset, too few zero bytes.
    Bytes short_tail = plain_of(10, NOTE_PADDING_MIN - 1, 0xA5);
    EXPECT_FALSE(note_plaintext_has_layout(short_tail.data(), short_tail.size()));
    Bytes long_tail = plain_of(10, NOTE_PADDING_MAX + 1, 0xA5);
    EXPECT_FALSE(note_plaintext_has_layout(long_tail.data(), long_tail.size()));
    Bytes odd(2 * 10 + 1 + 80, 0xA5);
    std::fill_n(odd.begin() + 21, 4, 0);
    EXPECT_FALSE(note_plaintext_has_layout(odd.data(), odd.size()));
    Bytes three = plain_of(10, 80, 0xA5);
    three[23] = 1;
    EXPECT_FALSE(note_plaintext_has_layout(three.data(), three.size()));
    EXPECT_FALSE(note_plaintext_has_layout(nullptr, 0));
    const Bytes tiny(3, 0);
    EXPECT_FALSE(note_plaintext_has_layout(tiny.data(), tiny.size()));
}

#ifndef _WIN32
// ---- An independent implementation of the format over libcrypto and zlib ----
namespace {

// UTF-8 as the platform converts: a surrogate outside a pair becomes U+FFFD.
std::string reference_utf8(std::u16string_view text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000)
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        else if (c >= 0xD800 && c < 0xE000)
            c = 0xFFFD;
        const int tail = c < 0x80 ? 0 : c < 0x800 ? 1 : c < 0x10000 ? 2 : 3;
        static const unsigned char LEAD[] = {0x00, 0xC0, 0xE0, 0xF0};
        out += char(LEAD[tail] | (c >> (6 * tail)));
        for (int k = tail - 1; k >= 0; --k)
            out += char(0x80 | ((c >> (6 * k)) & 0x3F));
    }
    return out;
}

std::string to_hex(const unsigned char* data, std::size_t length)
{
    static const char DIGITS[] = "0123456789abcdef";
    std::string hex;
    for (std::size_t i = 0; i < length; ++i) {
        hex += DIGITS[data[i] >> 4];
        hex += DIGITS[data[i] & 15];
    }
    return hex;
}

Bytes from_hex(const std::string& hex)
{
    Bytes out;
    for (std::size_t i = 0; i < hex.size(); i += 2)
        out.push_back(std::uint8_t(std::stoi(hex.substr(i, 2), nullptr, 16)));
    return out;
}

std::string md_hex(const EVP_MD* md, const void* data, std::size_t length)
{
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int size = 0;
    EXPECT_EQ(EVP_Digest(data, length, digest, &size, md, nullptr), 1);
    return to_hex(digest, size);
}

std::string md_hex(const EVP_MD* md, const std::string& text)
{
    return md_hex(md, text.data(), text.size());
}

std::string crc_hex(const std::string& text)
{
    const uLong crc = crc32(crc32(0, nullptr, 0), reinterpret_cast<const Bytef*>(text.data()), uInt(text.size()));
    char hex[9];
    std::snprintf(hex, sizeof hex, "%08lx", crc);
    return hex;
}

NoteKey reference_key(std::u16string password)
{
    while (password.size() < 32)
        password += password;
    std::string h;
    for (std::size_t i = 1; i <= 32; ++i)
        h += crc_hex(h + reference_utf8(password.substr(i)));
    Bytes a = from_hex(h);
    std::size_t c = a.size() - 1;
    h.clear();
    for (std::size_t j = 0; j <= c; j += 4) {
        if (a[j] % 2 == 0) {
            std::swap(a[j], a[c]);
            h = md_hex(EVP_sha1(), h + md_hex(EVP_md5(), a.data(), c)) + h;
        } else {
            std::swap(a[j], a[c - j]);
            h = h + md_hex(EVP_md5(), md_hex(EVP_sha1(), a.data(), c) + h);
        }
    }
    a = from_hex(h);
    c = a.size() - 1;
    for (std::size_t j = 0; j <= c; j += 2) {
        if (a[j] % 2 == 0) {
            std::swap(a[j], a[c]);
            h = md_hex(EVP_sha3_256(), h + md_hex(EVP_sha256(), a.data(), c)) + h;
        } else {
            std::swap(a[j], a[c - j]);
            h = h + md_hex(EVP_sha256(), md_hex(EVP_sha3_256(), a.data(), c) + h);
        }
    }
    a = from_hex(h);
    const Bytes key = from_hex(md_hex(EVP_sha3_256(), a.data(), a.size() - 1));
    NoteKey result{};
    std::copy(key.begin(), key.end(), result.begin());
    return result;
}

// AES-256-CBC with ciphertext stealing; libcrypto's CS3 swaps the last two blocks of
// a whole-block length, which the note format keeps in order.
Bytes reference_cipher(const NoteKey& key, const Bytes& input, bool encrypt)
{
    const std::string iv_hex = md_hex(EVP_md5(), key.data(), key.size() - 1);
    const Bytes iv = from_hex(iv_hex);
    const bool swap = input.size() % 16 == 0 && input.size() >= 32;
    Bytes in = input;
    if (swap && !encrypt)
        std::swap_ranges(in.end() - 32, in.end() - 16, in.end() - 16);
    char mode[] = "CS3";
    const OSSL_PARAM params[] = {OSSL_PARAM_construct_utf8_string(OSSL_CIPHER_PARAM_CTS_MODE, mode, 0),
                                 OSSL_PARAM_construct_end()};
    EVP_CIPHER* cipher = EVP_CIPHER_fetch(nullptr, "AES-256-CBC-CTS", nullptr);
    EVP_CIPHER_CTX* context = EVP_CIPHER_CTX_new();
    Bytes out(in.size() + 32);
    int written = 0;
    int final_written = 0;
    const bool ok =
        EVP_CipherInit_ex2(context, cipher, key.data(), iv.data(), encrypt ? 1 : 0, params) == 1 &&
        EVP_CipherUpdate(context, out.data(), &written, in.data(), int(in.size())) == 1 &&
        EVP_CipherFinal_ex(context, out.data() + written, &final_written) == 1;
    EVP_CIPHER_CTX_free(context);
    EVP_CIPHER_free(cipher);
    EXPECT_TRUE(ok);
    out.resize(std::size_t(written + final_written));
    if (swap && encrypt)
        std::swap_ranges(out.end() - 32, out.end() - 16, out.end() - 16);
    return out;
}

Bytes reference_write(const NoteKey& key, const std::u16string& text, std::mt19937& random)
{
    Bytes plain;
    for (char16_t unit : text) {
        plain.push_back(std::uint8_t(unit & 0xFF));
        plain.push_back(std::uint8_t(unit >> 8));
    }
    const std::size_t padding = 64 + random() % 65;
    plain.insert(plain.end(), 4, 0);
    for (std::size_t i = 4; i < padding; ++i)
        plain.push_back(std::uint8_t(random()));
    return reference_cipher(key, plain, true);
}

// The text and the padding length the reference finds in a file.
std::u16string reference_read(const NoteKey& key, const Bytes& file, std::size_t* padding)
{
    const Bytes plain = reference_cipher(key, file, false);
    std::u16string text;
    std::size_t i = 0;
    for (; i + 1 < plain.size() && (plain[i] | plain[i + 1]); i += 2)
        text.push_back(char16_t(plain[i] | (plain[i + 1] << 8)));
    *padding = plain.size() - i;
    EXPECT_TRUE(i + 4 <= plain.size() && plain[i + 2] == 0 && plain[i + 3] == 0);
    return text;
}

}  // namespace

TEST(NoteInterop, KeyChainEqualsReference)
{
    for (const std::u16string& password : SAMPLES)
        EXPECT_EQ(derive(password), reference_key(password));
    // Stretching that cuts a surrogate pair, and a lone surrogate in the password.
    EXPECT_EQ(derive(u"a\U0001F600"), reference_key(u"a\U0001F600"));
    EXPECT_EQ(derive(u"x\xD800y"), reference_key(u"x\xD800y"));
}

TEST(NoteInterop, EachSideReadsTheOther)
{
    std::mt19937 random(5);
    std::set<bool> whole_blocks;
    for (const std::u16string& password : SAMPLES) {
        const NoteKey key = derive(password);
        for (const std::u16string& sample : SAMPLES) {
            // Lengths over two blocks of 16 meet both whole and partial final blocks.
            for (std::size_t extra = 0; extra < 8; ++extra) {
                const std::u16string text = sample + std::u16string(extra, u'.') + u"\r\nend";
                Bytes file;
                ASSERT_EQ(note_encrypt_text(key, text, file), NoteEncryptResult::OK);
                std::size_t padding = 0;
                ASSERT_EQ(reference_read(key, file, &padding), text);
                ASSERT_GE(padding, NOTE_PADDING_MIN);
                ASSERT_LE(padding, NOTE_PADDING_MAX);
                whole_blocks.insert(file.size() % 16 == 0);

                const Bytes theirs = reference_write(key, text, random);
                std::u16string read;
                ASSERT_TRUE(note_decrypt_text(key, theirs, read));
                ASSERT_EQ(read, text);
                whole_blocks.insert(theirs.size() % 16 == 0);
            }
        }
    }
    EXPECT_EQ(whole_blocks.size(), 2u);
}

// Texts the reference writes that the editor would never hold still open: empty ones,
// ones made of or holding zero characters (shown up to the first of them), and every
// padding length the reference draws.
TEST(NoteInterop, ReferenceFilesWithZeroCharactersOpen)
{
    std::mt19937 random(11);
    const NoteKey key = derive(u"zeros");
    const std::u16string texts[] = {u"", std::u16string(1, u'\0'), std::u16string(40, u'\0'),
                                    u"ab" + std::u16string(3, u'\0') + u"cd", u"end" + std::u16string(2, u'\0')};
    for (const std::u16string& text : texts) {
        for (int round = 0; round < 200; ++round) {
            const Bytes file = reference_write(key, text, random);
            std::u16string read = u"before";
            ASSERT_TRUE(note_decrypt_text(key, file, read)) << text.size() << " " << file.size();
            ASSERT_EQ(read, text.substr(0, text.find(u'\0')));
            Bytes ours;
            ASSERT_EQ(note_encrypt_text(key, text, ours), NoteEncryptResult::OK);
            ASSERT_TRUE(note_decrypt_text(key, ours, read));
        }
    }
}
#endif
