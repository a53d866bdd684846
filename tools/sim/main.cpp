// velkaran-sim SEED [--frames N] [--dt S] [--script FILE] [--trace-every K] [--invulnerable] [--bot]
// Plays one fortress headless and prints the state as JSON lines on standard output.
#include <charconv>
#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>

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
    std::optional<InputScript> script;
    int64_t traceEvery = 0;
    bool invulnerable = false;
    bool bot = false;
};

bool parseSeed(std::string_view text, uint32_t& value) {
    if (text.empty()) return false;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size();
}

bool parseOptions(int argc, char** argv, Options& out, std::string& error) {
    bool haveSeed = false;
    for (int k = 1; k < argc; ++k) {
        const std::string_view option = argv[k];
        auto value = [&](std::string_view& v) {
            if (k + 1 >= argc) {
                error = "missing value for " + std::string(option);
                return false;
            }
            v = argv[++k];
            return true;
        };
        std::string_view v;
        if (option == "--frames" || option == "--trace-every") {
            int64_t n = 0;
            if (!value(v)) return false;
            if (!parseCount(v, n)) {
                error = "bad count for " + std::string(option) + ": '" + std::string(v) + "'";
                return false;
            }
            (option == "--frames" ? out.frames : out.traceEvery) = n;
        } else if (option == "--dt") {
            if (!value(v)) return false;
            if (!parseFrameTime(v, out.dt)) {
                error = "bad frame time for --dt: '" + std::string(v) + "' (seconds, above 0 and at most 1)";
                return false;
            }
        } else if (option == "--script") {
            if (!value(v)) return false;
            InputScript script;
            const bool ok = v == "-" ? readInputScript(std::cin, script, error)
                                     : loadInputScript(std::string(v), script, error);
            if (!ok) {
                // A bad line is reported as "line N: ..."; a file that cannot be read by its name.
                if (error.rfind("line ", 0) != 0) error = std::string(v) + ": " + error;
                return false;
            }
            out.script = std::move(script);
        } else if (option == "--invulnerable") {
            out.invulnerable = true;
        } else if (option == "--bot") {
            out.bot = true;
        } else if (!option.empty() && option[0] == '-' && option.size() > 1) {
            error = "unknown option '" + std::string(option) + "'";
            return false;
        } else if (!haveSeed) {
            if (!parseSeed(option, out.seed)) {
                error = "bad seed '" + std::string(option) + "' (a decimal number from 0 to 4294967295)";
                return false;
            }
            haveSeed = true;
        } else {
            error = "unexpected argument '" + std::string(option) + "'";
            return false;
        }
    }
    if (!haveSeed) {
        error = std::string("missing SEED; ") + kUsage;
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    std::string error;
    if (!parseOptions(argc, argv, options, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 2;
    }

    HeadlessGame game(options.seed);
    game.session().player.invulnerable = options.invulnerable;
    auto trace = [&] {
        const std::string line =
            traceLine(game.framesRun, game.state, game.session(), randomEngine().drawsSinceSeed());
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
