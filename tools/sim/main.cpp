// velkaran-sim SEED [--frames N] [--dt S] [--script FILE] [--trace-every K] [--invulnerable] [--bot] [--record FILE]
// velkaran-sim --replay FILE [--frames N] [--trace-every K]
// velkaran-sim --verify FILE
// Plays one fortress headless and prints the state as JSON lines on standard output;
// records the game as a replay, plays a replay again, or checks what a replay's game came to.
#include <charconv>
#include <cstdio>
#include <fstream>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "gameplay/Bot.h"
#include "gameplay/HeadlessGame.h"
#include "gameplay/HeadlessReplay.h"
#include "gameplay/InputScript.h"
#include "gameplay/Replay.h"
#include "gameplay/TestAids.h"
#include "util/Random.h"
#include "util/Windows1252.h"

namespace {

// The first line alone is the usage in the one-line error of a missing SEED.
constexpr const char* kUsageLine =
    "usage: velkaran-sim SEED [--frames N] [--dt S] [--script FILE] [--trace-every K] [--invulnerable] [--bot] "
    "[--record FILE]";
constexpr const char* kUsageReplays =
    "       velkaran-sim --replay FILE [--frames N] [--trace-every K]\n"
    "       velkaran-sim --verify FILE";

struct Options {
    uint32_t seed = 0;
    int64_t frames = 3600;
    float dt = 1.0f / 60.0f;
    std::string scriptPath;
    std::optional<InputScript> script;
    int64_t traceEvery = 0;
    bool invulnerable = false;
    bool bot = false;
    bool help = false;
    std::string recordPath;  // --record
    std::string replayPath;  // --replay
    std::string verifyPath;  // --verify
    std::set<std::string_view> given;
};

bool parseSeed(std::string_view text, uint32_t& value) {
    if (text.empty()) return false;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size();
}

// The options the game also takes are the game's own rows (gameplay/TestAids.h).
bool parseOptions(int argc, char** argv, Options& out, std::string& error) {
    std::vector<CommandOption> table = {
        countOption("--frames", [&out](int64_t n) { out.frames = n; }),
        frameTimeOption([&out](float dt) { out.dt = dt; }),
        scriptOption([&out](std::string_view v) { out.scriptPath = std::string(v); }),
        countOption("--trace-every", [&out](int64_t n) { out.traceEvery = n; }),
        flagOption("--invulnerable", [&out] { out.invulnerable = true; }),
        flagOption("--bot", [&out] { out.bot = true; }),
        flagOption("--help", [&out] { out.help = true; }),
        flagOption("-h", [&out] { out.help = true; }),
        pathOption("--record", out.recordPath),
        pathOption("--replay", out.replayPath),
        pathOption("--verify", out.verifyPath),
    };
    for (CommandOption& row : table) {
        row.apply = [&given = out.given, name = row.name, inner = std::move(row.apply)](std::string_view v,
                                                                                       std::string& why) {
            given.insert(name);
            return inner(v, why);
        };
    }
    bool haveSeed = false;
    auto seed = [&](std::string_view argument, std::string& why) {
        if (haveSeed) {
            why = "unexpected argument '" + std::string(argument) + "'";
            return false;
        }
        if (!parseSeed(argument, out.seed)) {
            why = "bad seed '" + std::string(argument) + "' (a decimal number from 0 to 4294967295)";
            return false;
        }
        haveSeed = true;
        return true;
    };
    if (!parseCommandLine(argc, argv, table, seed, error)) return false;
    if (out.help) {
        if (argc == 2) return true;
        error = "--help takes no other arguments";
        return false;
    }
    // A replay brings its own fortress and options; only how much of it to play and
    // how to trace it are the command line's.
    for (const auto& [mode, allowed] : {std::pair<std::string_view, std::set<std::string_view>>{
                                            "--replay", {"--replay", "--frames", "--trace-every"}},
                                        {"--verify", {"--verify"}}}) {
        if (!out.given.count(mode)) continue;
        if (haveSeed) {
            error = std::string(mode) + " takes the seed from the replay, not a SEED";
            return false;
        }
        for (const std::string_view name : out.given)
            if (!allowed.count(name)) {
                error = std::string(mode) + " does not go with " + std::string(name);
                return false;
            }
        return true;
    }
    if (!haveSeed) {
        error = std::string("missing SEED; ") + kUsageLine;
        return false;
    }
    if (!out.scriptPath.empty()) {
        InputScript script;
        if (!loadScriptArgument(out.scriptPath, script, error)) return false;
        out.script = std::move(script);
    }
    return true;
}

void printTrace(const HeadlessGame& game) {
    const std::string line = game.shell.traceLine();
    std::fputs(line.c_str(), stdout);
    std::fputc('\n', stdout);
}

int fail(const std::string& error) {
    std::fprintf(stderr, "velkaran-sim: %s\n", error.c_str());
    return 2;
}

// Plays a checked replay's frames (at most limit) on a game set up from its header;
// traceEvery < 0 prints nothing. Returns 2 with the reason for a file that cannot be
// played, else 0 with played and goesOn set.
int playReplay(const std::string& path, HeadlessReplayer& replayer, int64_t total, int64_t traceEvery,
               int64_t& played, bool& goesOn) {
    std::string error;
    if (!replayer.startMatches(error)) return fail(path + ": " + error);
    HeadlessGame& game = replayer.game;
    played = 0;
    goesOn = true;
    if (total == 0) {
        if (traceEvery >= 0) printTrace(game);
        return 0;
    }
    std::ifstream in(path, std::ios::binary);
    ReplayReader reader(in);
    ReplayHeader header;
    if (!reader.readHeader(header, error)) return fail(path + ": " + error);
    ReplayFrame frame;
    while (played < total) {
        if (!reader.nextFrame(frame, error)) {
            // The file was checked: it changed since, or cannot be read any more.
            return fail(path + ": " + (error.empty() ? std::string("ended before its frames") : error));
        }
        goesOn = replayer.play(frame);
        ++played;
        const bool last = !goesOn || played == total;
        if (traceEvery >= 0 && (last || (traceEvery > 0 && game.framesRun % traceEvery == 0))) printTrace(game);
        if (!goesOn) break;
    }
    return 0;
}

// A replay played to its end that did not come where the recording did: this build's
// rules are not the recording build's (or the file was edited). Said, not fatal: what
// the replay shows is what this build's rules make of the input.
void reportParting(const std::string& path, const HeadlessReplayer& replayer, const std::optional<ReplayEnding>& ending,
                   int64_t fileFrames, int64_t played, bool goesOn) {
    const ReplayEnd reason = replayer.ending(goesOn);
    const uint64_t draws = replayer.game.session().random.drawsSinceSeed();
    std::string why;
    if (ending && (ending->reason != reason || ending->frames != played || ending->draws != draws)) {
        why = "recorded: " + std::string(replayEndName(ending->reason)) + " after " + std::to_string(ending->frames) +
              " frames, " + std::to_string(ending->draws) + " draws; replayed: " + std::string(replayEndName(reason)) +
              " after " + std::to_string(played) + " frames, " + std::to_string(draws) + " draws";
    } else if (!ending && played < fileFrames) {
        why = "the game ended after " + std::to_string(played) + " of the file's " + std::to_string(fileFrames) + " frames";
    }
    if (!why.empty())
        std::fprintf(stderr, "velkaran-sim: %s: the replay parted from the recorded game (%s)\n", path.c_str(),
                     why.c_str());
}

int replayCommand(const Options& options) {
    const bool verify = !options.verifyPath.empty();
    const std::string& path = verify ? options.verifyPath : options.replayPath;
    ReplayHeader header;
    std::optional<ReplayEnding> ending;
    int64_t fileFrames = 0;
    std::string error;
    if (!checkReplayFile(path, header, ending, fileFrames, error)) return fail(error);

    const bool limited = !verify && options.given.count("--frames") && options.frames < fileFrames;
    const int64_t total = limited ? options.frames : fileFrames;
    HeadlessReplayer replayer(header);
    int64_t played = 0;
    bool goesOn = true;
    if (const int status = playReplay(path, replayer, total, verify ? -1 : options.traceEvery, played, goesOn))
        return status;
    if (!limited) reportParting(path, replayer, ending, fileFrames, played, goesOn);
    if (std::fflush(stdout) != 0) return 1;
    if (!verify) return 0;

    // One line whatever the name holds: a control byte would break it.
    std::string name = header.name;
    for (char& c : name)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) c = '?';
    name = name.empty() ? std::string("(unnamed)") : windows1252ToUtf8(name);
    std::string line = "fortress " + name + " (seed " + std::to_string(header.seed) + "): ";
    const bool escaped = !goesOn && replayer.ending(goesOn) == ReplayEnd::Escape && replayer.escapeSeconds;
    if (escaped) {
        line += "escaped in " + recordTimeText(*replayer.escapeSeconds);
        const int64_t before = int64_t{header.recordHours} * 3600 + header.recordMinutes * 60 + header.recordSeconds;
        line += replayer.newRecord ? ", a new record (it was " + recordTimeText(before) + ")"
                                   : ", not better than the record " + recordTimeText(before);
    } else {
        line += "not escaped (";
        switch (replayer.ending(goesOn)) {
            case ReplayEnd::Death: line += "died"; break;
            case ReplayEnd::Left: line += "left the game"; break;
            case ReplayEnd::Quit: line += "quit"; break;
            default: line += "still playing"; break;
        }
        line += " after " + std::to_string(played) + " frames)";
    }
    std::puts(line.c_str());
    if (std::fflush(stdout) != 0) return 1;
    return escaped ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    std::string error;
    if (!parseOptions(argc, argv, options, error)) return fail(error);
    if (options.help) {
        std::printf("%s\n%s\n", kUsageLine, kUsageReplays);
        return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
    }
    if (!options.replayPath.empty() || !options.verifyPath.empty()) return replayCommand(options);

