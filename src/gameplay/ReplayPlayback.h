#pragma once
// A replay watched in the game: the file checked whole before anything is shown, its
// fortress built instead of the player's, then its frames handed out one by one with
// the clock and the Escape answer the recorded game had.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "gameplay/GameServices.h"
#include "gameplay/Replay.h"
#include "world/Preferences.h"

class GameShell;

class ReplayPlayback {
public:
    // Reads the whole file once (a damaged one is refused here, error naming it), then
    // opens it for its frames. calendarBase: the calendar's seconds the game's first
    // frame reads; the recorded clock counts from it.
    bool open(const std::filesystem::path& path, int64_t calendarBase, std::string& error);
    const ReplayHeader& header() const { return head; }
    int64_t framesInFile() const { return frames; }

    // The recorded fortress in place of the player's: its seed, name and record, and
    // nothing read or written (an escape of the replay is not the player's record).
    FortressIdentity fortress() const;
    // The options the rules read, and the game starting on the first frame.
    void setUp(GameShell& shell) const;
    // False, with the reason, when the start-up just made is not the one the recorded
    // game began from (a later game of its run, or another build's start-up).
    bool startMatches(const GameShell& shell, std::string& error) const;

    // The next frame; false at the end of the frames (or for a file changed since it was
    // checked, with one line on standard error).
    bool next(ReplayFrame& frame);
    // The calendar and the Escape answer of the frame last handed out.
    int64_t calendar() const { return base + clock; }
    DialogAnswer answer() const { return yes ? DialogAnswer::Yes : DialogAnswer::No; }

private:
    std::filesystem::path file;
    ReplayHeader head;
    int64_t frames = 0;
    std::ifstream in;
    std::optional<ReplayReader> reader;
    int64_t base = 0;
    int64_t clock = 0;
    bool yes = false;
};
