#pragma once
// Every game played, recorded as a replay while it is played: the shell tells the
// recorder when a game starts, hands it each frame as the rules took it, and says how
// the game ended. The writer buffers and writes out once a second of play, so a frame
// never waits for the disk and a killed game still leaves a readable file.
#include <cstddef>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <string>

#include "gameplay/InputEvent.h"
#include "gameplay/Replay.h"

class GameRecorder {
public:
    // The run's first game goes into this file (--record), whatever the folder.
    void recordFirstGameInto(std::filesystem::path file) { firstGameFile = std::move(file); }
    // Games go into the folder (made when first needed; empty: nowhere), named by date,
    // time and fortress, and only the newest `keep` of the folder's replays are kept.
    void recordGamesIn(std::filesystem::path folderPath, size_t keep) {
        folder = std::move(folderPath);
        keepNewest = keep;
        everyGame = true;
    }
    bool wanted() const { return everyGame || !firstGameFile.empty(); }

    // A game starts: its replay is opened and its header written. `calendar` names the
    // file (the local date and time). A file that cannot be made is one line on
    // standard error; the game is played unrecorded.
    void gameStarted(const ReplayHeader& header, std::time_t calendar);
    // One frame of the game; clock as ReplayFrame holds it.
    void frame(float dt, int64_t clock, const InputEvents& events, bool escapeAnsweredYes = false) {
        if (writer.isOpen()) writer.frame(dt, clock, events, escapeAnsweredYes);
    }
    // The game ended: the end line, and the file closed.
    void gameEnded(ReplayEnd reason, uint64_t draws);
    bool recording() const { return writer.isOpen(); }
    // The file of the game being recorded, or of the last one.
    const std::filesystem::path& lastFile() const { return current; }

private:
    std::filesystem::path firstGameFile;
    std::filesystem::path folder;
    size_t keepNewest = 50;
    bool everyGame = false;
    bool firstGame = true;
    std::filesystem::path current;
    ReplayWriter writer;
};

// "2024-05-01_14-03-22_Userof.replay": the local date and time, then the fortress name
// with anything but ASCII letters, digits, '-' and '_' as '_' (at most 40 bytes).
std::string replayFileName(std::time_t when, const std::string& fortressName);
// Removes the oldest replays of the folder (the files named as replayFileName names
// them; the date leads, so their names sort by age) beyond the newest `keep`. Other
// files are left alone.
void pruneReplays(const std::filesystem::path& folder, size_t keep);
