// Tests of the random numbers: the exact generator against a transcription of
// the stored sequence, ranges and bounds, and the byte layout of random_fill.
#include "services/random.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <set>
#include <vector>

namespace {

// The generator, written out again separately from the code under test.
class Reference {
public:
    explicit Reference(std::uint32_t x)
    {
        for (int i = 0; i < 17; ++i) {
            x = 1 - x * 0x53A9B4FBu;
            b_[i] = x;
            x = 1 - x * 0x53A9B4FBu;
            a_[i] = x;
        }
        for (int i = 0; i < 31; ++i) {
            step();
        }
    }

    // Returns {a, b}.
    std::array<std::uint32_t, 2> step()
    {
        std::uint32_t a = ((b_[p_] << 19) | (b_[p_] >> 13)) + b_[q_];
        std::uint32_t b = ((a_[p_] << 27) | (a_[p_] >> 5)) + a_[q_];
        a_[p_] = a;
        b_[p_] = b;
        p_ = (p_ + 16) % 17;
        q_ = (q_ + 16) % 17;
        return {a, b};
    }

    std::uint32_t value(std::uint32_t n)
    {
        std::uint64_t m = std::uint64_t{n} + 1;
        std::uint32_t a = step()[0];
        return m == 0x100000000ull ? a : static_cast<std::uint32_t>((a * m) >> 32);
    }

private:
    std::uint32_t a_[17];
    std::uint32_t b_[17];
    int p_ = 0;
    int q_ = 10;
};

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

TEST(Random, RawValuesFollowTheGenerator)
{
    for (std::uint32_t seed : {0u, 1u, 0x12345678u, 0xFFFFFFFFu}) {
        random_seed(seed);
        Reference ref(seed);
        for (int i = 0; i < 1000; ++i) {
            ASSERT_EQ(random_value(-1), ref.step()[0]) << "seed " << seed << " call " << i;
        }
    }
}

TEST(Random, SameSeedSameSequenceDifferentSeedDifferent)
{
    auto run = [](std::uint32_t seed) {
        random_seed(seed);
        std::vector<std::uint32_t> out;
        std::uint8_t bytes[11];
        for (int i = 0; i < 50; ++i) {
            out.push_back(random_value(i * 1000));
            out.push_back(random_between(200, 100));
            random_fill(bytes, sizeof bytes);
            out.insert(out.end(), bytes, bytes + sizeof bytes);
        }
        return out;
    };
    EXPECT_EQ(run(77), run(77));
    EXPECT_NE(run(77), run(78));
}

TEST(Random, ValueZeroIsAlwaysZero)
{
    random_seed(5);
    for (int i = 0; i < 10000; ++i) {
        ASSERT_EQ(random_value(0), 0u);
    }
}

TEST(Random, ValueIsHighHalfOfProduct)
{
    // Scaling by the high half of a * (n + 1), not a modulo: checked against the reference
    // for small, large and "negative" n (taken as unsigned).
    const std::int32_t ns[] = {1, 2, 9, 127, 1000, 65535, 0x7FFFFFFF, -2, -1000, INT32_MIN};
    random_seed(99);
    Reference ref(99);
    for (int round = 0; round < 200; ++round) {
        for (std::int32_t n : ns) {
            const std::uint32_t v = random_value(n);
            ASSERT_EQ(v, ref.value(static_cast<std::uint32_t>(n))) << "n " << n;
            ASSERT_LE(v, static_cast<std::uint32_t>(n));
        }
    }
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

TEST(Random, BetweenPaddingRangeHitsBothEnds)
{
    random_seed(2024);
    bool saw_min = false;
    bool saw_max = false;
    std::set<std::uint32_t> seen;
    for (int i = 0; i < 20000; ++i) {
        const std::uint32_t v = random_between(128, 64);
        ASSERT_GE(v, 64u);
        ASSERT_LE(v, 128u);
        saw_min = saw_min || v == 64;
        saw_max = saw_max || v == 128;
        seen.insert(v);
    }
    EXPECT_TRUE(saw_min);
    EXPECT_TRUE(saw_max);
    EXPECT_EQ(seen.size(), 65u);
}

TEST(Random, BetweenBounds)
{
    random_seed(8);
    Reference ref(8);
    for (int i = 0; i < 100; ++i) {
        // Equal bounds, and minimum above maximum: always maximum, one step taken.
        ASSERT_EQ(random_between(5, 5), 5u);
        ref.step();
        ASSERT_EQ(random_between(3, 7), 3u);
        ref.step();
        ASSERT_EQ(random_between(0, 0xFFFFFFFFu), 0u);
        ref.step();
        // The full range gives the raw value.
        ASSERT_EQ(random_between(0xFFFFFFFFu, 0), ref.step()[0]);
        // Near the top of the unsigned range: no wrap-around.
        const std::uint32_t high = random_between(0xFFFFFFFFu, 0xFFFFFFF0u);
        ASSERT_EQ(high, 0xFFFFFFF0u + ref.value(15));
        ASSERT_GE(high, 0xFFFFFFF0u);
        // Ranges wider than INT32_MAX (their width passes through a negative n).
        const std::uint32_t wide = random_between(0xF0000000u, 0x10);
        ASSERT_EQ(wide, 0x10u + ref.value(0xF0000000u - 0x10u));
        ASSERT_GE(wide, 0x10u);
        ASSERT_LE(wide, 0xF0000000u);
    }
}

std::vector<std::uint8_t> little_endian(const std::vector<std::uint32_t>& words)
{
    std::vector<std::uint8_t> out;
    for (std::uint32_t w : words) {
        for (int i = 0; i < 4; ++i) {
            out.push_back(static_cast<std::uint8_t>(w >> (8 * i)));
        }
    }
    return out;
}

TEST(Random, FillLayoutIsBThenALittleEndian)
{
    for (std::size_t length : {1u, 4u, 7u, 8u, 9u, 13u, 16u, 17u, 64u, 100u}) {
        random_seed(31337);
        Reference ref(31337);
        std::vector<std::uint32_t> words;
        for (std::size_t done = 0; done < length; done += 8) {
            auto [a, b] = ref.step();
            words.push_back(b);
            words.push_back(a);
        }
        std::vector<std::uint8_t> expected = little_endian(words);
        expected.resize(length);
        std::vector<std::uint8_t> buffer(length);
        random_fill(buffer.data(), length);
        EXPECT_EQ(buffer, expected) << "length " << length;
        // Exactly one step per started 8-byte piece: the generator continues in step.
        EXPECT_EQ(random_value(-1), ref.step()[0]) << "length " << length;
    }
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
    Reference ref(21);
    std::uint8_t buffer[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    random_fill(buffer, 0);
    random_fill(nullptr, 0);
    const std::uint8_t expected[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    EXPECT_EQ(0, std::memcmp(buffer, expected, sizeof buffer));
    // No step was taken either.
    EXPECT_EQ(random_value(-1), ref.step()[0]);
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
