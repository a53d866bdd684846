#pragma once
// Replays on the game without a window: a recorded game played again frame by frame,
// and the header, clock and ending with which the headless game records its own.
#include <cstdint>
#include <optional>
#include <string>

#include "gameplay/HeadlessGame.h"
#include "gameplay/Replay.h"

// The header of the game a fresh headless game of this seed is about to play.
ReplayHeader headlessReplayHeader(const HeadlessGame& game, uint32_t seed);
// The clock the rules read in the frame just run, as a replay records it: whole seconds
// since the game's first frame.
int64_t headlessClock(const HeadlessGame& game);
// How a headless game ended: goesOn is what its last runFrame returned.
ReplayEnd headlessEnding(const HeadlessGame& game, bool goesOn);

// A headless game set up as the replay's header says, which plays its frames.
class HeadlessReplayer {
public:
    explicit HeadlessReplayer(const ReplayHeader& header);
    HeadlessReplayer(const HeadlessReplayer&) = delete;
    HeadlessReplayer& operator=(const HeadlessReplayer&) = delete;

    // False, with the reason, when this build's start-up is not the one the game began
    // from (a later game of its run, or another build's start-up): it would play wrong.
    bool startMatches(std::string& error) const;

    // One recorded frame; false when it returned the game to the main menu or quit.
    bool play(const ReplayFrame& frame);

    HeadlessGame game;
    // The escape's time as the game took it for the record (whole seconds of the clock
    // since the first frame), and whether it beat the record held then.
    std::optional<int64_t> escapeSeconds;
    bool newRecord = false;
    bool left = false;  // the Escape question was answered Yes
    ReplayEnd ending(bool goesOn) const;

private:
    // The Escape question's answer as the recorded game gave it; no sound, no screen.
    struct RecordedAnswers : SilentServices {
        DialogAnswer answer = DialogAnswer::No;
        DialogAnswer askYesNo(const std::string&, const std::string&) override { return answer; }
    };
    RecordedAnswers* answers = nullptr;  // owned by the game
    uint64_t drawsAtStart = 0;
    int64_t clockNow = 0;
    int64_t clockAtStart = 0;
};

// "1h 2m 3s": a time as the game shows its record.
std::string recordTimeText(int64_t seconds);
