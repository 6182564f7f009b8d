// Tests of the random numbers by what callers rely on: the same seed repeats a sequence
// and another seed does not, every result lies in its range, and results spread evenly
// over it. The exact numbers are the generator's own business: nothing stored depends on them.
#include "services/random.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <set>
#include <vector>

namespace {

// Declared first so that it runs before any test seeds the generator.
TEST(Random, AutomaticSeedGivesValuesInRange)
{
    std::set<std::uint32_t> seen;
    for (int i = 0; i < 100; ++i) {
        std::uint32_t v = random_value(999);
        EXPECT_LE(v, 999u);
        seen.insert(v);
    }
    EXPECT_GT(seen.size(), 50u);  // not stuck on one number
}

// Every kind of result after a seed, so that each operation's share of the sequence counts.
std::vector<std::uint32_t> sequence_after(std::uint32_t seed)
{
    random_seed(seed);
    std::vector<std::uint32_t> out;
    std::uint8_t bytes[11];
    for (int i = 0; i < 50; ++i) {
        out.push_back(random_value(i * 1000));
        out.push_back(random_value(-1));
        out.push_back(random_between(200, 100));
        random_fill(bytes, sizeof bytes);
        out.insert(out.end(), bytes, bytes + sizeof bytes);
    }
    return out;
}

TEST(Random, SameSeedSameSequenceDifferentSeedDifferent)
{
    EXPECT_EQ(sequence_after(77), sequence_after(77));
    for (std::uint32_t other : {0u, 1u, 78u, 0x80000077u, 0xFFFFFFFFu})
        EXPECT_NE(sequence_after(77), sequence_after(other)) << other;
}

TEST(Random, ValueStaysInItsRange)
{
    // n is taken as unsigned, so "negative" n are wide ranges; -1 gives the raw value.
    const std::int32_t ns[] = {0, 1, 2, 9, 127, 1000, 65535, 0x7FFFFFFF, -2, -1000, INT32_MIN};
    random_seed(99);
    for (int round = 0; round < 2000; ++round)
        for (std::int32_t n : ns)
            ASSERT_LE(random_value(n), static_cast<std::uint32_t>(n)) << "n " << n;
}

TEST(Random, ValueCoversItsRangeEvenly)
{
    random_seed(1234);
    int counts[10] = {};
    const int draws = 100000;
    for (int i = 0; i < draws; ++i) {
        const std::uint32_t v = random_value(9);
        ASSERT_LE(v, 9u);
        ++counts[v];
    }
    for (int c : counts) {
        EXPECT_GT(c, draws / 10 * 9 / 10);
        EXPECT_LT(c, draws / 10 * 11 / 10);
    }
}

TEST(Random, WideRangesAreNotBiasedTowardSmallValues)
{
    // A range of three quarters of the 32-bit values: reducing the raw value modulo the
    // range would put 62.5 % of the results in its lower half.
    const std::uint32_t n = 0xBFFFFFFFu;
    random_seed(55);
    const int draws = 40000;
    int lower = 0;
    for (int i = 0; i < draws; ++i)
        lower += random_value(static_cast<std::int32_t>(n)) <= n / 2;
    EXPECT_GT(lower, draws * 47 / 100);
    EXPECT_LT(lower, draws * 53 / 100);
}

TEST(Random, RawValuesSpanAllBits)
{
    random_seed(7);
    std::uint32_t seen_set = 0;
    std::uint32_t seen_clear = 0;
    for (int i = 0; i < 1000; ++i) {
        const std::uint32_t v = random_value(-1);
        seen_set |= v;
        seen_clear |= ~v;
    }
    EXPECT_EQ(seen_set, 0xFFFFFFFFu);
    EXPECT_EQ(seen_clear, 0xFFFFFFFFu);
}

TEST(Random, BetweenPaddingRangeHitsBothEnds)
{
    random_seed(2024);
    std::set<std::uint32_t> seen;
    for (int i = 0; i < 20000; ++i) {
        const std::uint32_t v = random_between(128, 64);
        ASSERT_GE(v, 64u);
        ASSERT_LE(v, 128u);
        seen.insert(v);
    }
    EXPECT_EQ(seen.size(), 65u);  // every value from 64 to 128, both ends included
}

TEST(Random, BetweenBounds)
{
    random_seed(8);
    std::set<std::uint32_t> full_range;
    for (int i = 0; i < 100; ++i) {
        // Equal bounds, and minimum above maximum: always maximum.
        ASSERT_EQ(random_between(5, 5), 5u);
        ASSERT_EQ(random_between(3, 7), 3u);
        ASSERT_EQ(random_between(0, 0xFFFFFFFFu), 0u);
        full_range.insert(random_between(0xFFFFFFFFu, 0));
        // Near the top of the unsigned range: no wrap-around.
        ASSERT_GE(random_between(0xFFFFFFFFu, 0xFFFFFFF0u), 0xFFFFFFF0u);
        // Ranges wider than INT32_MAX.
        const std::uint32_t wide = random_between(0xF0000000u, 0x10);
        ASSERT_GE(wide, 0x10u);
        ASSERT_LE(wide, 0xF0000000u);
    }
    EXPECT_GT(full_range.size(), 95u);
}

TEST(Random, FillWritesExactlyLengthBytes)
{
    random_seed(13);
    std::vector<std::uint8_t> buffer(13 + 32, 0xCD);
    random_fill(buffer.data() + 16, 13);
    for (std::size_t i = 0; i < 16; ++i) {
        EXPECT_EQ(buffer[i], 0xCD);
        EXPECT_EQ(buffer[16 + 13 + i], 0xCD);
    }
    // 13 random bytes all equal to the guard value would mean nothing was written.
    int changed = 0;
    for (std::size_t i = 16; i < 29; ++i) {
        changed += buffer[i] != 0xCD;
    }
    EXPECT_GT(changed, 8);
}

TEST(Random, FillZeroChangesNothing)
{
    random_seed(21);
    const std::uint32_t first = random_value(-1);
    random_seed(21);
    std::uint8_t buffer[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    random_fill(buffer, 0);
    random_fill(nullptr, 0);
    const std::uint8_t expected[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    EXPECT_EQ(0, std::memcmp(buffer, expected, sizeof buffer));
    // The sequence did not move on either.
    EXPECT_EQ(random_value(-1), first);
}

TEST(Random, FillBytesLookRandom)
{
    random_seed(4096);
    std::vector<std::uint8_t> buffer(65536 + 5);
    random_fill(buffer.data(), buffer.size());
    int counts[256] = {};
    for (std::uint8_t b : buffer) {
        ++counts[b];
    }
    for (int c : counts) {
        EXPECT_GT(c, 256 / 2);
        EXPECT_LT(c, 256 * 2);
    }
}

}  // namespace
