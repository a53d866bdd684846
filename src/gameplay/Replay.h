#pragma once
// Replay files: one game as its fortress, the options the rules read, and the input
// events of every frame with the frame's time step, as the rules received them. The
// rules are deterministic, so that is the whole game; the headless game plays it
// again (velkaran-sim --replay / --verify), and the game can watch it.
//
// The file is text, one record a line (the README describes it in full):
//
//   velkaran-replay 1 game=0.1 seed=1 name=Fiduxaz record=2:0:0 look=1 invulnerable=0 window=0x0 draws=4242
//   0.016666668 1043,512 +w      a frame: its time step, then its events in order
//   = 1051,509 @1                the same time step as the frame before; @1: the clock now reads 1 s
//   *120                         120 frames with the time step before, no events, the clock unchanged
//   end escape frames=14580 draws=1234567
//
// A file cut short (the game was killed) is still a replay: every complete line counts
// and an unfinished last line is left out. Later versions of the format are refused,
// not guessed at, and so is any damage.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <istream>
#include <optional>
#include <string>
#include <string_view>

#include "gameplay/InputEvent.h"

inline constexpr int32_t kReplayFormatVersion = 1;
inline constexpr std::string_view kReplayMagic = "velkaran-replay";

// Bounds of what a reader accepts and a writer writes, so that no file, however made,
// costs more than a line's buffer: SDL queues at most 65535 events, so a frame of the
// game never holds more than that.
inline constexpr size_t kReplayMaxLineBytes = size_t{2} << 20;
inline constexpr size_t kReplayMaxEventsPerFrame = 65536;
inline constexpr uint32_t kReplayMaxRun = 0x7FFFFFFF;
inline constexpr int64_t kReplayMaxFrames = int64_t{1} << 40;
inline constexpr size_t kReplayMaxNameBytes = 255;
inline constexpr size_t kReplayMaxVersionBytes = 64;
inline constexpr float kReplayMaxFrameTime = 1.0f;  // the sim's --dt bound; the game caps at 0.1
inline constexpr int64_t kReplayMaxClock = 0x7FFFFFFF;
inline constexpr int32_t kReplayMaxWindowSide = 100000;

// The build's version string, as the header's game= records it.
std::string_view replayGameVersion();

// Everything beyond the input that changes what the rules do in that game.
struct ReplayHeader {
    std::string gameVersion;  // the project's version of the build that recorded it
    uint32_t seed = 0;        // map_seed: the fortress, and the random engine's seed
    std::string name;         // the fortress name, Windows-1252 bytes (shown, not played)
    // The record held when the game began: an escape that beats it is a new record,
    // which the game announces (a message the trace shows).
    int32_t recordHours = 2;
    int32_t recordMinutes = 0;
    int32_t recordSeconds = 0;
    float lookScale = 1.0f;     // mouse_sensitivity=: the factor on every turn of the view
    bool invulnerable = false;  // the sim's --invulnerable
    // The window the pointer moved in (0 x 0: none, the headless game). The events hold
    // the positions as the rules received them, so a replay does not depend on it.
    int32_t windowWidth = 0;
    int32_t windowHeight = 0;
    // The random engine's outputs since it was seeded with the seed, when the game began:
    // the start-up's draws for the first game of a run. A player compares it with its
    // own start-up, so a file of another build's start-up is refused, not played wrong.
    uint64_t drawsAtStart = 0;
};

// How the recorded game ended.
enum class ReplayEnd : uint8_t {
    Escape,   // the spaceship's escape ran to its end
    Death,    // the death timer returned to the main menu
    Left,     // the Escape question was answered Yes
    Quit,     // the program was closed
    Stopped,  // the recording stopped with the game going on (a frame limit)
};
std::string_view replayEndName(ReplayEnd end);

struct ReplayEnding {
    ReplayEnd reason = ReplayEnd::Stopped;
    int64_t frames = 0;  // frames in the file
    uint64_t draws = 0;  // the random engine's outputs since the seed after the last frame
};

// One frame as the rules received it.
struct ReplayFrame {
    float dt = 0.0f;
    // The rules' clock (the calendar of the record and the play clock), whole seconds
    // since the game's first frame.
    int64_t clock = 0;
    InputEvents events;
    // The last event, an Escape key press, asked the question and it was answered Yes:
    // the game went back to the main menu before the frame's update.
    bool escapeAnsweredYes = false;
};

