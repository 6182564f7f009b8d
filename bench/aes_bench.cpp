// AES benchmark: AES-256 CBC encryption, CBC decryption and ECB of 1 MiB,
// each as a ratio to libcrypto's EVP interface on the same buffers in the same run.
// Build it as a host release build (-DCMAKE_BUILD_TYPE=Release -DQN_SANITIZE=OFF).
#include "services/crypto/aes.h"

#include <openssl/evp.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <random>
#include <vector>

namespace {

constexpr int SIZE = 1 << 20;
constexpr int REPEATS = 60;

using Clock = std::chrono::steady_clock;

// The best time of several runs, in seconds.
double best_time(const std::function<void()>& run)
{
    double best = 1e30;
    for (int i = 0; i < REPEATS; ++i) {
        const auto start = Clock::now();
        run();
        const std::chrono::duration<double> elapsed = Clock::now() - start;
        best = std::min(best, elapsed.count());
    }
    return best;
}

// One-shot EVP call, key set-up included as in aes_encode / aes_decode.
bool evp_once(EVP_CIPHER_CTX* ctx, const EVP_CIPHER* cipher, const std::uint8_t* key, const std::uint8_t* iv,
              const std::uint8_t* in, std::uint8_t* out, bool encrypt)
{
    int written = 0;
    int final_written = 0;
    return EVP_CipherInit_ex2(ctx, cipher, key, iv, encrypt ? 1 : 0, nullptr) == 1 &&
           EVP_CIPHER_CTX_set_padding(ctx, 0) == 1 && EVP_CipherUpdate(ctx, out, &written, in, SIZE) == 1 &&
           EVP_CipherFinal_ex(ctx, out + written, &final_written) == 1 && written + final_written == SIZE;
}

struct Case {
    const char* name;
    bool cbc;
    bool encrypt;
    double target;
};

}  // namespace

int main()
{
    std::mt19937 rng(2024);
    std::vector<std::uint8_t> plain(SIZE), cipher(SIZE), ours(SIZE), theirs(SIZE);
    std::uint8_t key[32];
    std::uint8_t iv[16];
    for (auto& b : plain) b = static_cast<std::uint8_t>(rng());
    for (auto& b : key) b = static_cast<std::uint8_t>(rng());
    for (auto& b : iv) b = static_cast<std::uint8_t>(rng());

    EVP_CIPHER_CTX* ctx = EVP_CIPHER_CTX_new();
    const Case cases[] = {
        {"AES-256-CBC encrypt", true, true, 0.9},
        {"AES-256-CBC decrypt", true, false, 0.5},
        {"AES-256-ECB encrypt", false, true, 0.0},
        {"AES-256-ECB decrypt", false, false, 0.0},
    };
    const bool hardware = aes_hardware_available();
    std::printf("1 MiB buffers, best of %d runs; AES-NI %s\n\n", REPEATS, hardware ? "available" : "not available");
    std::printf("| operation | path | ours MB/s | OpenSSL MB/s | ratio | target |\n");
    std::printf("|---|---|---:|---:|---:|---:|\n");
    bool all_met = true;
    for (bool use_hardware : {true, false}) {
        if (use_hardware && !hardware) {
            continue;
        }
        aes_use_hardware(use_hardware);
        for (const Case& c : cases) {
            const EVP_CIPHER* evp = c.cbc ? EVP_aes_256_cbc() : EVP_aes_256_ecb();
            const std::int32_t mode = c.cbc ? AES_MODE_CBC : AES_MODE_ECB;
            const auto op = c.encrypt ? aes_encode : aes_decode;
            // Decryption runs on real ciphertext.
            if (!evp_once(ctx, evp, key, iv, plain.data(), cipher.data(), true)) {
                std::printf("libcrypto failed\n");
                return 1;
            }
            const std::uint8_t* input = c.encrypt ? plain.data() : cipher.data();
            if (op(input, ours.data(), SIZE, key, 256, iv, mode) != SIZE ||
                !evp_once(ctx, evp, key, iv, input, theirs.data(), c.encrypt) || ours != theirs) {
                std::printf("%s: results differ from libcrypto\n", c.name);
                return 1;
            }
            double ours_time = 0;
            double theirs_time = 0;
            // Alternate the two so that both see the same machine conditions.
            for (int round = 0; round < 3; ++round) {
                double t = best_time([&] { op(input, ours.data(), SIZE, key, 256, iv, mode); });
                double u = best_time([&] { evp_once(ctx, evp, key, iv, input, theirs.data(), c.encrypt); });
                ours_time = round == 0 ? t : std::min(ours_time, t);
                theirs_time = round == 0 ? u : std::min(theirs_time, u);
            }
            const double ratio = theirs_time / ours_time;
            const double mb = SIZE / 1e6;
            std::printf("| %s | %s | %.0f | %.0f | %.2fx | %s |\n", c.name, use_hardware ? "AES-NI" : "table",
                        mb / ours_time, mb / theirs_time, ratio,
                        use_hardware && c.target > 0 ? (ratio >= c.target ? "met" : "MISSED") : "-");
            if (use_hardware && c.target > 0 && ratio < c.target) {
                all_met = false;
            }
        }
    }
    aes_use_hardware(true);
    EVP_CIPHER_CTX_free(ctx);
    return all_met ? 0 : 2;
}
