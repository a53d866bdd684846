#include "Synth.h"

#include <algorithm>

namespace assetgen::synth {

namespace {
// Polynomial band-limited step correction around a discontinuity at phase 0.
double polyBlep(double t, double dt) {
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1.0;
    }
    if (t > 1.0 - dt) {
        t = (t - 1.0) / dt;
        return t * t + t + t + 1.0;
    }
    return 0.0;
}
}  // namespace

double Osc::advance(double hz) {
    const double p = phase_;
    phase_ += hz / kRate;
    phase_ -= std::floor(phase_);
    return p;
}

float Osc::sine(double hz) { return static_cast<float>(std::sin(kTwoPi * advance(hz))); }

float Osc::sinePm(double hz, double modulation) {
    return static_cast<float>(std::sin(kTwoPi * advance(hz) + modulation));
}

float Osc::saw(double hz) {
    const double dt = std::min(0.5, std::abs(hz) / kRate);
    const double t = advance(hz);
    return static_cast<float>(2.0 * t - 1.0 - polyBlep(t, dt));
}

float Osc::square(double hz, double width) {
    const double dt = std::min(0.5, std::abs(hz) / kRate);
    const double t = advance(hz);
    double v = t < width ? 1.0 : -1.0;
    v += polyBlep(t, dt);
    double t2 = t + 1.0 - width;
    t2 -= std::floor(t2);
    v -= polyBlep(t2, dt);
    return static_cast<float>(v);
}

float Osc::triangle(double hz) {
    const double t = advance(hz);
    return static_cast<float>(t < 0.5 ? 4.0 * t - 1.0 : 3.0 - 4.0 * t);
}

float Noise::pink() {
    const double w = rng_.bipolar();
    b0_ = 0.99886 * b0_ + w * 0.0555179;
    b1_ = 0.99332 * b1_ + w * 0.0750759;
    b2_ = 0.96900 * b2_ + w * 0.1538520;
    b3_ = 0.86650 * b3_ + w * 0.3104856;
    b4_ = 0.55000 * b4_ + w * 0.5329522;
    b5_ = -0.7616 * b5_ - w * 0.0168980;
    const double out = b0_ + b1_ + b2_ + b3_ + b4_ + b5_ + b6_ + w * 0.5362;
    b6_ = w * 0.115926;
    return static_cast<float>(out * 0.11);
}

float Noise::brown() {
    brown_ = 0.995 * brown_ + 0.1 * rng_.bipolar();
    return static_cast<float>(brown_ * 0.8);
}

float expDecay(double t, double seconds) { return t < 0 ? 0.0f : static_cast<float>(std::exp(-t / seconds)); }

float attackDecay(double t, double attack, double decay) {
    if (t < 0) return 0.0f;
    if (t < attack) return static_cast<float>(t / attack);
    return expDecay(t - attack, decay);
}

float adsr(double t, double attack, double decay, double sustain, double release, double gate) {
    auto level = [&](double u) {
        if (u < attack) return u / attack;
        if (u < attack + decay) return 1.0 - (1.0 - sustain) * (u - attack) / decay;
        return sustain;
    };
    if (t < 0) return 0.0f;
    if (t < gate) return static_cast<float>(level(t));
    const double r = (t - gate) / release;
    return r >= 1.0 ? 0.0f : static_cast<float>(level(gate) * (1.0 - r) * (1.0 - r));
}

float window(double t, double in, double out, double length) {
    if (t < 0 || t > length) return 0.0f;
    double g = 1.0;
    if (in > 0 && t < in) g = t / in;
    if (out > 0 && t > length - out) g = std::min(g, (length - t) / out);
    return static_cast<float>(g);
}

void Biquad::set(double b0, double b1, double b2, double a0, double a1, double a2) {
    b0_ = b0 / a0;
    b1_ = b1 / a0;
    b2_ = b2 / a0;
    a1_ = a1 / a0;
    a2_ = a2 / a0;
}

void Biquad::setLowpass(double hz, double q) {
    const double w = kTwoPi * std::clamp(hz, 10.0, 0.45 * kRate) / kRate;
    const double c = std::cos(w), alpha = std::sin(w) / (2.0 * q);
    set((1 - c) / 2, 1 - c, (1 - c) / 2, 1 + alpha, -2 * c, 1 - alpha);
}

void Biquad::setHighpass(double hz, double q) {
    const double w = kTwoPi * std::clamp(hz, 5.0, 0.45 * kRate) / kRate;
    const double c = std::cos(w), alpha = std::sin(w) / (2.0 * q);
    set((1 + c) / 2, -(1 + c), (1 + c) / 2, 1 + alpha, -2 * c, 1 - alpha);
}