// A line of frames: one frame, or `repeat` frames alike (no events, the clock unchanged).
struct ReplayRecord {
    ReplayFrame frame;
    uint32_t repeat = 1;
};

// Reads a replay line by line from a stream, never holding more than one line.
// Errors are one line: "line N: reason".
class ReplayReader {
public:
    explicit ReplayReader(std::istream& input) : in(input) {}

    // The first line. An unknown later version is refused before the rest is looked at.
    bool readHeader(ReplayHeader& header, std::string& error);
    // The next line of frames; false at the end of the frames (error empty) or for a
    // damaged line (error set). After the end, ending() says whether the file had its
    // end line (a game killed while it was written has none).
    bool nextRecord(ReplayRecord& record, std::string& error);
    // The next single frame, a line of repeated frames handed out one by one.
    bool nextFrame(ReplayFrame& frame, std::string& error);

    const std::optional<ReplayEnding>& ending() const { return endLine; }
    int64_t framesRead() const { return frames; }

private:
    // One complete line (its '\n' and a '\r' before it removed); false at the end of
    // the input, an unfinished last line included. A line over the bound is an error.
    bool readLine(std::string& error);

    std::istream& in;
    std::string line;
    int64_t lineNumber = 0;
    bool headerRead = false;
    bool haveFrameTime = false;
    float frameTime = 0.0f;
    int64_t clock = 0;
    int64_t frames = 0;
    bool finished = false;   // a frame answered Yes, or the end line: no frame may follow
    bool left = false;       // a frame answered Yes
    std::optional<ReplayEnding> endLine;
    ReplayRecord pending;    // nextFrame's line being handed out
    uint32_t pendingLeft = 0;
};

// Writes the lines of a replay into a string: the header at construction, then each
// frame. Frames alike (no events, the same time step and clock) become one run line
// when the next different frame, settle() or end() comes.
class ReplayEncoder {
public:
    explicit ReplayEncoder(const ReplayHeader& header);

    void frame(const ReplayFrame& frame, uint32_t repeat = 1);
    // Writes the run of frames alike so far, so that the text holds every frame.
    void settle();
    void end(ReplayEnd reason, uint64_t draws);

    // The text written since the last take.
    std::string take();
    int64_t framesWritten() const { return frames; }
    size_t pendingBytes() const { return text.size(); }

private:
    std::string text;
    bool haveFrameTime = false;
    float frameTime = 0.0f;
    int64_t clock = 0;
    int64_t frames = 0;
    uint64_t run = 0;  // frames alike not written yet
};

// Records a game into a file as it is played, for the game and the headless game alike:
// buffered, and written out after every second of play time, so that a process killed
// mid-game leaves a readable replay without at most its last second.
class ReplayWriter {
public:
    ReplayWriter() = default;
    ReplayWriter(const ReplayWriter&) = delete;
    ReplayWriter& operator=(const ReplayWriter&) = delete;
    // Writes what is buffered; without finish() the file has no end line (a game cut short).
    ~ReplayWriter();

    // Creates (or empties) the file and writes the header line at once. False, with
    // one line of reason, when it cannot.
    bool open(const std::filesystem::path& path, const ReplayHeader& header, std::string& error);
    bool isOpen() const { return file != nullptr; }

    // One frame, after the rules ran it: its time step, the clock the rules read in it
    // (whole seconds since the first frame), its events; escapeAnsweredYes as in ReplayFrame.
    void frame(float dt, int64_t clock, const InputEvents& events, bool escapeAnsweredYes = false);
    // The end line, written out with the rest; closes the file. False, with the reason,
    // when any write failed (a full disk): the replay is not complete.
    bool finish(ReplayEnd reason, uint64_t draws, std::string& error);

private:
    bool flush();

    std::FILE* file = nullptr;
    std::filesystem::path path;
    std::optional<ReplayEncoder> encoder;
    double unflushedTime = 0.0;
    bool writeFailed = false;
    int writeErrno = 0;
    bool stopped = false;  // a Yes answer ended the game: later frames are not the game's
};

// Reads a whole file once: its header, and every line checked, so that a damaged file
// is refused before any of it is played. The error names the file.
bool checkReplayFile(const std::filesystem::path& path, ReplayHeader& header, std::optional<ReplayEnding>& ending,
                     int64_t& frames, std::string& error);
