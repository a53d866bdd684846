#pragma once
// Where a playing frame's time goes, pass by pass: each pass is bracketed by a GL timer
// query (the time the driver spent drawing it) and by the main thread's clock (the
// time spent handing it over, which under a software renderer includes the vertex
// work). The queries are read back a few frames later, so measuring never waits for
// the driver inside a frame. Off unless asked for (--profile).
#include <array>
#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

class FrameProfiler {
public:
    enum class Pass {
        Gun,
        Cloth,
        SolidCubes,
        Models,
        Drones,
        OtherBlocks,
        Terrain,
        Sky,
        Particles,
        Hud,
        PostProcessing,
        Present,
        Count
    };
    static constexpr size_t kPasses = static_cast<size_t>(Pass::Count);
    static const char* name(Pass pass);

    bool enabled = false;

    // Brackets one pass; a pass may be bracketed several times in a frame (its times add up).
    void begin(Pass pass);
    void end();
    // Adds triangles handed to the driver in the open pass.
    void countTriangles(uint64_t n) {
        if (enabled && open) ring[current].triangles[static_cast<size_t>(openPass)] += n;
    }
    // Closes the frame: its wall time since the last call, and the queries of old frames.
    void endFrame();
    // Per pass, the median and 95th percentile of the GPU and CPU times; then the frame.
    std::string report();
    void release();

    // Opens a pass for a scope.
    class Scope {
    public:
        Scope(FrameProfiler& p, Pass pass) : profiler(p) { profiler.begin(pass); }
        ~Scope() { profiler.end(); }
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

    private:
        FrameProfiler& profiler;
    };

private:
    using Clock = std::chrono::steady_clock;
    struct Interval {
        Pass pass;
        uint32_t query;
    };
    struct Frame {
        std::vector<Interval> intervals;
        std::array<double, kPasses> cpuMs{};
        std::array<bool, kPasses> seen{};
        std::array<uint64_t, kPasses> triangles{};
    };
    static constexpr size_t kLag = 4;  // frames between a query's end and its read-back

    uint32_t takeQuery();
    void collect(Frame& frame, bool wait);

    std::array<Frame, kLag> ring;
    size_t current = 0;
    std::vector<uint32_t> freeQueries;
    bool open = false;
    Pass openPass = Pass::Gun;
    Clock::time_point openedAt;
    Clock::time_point frameStartedAt;
    bool frameStarted = false;
    std::array<std::vector<double>, kPasses> gpuSamples;
    std::array<std::vector<double>, kPasses> cpuSamples;
    std::array<std::vector<double>, kPasses> triangleSamples;
    std::vector<double> frameSamples;
};
