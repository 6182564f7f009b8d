// Random numbers.
#include "services/random.h"

#include <cstring>

#ifdef _WIN32
#include <windows.h>
#else
#include <pthread.h>
#include <time.h>
#endif

namespace {

constexpr int LAG = 17;

struct RandomState {
    std::uint32_t a[LAG];
    std::uint32_t b[LAG];
    int p;
    int q;
    bool seeded;
};

RandomState g_state = {};

struct StepOutput {
    std::uint32_t a;
    std::uint32_t b;
};

std::uint32_t rotl(std::uint32_t x, int n)
{
    return (x << n) | (x >> (32 - n));
}

std::uint32_t automatic_seed()
{
#ifdef _WIN32
    return static_cast<std::uint32_t>(GetCurrentThreadId()) ^ static_cast<std::uint32_t>(GetTickCount());
#else
    // The host equivalents: the thread's identity and a millisecond tick count.
    pthread_t self = pthread_self();
    std::uint64_t thread = 0;
    std::memcpy(&thread, &self, sizeof self < sizeof thread ? sizeof self : sizeof thread);
    timespec now = {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    std::uint64_t ticks = static_cast<std::uint64_t>(now.tv_sec) * 1000u + static_cast<std::uint64_t>(now.tv_nsec) / 1000000u;
    return static_cast<std::uint32_t>(thread ^ (thread >> 32)) ^ static_cast<std::uint32_t>(ticks);
#endif
}

StepOutput step(RandomState& s)
{
    std::uint32_t a = rotl(s.b[s.p], 19) + s.b[s.q];
    std::uint32_t b = rotl(s.a[s.p], 27) + s.a[s.q];
    s.a[s.p] = a;
    s.b[s.p] = b;
    s.p = s.p == 0 ? LAG - 1 : s.p - 1;
    s.q = s.q == 0 ? LAG - 1 : s.q - 1;
    return {a, b};
}

void seed_state(RandomState& s, std::uint32_t x)
{
    for (int i = 0; i < LAG; ++i) {
        x = 1u - x * 0x53A9B4FBu;
        s.b[i] = x;
        x = 1u - x * 0x53A9B4FBu;
        s.a[i] = x;
    }
    s.p = 0;
    s.q = 10;
    for (int i = 0; i < 31; ++i) {
        step(s);
    }
    s.seeded = true;
}

RandomState& seeded_state()
{
    if (!g_state.seeded) {
        seed_state(g_state, automatic_seed());
    }
    return g_state;
}

void store_le32(std::uint8_t* p, std::uint32_t v)
{
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
    p[2] = static_cast<std::uint8_t>(v >> 16);
    p[3] = static_cast<std::uint8_t>(v >> 24);
}

}  // namespace

void random_seed(std::uint32_t seed)
{
    // An explicit seed also counts as seeded, so no automatic seed replaces it later.
    seed_state(g_state, seed);
}

std::uint32_t random_value(std::int32_t n)
{
    const std::uint32_t a = step(seeded_state()).a;
    const std::uint32_t m = static_cast<std::uint32_t>(n) + 1u;
    if (m == 0) {
        return a;
    }
    return static_cast<std::uint32_t>((static_cast<std::uint64_t>(a) * m) >> 32);
}

std::uint32_t random_between(std::uint32_t maximum, std::uint32_t minimum)
{
    // An empty range collapses onto maximum; the generator still takes its step.
    if (minimum > maximum) {
        minimum = maximum;
    }
    return minimum + random_value(static_cast<std::int32_t>(maximum - minimum));
}

void random_fill(void* buffer, std::size_t length)
{
    RandomState& state = seeded_state();
    if (buffer == nullptr) {
        return;
    }
    auto* out = static_cast<std::uint8_t*>(buffer);
    std::uint8_t piece[8];
    while (length > 0) {
        StepOutput r = step(state);
        store_le32(piece, r.b);
        store_le32(piece + 4, r.a);
        const std::size_t count = length < sizeof piece ? length : sizeof piece;
        std::memcpy(out, piece, count);
        out += count;
        length -= count;
    }
}