void Biquad::setBandpass(double hz, double q) {
    const double w = kTwoPi * std::clamp(hz, 10.0, 0.45 * kRate) / kRate;
    const double c = std::cos(w), alpha = std::sin(w) / (2.0 * q);
    set(alpha, 0, -alpha, 1 + alpha, -2 * c, 1 - alpha);
}

void Biquad::setPeak(double hz, double q, double gainDb) {
    const double a = std::pow(10.0, gainDb / 40.0);
    const double w = kTwoPi * std::clamp(hz, 10.0, 0.45 * kRate) / kRate;
    const double c = std::cos(w), alpha = std::sin(w) / (2.0 * q);
    set(1 + alpha * a, -2 * c, 1 - alpha * a, 1 + alpha / a, -2 * c, 1 - alpha / a);
}

float Biquad::process(float x) {
    // Transposed direct form II.
    const double y = b0_ * x + z1_;
    z1_ = b1_ * x - a1_ * y + z2_;
    z2_ = b2_ * x - a2_ * y;
    return static_cast<float>(y);
}

float Reverb::Comb::process(float x, float feedback, float damp) {
    const float out = line[pos];
    store = out * (1.0f - damp) + store * damp;
    line[pos] = x + store * feedback;
    if (++pos == line.size()) pos = 0;
    return out;
}

float Reverb::AllPass::process(float x) {
    const float delayed = line[pos];
    line[pos] = x + delayed * 0.5f;
    if (++pos == line.size()) pos = 0;
    return delayed - x;
}

Reverb::Reverb(double roomSize, double damping, double width)
    : feedback_(static_cast<float>(0.7 + 0.28 * roomSize)),
      damp_(static_cast<float>(0.4 * damping)),
      width_(static_cast<float>(width)) {
    static const int combs[] = {1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617};
    static const int allpasses[] = {556, 441, 341, 225};
    const int spread = 23;
    for (int c : combs) {
        combsL_.push_back(Comb{std::vector<float>(static_cast<std::size_t>(c), 0.0f)});
        combsR_.push_back(Comb{std::vector<float>(static_cast<std::size_t>(c + spread), 0.0f)});
    }
    for (int a : allpasses) {
        allL_.push_back(AllPass{std::vector<float>(static_cast<std::size_t>(a), 0.0f)});
        allR_.push_back(AllPass{std::vector<float>(static_cast<std::size_t>(a + spread), 0.0f)});
    }
}

void Reverb::process(float inL, float inR, float& outL, float& outR) {
    const float input = (inL + inR) * 0.015f;
    float l = 0, r = 0;
    for (auto& c : combsL_) l += c.process(input, feedback_, damp_);
    for (auto& c : combsR_) r += c.process(input, feedback_, damp_);
    for (auto& a : allL_) l = a.process(l);
    for (auto& a : allR_) r = a.process(r);
    const float wet1 = 0.5f * (1.0f + width_), wet2 = 0.5f * (1.0f - width_);
    outL = l * wet1 + r * wet2;
    outR = r * wet1 + l * wet2;
}

void mixInto(Buffer& dst, const Buffer& src, std::size_t offset, float gain) {
    if (dst.size() < offset + src.size()) dst.resize(offset + src.size(), 0.0f);
    for (std::size_t i = 0; i < src.size(); ++i) dst[offset + i] += gain * src[i];
}

namespace {
void panGains(float pan, float gain, float& gl, float& gr) {
    // Constant-power pan law.
    const double angle = (std::clamp(pan, -1.0f, 1.0f) + 1.0) * kPi / 4.0;
    gl = gain * static_cast<float>(std::cos(angle) * std::sqrt(2.0));
    gr = gain * static_cast<float>(std::sin(angle) * std::sqrt(2.0));
}
}  // namespace

void mixInto(Stereo& dst, const Buffer& src, std::size_t offset, float gain, float pan) {
    float gl, gr;
    panGains(pan, gain, gl, gr);
    for (std::size_t i = 0; i < src.size() && offset + i < dst.size(); ++i) {
        dst.left[offset + i] += gl * src[i];
        dst.right[offset + i] += gr * src[i];
    }
}

void mixWrapped(Stereo& dst, const Buffer& src, std::size_t offset, float gain, float pan) {
    float gl, gr;
    panGains(pan, gain, gl, gr);
    const std::size_t n = dst.size();
    std::size_t k = offset % n;
    for (std::size_t i = 0; i < src.size(); ++i) {
        dst.left[k] += gl * src[i];
        dst.right[k] += gr * src[i];
        if (++k == n) k = 0;
    }
}

