#pragma once
// The game's test aids: scripted input in place of the real input, a fixed frame time,
// a clock that counts the frames instead of the calendar, a trace of the state, and an
// end. They let a run on screen be replayed, compared with the headless game, and
// timed by a benchmark over a fixed walk. Without them the game is unchanged.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "gameplay/GameState.h"
#include "gameplay/InputScript.h"

class Session;

struct TestAids {
    std::optional<InputScript> script;  // set: scripted input, Escape answered No
    std::optional<float> fixedDelta;    // --dt
    std::string tracePath;              // --trace
    int64_t traceEvery = 1;             // --trace-every; 0 = only the last frame
    std::optional<int64_t> frameLimit;  // --frames: quit after that many frames
    int64_t fastForward = 0;            // --fast-forward: frames played without drawing first
    bool referenceDrawing = false;      // --reference-drawing: every triangle, every instance, the full shaders
    bool profile = false;               // --profile: the frame's time by pass, printed at exit

    bool any() const { return script || fixedDelta || !tracePath.empty() || frameLimit || fastForward > 0 || referenceDrawing ||
               profile; }
};

// The values the game's aids and the headless game's options share: a frame time in
// seconds (above 0, at most 1) and a count (a whole number, 0 or more).
bool parseFrameTime(std::string_view text, float& seconds);
bool parseCount(std::string_view text, int64_t& value);

// Reads the command line. On a bad or unknown option returns false with one line of
// explanation in error (the caller prints it and exits with status 2).
bool parseTestAids(int argc, const char* const* argv, TestAids& out, std::string& error);

// Whole seconds of the test clock after `elapsed` seconds of frame time.
inline int64_t testClockSeconds(double elapsed) { return static_cast<int64_t>(elapsed); }

// One line of the trace: the frame count, the state and the player as JSON.
std::string traceLine(int64_t frame, GameState state, const Session& session, uint64_t draws);
