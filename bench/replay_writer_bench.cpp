// What recording a game costs a frame: the replay writer taking one frame as the game
// hands it over (a pointer motion, a key now and then, a varying time step), with its
// buffered writes to a real file once a second of play included.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <string>

#include "gameplay/Replay.h"

namespace {

void BM_RecordOneFrame(benchmark::State& state) {
    const std::filesystem::path file =
        std::filesystem::temp_directory_path() / ("velkaran-bench-" + std::to_string(::getpid()) + ".replay");
    ReplayWriter writer;
    std::string error;
    ReplayHeader header;
    header.gameVersion = "bench";
    if (!writer.open(file, header, error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    InputEvents events{InputEvent::motion(0, 0)};
    int32_t k = 0;
    for (auto _ : state) {
        ++k;
        events[0].x = k * 3;
        events[0].y = -k;
        if (k % 50 == 0) events.push_back(InputEvent::keyDown(Key::W));
        else if (events.size() > 1) events.pop_back();
        writer.frame(0.016f + 0.001f * static_cast<float>(k % 7), k / 60, events);
    }
    writer.finish(ReplayEnd::Stopped, 0, error);
    std::filesystem::remove(file);
}
BENCHMARK(BM_RecordOneFrame);

}  // namespace

BENCHMARK_MAIN();
