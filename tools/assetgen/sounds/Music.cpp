// The three music tracks, composed in code: a chord progression per bar, and
// instruments (pads, bass, arpeggios, a lead voice, drums) that play from it. Each
// track is a loop: every note is written modulo the track length and the reverb and
// echo run over the loop twice, so the tails of the last bar ring on into the first.
#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "Designs.h"

namespace assetgen::music {
using namespace synth;

namespace {

// ---------------------------------------------------------------- instruments
// Each renders one note (mono) including its release tail. `seconds` is how long the
// note is held.

Buffer pad(double midi, double seconds, double cutoff, std::uint32_t seed) {
    Rng rng(seed);
    Osc a(rng.uniform()), b(rng.uniform()), c(rng.uniform());
    Biquad lp;
    const double hz = noteHz(midi), release = 1.6;
    const double attack = std::min(0.9, seconds * 0.4);
    Buffer out(samplesFor(seconds + release));
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        if (i % 16 == 0) lp.setLowpass(cutoff * (1.0 + 0.2 * std::sin(kTwoPi * 0.25 * t + midi)), 0.6);
        const float v = (a.saw(hz * 0.9965) + b.saw(hz * 1.0035) + 0.6f * c.saw(hz * 0.5)) * (1.0f / 2.6f);
        out[i] = lp.process(v) * adsr(t, attack, 0.6, 0.8, release, seconds);
    }
    return out;
}

Buffer bass(double midi, double seconds, double bite) {
    Osc saw, sub;
    Biquad lp;
    const double hz = noteHz(midi), release = 0.12;
    Buffer out(samplesFor(seconds + release));
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        const float env = adsr(t, 0.006, 0.25, 0.7, release, seconds);
        if (i % 16 == 0) lp.setLowpass(180 + bite * 900 * std::exp(-t / 0.12), 0.9);
        out[i] = (0.55f * lp.process(saw.saw(hz)) + 0.6f * sub.sine(hz)) * env;
    }
    return out;
}

// Plucked string (Karplus-Strong): a noise burst circulating in a damped delay line.
Buffer pluck(double midi, double seconds, double brightness, std::uint32_t seed) {
    Noise noise(seed);
    const double hz = noteHz(midi);
    const auto period = static_cast<std::size_t>(std::max(2.0, std::round(kRate / hz)));
    std::vector<float> line(period);
    OnePole tone(brightness);
    for (float& v : line) v = tone.process(noise.white());
    const double release = 0.08;
    Buffer out(samplesFor(seconds + release));
    std::size_t pos = 0;
    float last = 0;
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        const float current = line[pos];
        line[pos] = 0.996f * 0.5f * (current + last);
        last = current;
        pos = (pos + 1) % period;
        out[i] = current * adsr(t, 0.002, 0.01, 1.0, release, seconds);
    }
    return out;
}

// Brass-like lead: detuned saws whose filter opens with loudness, with delayed vibrato.
Buffer brass(double midi, double seconds, double brightness) {
    Osc a, b;
    Biquad lp;
    const double hz = noteHz(midi), release = 0.25;
    Buffer out(samplesFor(seconds + release));
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        const float env = adsr(t, 0.05, 0.15, 0.8, release, seconds);
        if (i % 16 == 0) lp.setLowpass(300 + brightness * 2600 * env, 1.1);
        const double vibrato = 1.0 + 0.004 * std::sin(kTwoPi * 5.2 * t) * std::clamp((t - 0.25) / 0.4, 0.0, 1.0);
        out[i] = lp.process(0.5f * (a.saw(hz * vibrato) + b.saw(hz * 1.003 * vibrato))) * env;
    }
    return out;
}

// FM bell: a carrier modulated at an inharmonic ratio with a decaying index.
Buffer bell(double midi, double seconds, double ratio) {
    Osc carrier, modulator;
    const double hz = noteHz(midi), release = 0.3;
    Buffer out(samplesFor(seconds + release));
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double index = 2.5 * std::exp(-t / 0.4) + 0.2;
        out[i] = carrier.sinePm(hz, index * modulator.sine(hz * ratio)) * attackDecay(t, 0.002, 1.1) * adsr(t, 0.0, 0.0, 1.0, release, seconds);
    }
    return out;
}

