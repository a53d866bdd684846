#pragma once
// The game without a window: the start-up of one fortress and its playing frames with
// every rule and every random draw of the game, in the game's order, but no drawing,
// no sound device and no files. The sim, the automatic player, the soak test and the
// benchmarks of the rules run on it.
#include <cstdint>
#include <memory>

#include "gameplay/GameServices.h"
#include "gameplay/GameState.h"
#include "gameplay/InputEvent.h"
#include "gameplay/Session.h"
#include "world/Preferences.h"

class HeadlessGame {
public:
    // Start-up for the fortress of this seed, up to the main menu.
    explicit HeadlessGame(uint32_t seed);

    Session& session() { return *playing; }
    const Session& session() const { return *playing; }

    // One frame in the playing state. The first frame is the one in which button 1 of
    // the main menu is handled: it starts the game, then its own events follow. False
    // when this frame returned to the main menu (death, or the end of the escape).
    bool runFrame(const InputEvents& events, float dt);

    GameState state = GameState::MainMenu;
    int64_t framesRun = 0;
    double testClock = 0.0;  // the frame times summed; the rules read its whole seconds
    bool aboutShown = false;
    bool mapShown = false;
    bool overlayFreeze = false;
    bool statsShown = false;
    FortressIdentity identity;  // the seed's; the record starts at 2 h 0 min 0 s and is never saved
    std::unique_ptr<GameServices> services = std::make_unique<SilentServices>();

private:
    // The in-play part of the menu handler: the overlay keys, the scanner, the
    // screenshot's number; Escape's question is answered No.
    void handlePlayingKeys(const InputEvents& events);
    int64_t now() const { return static_cast<int64_t>(testClock); }

    std::unique_ptr<Session> playing = std::make_unique<Session>();
    bool firstStart = true;
};
