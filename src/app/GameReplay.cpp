// The windowed game's replays: every game played recorded into the player's files, and
// a recorded game watched again with its pictures and sounds.
#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <ctime>

#include "app/Game.h"
#include "app/InputManager.h"
#include "util/Paths.h"

namespace {

constexpr size_t kReplaysKept = 50;
// Further behind than this, the replay takes up its pace from where it is rather than
// hurrying through frames to catch up.
constexpr double kMostBehindSeconds = 0.25;

}  // namespace

bool Game::openReplay() {
    replay = std::make_unique<ReplayPlayback>();
    std::string error;
    if (!replay->open(aids.replayPath, static_cast<int64_t>(std::time(nullptr)), error)) {
        std::fprintf(stderr, "velkaran: %s\n", error.c_str());
        replay.reset();
        return false;
    }
    return true;
}

void Game::setUpRecording() {
    // The player's own games (those played after a replay too); a scripted test run
    // records only where --record says.
    if (!aids.script) recorder.recordGamesIn(gameFiles().replaysFolder, kReplaysKept);
    // The replay's own game is not recorded again; what is played after it is.
    shell.recorder = replay ? nullptr : &recorder;
}

void Game::replayFrameInput(int64_t frameIndex) {
    InputManager& input = InputManager::instance();
    const bool closed = std::any_of(input.events.begin(), input.events.end(),
                                    [](const InputEvent& e) { return e.type == InputType::Quit; });
    const bool escape = std::any_of(input.events.begin(), input.events.end(), [](const InputEvent& e) {
        return e.type == InputType::KeyDown && e.key == Key::Escape;
    });
    input.clear();
    ReplayFrame recorded;
    if (closed || escape || !replay->next(recorded)) {
        endReplay();
        // Escape, or the end of a file whose game went on (cut short, or stopped): the
        // menus at once, without the question.
        if (shell.state == GameState::Playing) shell.returnToMenu();
        if (closed) input.push(InputEvent::quit());
        return;
    }
    frameDelta = recorded.dt;
    replayCalendar = replay->calendar();
    replayAnswer = replay->answer();
    for (const InputEvent& e : recorded.events) input.push(e);

    if (frameIndex < aids.fastForward) return;
    // Shown at the recorded pace: this frame when the frame times before it have passed.
    const uint32_t nowTicks = SDL_GetTicks();
    if (pacedSeconds < 0.0) {
        paceStartTicks = nowTicks;
        pacedSeconds = 0.0;
    }
    const double elapsed = static_cast<double>(nowTicks - paceStartTicks) / 1000.0;
    if (elapsed < pacedSeconds) {
        SDL_Delay(static_cast<uint32_t>((pacedSeconds - elapsed) * 1000.0));
    } else if (elapsed - pacedSeconds > kMostBehindSeconds) {
        paceStartTicks = nowTicks - static_cast<uint32_t>(pacedSeconds * 1000.0);
    }
    pacedSeconds += static_cast<double>(recorded.dt);
}

void Game::afterReplayFrame() {
    if (shell.state == GameState::Playing) return;
    // The recorded game ended: death, the escape, a Yes, or its window closed, which
    // ends the replay and not the program.
    endReplay();
    if (shell.state == GameState::Quit) shell.returnToMenu();
}

void Game::endReplay() {
    replay.reset();
    replayCalendar.reset();
    replayAnswer.reset();
    shell.recorder = &recorder;
}
