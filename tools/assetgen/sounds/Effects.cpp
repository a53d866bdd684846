// Sound effects: weapons, interface, enemies, world and mission events.
#include <algorithm>
#include <cmath>
#include <initializer_list>

#include "Designs.h"

namespace assetgen::sfx {
using namespace synth;

namespace {

double timeOf(std::size_t i) { return static_cast<double>(i) / kRate; }

// Renders fn(t) over `seconds`; the end is faded so that a part cut off while still
// sounding does not click where it stops.
template <typename F>
Buffer generate(double seconds, F fn) {
    Buffer b(samplesFor(seconds));
    for (std::size_t i = 0; i < b.size(); ++i) b[i] = fn(timeOf(i));
    fadeEdges(b, 0.0, std::min(0.005, seconds / 4));
    return b;
}

std::size_t at(double seconds) { return samplesFor(seconds); }

// A short burst of band-passed noise: the basic click, tick and scrape.
Buffer noiseClick(std::uint32_t seed, double centreHz, double q, double attack, double decay) {
    Noise noise(seed);
    Biquad band = Biquad::bandpass(centreHz, q);
    return generate(attack + decay * 7.0, [&](double t) { return band.process(noise.white()) * attackDecay(t, attack, decay); });
}

// Struck metal: a few inharmonic partials, each with its own decay.
struct Partial {
    double hz, decay, gain;
};
Buffer metalRing(std::initializer_list<Partial> partials, double length) {
    std::vector<Osc> oscs(partials.size());
    return generate(length, [&](double t) {
        float v = 0;
        std::size_t k = 0;
        for (const Partial& p : partials) v += static_cast<float>(p.gain) * oscs[k++].sine(p.hz) * attackDecay(t, 0.0005, p.decay);
        return v;
    });
}

// A sine whose pitch falls from startHz towards endHz: kicks, thumps, impacts.
Buffer thump(double startHz, double endHz, double sweep, double decay) {
    Osc osc;
    return generate(decay * 7.0, [&](double t) {
        const double hz = endHz + (startHz - endHz) * std::exp(-t / sweep);
        return osc.sine(hz) * attackDecay(t, 0.001, decay);
    });
}

// Noise low-passed and shaped by an attack/decay envelope: bodies of shots and blasts.
Buffer noiseBlast(std::uint32_t seed, double lowHz, double highHz, double sweep, double attack, double decay, bool pinkNoise) {
    Noise noise(seed);
    Biquad lp;
    return generate(attack + decay * 7.0, [&](double t) {
        lp.setLowpass(lowHz + (highHz - lowHz) * std::exp(-t / sweep), 0.8);
        const float n = pinkNoise ? noise.pink() * 2.5f : noise.white();
        return lp.process(n) * attackDecay(t, attack, decay);
    });
}

float saturate(float x, float drive) { return static_cast<float>(std::tanh(drive * x) / std::tanh(drive)); }

void saturate(Buffer& b, float drive) {
    const float peak = std::max(peakOf(b), 1e-6f);
    for (float& v : b) v = saturate(v / peak, drive) * peak;
}

}  // namespace

// ---------------------------------------------------------------- interface

Buffer buttonHovered() {
    Osc a, b;
    return generate(0.09, [&](double t) {
        const double hz = 1250.0 + 450.0 * (1.0 - std::exp(-t / 0.015));
        return (a.sine(hz) + 0.3f * b.sine(2.0 * hz)) * attackDecay(t, 0.002, 0.018);
    });
}

Buffer buttonClicked() {
    Buffer out(samplesFor(0.16), 0.0f);
    mixInto(out, noiseClick(11, 3500, 1.5, 0.0005, 0.004), 0, 0.8f);
    mixInto(out, thump(950, 520, 0.02, 0.03), 0, 0.9f);
    mixInto(out, metalRing({{1870, 0.04, 0.25}, {2950, 0.02, 0.12}}, 0.15), at(0.004), 1.0f);
    return out;
}

Buffer screenshot() {
    Buffer out(samplesFor(0.4), 0.0f);
    // First shutter blade, the winding whir, the second blade.
    mixInto(out, noiseClick(31, 5200, 2.0, 0.0003, 0.004), 0, 1.0f);
    mixInto(out, metalRing({{3100, 0.012, 0.35}, {4700, 0.006, 0.2}}, 0.08), 0, 1.0f);
    Noise noise(32);
    Biquad band = Biquad::bandpass(2100, 3.0);
    Buffer whir = generate(0.075, [&](double t) {
        return band.process(noise.white()) * window(t, 0.01, 0.03, 0.075) * (0.6f + 0.4f * static_cast<float>(std::sin(kTwoPi * 180 * t)));
    });
    mixInto(out, whir, at(0.025), 0.45f);
    mixInto(out, noiseClick(33, 4300, 2.0, 0.0003, 0.005), at(0.115), 0.9f);
    mixInto(out, metalRing({{2700, 0.015, 0.3}, {4100, 0.008, 0.2}}, 0.08), at(0.115), 1.0f);
    return out;
}

// ---------------------------------------------------------------- weapons

Buffer rifleShot() {
    Buffer dry(samplesFor(0.45), 0.0f);
    Noise crackNoise(41);
    Biquad crackHp = Biquad::highpass(900);
    mixInto(dry, generate(0.09, [&](double t) { return crackHp.process(crackNoise.white()) * attackDecay(t, 0.0003, 0.011); }), 0, 1.0f);
    mixInto(dry, noiseBlast(42, 500, 5000, 0.02, 0.001, 0.05, true), 0, 0.9f);
    Buffer body = thump(160, 48, 0.025, 0.06);
    saturate(body, 2.5f);
    mixInto(dry, body, 0, 1.0f);
    // The energy-weapon edge: a fast falling zap under the blast.
    Osc zap;
    Biquad zapLp = Biquad::lowpass(3500);
    mixInto(dry, generate(0.2, [&](double t) {
        const double hz = 240.0 + 2200.0 * std::exp(-t / 0.018);
        return zapLp.process(zap.saw(hz)) * attackDecay(t, 0.001, 0.035);
    }), 0, 0.3f);
    // The bolt cycling a few milliseconds after the shot.
    mixInto(dry, noiseClick(43, 4500, 3.0, 0.0003, 0.003), at(0.045), 0.3f);
    mixInto(dry, metalRing({{2650, 0.01, 0.12}, {3900, 0.006, 0.08}}, 0.05), at(0.045), 1.0f);
    Buffer out = reverberate(dry, 0.55, 0.5, 0.55f);
    saturate(out, 1.6f);
    return out;
}

Buffer sniperShot() {
    Buffer dry(samplesFor(0.8), 0.0f);
    Noise crackNoise(51);
    Biquad crackHp = Biquad::highpass(700);
    mixInto(dry, generate(0.15, [&](double t) { return crackHp.process(crackNoise.white()) * attackDecay(t, 0.0003, 0.02); }), 0, 1.0f);
    mixInto(dry, noiseBlast(52, 250, 4000, 0.05, 0.002, 0.13, true), 0, 1.0f);
    Buffer body = thump(120, 36, 0.05, 0.16);
    saturate(body, 3.0f);
    mixInto(dry, body, 0, 1.2f);
    Buffer wet = echo(dry, 0.27, 0.38f, 0.45f, 1800.0);
    Buffer out = reverberate(wet, 0.85, 0.45, 0.7f);
    // Bolt action: lift and pull back, then push forward and lock.
    mixInto(out, noiseClick(53, 3000, 3.0, 0.0005, 0.005), at(0.95), 0.25f);
    mixInto(out, metalRing({{2300, 0.015, 0.12}, {3450, 0.01, 0.08}}, 0.06), at(0.95), 1.0f);
    Noise slideNoise(54);
    Biquad slideBand = Biquad::bandpass(2200, 2.0);
    Buffer slide = generate(0.14, [&](double t) { return slideBand.process(slideNoise.white()) * window(t, 0.02, 0.05, 0.14); });
    mixInto(out, slide, at(1.0), 0.12f);
    mixInto(out, slide, at(1.2), 0.1f);
    mixInto(out, noiseClick(55, 2600, 2.5, 0.0005, 0.006), at(1.34), 0.3f);
    mixInto(out, metalRing({{1900, 0.02, 0.14}, {2950, 0.012, 0.1}}, 0.08), at(1.34), 1.0f);
    return out;
}

Buffer dryFire() {
    Buffer out(samplesFor(0.16), 0.0f);
    mixInto(out, noiseClick(61, 3800, 3.0, 0.0003, 0.003), 0, 0.5f);
    mixInto(out, metalRing({{3150, 0.01, 0.25}, {4800, 0.006, 0.15}}, 0.05), 0, 1.0f);
    mixInto(out, noiseClick(62, 2500, 3.0, 0.0003, 0.004), at(0.03), 0.9f);
    mixInto(out, metalRing({{2050, 0.018, 0.35}, {3350, 0.01, 0.2}, {5200, 0.005, 0.1}}, 0.1), at(0.03), 1.0f);
    return out;
}

Buffer flashlightOn() {
    Buffer out(samplesFor(0.1), 0.0f);
    mixInto(out, noiseClick(71, 2600, 2.0, 0.0003, 0.002), 0, 0.6f);
    mixInto(out, noiseClick(72, 3400, 2.0, 0.0003, 0.002), at(0.009), 1.0f);
    mixInto(out, metalRing({{2400, 0.01, 0.35}, {3900, 0.005, 0.15}}, 0.06), at(0.009), 1.0f);
    return out;
}

Buffer flashlightOff() {
    Buffer out(samplesFor(0.1), 0.0f);
    mixInto(out, noiseClick(73, 1700, 1.5, 0.0003, 0.003), 0, 1.0f);
    mixInto(out, thump(820, 600, 0.01, 0.012), 0, 0.5f);
    mixInto(out, metalRing({{1500, 0.012, 0.25}}, 0.06), 0, 1.0f);
    return out;
}

Buffer reload() {
    Buffer out(samplesFor(1.25), 0.0f);
    Noise noise(81);
    // Magazine release and the empty magazine sliding out.
    mixInto(out, noiseClick(82, 3200, 3.0, 0.0003, 0.004), 0, 0.6f);
    mixInto(out, metalRing({{2250, 0.012, 0.2}}, 0.05), 0, 1.0f);
    Biquad outBand = Biquad::bandpass(1600, 1.5);
    mixInto(out, generate(0.16, [&](double t) { return outBand.process(noise.white()) * window(t, 0.03, 0.06, 0.16); }), at(0.05), 0.35f);
    // The full magazine seated: a heavier clack.
    mixInto(out, thump(220, 110, 0.01, 0.03), at(0.5), 0.8f);
    mixInto(out, noiseClick(83, 2400, 2.0, 0.0003, 0.006), at(0.5), 0.9f);
    mixInto(out, metalRing({{1150, 0.05, 0.3}, {2730, 0.025, 0.2}, {4100, 0.012, 0.1}}, 0.2), at(0.5), 1.0f);
    // Charging handle pulled back and released.
    Biquad pullBand;
    mixInto(out, generate(0.12, [&](double t) {
        pullBand.setBandpass(1500 + 3000 * t / 0.12, 2.0);
        return pullBand.process(noise.white()) * window(t, 0.02, 0.02, 0.12);
    }), at(0.84), 0.45f);
    mixInto(out, noiseClick(84, 4200, 2.5, 0.0003, 0.004), at(0.98), 1.0f);
    mixInto(out, metalRing({{1750, 0.04, 0.3}, {3320, 0.02, 0.2}, {5100, 0.01, 0.1}}, 0.2), at(0.98), 1.0f);
    return reverberate(out, 0.3, 0.6, 0.25f);
}

// ---------------------------------------------------------------- enemies

Buffer enemyHit() {
    Buffer out(samplesFor(0.5), 0.0f);
    mixInto(out, thump(180, 85, 0.015, 0.035), 0, 0.8f);
    mixInto(out, noiseClick(91, 3000, 0.8, 0.0003, 0.006), 0, 1.0f);
    mixInto(out, metalRing({{523, 0.12, 0.3}, {1187, 0.09, 0.25}, {1843, 0.07, 0.2}, {2690, 0.05, 0.15}, {3421, 0.04, 0.1}}, 0.45), 0,
            1.0f);
    // Sparks: sparse crackle from the damaged electronics.
    Rng rng(92);
    Noise noise(93);
    Biquad hp = Biquad::highpass(2500);
    double impulse = 0;
    mixInto(out, generate(0.3, [&](double t) {
        if (rng.chance(0.004 * std::exp(-t / 0.1))) impulse = rng.range(0.5, 1.0);
        impulse *= 0.993;
        return hp.process(noise.white() * static_cast<float>(impulse));
    }), at(0.01), 0.3f);
    return out;
}

Buffer enemyFire() {
    Osc carrier, modulator;
    Noise noise(101);
    Biquad band;
    Buffer dry = generate(0.6, [&](double t) {
        const double hz = 180.0 + 700.0 * std::exp(-std::pow((t - 0.04) / 0.06, 2.0)) + 200.0 * std::exp(-t / 0.2);
        const double index = 4.0 * std::exp(-t / 0.12);
        const float tone = carrier.sinePm(hz, index * modulator.sine(hz * 1.5));
        band.setBandpass(700 + 2500 * std::exp(-t / 0.1), 1.5);
        const float whoosh = band.process(noise.white());
        return (0.8f * tone + 0.4f * whoosh) * attackDecay(t, 0.005, 0.11);
    });
    return reverberate(dry, 0.5, 0.5, 0.4f);
}

Buffer enemyExplodes() {
    Buffer dry(samplesFor(1.2), 0.0f);
    mixInto(dry, noiseBlast(111, 150, 3000, 0.08, 0.002, 0.28, false), 0, 1.0f);
    Buffer boom = thump(90, 32, 0.1, 0.3);
    saturate(boom, 3.0f);
    mixInto(dry, boom, 0, 1.0f);
    // The drone's whine collapsing.
    Osc whine;
    Biquad lp = Biquad::lowpass(2500);
    mixInto(dry, generate(0.9, [&](double t) {
        const double hz = 150.0 + 1300.0 * std::exp(-t / 0.25);
        return lp.process(whine.saw(hz)) * attackDecay(t, 0.01, 0.25);
    }), 0, 0.25f);
    // Electrical crackle after the blast.
    Rng rng(112);
    Noise noise(113);
    Biquad hp = Biquad::highpass(1800);
    double impulse = 0;
    mixInto(dry, generate(0.8, [&](double t) {
        if (rng.chance(0.003 * std::exp(-t / 0.3))) impulse = rng.range(0.3, 1.0);
        impulse *= 0.995;
        return hp.process(noise.white() * static_cast<float>(impulse));
    }), at(0.08), 0.35f);
    Buffer out = reverberate(dry, 0.75, 0.5, 0.6f);
    saturate(out, 1.5f);
    return out;
}

Buffer enemyPowersDown() {
    Buffer dry(samplesFor(1.4), 0.0f);
    // A failing motor: a square wave sliding down, held in coarse steps for a
    // sampled, electronic sound.
    Osc motor;
    Biquad lp = Biquad::lowpass(1800, 1.2);
    float held = 0;
    mixInto(dry, generate(1.3, [&](double t) {
        const double hz = 40.0 + 860.0 * std::exp(-t / 0.35);
        const float v = motor.square(hz, 0.3);
        if (static_cast<int>(t * 8000) != static_cast<int>((t - 1.0 / kRate) * 8000)) held = v;
        return lp.process(held) * window(t, 0.005, 0.4, 1.3);
    }), 0, 0.5f);
    mixInto(dry, noiseBlast(121, 300, 2500, 0.05, 0.001, 0.09, true), 0, 0.8f);
    mixInto(dry, thump(140, 60, 0.03, 0.08), 0, 0.7f);
    // Debris landing.
    Rng rng(122);
    for (int k = 0; k < 5; ++k) {
        const double when = 0.3 + 0.12 * k + rng.range(0.0, 0.06);
        const double base = rng.range(1400, 2600);
        mixInto(dry, metalRing({{base, 0.03, 0.2}, {base * 1.53, 0.02, 0.12}, {base * 2.41, 0.01, 0.08}}, 0.15), at(when),
                static_cast<float>(0.9 - 0.15 * k));
    }
    return reverberate(dry, 0.6, 0.5, 0.45f);
}

Buffer enemyDropsItem() {
    Buffer out(samplesFor(0.6), 0.0f);
    const double bounces[] = {0.0, 0.17, 0.28, 0.35};
    const float gains[] = {1.0f, 0.5f, 0.28f, 0.14f};
    for (int k = 0; k < 4; ++k) {
        mixInto(out, thump(150, 90, 0.01, 0.025), at(bounces[k]), gains[k]);
        mixInto(out, noiseClick(131 + static_cast<std::uint32_t>(k), 1200, 1.0, 0.0005, 0.006), at(bounces[k]), 0.5f * gains[k]);
        mixInto(out, metalRing({{1930, 0.04, 0.2}, {3110, 0.025, 0.12}}, 0.15), at(bounces[k]), gains[k]);
    }
    return out;
}

// ---------------------------------------------------------------- world and mission

Buffer thunder() {
    const double length = 6.0;
    Rng rng(141);
    Buffer out(samplesFor(length), 0.0f);
    // The crack: a cluster of sharp noise bursts.
    for (int k = 0; k < 9; ++k) {
        const double when = rng.range(0.0, 0.35) * (k == 0 ? 0.0 : 1.0);
        Noise noise(142 + static_cast<std::uint32_t>(k));
        Biquad hp = Biquad::highpass(rng.range(300, 900));
        const double decay = rng.range(0.006, 0.04);
        mixInto(out, generate(decay * 8, [&](double t) { return hp.process(noise.white()) * attackDecay(t, 0.0005, decay); }),
                at(when + 0.05), static_cast<float>(rng.range(0.25, 0.6)));
    }
    // The rumble: low noise whose loudness rolls in a few random swells.
    struct Swell {
        double at, rise, fall, gain;
    };
    std::vector<Swell> swells;
    for (int k = 0; k < 7; ++k) swells.push_back({rng.range(0.05, 3.2), rng.range(0.15, 0.5), rng.range(0.4, 1.4), rng.range(0.4, 1.0)});
    Noise low(150), mid(151);
    Biquad lowLp = Biquad::lowpass(160, 0.9), midLp = Biquad::lowpass(700), midHp = Biquad::highpass(120);
    mixInto(out, generate(length, [&](double t) {
        double level = 0;
        for (const Swell& s : swells) {
            const double u = t - s.at;
            if (u > 0) level += s.gain * (1.0 - std::exp(-u / s.rise)) * std::exp(-u / s.fall);
        }
        const float rumble = lowLp.process(low.brown() * 4.0f) + 0.35f * midLp.process(midHp.process(mid.pink() * 2.5f));
        return rumble * static_cast<float>(level) * window(t, 0.02, 1.5, length);
    }), 0, 1.0f);
    Buffer wet = reverberate(out, 0.9, 0.7, 0.6f);
    saturate(wet, 1.8f);
    return wet;
}

namespace {
// One footfall on gritty ground: the heel's thump, a crunch of grit, the toe.
Buffer footfall(Rng& rng, std::uint32_t seed, bool running) {
    const double length = running ? 0.22 : 0.28;
    Buffer out(samplesFor(length), 0.0f);
    const double heelDecay = running ? 0.02 : 0.028;
    mixInto(out, thump(rng.range(95, 120), rng.range(55, 70), 0.01, heelDecay), 0, running ? 1.0f : 0.85f);
    mixInto(out, noiseBlast(seed, 250, 900, 0.01, 0.001, 0.018, true), 0, 0.8f);
    // Grit: tiny band-passed grains, dense at the impact and thinning out.
    Noise noise(seed + 1);
    const int grains = running ? 34 : 26;
    for (int g = 0; g < grains; ++g) {
        const double when = std::pow(rng.uniform(), 2.0) * (running ? 0.09 : 0.12);
        Biquad band = Biquad::bandpass(rng.range(1500, 5500), rng.range(2.0, 5.0));
        const double decay = rng.range(0.001, 0.004);
        Buffer grain = generate(decay * 7, [&](double t) { return band.process(noise.white()) * attackDecay(t, 0.0003, decay); });
        mixInto(out, grain, at(when), static_cast<float>(rng.range(0.2, 0.6)));
    }
    // The toe rolls down a little after the heel.
    const double toe = running ? 0.045 : 0.075;
    mixInto(out, thump(rng.range(130, 160), 80, 0.008, 0.015), at(toe), running ? 0.35f : 0.45f);
    mixInto(out, noiseBlast(seed + 2, 400, 2500, 0.01, 0.001, 0.012, true), at(toe), 0.3f);
    // Ends well before the next step: the loop's joint then falls in silence.
    fadeEdges(out, 0.0, 0.06);
    return out;
}
}  // namespace

Buffer footsteps(bool running) {
    // Eight steps per loop, so that left and right feet and small variations repeat
    // only every few seconds. Steps sit on an exact grid: the loop holds whole steps.
    const int steps = 8;
    const double period = running ? 0.32 : 0.46;
    Buffer loop(samplesFor(steps * period), 0.0f);
    Rng rng(running ? 161 : 171);
    for (int k = 0; k < steps; ++k) {
        const double when = 0.02 + k * period + rng.range(-0.006, 0.006);
        const float foot = (k % 2 == 0) ? 1.0f : 0.88f;
        mixWrapped(loop, footfall(rng, static_cast<std::uint32_t>(1000 + 10 * k + (running ? 500 : 0)), running), at(when),
                   foot * static_cast<float>(rng.range(0.85, 1.0)));
    }
    return loop;
}

Buffer healthPickUp() {
    Buffer dry(samplesFor(0.9), 0.0f);
    const double notes[] = {72, 76, 79, 84};
    for (int k = 0; k < 4; ++k) {
        Osc a, b;
        const double hz = noteHz(notes[k]);
        mixInto(dry, generate(0.5, [&](double t) { return (a.sine(hz) + 0.25f * b.sine(2 * hz)) * attackDecay(t, 0.004, 0.12); }),
                at(0.06 * k), 0.5f);
    }
    // A soft rising shimmer: the healing itself.
    Noise noise(181);
    Biquad band;
    mixInto(dry, generate(0.5, [&](double t) {
        band.setBandpass(2000 + 6000 * t / 0.5, 6.0);
        return band.process(noise.white()) * window(t, 0.15, 0.3, 0.5);
    }), 0, 0.5f);
    return reverberate(dry, 0.6, 0.5, 0.45f);
}

Buffer itemPickUp() {
    Buffer dry(samplesFor(0.5), 0.0f);
    const double notes[] = {81, 88};
    for (int k = 0; k < 2; ++k) {
        Osc osc;
        Biquad lp = Biquad::lowpass(4500);
        const double hz = noteHz(notes[k]);
        mixInto(dry, generate(0.18, [&](double t) { return lp.process(osc.square(hz, 0.25)) * attackDecay(t, 0.002, 0.05); }),
                at(0.07 * k), 0.5f);
    }
    return echo(dry, 0.11, 0.3f, 0.3f, 3000.0);
}

Buffer gateOpens() {
    Buffer dry(samplesFor(1.7), 0.0f);
    // Unlocking clunk.
    mixInto(dry, thump(90, 50, 0.02, 0.06), 0, 1.0f);
    mixInto(dry, noiseClick(191, 1200, 1.0, 0.0005, 0.008), 0, 0.6f);
    mixInto(dry, metalRing({{311, 0.15, 0.3}, {743, 0.1, 0.2}, {1290, 0.06, 0.12}}, 0.6), 0, 1.0f);
    // The bars sliding along their rail, driven by a motor.
    const double slideStart = 0.12, slideLength = 1.1;
    Noise noise(192);
    Rng rng(193);
    Biquad grind = Biquad::bandpass(900, 2.5), grindHigh = Biquad::bandpass(2300, 4.0);
    OnePole roughness(25);
    Osc motor;
    Biquad motorLp = Biquad::lowpass(350);
    mixInto(dry, generate(slideLength, [&](double t) {
        const float rough = 0.6f + 0.8f * std::abs(roughness.process(static_cast<float>(rng.bipolar()) * 3.0f));
        const float scrape = (grind.process(noise.white()) + 0.5f * grindHigh.process(noise.white())) * rough;
        const float hum = motorLp.process(motor.saw(55 + 8 * t));
        return (0.7f * scrape + 0.35f * hum) * window(t, 0.08, 0.1, slideLength);
    }), at(slideStart), 1.0f);
    // Stop at the end of travel.
    mixInto(dry, thump(110, 55, 0.015, 0.05), at(slideStart + slideLength - 0.02), 0.8f);
    mixInto(dry, metalRing({{287, 0.12, 0.25}, {690, 0.08, 0.15}, {1410, 0.05, 0.1}}, 0.4), at(slideStart + slideLength - 0.02),
            1.0f);
    return reverberate(dry, 0.6, 0.4, 0.4f);
}

Buffer refusal() {
    Osc a, b;
    Biquad lp = Biquad::lowpass(1600);
    return generate(0.45, [&](double t) {
        const bool first = t < 0.16;
        const double hz = first ? 220.0 : 165.0;
        const double start = first ? 0.0 : 0.2;
        const float env = window(t - start, 0.005, 0.03, first ? 0.15 : 0.2);
        return lp.process(0.5f * a.square(hz) + 0.5f * b.square(hz * 1.007)) * env;
    });
}

Buffer energyCellConnected() {
    Buffer dry(samplesFor(1.6), 0.0f);
    // Contact spark.
    Rng rng(201);
    Noise noise(202);
    Biquad hp = Biquad::highpass(2000);
    double impulse = 0;
    mixInto(dry, generate(0.2, [&](double t) {
        if (rng.chance(0.01 * std::exp(-t / 0.06))) impulse = rng.range(0.5, 1.0);
        impulse *= 0.99;
        return hp.process(noise.white() * static_cast<float>(impulse));
    }), 0, 0.7f);
    // Power rising through the platform.
    Osc saw, sine;
    Biquad lp;
    mixInto(dry, generate(1.1, [&](double t) {
        const double hz = 80.0 * std::pow(4.0, std::min(t / 0.7, 1.0));
        lp.setLowpass(300 + 2500 * std::min(t / 0.7, 1.0), 1.5);
        return (lp.process(saw.saw(hz)) * 0.6f + 0.4f * sine.sine(2 * hz)) * window(t, 0.2, 0.35, 1.1);
    }), at(0.05), 0.6f);
    // Confirmation chime.
    const double notes[] = {88, 95};
    for (int k = 0; k < 2; ++k) {
        Osc a, b;
        const double hz = noteHz(notes[k]);
        mixInto(dry, generate(0.6, [&](double t) { return (a.sine(hz) + 0.2f * b.sine(2.76 * hz)) * attackDecay(t, 0.003, 0.15); }),
                at(0.85 + 0.1 * k), 0.5f);
    }
    return reverberate(dry, 0.6, 0.5, 0.4f);
}

namespace {
// Jet engine: roar (noise), rumble (low noise) and turbine whine, each driven by
// curves over time so that lift-off and departure share one engine.
template <typename Curves>
Buffer engine(double length, std::uint32_t seed, Curves curves) {
    Noise roarNoise(seed), rumbleNoise(seed + 1);
    Biquad roarLp, roarHp = Biquad::highpass(150), rumbleLp = Biquad::lowpass(120, 1.0);
    Osc whine, whine2;
    Biquad whineLp = Biquad::lowpass(3000);
    return generate(length, [&](double t) {
        double level, cutoff, whineHz, whineLevel;
        curves(t, level, cutoff, whineHz, whineLevel);
        roarLp.setLowpass(cutoff, 0.7);
        const float roar = roarLp.process(roarHp.process(roarNoise.pink() * 2.5f));
        const float rumble = rumbleLp.process(rumbleNoise.brown() * 3.0f);
        const double vibrato = 1.0 + 0.004 * std::sin(kTwoPi * 5.5 * t);
        const float tone = whineLp.process(0.6f * whine.saw(whineHz * vibrato) + 0.4f * whine2.sine(whineHz * 1.5 * vibrato));
        return static_cast<float>(level) * (roar + 0.9f * rumble + static_cast<float>(whineLevel) * 0.25f * tone);
    });
}
}  // namespace

Buffer spaceshipLiftOff() {
    const double length = 6.0;
    Buffer dry = engine(length, 211, [&](double t, double& level, double& cutoff, double& whineHz, double& whineLevel) {
        const double rise = std::min(t / 4.0, 1.0);
        level = (0.15 + 0.85 * rise * rise) * window(t, 0.3, 0.6, length);
        cutoff = 300 + 3500 * rise;
        whineHz = 220 + 900 * rise;
        whineLevel = 0.5 + 0.5 * rise;
    });
    // Ignition.
    mixInto(dry, thump(70, 35, 0.05, 0.25), at(0.3), 0.7f);
    mixInto(dry, noiseBlast(213, 200, 2000, 0.1, 0.005, 0.2, true), at(0.3), 0.5f);
    return reverberate(dry, 0.8, 0.5, 0.4f);
}

Buffer spaceshipFliesAway() {
    const double length = 8.0;
    Buffer dry = engine(length, 221, [&](double t, double& level, double& cutoff, double& whineHz, double& whineLevel) {
        const double away = std::min(t / 7.2, 1.0);
        level = std::pow(1.0 - away, 1.6) * window(t, 0.05, 0.8, length);
        cutoff = 3800 * std::pow(1.0 - away, 2.0) + 250;
        whineHz = 1150 - 500 * std::sqrt(away);  // the pitch drops as the ship passes and leaves
        whineLevel = 1.0 - away;
    });
    return reverberate(dry, 0.9, 0.6, 0.6f);
}

Buffer scanner() {
    Buffer dry(samplesFor(1.1), 0.0f);
    auto ping = [](double hz, double decay) {
        Osc a, b;
        return generate(decay * 6, [&, hz](double t) { return (a.sine(hz) + 0.3f * b.sine(hz * 2.01)) * attackDecay(t, 0.002, decay); });
    };
    mixInto(dry, ping(1500, 0.05), 0, 0.5f);
    mixInto(dry, ping(1500, 0.05), at(0.15), 0.5f);
    Osc sweep;
    mixInto(dry, generate(0.4, [&](double t) {
        const double hz = 600 * std::pow(4.0, t / 0.4);
        return sweep.triangle(hz) * window(t, 0.05, 0.08, 0.4);
    }), at(0.32), 0.35f);
    mixInto(dry, ping(2400, 0.09), at(0.75), 0.6f);
    return echo(dry, 0.13, 0.35f, 0.35f, 5000.0);
}

Buffer routeMarker() {
    Buffer dry(samplesFor(0.4), 0.0f);
    Osc a, b;
    mixInto(dry, generate(0.35, [&](double t) { return (a.sine(1760) + 0.4f * b.sine(2640)) * attackDecay(t, 0.003, 0.07); }), 0,
            0.6f);
    Noise noise(231);
    Biquad band = Biquad::bandpass(7000, 3.0);
    mixInto(dry, generate(0.1, [&](double t) { return band.process(noise.white()) * attackDecay(t, 0.002, 0.02); }), 0, 0.3f);
    return reverberate(dry, 0.4, 0.5, 0.3f);
}

Buffer recordFanfare() {
    Buffer dry(samplesFor(3.3), 0.0f);
    // A brass voice: detuned saws whose filter opens with the attack.
    auto brass = [](double midi, double length) {
        Osc a, b, c;
        Biquad lp;
        const double hz = noteHz(midi);
        return generate(length + 0.3, [&, hz, length](double t) {
            const float env = adsr(t, 0.03, 0.1, 0.8, 0.25, length);
            lp.setLowpass(500 + 3500 * env, 1.0);
            const double vibrato = 1.0 + 0.003 * std::sin(kTwoPi * 5.0 * t) * std::min(t / 0.3, 1.0);
            return lp.process(a.saw(hz * vibrato) + b.saw(hz * 1.004 * vibrato) + 0.5f * c.saw(hz * 0.5)) * env * 0.3f;
        });
    };
    const double lead[][3] = {{67, 0.0, 0.1}, {72, 0.13, 0.1}, {76, 0.26, 0.1}, {79, 0.39, 0.45}, {76, 0.88, 0.12}, {79, 1.02, 1.6}};
    for (const auto& n : lead) mixInto(dry, brass(n[0], n[2]), at(n[1]), 0.8f);
    const double chord[] = {48, 55, 60, 64, 67};
    for (double m : chord) mixInto(dry, brass(m, 1.6), at(1.02), 0.35f);
    mixInto(dry, brass(53, 0.4), at(0.39), 0.35f);
    mixInto(dry, brass(55, 0.12), at(0.88), 0.3f);
    // Timpani on the downbeats and a cymbal swell into the final chord.
    mixInto(dry, thump(110, 98, 0.05, 0.3), at(0.39), 0.6f);
    mixInto(dry, thump(85, 73, 0.05, 0.5), at(1.02), 0.8f);
    Noise noise(241);
    Biquad hp = Biquad::highpass(5000);
    mixInto(dry, generate(1.8, [&](double t) { return hp.process(noise.white()) * attackDecay(t, 0.005, 0.5); }), at(1.02), 0.2f);
    return reverberate(dry, 0.7, 0.4, 0.45f);
}

Buffer teleport() {
    Buffer dry(samplesFor(1.4), 0.0f);
    Osc c1, c2, c3, mod;
    mixInto(dry, generate(1.2, [&](double t) {
        const double hz = 180 * std::pow(9.0, std::min(t / 0.9, 1.0));
        const double wobble = 1.0 + 0.02 * std::sin(kTwoPi * 11 * t);
        const float tone = c1.sinePm(hz * wobble, 1.5 * mod.sine(hz * 2.0)) + 0.6f * c2.sine(hz * 1.005) + 0.4f * c3.sine(hz * 0.5 * 1.01);
        return tone * window(t, 0.1, 0.5, 1.2);
    }), 0, 0.35f);
    Noise noise(251);
    Biquad band;
    mixInto(dry, generate(1.0, [&](double t) {
        band.setBandpass(300 * std::pow(20.0, t), 2.0);
        return band.process(noise.white()) * window(t, 0.3, 0.4, 1.0);
    }), 0, 0.8f);
    Buffer wet = echo(dry, 0.09, 0.5f, 0.4f, 6000.0);
    return reverberate(wet, 0.8, 0.3, 0.5f);
}

Buffer forceFieldPass() {
    Buffer dry(samplesFor(1.0), 0.0f);
    // The field's hum as the player crosses it.
    Osc h1, h2, am;
    Biquad band;
    mixInto(dry, generate(0.7, [&](double t) {
        band.setBandpass(600 + 1800 * std::sin(kPi * t / 0.7), 1.2);
        const float buzz = h1.saw(100) + 0.6f * h2.saw(150.5);
        return band.process(buzz) * (0.7f + 0.3f * am.sine(30)) * window(t, 0.05, 0.3, 0.7);
    }), 0, 0.6f);
    // A pleasant two-tone: the field accepted the player.
    const double notes[] = {81, 88};
    for (int k = 0; k < 2; ++k) {
        Osc o;
        const double hz = noteHz(notes[k]);
        mixInto(dry, generate(0.5, [&](double t) { return o.sine(hz) * attackDecay(t, 0.02, 0.12); }), at(0.15 + 0.08 * k), 0.4f);
    }
    return reverberate(dry, 0.5, 0.5, 0.35f);
}

Buffer obstacleRemoved() {
    Buffer dry(samplesFor(1.1), 0.0f);
    // The spray of the repellent.
    Noise noise(261);
    Biquad hp = Biquad::highpass(3000), lp = Biquad::lowpass(9000);
    mixInto(dry, generate(0.4, [&](double t) { return lp.process(hp.process(noise.white())) * window(t, 0.02, 0.15, 0.4); }), 0, 0.5f);
    // The creature's retreating warble, falling away.
    Osc voice, mod;
    Biquad formant = Biquad::bandpass(700, 2.0);
    mixInto(dry, generate(0.75, [&](double t) {
        const double hz = 520 * std::pow(0.3, t / 0.75) * (1.0 + 0.06 * std::sin(kTwoPi * 13 * t));
        return formant.process(voice.sinePm(hz, 2.0 * mod.sine(hz * 0.5))) * window(t, 0.04, 0.35, 0.75);
    }), at(0.2), 0.8f);
    return reverberate(dry, 0.5, 0.5, 0.35f);
}

}  // namespace assetgen::sfx
