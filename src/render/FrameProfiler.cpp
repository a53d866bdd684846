#include "render/FrameProfiler.h"

#include <GL/glew.h>

#include <algorithm>
#include <cstdio>

namespace {

struct Spread {
    double median = 0.0;
    double p95 = 0.0;
};

Spread spreadOf(std::vector<double> samples) {
    if (samples.empty()) return {};
    std::sort(samples.begin(), samples.end());
    const size_t n = samples.size();
    const double median = n % 2 ? samples[n / 2] : 0.5 * (samples[n / 2 - 1] + samples[n / 2]);
    return {median, samples[static_cast<size_t>(0.95 * static_cast<double>(n - 1))]};
}

}  // namespace

const char* FrameProfiler::name(Pass pass) {
    static const char* const names[kPasses] = {"gun",     "cloth", "solid cubes", "models",   "drones",
                                               "other blocks", "terrain", "sky", "particles", "HUD",
                                               "post-processing", "present"};
    return names[static_cast<size_t>(pass)];
}

uint32_t FrameProfiler::takeQuery() {
    if (freeQueries.empty()) {
        GLuint q = 0;
        glGenQueries(1, &q);
        return q;
    }
    const uint32_t q = freeQueries.back();
    freeQueries.pop_back();
    return q;
}

void FrameProfiler::begin(Pass pass) {
    if (!enabled || open) return;
    open = true;
    openPass = pass;
    const uint32_t query = takeQuery();
    ring[current].intervals.push_back({pass, query});
    glBeginQuery(GL_TIME_ELAPSED, query);
    openedAt = Clock::now();
}

void FrameProfiler::end() {
    if (!enabled || !open) return;
    glEndQuery(GL_TIME_ELAPSED);
    const size_t p = static_cast<size_t>(openPass);
    ring[current].cpuMs[p] += std::chrono::duration<double, std::milli>(Clock::now() - openedAt).count();
    ring[current].seen[p] = true;
    open = false;
}

void FrameProfiler::collect(Frame& frame, bool wait) {
    std::array<double, kPasses> gpuMs{};
    for (const Interval& i : frame.intervals) {
        GLint available = 0;
        if (!wait) {
            glGetQueryObjectiv(i.query, GL_QUERY_RESULT_AVAILABLE, &available);
            if (!available) wait = true;  // the driver is behind: take it anyway, at the frame's end
        }
        GLuint64 ns = 0;
        glGetQueryObjectui64v(i.query, GL_QUERY_RESULT, &ns);
        gpuMs[static_cast<size_t>(i.pass)] += static_cast<double>(ns) / 1.0e6;
        freeQueries.push_back(i.query);
    }
    for (size_t p = 0; p < kPasses; ++p) {
        if (!frame.seen[p]) continue;
        gpuSamples[p].push_back(gpuMs[p]);
        cpuSamples[p].push_back(frame.cpuMs[p]);
        triangleSamples[p].push_back(static_cast<double>(frame.triangles[p]));
    }
    frame = Frame{};
}

void FrameProfiler::endFrame() {
    if (!enabled) return;
    const Clock::time_point now = Clock::now();
    if (frameStarted) frameSamples.push_back(std::chrono::duration<double, std::milli>(now - frameStartedAt).count());
    frameStarted = true;
    frameStartedAt = now;
    current = (current + 1) % kLag;
    collect(ring[current], false);  // the oldest frame in the ring
}

std::string FrameProfiler::report() {
    if (!enabled) return {};
    for (size_t k = 1; k <= kLag; ++k) collect(ring[(current + k) % kLag], true);
    std::string out = "pass               GPU median    p95   CPU median    p95  (ms)   triangles median\n";
    char line[160];
    for (size_t p = 0; p < kPasses; ++p) {
        if (cpuSamples[p].empty()) continue;
        const Spread gpu = spreadOf(gpuSamples[p]);
        const Spread cpu = spreadOf(cpuSamples[p]);
        std::snprintf(line, sizeof line, "%-16s %10.2f %7.2f %10.2f %7.2f %18.0f\n", name(static_cast<Pass>(p)),
                      gpu.median, gpu.p95, cpu.median, cpu.p95, spreadOf(triangleSamples[p]).median);
        out += line;
    }
    const Spread frame = spreadOf(frameSamples);
    std::snprintf(line, sizeof line, "frame (wall)     %10.2f %7.2f   over %zu frames\n", frame.median, frame.p95,
                  frameSamples.size());
    out += line;
    return out;
}

void FrameProfiler::release() {
    for (Frame& f : ring) {
        for (const Interval& i : f.intervals) freeQueries.push_back(i.query);
        f = Frame{};
    }
    if (!freeQueries.empty()) glDeleteQueries(static_cast<GLsizei>(freeQueries.size()), freeQueries.data());
    freeQueries.clear();
}
