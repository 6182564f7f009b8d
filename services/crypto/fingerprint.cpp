#include "services/crypto/fingerprint.h"

#include <string_view>

#include "services/crypto/digest.h"
#include "services/utf8.h"

#ifdef QN_DIGEST_X86
#include <cpuid.h>
#endif

namespace {

// The process-wide registry, filled on the program's single thread before use.
// Five ids are defined; the spare room lets tests add ids of their own.
constexpr std::size_t kCapacity = 16;
FingerprintAlgorithm g_entries[kCapacity];
std::size_t g_count = 0;

std::u16string digest_text(const FingerprintContext* context)
{
    static const char16_t hex[] = u"0123456789abcdef";
    std::size_t bytes = std::size_t(context->bits) / 8;
    if (bytes > sizeof(context->digest)) bytes = sizeof(context->digest);
    std::u16string text(bytes * 2, u'0');
    for (std::size_t i = 0; i < bytes; ++i) {
        text[2 * i] = hex[context->digest[i] >> 4];
        text[2 * i + 1] = hex[context->digest[i] & 0x0F];
    }
    return text;
}

std::u16string run(const void* data, std::size_t length, int32_t id, int32_t bits)
{
    if (id < FINGERPRINT_MD5 || id > FINGERPRINT_SHA3) return {};
    const FingerprintAlgorithm* algorithm = fingerprint_find(id);
    if (!algorithm || !algorithm->create) return {};
    FingerprintContext* context = algorithm->create(bits, 1);
    if (!context) return {};
    algorithm->update(context, data, length);
    algorithm->finish(context);
    std::u16string text = digest_text(context);
    algorithm->destroy(context);
    return text;
}

}  // namespace

namespace digest {

void wipe(void* p, std::size_t n)
{
    std::memset(p, 0, n);
    // The bytes count as read by something outside the compiler's view, so the
    // clearing cannot be dropped as a store to memory about to be freed.
    __asm__ __volatile__("" : : "r"(p) : "memory");
}

#ifdef QN_DIGEST_X86

namespace {

struct CpuFeatures {
    bool sha_ni = false;
    bool pclmul = false;
    bool bmi1 = false;
    bool bmi2 = false;
    bool avx2 = false;
    bool avx512vl = false;
};

// AVX registers are usable only when the system saves them on a thread switch:
// OSXSAVE set and XCR0 covering the SSE and AVX state, and for AVX-512 also the
// mask registers and the upper halves and upper sixteen of the vector registers.
unsigned saved_state(unsigned leaf1_ecx)
{
    if (!(leaf1_ecx & (1u << 27)) || !(leaf1_ecx & (1u << 28))) return 0;
    unsigned low = 0, high = 0;
    __asm__("xgetbv" : "=a"(low), "=d"(high) : "c"(0));
    return low;
}

CpuFeatures read_cpu_features()
{
    CpuFeatures f;
    unsigned a = 0, b = 0, c = 0, d = 0;
    if (!__get_cpuid(1, &a, &b, &c, &d)) return f;
    const unsigned c_leaf1 = c;
    bool ssse3 = c & (1u << 9), sse41 = c & (1u << 19);
    f.pclmul = (c & (1u << 1)) && sse41;
    if (__get_cpuid_max(0, nullptr) >= 7) {
        __cpuid_count(7, 0, a, b, c, d);
        f.sha_ni = (b & (1u << 29)) && ssse3 && sse41;
        f.bmi1 = b & (1u << 3);
        f.bmi2 = b & (1u << 8);
        const unsigned saved = saved_state(c_leaf1);
        f.avx2 = (b & (1u << 5)) && (saved & 0x06u) == 0x06u;
        f.avx512vl = f.avx2 && (b & (1u << 16)) && (b & (1u << 31)) && (saved & 0xe6u) == 0xe6u;
    }
    return f;
}

const CpuFeatures& cpu()
{
    static const CpuFeatures features = read_cpu_features();
    return features;
}

}  // namespace

bool cpu_has_sha_ni() { return cpu().sha_ni; }
bool cpu_has_pclmul() { return cpu().pclmul; }
bool cpu_has_bmi1() { return cpu().bmi1; }
bool cpu_has_bmi2() { return cpu().bmi2; }
bool cpu_has_avx2() { return cpu().avx2; }
bool cpu_has_avx512vl() { return cpu().avx512vl; }

#else

bool cpu_has_sha_ni() { return false; }
bool cpu_has_pclmul() { return false; }
bool cpu_has_bmi1() { return false; }
bool cpu_has_bmi2() { return false; }
bool cpu_has_avx2() { return false; }
bool cpu_has_avx512vl() { return false; }

#endif

namespace {
bool g_portable_only = false;
}

void set_portable_only(bool on) { g_portable_only = on; }
bool portable_only() { return g_portable_only; }

}  // namespace digest

FingerprintAlgorithm* fingerprint_find(int32_t id)
{
    if (g_count == 0) return nullptr;
    if (id == -1) return &g_entries[0];
    for (std::size_t i = 0; i < g_count; ++i)
        if (g_entries[i].id == id) return &g_entries[i];
    return nullptr;
}

FingerprintAlgorithm* fingerprint_add(int32_t id)
{
    for (std::size_t i = 0; i < g_count; ++i)
        if (g_entries[i].id == id) return nullptr;
    if (g_count == kCapacity) return nullptr;
    FingerprintAlgorithm* entry = &g_entries[g_count++];
    *entry = FingerprintAlgorithm{id, nullptr, nullptr, nullptr, nullptr};
    return entry;
}

std::size_t fingerprint_count()
{
    return g_count;
}

std::u16string fingerprint_buffer(const void* data, int32_t length, int32_t id, int32_t bits)
{
    if (length < 0 || (!data && length > 0)) return {};
    return run(data, std::size_t(length), id, bits);
}

std::u16string fingerprint_string(const char16_t* text, int32_t id, int32_t bits)
{
    std::u16string_view view = text ? std::u16string_view(text) : std::u16string_view();
    std::string bytes = utf8_encode(view);
    std::u16string result = run(bytes.data(), bytes.size(), id, bits);
    digest::wipe(bytes.data(), bytes.size());
    return result;
}
