// velkaran-sim SEED [--frames N] [--dt S] [--script FILE] [--trace-every K] [--invulnerable] [--bot]
// Plays one fortress headless and prints the state as JSON lines on standard output.
#include <charconv>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "gameplay/Bot.h"
#include "gameplay/HeadlessGame.h"
#include "gameplay/InputScript.h"
#include "gameplay/TestAids.h"
#include "util/Random.h"

namespace {

constexpr const char* kUsage =
    "usage: velkaran-sim SEED [--frames N] [--dt S] [--script FILE] [--trace-every K] [--invulnerable] [--bot]";

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
};

bool parseSeed(std::string_view text, uint32_t& value) {
    if (text.empty()) return false;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size();
}

// The options the game also takes are the game's own rows (gameplay/TestAids.h).
bool parseOptions(int argc, char** argv, Options& out, std::string& error) {
    const std::vector<CommandOption> table = {
        countOption("--frames", [&out](int64_t n) { out.frames = n; }),
        frameTimeOption([&out](float dt) { out.dt = dt; }),
        scriptOption([&out](std::string_view v) { out.scriptPath = std::string(v); }),
        countOption("--trace-every", [&out](int64_t n) { out.traceEvery = n; }),
        flagOption("--invulnerable", [&out] { out.invulnerable = true; }),
        flagOption("--bot", [&out] { out.bot = true; }),
        flagOption("--help", [&out] { out.help = true; }),
        flagOption("-h", [&out] { out.help = true; }),
    };
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
    if (!haveSeed) {
        error = std::string("missing SEED; ") + kUsage;
        return false;
    }
    if (!out.scriptPath.empty()) {
        InputScript script;
        if (!loadScriptArgument(out.scriptPath, script, error)) return false;
        out.script = std::move(script);
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    std::string error;
    if (!parseOptions(argc, argv, options, error)) {
        std::fprintf(stderr, "velkaran-sim: %s\n", error.c_str());
        return 2;
    }
    if (options.help) {
        std::puts(kUsage);
        return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
    }

    HeadlessGame game(options.seed);
    game.session().player.invulnerable = options.invulnerable;
    auto trace = [&] {
        const std::string line =
            traceLine(game.framesRun, game.state, game.session(), game.session().random.drawsSinceSeed());
        std::fputs(line.c_str(), stdout);
        std::fputc('\n', stdout);
    };
    if (options.frames == 0) {
        trace();
        return options.bot ? 1 : 0;
    }

    Bot bot;
    bool won = false;
    for (int64_t frame = 0; frame < options.frames; ++frame) {
        InputEvents events;
        if (options.script) events = options.script->eventsAt(static_cast<uint32_t>(frame));
        if (options.bot && frame > 0) {
            // The bot sees the frame before, as a player sees the screen.
            const InputEvents own = bot.nextFrame(game.session(), options.dt);
            events.insert(events.end(), own.begin(), own.end());
        }
        const bool goesOn = game.runFrame(events, options.dt);
        const bool last = !goesOn || frame + 1 == options.frames;
        if (last || (options.traceEvery > 0 && game.framesRun % options.traceEvery == 0)) trace();
        if (!goesOn) {
            won = game.session().escapeStage == 4;
            break;
        }
    }
    std::fflush(stdout);
    if (options.bot) return won ? 0 : 1;
    return 0;
}
