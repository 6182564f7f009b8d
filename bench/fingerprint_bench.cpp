// Fingerprint throughput on one 1 MiB buffer against the references measured in
// the same run: libcrypto (EVP_Digest) for the digests and zlib for CRC-32.
// Prints MB/s for both and the ratio ours / reference; the target is >= 1.0.
#include <cstdio>

#ifdef _WIN32

// The references are host libraries; the comparison runs in the host build only.
int main()
{
    std::puts("fingerprint_bench: libcrypto and zlib are host references; run the host build");
    return 0;
}

#else

#include <chrono>
#include <cstring>
#include <random>
#include <vector>

#include <openssl/evp.h>
#include <zlib.h>

#include "services/crypto/digest.h"
#include "services/crypto/fingerprint.h"

namespace {

constexpr std::size_t kSize = 1 << 20;
constexpr double kTarget = 1.0;   // at least as fast as the reference

// The best of several timed runs of `fn`, in MB/s.
template <typename Fn>
double best_rate(Fn fn)
{
    using clock = std::chrono::steady_clock;
    double best = 0;
    for (int run = 0; run < 7; ++run) {
        int reps = 0;
        auto start = clock::now();
        double seconds = 0;
        do {
            fn();
            ++reps;
            seconds = std::chrono::duration<double>(clock::now() - start).count();
        } while (seconds < 0.1);
        double rate = double(kSize) * reps / seconds / 1e6;
        if (rate > best) best = rate;
    }
    return best;
}

volatile uint8_t g_sink;

// Ours through the registry entry, as fingerprint_buffer runs it, minus the hex text.
double ours(int32_t id, int32_t bits, const std::vector<uint8_t>& data)
{
    const FingerprintAlgorithm* a = fingerprint_find(id);
    return best_rate([&] {
        FingerprintContext* c = a->create(bits, 1);
        a->update(c, data.data(), data.size());
        a->finish(c);
        g_sink = c->digest[0];
        a->destroy(c);
    });
}

double reference(const char* name, const std::vector<uint8_t>& data)
{
    const EVP_MD* md = EVP_get_digestbyname(name);
    return best_rate([&] {
        uint8_t out[EVP_MAX_MD_SIZE];
        unsigned int size = 0;
        EVP_Digest(data.data(), data.size(), out, &size, md, nullptr);
        g_sink = out[0];
    });
}

}  // namespace

int main()
{
    fingerprint_register_md5();
    fingerprint_register_crc32();
    fingerprint_register_sha1();
    fingerprint_register_sha2();
    fingerprint_register_sha3();

    std::vector<uint8_t> data(kSize);
    std::mt19937 gen(1);
    for (auto& b : data) b = uint8_t(gen());

    std::printf("CPU paths: SHA extensions %s, PCLMULQDQ %s, SHA-512 %s, Keccak with BMI1 %s\n",
                digest::sha1_compress_hw ? "used" : "absent", digest::crc32_update_hw ? "used" : "absent",
                !digest::sha512_compress_hw   ? "portable"
                : digest::cpu_has_avx512vl()  ? "with AVX-512VL schedule"
                : digest::sha512_compress_avx2 ? "with AVX2 schedule"
                                              : "with BMI2",
                digest::keccak_f1600_hw ? "used" : "absent");
    std::printf("%-10s %12s %12s %8s\n", "algorithm", "ours MB/s", "ref MB/s", "ratio");

    struct { const char* label; int32_t id, bits; const char* evp; } digests[] = {
        {"MD5", 1, 0, "md5"},           {"SHA-1", 3, 0, "sha1"},         {"SHA-256", 4, 256, "sha256"},
        {"SHA-512", 4, 512, "sha512"}, {"SHA3-256", 5, 256, "sha3-256"},
    };
    int missed = 0;
    auto report = [&](const char* label, double mine, double ref) {
        double ratio = mine / ref;
        if (ratio < kTarget) ++missed;
        std::printf("%-10s %12.0f %12.0f %7.2fx%s\n", label, mine, ref, ratio, ratio < kTarget ? "  below 1.0" : "");
    };
    for (auto d : digests) report(d.label, ours(d.id, d.bits, data), reference(d.evp, data));

    double zlib = best_rate([&] { g_sink = uint8_t(crc32(0, data.data(), uInt(data.size()))); });
    report("CRC-32", ours(2, 0, data), zlib);

    std::printf("%d below the 1.0x target\n", missed);
    return 0;
}

#endif
