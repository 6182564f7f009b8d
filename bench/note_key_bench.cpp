// The note key derivation with the program's fingerprints against the same chain over
// libcrypto's digests and zlib's CRC-32, measured in the same run. Prints the time of
// one derivation for both and the ratio ours / reference; the target is <= 1.05.
#include <cstdio>

#ifdef _WIN32

// The references are host libraries; the comparison runs in the host build only.
int main()
{
    std::puts("note_key_bench: libcrypto and zlib are host references; run the host build");
    return 0;
}

#else

#include <algorithm>
#include <array>
#include <chrono>
#include <cstring>
#include <string>
#include <vector>

#include <openssl/evp.h>
#include <zlib.h>

#include "app/note_key.h"
#include "services/utf8.h"

namespace {

using Bytes = std::vector<unsigned char>;

void append_hex(std::string& out, const unsigned char* data, std::size_t length)
{
    static const char DIGITS[] = "0123456789abcdef";
    for (std::size_t i = 0; i < length; ++i) {
        out += DIGITS[data[i] >> 4];
        out += DIGITS[data[i] & 15];
    }
}

// The hex digest of two pieces joined, streamed through one libcrypto context.
std::string evp_hex(EVP_MD_CTX* context, const EVP_MD* md, const void* first, std::size_t first_length,
                    const void* second, std::size_t second_length)
{
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int size = 0;
    EVP_DigestInit_ex(context, md, nullptr);
    EVP_DigestUpdate(context, first, first_length);
    EVP_DigestUpdate(context, second, second_length);
    EVP_DigestFinal_ex(context, digest, &size);
    std::string hex;
    append_hex(hex, digest, size);
    return hex;
}

Bytes bytes_of(const std::string& hex)
{
    Bytes out(hex.size() / 2);
    for (std::size_t i = 0; i < out.size(); ++i)
        out[i] = static_cast<unsigned char>(std::stoi(hex.substr(2 * i, 2), nullptr, 16));
    return out;
}

void swap_rounds(EVP_MD_CTX* context, Bytes& a, std::string& h, std::size_t stride, const EVP_MD* inner,
                 const EVP_MD* outer)
{
    const std::size_t c = a.size() - 1;
    for (std::size_t j = 0; j <= c; j += stride) {
        if (a[j] % 2 == 0) {
            std::swap(a[j], a[c]);
            const std::string digest = evp_hex(context, inner, a.data(), c, nullptr, 0);
            h.insert(0, evp_hex(context, outer, h.data(), h.size(), digest.data(), digest.size()));
        } else {
            std::swap(a[j], a[c - j]);
            const std::string digest = evp_hex(context, outer, a.data(), c, nullptr, 0);
            h += evp_hex(context, inner, digest.data(), digest.size(), h.data(), h.size());
        }
    }
}

NoteKey reference_key(std::u16string password)
{
    while (password.size() < 32)
        password += password;
    EVP_MD_CTX* context = EVP_MD_CTX_new();
    std::string h;
    for (std::size_t i = 1; i <= 32; ++i) {
        const std::string tail = utf8_encode(std::u16string_view(password).substr(i));
        uLong crc = crc32(0, reinterpret_cast<const Bytef*>(h.data()), static_cast<uInt>(h.size()));
        crc = crc32(crc, reinterpret_cast<const Bytef*>(tail.data()), static_cast<uInt>(tail.size()));
        char hex[9];
        std::snprintf(hex, sizeof hex, "%08lx", crc);
        h += hex;
    }
    Bytes a = bytes_of(h);
    h.clear();
    swap_rounds(context, a, h, 4, EVP_md5(), EVP_sha1());
    a = bytes_of(h);
    swap_rounds(context, a, h, 2, EVP_sha256(), EVP_sha3_256());
    a = bytes_of(h);
    const Bytes key = bytes_of(evp_hex(context, EVP_sha3_256(), a.data(), a.size() - 1, nullptr, 0));
    EVP_MD_CTX_free(context);
    NoteKey result{};
    std::memcpy(result.data(), key.data(), result.size());
    return result;
}

// The time of one call in a timed run of at least 0.2 s, in milliseconds.
template <typename Fn>
double run_ms(Fn fn)
{
    using clock = std::chrono::steady_clock;
    int reps = 0;
    const auto start = clock::now();
    double seconds = 0;
    do {
        fn();
        ++reps;
        seconds = std::chrono::duration<double>(clock::now() - start).count();
    } while (seconds < 0.2);
    return seconds * 1000 / reps;
}

}  // namespace

int main()
{
    const std::u16string passwords[] = {u"secret", u"p\u00E4ssw\u00F6rd \U0001F511",
                                        u"a longer pass phrase that is not doubled at all"};
    int status = 0;
    for (const std::u16string& password : passwords) {
        NoteKey ours{};
        NoteKey reference{};
        // Alternating runs, the best of each, so that load from elsewhere hits both alike.
        double ours_ms = 1e9;
        double reference_ms = 1e9;
        for (int run = 0; run < 7; ++run) {
            ours_ms = std::min(ours_ms, run_ms([&] { note_derive_key(password, ours); }));
            reference_ms = std::min(reference_ms, run_ms([&] { reference = reference_key(password); }));
        }
        const bool same = ours == reference;
        std::printf("password of %zu units: ours %.2f ms, libcrypto %.2f ms, ratio %.2f%s\n", password.size(),
                    ours_ms, reference_ms, ours_ms / reference_ms, same ? "" : "  KEYS DIFFER");
        if (!same)
            status = 1;
    }
    return status;
}

#endif
