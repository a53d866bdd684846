#pragma once
// A small synthesis toolkit for the game's sounds: oscillators, noise, envelopes,
// filters, a reverb and a few buffer helpers. Everything works on float samples at
// one fixed rate, and all randomness comes from explicitly seeded generators so that
// every run writes the same bytes.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <random>
#include <vector>

namespace assetgen::synth {

constexpr int kRate = 44100;
constexpr double kPi = 3.14159265358979323846;
constexpr double kTwoPi = 2.0 * kPi;

using Buffer = std::vector<float>;

struct Stereo {
    Buffer left, right;
    explicit Stereo(std::size_t n = 0) : left(n, 0.0f), right(n, 0.0f) {}
    std::size_t size() const { return left.size(); }
};

inline std::size_t samplesFor(double seconds) { return static_cast<std::size_t>(std::lround(seconds * kRate)); }
inline double noteHz(double midi) { return 440.0 * std::pow(2.0, (midi - 69.0) / 12.0); }
inline float dbToGain(double db) { return static_cast<float>(std::pow(10.0, db / 20.0)); }

// Seeded random numbers. The distributions are written out here rather than taken
// from <random>, whose distributions may differ between standard libraries.
class Rng {
public:
    explicit Rng(std::uint32_t seed) : engine_(seed) {}
    double uniform() { return static_cast<double>(engine_() >> 8) / 16777216.0; }  // [0, 1)
    double range(double lo, double hi) { return lo + (hi - lo) * uniform(); }
    double bipolar() { return 2.0 * uniform() - 1.0; }
    int index(int n) { return static_cast<int>(uniform() * n); }
    bool chance(double p) { return uniform() < p; }

private:
    std::mt19937 engine_;
};

// Phase-accumulating oscillator. The frequency may change on every sample, which is
// how pitch sweeps, vibrato and FM are done. Saw and square use polyBLEP corrections
// to keep aliasing down at high pitches.
class Osc {
public:
    explicit Osc(double startPhase = 0.0) : phase_(startPhase) {}
    float sine(double hz);
    float saw(double hz);
    float square(double hz, double width = 0.5);
    float triangle(double hz);
    // Sine whose phase is offset by `modulation` radians (phase modulation / FM).
    float sinePm(double hz, double modulation);
    double phase() const { return phase_; }

private:
    double advance(double hz);
    double phase_;
};

// White, pink (Kellet's filter) and brown (leaky integrated) noise from one seed.
class Noise {
public:
    explicit Noise(std::uint32_t seed) : rng_(seed) {}
    float white() { return static_cast<float>(rng_.bipolar()); }
    float pink();
    float brown();

private:
    Rng rng_;
    double b0_ = 0, b1_ = 0, b2_ = 0, b3_ = 0, b4_ = 0, b5_ = 0, b6_ = 0;
    double brown_ = 0;
};

// Envelopes as functions of time (seconds).
float expDecay(double t, double seconds);  // e^(-t / seconds), 1 at t = 0
float attackDecay(double t, double attack, double decay);
// Attack, decay to sustain, hold while the gate is open, then release.
float adsr(double t, double attack, double decay, double sustain, double release, double gate);
// Linear fade in over `in` and out over `out` within a segment of `length` seconds.
float window(double t, double in, double out, double length);

// RBJ biquad. The set* functions may be called every few samples for sweeps.
class Biquad {
public:
    void setLowpass(double hz, double q = 0.7071);
    void setHighpass(double hz, double q = 0.7071);
    void setBandpass(double hz, double q);  // peak gain 1
    void setPeak(double hz, double q, double gainDb);
    float process(float x);
    void reset() { z1_ = z2_ = 0; }

    static Biquad lowpass(double hz, double q = 0.7071) { Biquad b; b.setLowpass(hz, q); return b; }
    static Biquad highpass(double hz, double q = 0.7071) { Biquad b; b.setHighpass(hz, q); return b; }
    static Biquad bandpass(double hz, double q) { Biquad b; b.setBandpass(hz, q); return b; }

private:
    void set(double b0, double b1, double b2, double a0, double a1, double a2);
    double b0_ = 1, b1_ = 0, b2_ = 0, a1_ = 0, a2_ = 0;
    double z1_ = 0, z2_ = 0;
};

// One-pole smoothing low-pass, cheap enough for control signals.
class OnePole {
public:
    explicit OnePole(double hz = 1000.0) { setCutoff(hz); }
    void setCutoff(double hz) { a_ = 1.0 - std::exp(-kTwoPi * hz / kRate); }
    float process(float x) { y_ += a_ * (x - y_); return static_cast<float>(y_); }

private:
    double a_ = 1.0, y_ = 0.0;
};

// Freeverb-style reverb: parallel damped comb filters into series all-passes, with the
// right channel's delays spread a little for width.
class Reverb {
public:
    Reverb(double roomSize, double damping, double width = 1.0);
    void process(float inL, float inR, float& outL, float& outR);

private:
    struct Comb {
        std::vector<float> line;
        std::size_t pos = 0;
        float store = 0;
        float process(float x, float feedback, float damp);
    };
    struct AllPass {
        std::vector<float> line;
        std::size_t pos = 0;
        float process(float x);
    };
    std::vector<Comb> combsL_, combsR_;
    std::vector<AllPass> allL_, allR_;
    float feedback_, damp_, width_;
};

// Buffer helpers. Mixing into a mono buffer lengthens it to hold all of `src`, so a
// decay is never cut off.
void mixInto(Buffer& dst, const Buffer& src, std::size_t offset, float gain = 1.0f);
void mixInto(Stereo& dst, const Buffer& src, std::size_t offset, float gain, float pan);  // pan -1 … 1
// Same, but anything past the end wraps to the start: for material that loops.
void mixWrapped(Stereo& dst, const Buffer& src, std::size_t offset, float gain, float pan);
void mixWrapped(Buffer& dst, const Buffer& src, std::size_t offset, float gain = 1.0f);
float peakOf(const Buffer& b);
double meanOf(const Buffer& b);
void scale(Buffer& b, float gain);
void fadeEdges(Buffer& b, double inSeconds, double outSeconds);
// Cut a decaying tail where it has fallen `belowPeakDb` under the peak, ending in a
// short fade.
void trimTail(Buffer& b, double belowPeakDb);
// High-pass well below the audible range, then remove the remaining mean. A looping
// buffer is filtered twice so that the filter state wraps around, and its mean is
// subtracted evenly; a one-shot's mean is taken out under a raised-cosine shape so
// that its first and last samples stay at zero.
void removeDc(Buffer& b, bool looping = false);
// Mono reverb; the result is longer than the input by the reverb's tail.
Buffer reverberate(const Buffer& in, double roomSize, double damping, float wet);
// Echo with feedback (mono); the result is longer than the input by the repeats.
Buffer echo(const Buffer& in, double seconds, float feedback, float wet, double toneHz = 4000.0);

}  // namespace assetgen::synth
