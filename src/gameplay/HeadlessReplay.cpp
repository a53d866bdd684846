#include "gameplay/HeadlessReplay.h"

#include <algorithm>

#include "gameplay/TestAids.h"
#include "util/Random.h"

ReplayHeader headlessReplayHeader(const HeadlessGame& game, uint32_t seed) {
    ReplayHeader header;
    header.gameVersion = std::string(replayGameVersion());
    header.seed = seed;
    header.name = fortressNameForSeed(seed);  // what the game calls the fortress of that seed
    header.recordHours = game.identity.recordHours;
    header.recordMinutes = game.identity.recordMinutes;
    header.recordSeconds = game.identity.recordSeconds;
    header.lookScale = game.session().sceneCamera.lookScale;
    header.invulnerable = game.session().player.invulnerable;
    header.drawsAtStart = randomEngine().drawsSinceSeed();
    return header;
}

int64_t headlessClock(const HeadlessGame& game) {
    return testClockSeconds(game.testClock) - game.identity.playStartTime;
}

ReplayEnd headlessEnding(const HeadlessGame& game, bool goesOn) {
    if (goesOn) return ReplayEnd::Stopped;
    if (game.state == GameState::Quit) return ReplayEnd::Quit;
    return game.session().escapeStage == 4 ? ReplayEnd::Escape : ReplayEnd::Death;
}

HeadlessReplayer::HeadlessReplayer(const ReplayHeader& header) : game(header.seed) {
    drawsAtStart = header.drawsAtStart;
    game.identity.mapName = header.name;
    game.identity.recordHours = header.recordHours;
    game.identity.recordMinutes = header.recordMinutes;
    game.identity.recordSeconds = header.recordSeconds;
    game.identity.formatRecordText();
    game.session().player.invulnerable = header.invulnerable;
    game.session().sceneCamera.lookScale = header.lookScale;
    // The record is checked against the clock the game read, not the frame times summed:
    // a game's calendar runs on while a dialog holds the frames.
    game.session().storeRecordIfBetter = [this] {
        const int64_t elapsed = clockNow - clockAtStart;
        escapeSeconds = elapsed;
        newRecord = game.identity.storeRecordIfBetter(game.identity.playStartTime + elapsed);
        return newRecord;
    };
}

bool HeadlessReplayer::startMatches(std::string& error) const {
    const uint64_t own = randomEngine().drawsSinceSeed();
    if (own == drawsAtStart) return true;
    error = "the recorded game began " + std::to_string(drawsAtStart) + " draws after the seed, this build's start-up makes " +
            std::to_string(own) + " (a later game of its run, or another build's start-up)";
    return false;
}

bool HeadlessReplayer::play(const ReplayFrame& frame) {
    clockNow = frame.clock;
    if (game.framesRun == 0) clockAtStart = frame.clock;
    const bool quitFirst = std::any_of(frame.events.begin(), frame.events.end(),
                                       [](const InputEvent& e) { return e.type == InputType::Quit; });
    if (!frame.escapeAnsweredYes || frame.events.empty() || quitFirst) return game.runFrame(frame.events, frame.dt);
    // Yes: the play keys before the Escape press are handled, then the game goes back
    // to the main menu without the frame's update. The headless game answers No, so the
    // frame stops at a quit in the press's place and the menu is entered as the game does.
    InputEvents before(frame.events.begin(), frame.events.end() - 1);
    before.push_back(InputEvent::quit());
    game.runFrame(before, frame.dt);
    game.state = GameState::MainMenu;
    game.session().deathTimer = 0.0f;
    left = true;
    return false;
}

ReplayEnd HeadlessReplayer::ending(bool goesOn) const {
    if (left && !goesOn) return ReplayEnd::Left;
    return headlessEnding(game, goesOn);
}

std::string recordTimeText(int64_t seconds) {
    int32_t h = 0, m = 0, s = 0;
    splitElapsed(seconds, h, m, s);
    return std::to_string(h) + "h " + std::to_string(m) + "m " + std::to_string(s) + "s";
}