    HeadlessGame game(options.seed);
    game.session().player.invulnerable = options.invulnerable;
    ReplayWriter recording;
    if (!options.recordPath.empty() &&
        !recording.open(options.recordPath, headlessReplayHeader(game, options.seed), error))
        return fail(error);
    auto finishRecording = [&](bool goesOn) {
        if (!recording.isOpen()) return true;
        if (recording.finish(headlessEnding(game, goesOn), game.session().random.drawsSinceSeed(), error)) return true;
        std::fprintf(stderr, "velkaran-sim: %s\n", error.c_str());
        return false;
    };
    if (options.frames == 0) {
        printTrace(game);
        if (!finishRecording(true)) return 2;
        return options.bot ? 1 : 0;
    }

    Bot bot;
    bool won = false;
    bool goesOn = true;
    for (int64_t frame = 0; frame < options.frames; ++frame) {
        InputEvents events;
        if (options.script) events = options.script->eventsAt(static_cast<uint32_t>(frame));
        if (options.bot && frame > 0) {
            // The bot sees the frame before, as a player sees the screen.
            const InputEvents own = bot.nextFrame(game.session(), options.dt);
            events.insert(events.end(), own.begin(), own.end());
        }
        goesOn = game.runFrame(events, options.dt);
        recording.frame(options.dt, headlessClock(game), events);
        const bool last = !goesOn || frame + 1 == options.frames;
        if (last || (options.traceEvery > 0 && game.framesRun % options.traceEvery == 0)) printTrace(game);
        if (!goesOn) {
            won = game.session().escapeStage == 4;
            break;
        }
    }
    std::fflush(stdout);
    if (!finishRecording(goesOn)) return 2;
    if (options.bot) return won ? 0 : 1;
    return 0;
}
