#pragma once
// The run-time random engine (a standard 32-bit Mersenne Twister; each game owns
// one) and the distributions the game draws from it. The distributions are written
// out by hand: a library distribution may use another algorithm and would give other
// numbers for the same seed, and a seed must mean the same fortress everywhere.
#include <cstdint>
#include <random>

class RandomEngine {
public:
    static constexpr uint32_t kCreationSeed = 65535;

    explicit RandomEngine(uint32_t value = kCreationSeed) : engine(value) {}

    void seed(uint32_t value) {
        engine.seed(value);
        draws = 0;
    }
    uint32_t next() {
        ++draws;
        return static_cast<uint32_t>(engine());
    }
    // Outputs produced since the last seed: a trace shows where two runs part ways.
    uint64_t drawsSinceSeed() const { return draws; }

    // Uniform in [0, n) by rejection over whole 32-bit draws; n = 1 draws nothing.
    uint32_t uniformIndex(uint32_t n);
    // Uniform in [lo, hi], both ends included.
    int32_t uniformInt(int32_t lo, int32_t hi);
    // In [1, 100].
    int32_t percentRoll() { return static_cast<int32_t>(uniformIndex(100)) + 1; }
    // lo + (hi - lo) * c with c = float(draw) / 2^32; c can round to exactly 1.
    double uniformReal(float lo, float hi) { return realFromDraw(lo, hi, next()); }
    static double realFromDraw(float lo, float hi, uint32_t draw);

private:
    std::mt19937 engine;
    uint64_t draws = 0;
};

// The classic C-runtime rand sequence, carried here so the fortress generator
// gives the same grid for a seed on every platform and build. Each generator owns
// its own sequence: two fortresses built side by side do not share draws.
class CrtRand {
public:
    static constexpr int kRandMax = 32767;

    explicit CrtRand(uint32_t seed = 1) : state(seed) {}
    void srand(uint32_t seed) { state = seed; }
    int rand() {
        state = state * 214013u + 2531011u;
        return static_cast<int>((state >> 16) & 0x7FFFu);
    }

private:
    uint32_t state;
};