// Electric piano: FM with a 1:1 ratio for the body plus a short high tine.
Buffer epiano(double midi, double seconds, double velocity) {
    Osc carrier, modulator, tine;
    const double hz = noteHz(midi), release = 0.4;
    Buffer out(samplesFor(seconds + release));
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double index = velocity * 1.6 * std::exp(-t / 0.35) + 0.15;
        const float body = carrier.sinePm(hz, index * modulator.sine(hz));
        const float ting = 0.12f * tine.sine(hz * 14.0) * expDecay(t, 0.015);
        out[i] = (body + ting) * attackDecay(t, 0.003, 1.6) * adsr(t, 0.0, 0.0, 1.0, release, seconds);
    }
    return out;
}

// Soft flute: sine and a little second harmonic, breath noise, delayed vibrato.
Buffer flute(double midi, double seconds, std::uint32_t seed) {
    Osc a, b;
    Noise noise(seed);
    const double hz = noteHz(midi), release = 0.25;
    Biquad breath = Biquad::bandpass(hz * 2.0, 2.0);
    Buffer out(samplesFor(seconds + release));
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double vibrato = 1.0 + 0.005 * std::sin(kTwoPi * 5.0 * t) * std::clamp((t - 0.3) / 0.5, 0.0, 1.0);
        const float env = adsr(t, 0.09, 0.15, 0.85, release, seconds);
        out[i] = (a.sine(hz * vibrato) + 0.15f * b.sine(2 * hz * vibrato) + 0.25f * breath.process(noise.white())) * env;
    }
    return out;
}

Buffer kick(double punch) {
    Osc osc;
    Buffer out(samplesFor(0.45));
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double hz = 45 + 85 * std::exp(-t / 0.03);
        out[i] = osc.sine(hz) * attackDecay(t, 0.002, 0.06 + 0.08 * punch);
    }
    return out;
}

// Tuned drum (toms, timpani): a falling fundamental with two inharmonic partials and
// the mallet's noise.
Buffer drum(double hz, double decay, std::uint32_t seed) {
    Osc f, p1, p2;
    Noise noise(seed);
    Biquad lp = Biquad::lowpass(1500);
    Buffer out(samplesFor(decay * 6 + 0.05));
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double bend = 1.0 + 0.25 * std::exp(-t / 0.04);
        const float tone = f.sine(hz * bend) + 0.35f * p1.sine(hz * 1.51 * bend) * expDecay(t, decay * 0.5) +
                           0.2f * p2.sine(hz * 1.99 * bend) * expDecay(t, decay * 0.35);
        out[i] = tone * attackDecay(t, 0.002, decay) + lp.process(noise.white()) * attackDecay(t, 0.001, 0.012) * 0.6f;
    }
    return out;
}

Buffer snare(std::uint32_t seed) {
    Osc body;
    Noise noise(seed);
    Biquad band = Biquad::bandpass(2200, 0.8);
    Buffer out(samplesFor(0.35));
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        out[i] = 0.5f * body.sine(190) * attackDecay(t, 0.001, 0.04) + band.process(noise.white()) * attackDecay(t, 0.001, 0.07);
    }
    return out;
}

Buffer hat(double decay, double highpassHz, std::uint32_t seed) {
    Noise noise(seed);
    Biquad hp = Biquad::highpass(highpassHz), hp2 = Biquad::highpass(highpassHz);
    Buffer out(samplesFor(decay * 7));
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        out[i] = hp2.process(hp.process(noise.white())) * attackDecay(t, 0.004, decay);
    }
    return out;
}

// Cymbal or noise riser that swells towards the end of `seconds`.
Buffer swell(double seconds, double lowHz, double highHz, std::uint32_t seed) {
    Noise noise(seed);
    Biquad band;
    Buffer out(samplesFor(seconds + 0.05));
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double u = std::min(t / seconds, 1.0);
        if (i % 16 == 0) band.setBandpass(lowHz * std::pow(highHz / lowHz, u), 1.2);
        out[i] = band.process(noise.white()) * static_cast<float>(u * u) * window(t, 0.0, 0.05, seconds + 0.05);
    }
    return out;
}

// ---------------------------------------------------------------- arrangement

// A loop of `bars` bars. Notes are placed by beat; everything wraps at the end.
class Song {
public:
    Song(double bpm, int bars) : beat_(60.0 / bpm), length_(samplesFor(bars * 4 * 60.0 / bpm)), dry_(length_), send_(length_) {}

    double seconds(double beats) const { return beats * beat_; }

