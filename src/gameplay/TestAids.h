#pragma once
// The game's test aids: scripted input in place of the real input, a fixed frame time,
// a clock that counts the frames instead of the calendar, a trace of the state, and an
// end. They let a run on screen be replayed, compared with the headless game, and
// timed by a benchmark over a fixed walk. Without them the game is unchanged.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "gameplay/GameState.h"
#include "gameplay/InputScript.h"

class Session;

struct TestAids {
    std::string scriptPath;             // --script as given ("-": standard input)
    std::optional<InputScript> script;  // set: scripted input, Escape answered No
    std::optional<float> fixedDelta;    // --dt
    std::string tracePath;              // --trace
    int64_t traceEvery = 1;             // --trace-every; 0 = only the last frame
    std::optional<int64_t> frameLimit;  // --frames: quit after that many frames
    int64_t fastForward = 0;            // --fast-forward: frames played without drawing first
    bool referenceDrawing = false;      // --reference-drawing: every triangle, every instance, the full shaders
    bool profile = false;               // --profile: the frame's time by pass, printed at exit
    std::string recordPath;             // --record: the run's first game goes into this replay
    std::string replayPath;             // --replay: the recorded game played again, then the menus

    bool any() const {
        return script || fixedDelta || !tracePath.empty() || frameLimit || fastForward > 0 || referenceDrawing || profile ||
               !recordPath.empty() || !replayPath.empty();
    }
};

// One option of a command line: its name, whether a value follows it, and what it does
// with the value (false, with a one-line reason in error, when it is refused).
struct CommandOption {
    std::string_view name;
    bool takesValue = false;
    std::function<bool(std::string_view value, std::string& error)> apply;
};

// Walks the arguments against the table. An argument that is no option ("-" included)
// goes to positional; without one it is an error. The first refusal stops the walk.
bool parseCommandLine(int argc, const char* const* argv, const std::vector<CommandOption>& options,
                      const std::function<bool(std::string_view, std::string&)>& positional, std::string& error);

// The values the game's aids and the headless game's options share: a frame time in
// seconds (above 0, at most 1, as the float that is used) and a count (a whole number, 0 or more).
bool parseFrameTime(std::string_view text, float& seconds);
bool parseCount(std::string_view text, int64_t& value);

// The rows both command lines are made of, so an option means the same in both.
CommandOption flagOption(std::string_view name, std::function<void()> set);
CommandOption countOption(std::string_view name, std::function<void(int64_t)> store);
CommandOption frameTimeOption(std::function<void(float)> store);  // --dt
// A file name, not empty, kept as given.
CommandOption pathOption(std::string_view name, std::string& store);
// --script keeps the name; loadScriptArgument reads it once the whole line is accepted.
CommandOption scriptOption(std::function<void(std::string_view)> store);
// Reads the script named on a command line ("-": standard input). Errors name it:
// "FILE: line N: reason", "standard input: ...".
bool loadScriptArgument(const std::string& name, InputScript& script, std::string& error);

// The game's test aids, one row per option; a new aid is a new row here.
std::vector<CommandOption> testAidOptions(TestAids& aids);
// Reads the script of accepted aids.
bool loadTestAidScript(TestAids& aids, std::string& error);

// Reads the command line and the script it names. On a bad or unknown option returns
// false with one line of explanation in error (the caller prints it and exits with status 2).
bool parseTestAids(int argc, const char* const* argv, TestAids& out, std::string& error);

// Whole seconds of the test clock after `elapsed` seconds of frame time.
inline int64_t testClockSeconds(double elapsed) { return static_cast<int64_t>(elapsed); }

// One line of the trace: the frame count, the state and the player as JSON.
std::string traceLine(int64_t frame, GameState state, const Session& session, uint64_t draws);
