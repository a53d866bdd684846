#pragma once
// The game without a window: the play shell over services that make no sound and
// show nothing, with the test clock, starting the game on its first frame. The sim,
// the automatic player, the soak test and the benchmarks of the rules run on it.
#include <cstdint>
#include <memory>

#include "gameplay/GameServices.h"
#include "gameplay/GameShell.h"
#include "gameplay/InputEvent.h"
#include "gameplay/Session.h"

class HeadlessGame {
public:
    // Start-up for the fortress of this seed, up to the main menu. Its record is
    // 2 h 0 min 0 s and nothing is read or written.
    explicit HeadlessGame(uint32_t seed);
    HeadlessGame(const HeadlessGame&) = delete;
    HeadlessGame& operator=(const HeadlessGame&) = delete;

    Session& session() { return *shell.session; }
    const Session& session() const { return *shell.session; }

    // One frame. The first is the one in which button 1 of the main menu is handled:
    // it starts the game, then its own events follow. False when the game is no longer
    // being played after it (death, the end of the escape, a quit request).
    bool runFrame(const InputEvents& events, float dt);

    // From now on the rules' sounds go to these (a test records them).
    void useServices(std::unique_ptr<GameServices> replacement);

private:
    std::unique_ptr<GameServices> services = std::make_unique<SilentServices>();
    NoModels noModels;  // the session keeps loading through it during play

public:
    GameShell shell{*services};
    const GameState& state = shell.state;
    const int64_t& framesRun = shell.framesRun;
};