    void play(Buffer note, double beat, float gain, float pan, float reverbSend) {
        // Decays are cut where the note's buffer ends: fade that cut.
        fadeEdges(note, 0.0, 0.01);
        const std::size_t offset = samplesFor(beat * beat_) % length_;
        mixWrapped(dry_, note, offset, gain, pan);
        if (reverbSend > 0) mixWrapped(send_, note, offset, gain * reverbSend, pan);
    }

    // Mix the reverb (and an optional echo on the send) back in, circularly.
    Stereo finish(double room, double damping, float reverbLevel, double echoBeats, float echoLevel) {
        Stereo out = dry_;
        Reverb reverb(room, damping);
        float l, r;
        for (int pass = 0; pass < 2; ++pass) {
            for (std::size_t i = 0; i < length_; ++i) {
                reverb.process(send_.left[i], send_.right[i], l, r);
                if (pass == 1) {
                    out.left[i] += reverbLevel * l;
                    out.right[i] += reverbLevel * r;
                }
            }
        }
        if (echoLevel > 0) {
            // Ping-pong echo: each repeat crosses to the other side.
            const std::size_t d = samplesFor(seconds(echoBeats));
            std::vector<float> lineL(d, 0.0f), lineR(d, 0.0f);
            OnePole toneL(3000), toneR(3000);
            std::size_t pos = 0;
            for (int pass = 0; pass < 2; ++pass) {
                for (std::size_t i = 0; i < length_; ++i) {
                    const float el = lineL[pos], er = lineR[pos];
                    lineL[pos] = send_.left[i] + 0.45f * toneR.process(er);
                    lineR[pos] = 0.45f * toneL.process(el);
                    pos = (pos + 1) % d;
                    if (pass == 1) {
                        out.left[i] += echoLevel * el;
                        out.right[i] += echoLevel * er;
                    }
                }
            }
        }
        return out;
    }

private:
    double beat_;
    std::size_t length_;
    Stereo dry_, send_;
};

struct Chord {
    int root;                  // bass note (MIDI)
    std::array<int, 4> tones;  // pad and arpeggio voicing (MIDI), 0 = unused
};

std::vector<int> tonesOf(const Chord& c) {
    std::vector<int> v;
    for (int n : c.tones)
        if (n > 0) v.push_back(n);
    return v;
}

struct Note {
    double beat, midi, length;
};

// Lead line written as (pitch, beats) pairs from a start beat; pitch 0 is a rest.
std::vector<Note> phrase(double start, std::initializer_list<std::pair<int, double>> notes) {
    std::vector<Note> out;
    double beat = start;
    for (const auto& [midi, beats] : notes) {
        if (midi > 0) out.push_back({beat, static_cast<double>(midi), beats});
        beat += beats;
    }
    return out;
}

}  // namespace

