// The player's cries: a small source-filter voice. A glottal pulse train (with jitter
// and breath noise) feeds parallel formant filters that glide between two vowels,
// which gives wordless grunts, gasps and groans rather than speech.
#include <algorithm>
#include <cmath>

#include "Designs.h"

namespace assetgen::sfx {
using namespace synth;

namespace {

struct Vowel {
    double f1, f2, f3;
};
// Formant frequencies of a lowish male voice.
constexpr Vowel kUh{640, 1190, 2390};   // as in "but"
constexpr Vowel kAh{740, 1100, 2450};   // as in "father"
constexpr Vowel kAe{680, 1650, 2450};   // as in "cat"
constexpr Vowel kEh{530, 1840, 2480};   // as in "bed"
constexpr Vowel kOh{480, 850, 2600};    // as in "more"
constexpr Vowel kOo{330, 880, 2250};    // as in "food"
constexpr Vowel kHum{280, 1700, 2600};  // closed mouth, nasal

struct Cry {
    double length;
    double pitchStart, pitchPeak, pitchEnd;  // Hz; the peak comes at `peakAt` (fraction of length)
    double peakAt;
    Vowel from, to;
    double breath;   // share of aspiration noise, 0 … 1
    double rasp;     // cycle-to-cycle irregularity, 0 … 1
    double attack, release;
    double vibrato;  // depth (fraction of pitch) of a slow wobble
    std::uint32_t seed;
};

double lerp(double a, double b, double u) { return a + (b - a) * u; }

// Glottal flow of one period (Rosenberg pulse); its derivative is what radiates.
double glottalFlow(double phase) {
    const double open = 0.45, closing = 0.15;
    if (phase < open) return 0.5 * (1.0 - std::cos(kPi * phase / open));
    if (phase < open + closing) return std::cos(0.5 * kPi * (phase - open) / closing);
    return 0.0;
}

Buffer voice(const Cry& c) {
    Rng rng(c.seed);
    Noise noise(c.seed + 7);
    Biquad formant[3];
    Biquad breathBand = Biquad::bandpass(2500, 0.7);
    Biquad tilt = Biquad::lowpass(4200);
    const double gains[3] = {1.0, 0.6, 0.3};
    double phase = 0, previousFlow = 0, jitter = 0;
    Buffer out(samplesFor(c.length), 0.0f);
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double u = t / c.length;
        // Pitch: glide up to the peak, then fall; a slow wobble and the jitter on top.
        double pitch = u < c.peakAt ? lerp(c.pitchStart, c.pitchPeak, std::sin(0.5 * kPi * u / c.peakAt))
                                    : lerp(c.pitchPeak, c.pitchEnd, (u - c.peakAt) / (1.0 - c.peakAt));
        pitch *= 1.0 + c.vibrato * std::sin(kTwoPi * 5.5 * t) * u;
        phase += pitch * (1.0 + jitter) / kRate;
        if (phase >= 1.0) {
            phase -= 1.0;
            jitter = c.rasp * 0.08 * rng.bipolar();  // a new irregularity for each cycle
        }
        const double flow = glottalFlow(phase) * (1.0 + c.rasp * 0.3 * rng.bipolar() * (phase < 0.01 ? 1.0 : 0.0));
        const double voiced = (flow - previousFlow) * kRate / (pitch * 6.0);
        previousFlow = flow;
        const double aspiration = breathBand.process(noise.white()) * (0.3 + flow);
        const double source = (1.0 - c.breath) * voiced + c.breath * 2.0 * aspiration;

        if (i % 32 == 0) {
            const double m = std::clamp((u - 0.15) / 0.7, 0.0, 1.0);
            const double f[3] = {lerp(c.from.f1, c.to.f1, m), lerp(c.from.f2, c.to.f2, m), lerp(c.from.f3, c.to.f3, m)};
            for (int k = 0; k < 3; ++k) formant[k].setBandpass(f[k], f[k] / (70.0 + 30.0 * k));
        }
        double v = 0;
        for (int k = 0; k < 3; ++k) v += gains[k] * formant[k].process(static_cast<float>(source));
        out[i] = tilt.process(static_cast<float>(v)) * window(t, c.attack, c.release, c.length);
    }
    // Unit peak, so that breaths and blows are mixed against it at known levels.
    scale(out, 1.0f / std::max(peakOf(out), 1e-6f));
    return out;
}

// The blow that makes the player cry out.
Buffer impact(std::uint32_t seed) {
    Noise noise(seed);
    Biquad lp = Biquad::lowpass(900);
    Osc osc;
    Buffer b(samplesFor(0.15));
    for (std::size_t i = 0; i < b.size(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double hz = 55 + 90 * std::exp(-t / 0.015);
        b[i] = (osc.sine(hz) + 0.6f * lp.process(noise.white())) * attackDecay(t, 0.001, 0.03);
    }
    fadeEdges(b, 0.0, 0.02);
    return b;
}

Buffer withImpact(const Buffer& cry, std::uint32_t seed, double delay) {
    Buffer out(cry.size() + samplesFor(delay), 0.0f);
    mixInto(out, impact(seed), 0, 0.8f);
    mixInto(out, cry, samplesFor(delay), 1.0f);
    return out;
}

Buffer inRoom(const Buffer& dry) {
    Buffer padded = dry;
    padded.resize(dry.size() + samplesFor(0.25), 0.0f);
    return reverberate(padded, 0.35, 0.6, 0.18f);
}

}  // namespace

Buffer playerHit(int variant) {
    // Short cries on a blow: "uh!", "agh!", "oof".
    switch (variant) {
        case 0:
            return inRoom(withImpact(voice({0.26, 150, 175, 110, 0.25, kUh, kUh, 0.12, 0.2, 0.015, 0.1, 0.0, 301}), 302, 0.02));
        case 1:
            return inRoom(withImpact(voice({0.32, 165, 205, 125, 0.3, kAh, kAe, 0.18, 0.55, 0.01, 0.12, 0.0, 311}), 312, 0.015));
        default: {
            Buffer cry = voice({0.22, 135, 140, 105, 0.2, kOo, kOo, 0.3, 0.15, 0.02, 0.08, 0.0, 321});
            // The breath knocked out: an "f"-like exhale after the vowel.
            Noise noise(322);
            Biquad hp = Biquad::highpass(1800);
            Buffer exhale(samplesFor(0.18));
            for (std::size_t i = 0; i < exhale.size(); ++i)
                exhale[i] = hp.process(noise.white()) * window(static_cast<double>(i) / kRate, 0.02, 0.12, 0.18) * 0.05f;
            Buffer both(cry.size() + exhale.size(), 0.0f);
            mixInto(both, cry, 0);
            mixInto(both, exhale, cry.size() - samplesFor(0.05));
            return inRoom(withImpact(both, 323, 0.025));
        }
    }
}

Buffer playerDamage(int variant) {
    // Strained cries of pain without a blow: burns, poison, falls.
    switch (variant) {
        case 0:
            return inRoom(voice({0.55, 140, 180, 150, 0.4, kHum, kHum, 0.1, 0.35, 0.03, 0.15, 0.03, 331}));
        case 1:
            return inRoom(voice({0.5, 185, 245, 165, 0.35, kAh, kAe, 0.15, 0.3, 0.02, 0.18, 0.02, 341}));
        default: {
            // A hiss through the teeth, then "eh".
            Noise noise(351);
            Biquad band = Biquad::bandpass(5500, 1.5);
            Buffer out(samplesFor(0.75), 0.0f);
            Buffer hiss(samplesFor(0.2));
            for (std::size_t i = 0; i < hiss.size(); ++i)
                hiss[i] = band.process(noise.white()) * window(static_cast<double>(i) / kRate, 0.03, 0.05, 0.2) * 0.2f;
            mixInto(out, hiss, 0);
            mixInto(out, voice({0.5, 165, 175, 135, 0.25, kEh, kUh, 0.2, 0.4, 0.02, 0.2, 0.02, 352}), samplesFor(0.17));
            return inRoom(out);
        }
    }
}

Buffer playerDeath(int variant) {
    // Long falling groans that die away.
    switch (variant) {
        case 0:
            return inRoom(voice({1.4, 200, 235, 85, 0.2, kAh, kOh, 0.12, 0.5, 0.02, 0.6, 0.04, 361}));
        case 1: {
            Buffer out(samplesFor(2.0), 0.0f);
            mixInto(out, voice({1.5, 145, 150, 70, 0.15, kOh, kOo, 0.35, 0.45, 0.08, 0.7, 0.03, 371}), 0);
            // The last breath.
            Noise noise(372);
            Biquad band = Biquad::bandpass(1200, 0.8);
            Buffer exhale(samplesFor(0.5));
            for (std::size_t i = 0; i < exhale.size(); ++i)
                exhale[i] = band.process(noise.white()) * window(static_cast<double>(i) / kRate, 0.1, 0.35, 0.5) * 0.1f;
            mixInto(out, exhale, samplesFor(1.4));
            return inRoom(out);
        }
        default: {
            // "uh", a gasp drawn in, then a long falling "aah".
            Buffer out(samplesFor(1.75), 0.0f);
            mixInto(out, voice({0.18, 160, 185, 140, 0.3, kUh, kUh, 0.15, 0.3, 0.01, 0.06, 0.0, 381}), 0);
            Noise noise(382);
            Biquad band, lp = Biquad::lowpass(4500);
            Buffer gasp(samplesFor(0.22));
            for (std::size_t i = 0; i < gasp.size(); ++i) {
                const double t = static_cast<double>(i) / kRate;
                band.setBandpass(1400 + 1400 * t / 0.22, 1.5);
                gasp[i] = lp.process(band.process(noise.white())) * window(t, 0.08, 0.05, 0.22) * 0.15f;
            }
            mixInto(out, gasp, samplesFor(0.22));
            mixInto(out, voice({1.2, 190, 200, 80, 0.1, kAh, kUh, 0.2, 0.55, 0.015, 0.55, 0.035, 383}), samplesFor(0.45));
            return inRoom(out);
        }
    }
}

}  // namespace assetgen::sfx
