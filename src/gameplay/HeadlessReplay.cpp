#include "gameplay/HeadlessReplay.h"

#include <memory>

#include "gameplay/TestAids.h"
#include "util/Random.h"

ReplayHeader headlessReplayHeader(const HeadlessGame& game, uint32_t seed) {
    ReplayHeader header;
    header.gameVersion = std::string(replayGameVersion());
    header.seed = seed;
    header.name = fortressNameForSeed(seed);  // what the game calls the fortress of that seed
    header.recordHours = game.shell.fortress.recordHours;
    header.recordMinutes = game.shell.fortress.recordMinutes;
    header.recordSeconds = game.shell.fortress.recordSeconds;
    header.lookScale = game.session().sceneCamera.lookScale;
    header.invulnerable = game.session().player.invulnerable;
    header.drawsAtStart = game.session().random.drawsSinceSeed();
    return header;
}

int64_t headlessClock(const HeadlessGame& game) {
    return testClockSeconds(game.shell.testClock) - game.shell.fortress.playStartTime;
}

ReplayEnd headlessEnding(const HeadlessGame& game, bool goesOn) {
    if (goesOn) return ReplayEnd::Stopped;
    if (game.state == GameState::Quit) return ReplayEnd::Quit;
    return game.session().escapeStage == 4 ? ReplayEnd::Escape : ReplayEnd::Death;
}

HeadlessReplayer::HeadlessReplayer(const ReplayHeader& header) : game(header.seed) {
    auto recorded = std::make_unique<RecordedAnswers>();
    answers = recorded.get();
    game.useServices(std::move(recorded));
    drawsAtStart = header.drawsAtStart;
    game.shell.fortress.mapName = header.name;
    game.shell.fortress.recordHours = header.recordHours;
    game.shell.fortress.recordMinutes = header.recordMinutes;
    game.shell.fortress.recordSeconds = header.recordSeconds;
    game.shell.fortress.formatRecordText();
    game.session().player.invulnerable = header.invulnerable;
    game.session().sceneCamera.lookScale = header.lookScale;
    // The record is checked against the clock the game read, not the frame times summed:
    // a game's calendar runs on while a dialog holds the frames.
    game.session().storeRecordIfBetter = [this] {
        const int64_t elapsed = clockNow - clockAtStart;
        escapeSeconds = elapsed;
        newRecord = game.shell.fortress.storeRecordIfBetter(game.shell.fortress.playStartTime + elapsed);
        return newRecord;
    };
}

bool HeadlessReplayer::startMatches(std::string& error) const {
    const uint64_t own = game.session().random.drawsSinceSeed();
    if (own == drawsAtStart) return true;
    error = "the recorded game began " + std::to_string(drawsAtStart) + " draws after the seed, this build's start-up makes " +
            std::to_string(own) + " (a later game of its run, or another build's start-up)";
    return false;
}

bool HeadlessReplayer::play(const ReplayFrame& frame) {
    clockNow = frame.clock;
    if (game.framesRun == 0) clockAtStart = frame.clock;
    // Yes: the Escape press that ends the frame's events leaves the game for the main
    // menu before the frame's update, as the question's answer did when it was played.
    answers->answer = frame.escapeAnsweredYes ? DialogAnswer::Yes : DialogAnswer::No;
    const bool goesOn = game.runFrame(frame.events, frame.dt);
    if (frame.escapeAnsweredYes && game.state == GameState::MainMenu) left = true;
    return goesOn;
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