// Heroic and mysterious: D minor, 90 beats per minute, sixteen bars.
Stereo mainMenu() {
    Song song(90, 16);
    // Dm Bb Gm A | Dm Bb F C | Gm Bb Dm A | Bb C Dm A
    const Chord chords[16] = {
        {38, {57, 62, 65, 69}}, {34, {58, 62, 65, 70}}, {31, {55, 58, 62, 67}}, {33, {57, 61, 64, 69}},
        {38, {57, 62, 65, 69}}, {34, {58, 62, 65, 70}}, {29, {57, 60, 65, 69}}, {36, {55, 60, 64, 67}},
        {31, {55, 58, 62, 67}}, {34, {58, 62, 65, 70}}, {38, {57, 62, 65, 69}}, {33, {57, 61, 64, 69}},
        {34, {58, 62, 65, 70}}, {36, {55, 60, 64, 67}}, {38, {57, 62, 65, 69}}, {33, {57, 61, 64, 69}},
    };
    for (int bar = 0; bar < 16; ++bar) {
        const Chord& c = chords[bar];
        const double b0 = bar * 4.0;
        const bool intro = bar < 4, last = bar == 15;
        // Strings-like pad; brighter once the theme starts. The last bar lets go early
        // so that the loop's joint falls into a breath.
        const double padCutoff = intro ? 900 : 1700;
        int k = 0;
        for (int n : tonesOf(c)) {
            song.play(pad(n, song.seconds(last ? 2.5 : 4.0), padCutoff, static_cast<std::uint32_t>(bar * 8 + k)), b0,
                      0.16f, -0.5f + 0.33f * static_cast<float>(k), 0.6f);
            ++k;
        }
        // Bass: long notes in the intro, then a driving rhythm.
        if (intro) {
            song.play(bass(c.root, song.seconds(3.8), 0.3), b0, 0.55f, 0.0f, 0.1f);
        } else if (!last) {
            const std::pair<double, double> hits[] = {{0, 1.4}, {1.5, 0.4}, {2, 1.4}, {3.5, 0.4}};
            for (const auto& [at, len] : hits) song.play(bass(c.root, song.seconds(len), 0.7), b0 + at, 0.5f, 0.0f, 0.1f);
        } else {
            song.play(bass(c.root, song.seconds(2.0), 0.5), b0, 0.5f, 0.0f, 0.1f);
        }
        // Harp-like arpeggio in eighths, up and down the chord.
        const std::vector<int> tones = tonesOf(c);
        const int pattern[8] = {0, 1, 2, 3, 4, 3, 2, 1};
        for (int e = 0; e < (last ? 4 : 8); ++e) {
            const int step = pattern[e];
            const int midi = step < 4 ? tones[static_cast<std::size_t>(step)] + 12 : tones[0] + 24;
            song.play(pluck(midi, song.seconds(0.6), 5000, static_cast<std::uint32_t>(1000 + bar * 8 + e)), b0 + 0.5 * e,
                      intro ? 0.22f : 0.16f, e % 2 ? 0.45f : -0.45f, 0.5f);
        }
        // Drums: a timpani stroke per bar in the intro with a roll into the theme, then
        // war drums.
        if (intro || last) {
            song.play(drum(noteHz(c.root + 12), 0.5, static_cast<std::uint32_t>(2000 + bar)), b0, 0.55f, 0.0f, 0.4f);
            if (bar == 3)
                for (int r = 0; r < 8; ++r)
                    song.play(drum(noteHz(45), 0.25, static_cast<std::uint32_t>(2100 + r)), b0 + 2.0 + 0.25 * r,
                              0.12f + 0.05f * static_cast<float>(r), 0.0f, 0.4f);
        } else {
            song.play(kick(1.0), b0, 0.6f, 0.0f, 0.1f);
            song.play(kick(0.6), b0 + 1.5, 0.4f, 0.0f, 0.1f);
            song.play(kick(1.0), b0 + 2.0, 0.55f, 0.0f, 0.1f);
            song.play(drum(150, 0.18, static_cast<std::uint32_t>(2200 + bar)), b0 + 1.0, 0.35f, -0.3f, 0.4f);
            song.play(drum(115, 0.2, static_cast<std::uint32_t>(2300 + bar)), b0 + 3.0, 0.35f, 0.3f, 0.4f);
            song.play(snare(static_cast<std::uint32_t>(2400 + bar)), b0 + 1.0, 0.18f, 0.1f, 0.5f);
            song.play(snare(static_cast<std::uint32_t>(2500 + bar)), b0 + 3.0, 0.18f, 0.1f, 0.5f);
            if (bar == 11 || bar == 14)
                for (int r = 0; r < 4; ++r)
                    song.play(drum(170 - 12 * r, 0.15, static_cast<std::uint32_t>(2600 + bar * 4 + r)), b0 + 3.0 + 0.25 * r, 0.3f,
                              -0.4f + 0.27f * static_cast<float>(r), 0.4f);
        }
    }
    // Cymbal swells into the theme and into the climax.
    song.play(swell(song.seconds(4.0), 3000, 9000, 2700), 12.0, 0.12f, 0.0f, 0.6f);
    song.play(swell(song.seconds(4.0), 3000, 9000, 2701), 44.0, 0.12f, 0.0f, 0.6f);

    // The theme on the brass, from bar 5.
    std::vector<Note> lead = phrase(16.0, {
        {69, 1.5}, {74, 0.5}, {76, 1}, {77, 1},    // Dm
        {77, 1.5}, {76, 0.5}, {74, 1}, {77, 1},    // Bb
        {72, 1.5}, {69, 0.5}, {72, 1}, {77, 1},    // F
        {76, 3}, {0, 1},                           // C
        {74, 1}, {79, 1.5}, {77, 0.5}, {79, 1},    // Gm
        {77, 1}, {74, 1.5}, {70, 0.5}, {74, 1},    // Bb
        {81, 2}, {77, 1}, {74, 1},                 // Dm
        {76, 2}, {73, 1}, {69, 1},                 // A
        {74, 1.5}, {77, 0.5}, {82, 2},             // Bb
        {81, 1}, {79, 1}, {76, 1}, {72, 1},        // C
        {74, 3}, {69, 1},                          // Dm
        {73, 1}, {76, 1},                          // A, then silence into the loop
    });
    for (const Note& n : lead) {
        const bool climax = n.beat >= 48.0;
        song.play(brass(n.midi, song.seconds(n.length * 0.92), climax ? 1.0 : 0.75), n.beat, 0.32f, 0.1f, 0.5f);
        if (climax) song.play(brass(n.midi - 12, song.seconds(n.length * 0.92), 0.6), n.beat, 0.2f, -0.15f, 0.5f);
    }
    return song.finish(0.8, 0.4, 0.9f, 0.0, 0.0f);
}