void mixWrapped(Buffer& dst, const Buffer& src, std::size_t offset, float gain) {
    const std::size_t n = dst.size();
    std::size_t k = offset % n;
    for (std::size_t i = 0; i < src.size(); ++i) {
        dst[k] += gain * src[i];
        if (++k == n) k = 0;
    }
}

float peakOf(const Buffer& b) {
    float p = 0;
    for (float v : b) p = std::max(p, std::abs(v));
    return p;
}

double meanOf(const Buffer& b) {
    double s = 0;
    for (float v : b) s += v;
    return b.empty() ? 0.0 : s / static_cast<double>(b.size());
}

void scale(Buffer& b, float gain) {
    for (float& v : b) v *= gain;
}

void fadeEdges(Buffer& b, double inSeconds, double outSeconds) {
    const std::size_t in = std::min(b.size(), samplesFor(inSeconds));
    const std::size_t out = std::min(b.size(), samplesFor(outSeconds));
    // Raised-cosine fades: no corner at either end of the ramp.
    for (std::size_t i = 0; i < in; ++i)
        b[i] *= static_cast<float>(0.5 - 0.5 * std::cos(kPi * static_cast<double>(i) / static_cast<double>(in)));
    for (std::size_t i = 0; i < out; ++i)
        b[b.size() - 1 - i] *= static_cast<float>(0.5 - 0.5 * std::cos(kPi * static_cast<double>(i) / static_cast<double>(out)));
}

void trimTail(Buffer& b, double belowPeakDb) {
    const float threshold = peakOf(b) * dbToGain(-belowPeakDb);
    std::size_t last = b.size();
    while (last > 0 && std::abs(b[last - 1]) <= threshold) --last;
    const std::size_t keep = std::min(b.size(), last + samplesFor(0.01));
    b.resize(keep);
    fadeEdges(b, 0.0, 0.01);
}

void removeDc(Buffer& b, bool looping) {
    Biquad hp = Biquad::highpass(18.0);
    if (looping) {
        for (float v : b) hp.process(v);
    }
    for (float& v : b) v = hp.process(v);
    if (b.empty()) return;
    if (looping) {
        const auto mean = static_cast<float>(meanOf(b));
        for (float& v : b) v -= mean;
        return;
    }
    // Shape 0.5 - 0.5 cos over the buffer: its mean is 1/2, so scale by twice the mean.
    const double mean = meanOf(b);
    const double n = static_cast<double>(b.size());
    for (std::size_t i = 0; i < b.size(); ++i)
        b[i] -= static_cast<float>(2.0 * mean * (0.5 - 0.5 * std::cos(kTwoPi * static_cast<double>(i) / n)));
}

Buffer reverberate(const Buffer& in, double roomSize, double damping, float wet) {
    // Long enough for the tail to fall some 50 dB; the caller trims the rest.
    const double tail = 0.4 + 2.6 * roomSize;
    Reverb reverb(roomSize, damping, 0.0);
    Buffer out(in.size() + samplesFor(tail), 0.0f);
    float l, r;
    for (std::size_t i = 0; i < out.size(); ++i) {
        const float x = i < in.size() ? in[i] : 0.0f;
        reverb.process(x, x, l, r);
        out[i] = x + wet * 0.5f * (l + r);
    }
    fadeEdges(out, 0.0, 0.05);
    return out;
}

Buffer echo(const Buffer& in, double seconds, float feedback, float wet, double toneHz) {
    const std::size_t d = std::max<std::size_t>(1, samplesFor(seconds));
    // Repeats until they are 60 dB down.
    const double repeats = std::log(0.001) / std::log(std::clamp(static_cast<double>(feedback), 0.01, 0.95));
    std::vector<float> line(d, 0.0f);
    OnePole tone(toneHz);
    Buffer out(in.size() + static_cast<std::size_t>(repeats + 1.0) * d, 0.0f);
    std::size_t pos = 0;
    for (std::size_t i = 0; i < out.size(); ++i) {
        const float x = i < in.size() ? in[i] : 0.0f;
        const float delayed = line[pos];
        line[pos] = x + tone.process(delayed) * feedback;
        pos = (pos + 1) % d;
        out[i] = x + wet * delayed;
    }
    fadeEdges(out, 0.0, 0.02);
    return out;
}

}  // namespace assetgen::synth
