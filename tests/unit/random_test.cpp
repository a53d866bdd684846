#include <gtest/gtest.h>

#include <random>

#include "util/Random.h"

TEST(RandomEngine, MatchesStandardMt19937) {
    RandomEngine engine(5489);
    // The 10000th output of the default-seeded mt19937 is fixed by the C++ standard.
    for (int i = 1; i < 10000; ++i) engine.next();
    EXPECT_EQ(engine.next(), 4123659995u);

    RandomEngine a(12345);
    std::mt19937 b(12345);
    for (int i = 0; i < 1000; ++i) ASSERT_EQ(a.next(), b());
}

TEST(RandomEngine, CreatedWithSeed65535) {
    RandomEngine fresh;
    std::mt19937 reference(65535);
    EXPECT_EQ(fresh.next(), reference());
}

TEST(RandomEngine, UniformIndexRejectsTheTopOfTheRange) {
    // n = 3: m mod 3 = 0, so draws with r / 3 >= m / 3 (only r = 0xFFFFFFFF) are redrawn.
    // Check the arithmetic against a hand-rolled loop over the same draws.
    RandomEngine engine(7);
    std::mt19937 ref(7);
    for (uint32_t n : {2u, 3u, 7u, 100u, 1000003u, 0x80000001u, 0xFFFFFFFFu}) {
        for (int k = 0; k < 200; ++k) {
            uint32_t r;
            do { r = ref(); } while (!(r / n < 0xFFFFFFFFu / n || 0xFFFFFFFFu % n == n - 1));
            ASSERT_EQ(engine.uniformIndex(n), r % n) << "n=" << n;
        }
    }
}

TEST(RandomEngine, DegenerateRangesDrawNothing) {
    RandomEngine engine(99);
    std::mt19937 ref(99);
    EXPECT_EQ(engine.uniformIndex(1), 0u);
    EXPECT_EQ(engine.uniformInt(42, 42), 42);
    EXPECT_EQ(engine.uniformInt(-7, -7), -7);
    EXPECT_EQ(engine.next(), ref()) << "degenerate ranges must not consume draws";
}

TEST(RandomEngine, FullRangeUniformIntAddsTheRawDraw) {
    RandomEngine engine(3);
    std::mt19937 ref(3);
    const int32_t lo = INT32_MIN;
    EXPECT_EQ(engine.uniformInt(lo, INT32_MAX), static_cast<int32_t>(static_cast<uint32_t>(lo) + ref()));
}

TEST(RandomEngine, UniformIntStaysInBoundsAndCoversThem) {
    RandomEngine engine(1);
    int seen[5] = {};
    for (int i = 0; i < 5000; ++i) {
        int v = engine.uniformInt(-2, 2);
        ASSERT_GE(v, -2);
        ASSERT_LE(v, 2);
        ++seen[v + 2];
    }
    for (int count : seen) EXPECT_GT(count, 800);
}

TEST(RandomEngine, PercentRollIsOneToHundred) {
    RandomEngine engine(2024);
    int lo = 1000, hi = -1;
    for (int i = 0; i < 20000; ++i) {
        int v = engine.percentRoll();
        lo = std::min(lo, v);
        hi = std::max(hi, v);
    }
    EXPECT_EQ(lo, 1);
    EXPECT_EQ(hi, 100);
}

TEST(RandomEngine, UniformRealCanReachItsUpperEnd) {
    // Any draw of 0xFFFFFF80 or above rounds to 2^32 as a float, giving exactly hi.
    EXPECT_EQ(RandomEngine::realFromDraw(0.0f, 1.0f, 0xFFFFFFFFu), 1.0);
    EXPECT_EQ(RandomEngine::realFromDraw(0.0f, 1.0f, 0xFFFFFF80u), 1.0);
    EXPECT_LT(RandomEngine::realFromDraw(0.0f, 1.0f, 0xFFFFFF7Fu), 1.0);
    EXPECT_EQ(RandomEngine::realFromDraw(2.0f, 3.0f, 0), 2.0);
    RandomEngine engine(11);
    std::mt19937 ref(11);
    const uint32_t r = ref();
    EXPECT_DOUBLE_EQ(engine.uniformReal(-5.0f, 5.0f),
                     -5.0 + 10.0 * (static_cast<double>(static_cast<float>(r)) / 4294967296.0));
}

TEST(CrtRand, ClassicSequence) {
    CrtRand sequence;
    EXPECT_EQ(sequence.rand(), 41) << "a fresh sequence starts as srand(1)";
    EXPECT_EQ(sequence.rand(), 18467);
    EXPECT_EQ(sequence.rand(), 6334);
    EXPECT_EQ(sequence.rand(), 26500);
    sequence.srand(1);
    EXPECT_EQ(sequence.rand(), 41) << "srand restarts the sequence";
    CrtRand other(1);
    EXPECT_EQ(other.rand(), 41) << "each sequence is its own";
}
