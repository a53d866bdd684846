// The headless game's cost per frame once all 60 drones are awake: the rules alone,
// as the sim and the automatic player pay them.
#include <benchmark/benchmark.h>

#include "gameplay/HeadlessGame.h"

namespace {

constexpr float kDt = 1.0f / 60.0f;

void BM_FrameWithSixtyDronesAwake(benchmark::State& state) {
    HeadlessGame game(4242);
    game.session().player.invulnerable = true;  // the run must not end in death
    while (game.session().activeEnemyCount < 60) game.runFrame({}, kDt);
    int32_t turn = 0;
    for (auto _ : state) {
        // Turning on the spot keeps the player in play while the drones close in.
        game.runFrame({InputEvent::motion(turn += 5, 0)}, kDt);
    }
    state.counters["awake"] = game.session().activeEnemyCount;
}
BENCHMARK(BM_FrameWithSixtyDronesAwake)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