// Tense ambient: C minor with a flat second, 70 beats per minute, twelve bars.
Stereo inGame() {
    Song song(70, 12);
    // Cm Cm Ab Ab | Fm Fm Db G | Cm Ab Db G
    const Chord chords[12] = {
        {36, {55, 60, 63, 67}}, {36, {55, 60, 63, 67}}, {32, {56, 60, 63, 68}}, {32, {56, 60, 63, 68}},
        {29, {56, 60, 65, 68}}, {29, {56, 60, 65, 68}}, {37, {56, 61, 65, 68}}, {31, {55, 59, 62, 68}},
        {36, {55, 60, 63, 67}}, {32, {56, 60, 63, 68}}, {37, {56, 61, 65, 68}}, {31, {55, 59, 62, 68}},
    };
    for (int bar = 0; bar < 12; ++bar) {
        const Chord& c = chords[bar];
        const double b0 = bar * 4.0;
        // The last bar thins out, so that the loop's joint falls into a quieter moment.
        const bool last = bar == 11;
        // Dark pads, held a little over the bar line so that they cross-fade.
        int k = 0;
        for (int n : tonesOf(c)) {
            song.play(pad(n - 12, song.seconds(last ? 2.5 : 4.3), 650, static_cast<std::uint32_t>(3000 + bar * 8 + k)), b0, 0.2f,
                      -0.6f + 0.4f * static_cast<float>(k), 0.7f);
            ++k;
        }
        // Drone: the root two octaves down, overlapping bar to bar.
        song.play(pad(c.root - 12, song.seconds(last ? 2.5 : 4.5), 220, static_cast<std::uint32_t>(3100 + bar)), b0, 0.45f, 0.0f, 0.2f);
        // Heartbeat.
        song.play(kick(0.8), b0, 0.5f, 0.0f, 0.15f);
        song.play(kick(0.4), b0 + 0.4, 0.3f, 0.0f, 0.15f);
        if (bar >= 4 && !last) {
            song.play(kick(0.8), b0 + 2.0, 0.4f, 0.0f, 0.15f);
            song.play(kick(0.4), b0 + 2.4, 0.25f, 0.0f, 0.15f);
        }
        // Ticking in sixteenths from the third bar, accents off the beat.
        if (bar >= 2)
            for (int s = 0; s < (last ? 8 : 16); ++s) {
                const float accent = (s % 4 == 2) ? 1.0f : (s % 2 ? 0.35f : 0.55f);
                song.play(hat(0.018, 7000, static_cast<std::uint32_t>(3200 + bar * 16 + s)), b0 + 0.25 * s, 0.07f * accent,
                          s % 2 ? 0.35f : -0.35f, 0.2f);
            }
        // Muted low pulse on the offbeats: unease rather than drive.
        if (bar >= 4)
            for (int e = 1; e < (last ? 4 : 8); e += 2)
                song.play(bass(c.root + 12, song.seconds(0.25), 0.4), b0 + 0.5 * e, 0.18f, 0.0f, 0.1f);
    }
    // Risers into the turnarounds.
    song.play(swell(song.seconds(7.5), 400, 3500, 3300), 22.0, 0.12f, -0.3f, 0.8f);
    song.play(swell(song.seconds(7.5), 400, 3500, 3301), 38.0, 0.12f, 0.3f, 0.8f);
    // A sparse bell motif that echoes away: minor second and tritone for tension.
    const std::vector<Note> motif = {
        {8, 79, 1},  {9, 80, 1},   {10.5, 75, 2}, {16, 72, 1}, {17, 73, 1},  {18.5, 79, 2},
        {24, 77, 1}, {25.5, 80, 1}, {26.5, 73, 2}, {32, 79, 1}, {33, 80, 1},  {34.5, 84, 2},
        {40, 80, 1}, {41, 79, 1},  {42.5, 74, 2},
    };
    for (const Note& n : motif) song.play(bell(n.midi, song.seconds(n.length), 3.5), n.beat, 0.12f, 0.2f, 1.0f);
    return song.finish(0.9, 0.5, 1.1f, 0.75, 0.45f);
}

// Calm: F major seventh chords, 72 beats per minute, twelve bars.
Stereo pause() {
    Song song(72, 12);
    // Fmaj7 Dm7 Bbmaj7 C | Fmaj7 Am7 Bbmaj7 C | Dm7 Bbmaj7 Gm7 Csus
    const Chord chords[12] = {
        {41, {60, 64, 65, 69}}, {38, {60, 62, 65, 69}}, {34, {57, 62, 65, 69}}, {36, {55, 60, 64, 67}},
        {41, {60, 64, 65, 69}}, {33, {55, 60, 64, 67}}, {34, {57, 62, 65, 69}}, {36, {55, 60, 64, 67}},
        {38, {60, 62, 65, 69}}, {34, {57, 62, 65, 69}}, {31, {58, 62, 65, 67}}, {36, {55, 60, 65, 67}},
    };
    for (int bar = 0; bar < 12; ++bar) {
        const Chord& c = chords[bar];
        const double b0 = bar * 4.0;
        const std::vector<int> tones = tonesOf(c);
        // The last bar thins out, so that the loop's joint falls into a quieter moment.
        const bool last = bar == 11;
        int k = 0;
        for (int n : tones) {
            const float pan = -0.3f + 0.2f * static_cast<float>(k++);
            song.play(epiano(n, song.seconds(2.3), 0.8), b0, 0.13f, pan, 0.5f);
            if (!last) song.play(epiano(n, song.seconds(1.4), 0.5), b0 + 2.5, 0.08f, pan, 0.5f);
        }
        for (int n : tones)
            song.play(pad(n, song.seconds(last ? 2.5 : 4.2), 1000, static_cast<std::uint32_t>(4000 + bar * 8 + (n % 8))), b0, 0.06f, 0.0f, 0.8f);
        song.play(bass(c.root, song.seconds(2.7), 0.15), b0, 0.45f, 0.0f, 0.1f);
        if (!last) song.play(bass(c.root + 7, song.seconds(0.9), 0.15), b0 + 3.0, 0.3f, 0.0f, 0.1f);
        // A music-box figure in quarters, high and soft.
        for (int q = 0; q < 4; ++q)
            song.play(bell(tones[static_cast<std::size_t>((q * 2 + bar) % 4)] + 24, song.seconds(0.9), 2.0), b0 + q + 0.5,
                      0.045f, q % 2 ? 0.5f : -0.5f, 0.9f);
        // Brushed shaker in eighths from the fifth bar.
        if (bar >= 4)
            for (int e = 0; e < (last ? 4 : 8); ++e)
                song.play(hat(0.03, 5000, static_cast<std::uint32_t>(4200 + bar * 8 + e)), b0 + 0.5 * e, e % 2 ? 0.05f : 0.03f,
                          0.25f, 0.3f);
    }
    // A slow flute melody over the second half.
    std::vector<Note> melody = phrase(16.0, {
        {72, 2}, {69, 1}, {67, 1},        // Fmaj7
        {69, 3}, {64, 1},                 // Am7
        {65, 1.5}, {67, 0.5}, {69, 2},    // Bbmaj7
        {67, 3}, {0, 1},                  // C
        {69, 2}, {72, 1}, {74, 1},        // Dm7
        {72, 1.5}, {69, 0.5}, {65, 2},    // Bbmaj7
        {67, 2}, {70, 2},                 // Gm7
        {69, 2.5}, {0, 1.5},              // Csus, fading into the loop
    });
    for (const Note& n : melody)
        song.play(flute(n.midi, song.seconds(n.length * 0.95), static_cast<std::uint32_t>(n.beat * 10)), n.beat, 0.16f, 0.15f, 0.6f);
    return song.finish(0.85, 0.6, 1.0f, 0.75, 0.25f);
}

}  // namespace assetgen::music
