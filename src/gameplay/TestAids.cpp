#include "gameplay/TestAids.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <iostream>
#include <sstream>
#include <string_view>

#include "gameplay/Session.h"
#include "util/Windows1252.h"

namespace {

// Floats as the trace wants them: enough digits to tell two runs apart.
std::string number(double v) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.9g", v);
    return buffer;
}

std::string vec3Json(const glm::vec3& v) {
    return "[" + number(v.x) + ", " + number(v.y) + ", " + number(v.z) + "]";
}

const char* boolean(bool b) { return b ? "true" : "false"; }

std::string jsonString(const std::string& utf8) {
    std::string out = "\"";
    for (const char ch : utf8) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += ch;
        } else if (c < 0x20) {
            char buffer[8];
            std::snprintf(buffer, sizeof buffer, "\\u%04x", static_cast<unsigned>(c));
            out += buffer;
        } else {
            out += ch;
        }
    }
    return out + "\"";
}

}  // namespace

bool parseFrameTime(std::string_view text, float& seconds) {
    double value = 0.0;
    if (text.empty()) return false;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) return false;
    // The frame time is a float: 1e-300 is a double above 0 but a frame time of 0.
    const auto used = static_cast<float>(value);
    if (!(used > 0.0f) || used > 1.0f) return false;
    seconds = used;
    return true;
}

bool parseCount(std::string_view text, int64_t& value) {
    if (text.empty()) return false;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size() && value >= 0;
}

bool parseCommandLine(int argc, const char* const* argv, const std::vector<CommandOption>& options,
                      const std::function<bool(std::string_view, std::string&)>& positional, std::string& error) {
    for (int k = 1; k < argc; ++k) {
        const std::string_view argument = argv[k];
        const bool looksLikeOption = argument.size() > 1 && argument[0] == '-';
        if (!looksLikeOption) {
            if (positional) {
                if (!positional(argument, error)) return false;
                continue;
            }
            error = "unexpected argument '" + std::string(argument) + "'";
            return false;
        }
        const auto row = std::find_if(options.begin(), options.end(),
                                      [&](const CommandOption& o) { return o.name == argument; });
        if (row == options.end()) {
            error = "unknown option '" + std::string(argument) + "'";
            return false;
        }
        std::string_view value;
        if (row->takesValue) {
            if (k + 1 >= argc) {
                error = "missing value for " + std::string(argument);
                return false;
            }
            value = argv[++k];
        }
        if (!row->apply(value, error)) return false;
    }
    return true;
}

CommandOption flagOption(std::string_view name, std::function<void()> set) {
    return {name, false, [set = std::move(set)](std::string_view, std::string&) {
                set();
                return true;
            }};
}

CommandOption countOption(std::string_view name, std::function<void(int64_t)> store) {
    return {name, true, [name, store = std::move(store)](std::string_view v, std::string& error) {
                int64_t n = 0;
                if (!parseCount(v, n)) {
                    error = "bad count for " + std::string(name) + ": '" + std::string(v) + "'";
                    return false;
                }
                store(n);
                return true;
            }};
}

CommandOption frameTimeOption(std::function<void(float)> store) {
    return {"--dt", true, [store = std::move(store)](std::string_view v, std::string& error) {
                float dt = 0.0f;
                if (!parseFrameTime(v, dt)) {
                    error = "bad frame time for --dt: '" + std::string(v) + "' (seconds, above 0 and at most 1)";
                    return false;
                }
                store(dt);
                return true;
            }};
}

CommandOption scriptOption(std::function<void(std::string_view)> store) {
    return {"--script", true, [store = std::move(store)](std::string_view v, std::string& error) {
                if (v.empty()) {
                    error = "missing file name for --script";
                    return false;
                }
                store(v);
                return true;
            }};
}

bool loadScriptArgument(const std::string& name, InputScript& script, std::string& error) {
    const bool fromInput = name == "-";
    const bool ok = fromInput ? readInputScript(std::cin, script, error) : loadInputScript(name, script, error);
    if (!ok) error = (fromInput ? std::string("standard input") : name) + ": " + error;
    return ok;
}

std::vector<CommandOption> testAidOptions(TestAids& aids) {
    return {
        scriptOption([&aids](std::string_view v) { aids.scriptPath = std::string(v); }),
        frameTimeOption([&aids](float dt) { aids.fixedDelta = dt; }),
        {"--trace", true,
         [&aids](std::string_view v, std::string& error) {
             if (v.empty()) {
                 error = "missing file name for --trace";
                 return false;
             }
             aids.tracePath = std::string(v);
             return true;
         }},
        countOption("--trace-every", [&aids](int64_t n) { aids.traceEvery = n; }),
        countOption("--frames", [&aids](int64_t n) { aids.frameLimit = n; }),
        countOption("--fast-forward", [&aids](int64_t n) { aids.fastForward = n; }),
        flagOption("--reference-drawing", [&aids] { aids.referenceDrawing = true; }),
        flagOption("--profile", [&aids] { aids.profile = true; }),
        pathOption("--record", aids.recordPath),
        pathOption("--replay", aids.replayPath),
    };
}

CommandOption pathOption(std::string_view name, std::string& store) {
    return {name, true, [name, &store](std::string_view v, std::string& error) {
                if (v.empty()) {
                    error = "empty file name for " + std::string(name);
                    return false;
                }
                store = std::string(v);
                return true;
            }};
}

bool loadTestAidScript(TestAids& aids, std::string& error) {
    // A replay brings its own input, frame times and answers.
    if (!aids.replayPath.empty()) {
        for (const auto& [given, name] : {std::pair{!aids.scriptPath.empty(), "--script"},
                                          std::pair{aids.fixedDelta.has_value(), "--dt"},
                                          std::pair{!aids.recordPath.empty(), "--record"}})
            if (given) {
                error = std::string("--replay does not go with ") + name;
                return false;
            }
    }
    if (aids.scriptPath.empty()) return true;
    InputScript script;
    if (!loadScriptArgument(aids.scriptPath, script, error)) return false;
    aids.script = std::move(script);
    return true;
}

bool parseTestAids(int argc, const char* const* argv, TestAids& out, std::string& error) {
    TestAids aids;
    if (!parseCommandLine(argc, argv, testAidOptions(aids), nullptr, error) || !loadTestAidScript(aids, error))
        return false;
    out = std::move(aids);
    return true;
}

std::string traceLine(int64_t frame, GameState state, const Session& session, uint64_t draws) {
    const Player& p = session.player;
    const Camera& camera = session.sceneCamera;
    std::ostringstream out;
    out << "{\"frame\": " << frame << ", \"state\": " << static_cast<int32_t>(state) << ", \"player\": {"
        << "\"pos\": " << vec3Json(camera.position) << ", \"front\": " << vec3Json(camera.front) << ", \"cell\": ["
        << p.cellX << ", " << p.cellZ << "], \"health\": " << p.health << ", \"dead\": " << boolean(p.dead)
        << ", \"weapon\": " << p.weaponMode << ", \"ammo\": [" << p.rifle.ammo << ", " << p.sniperRifle.ammo
        << "], \"flashlight\": " << p.flashlightSetting << ", \"scoped\": " << boolean(p.scoped)
        << ", \"inventory\": [";
    for (size_t k = 0; k < p.inventory.size(); ++k)
        out << (k ? ", " : "") << "[" << p.inventory[k].id << ", " << p.inventory[k].count << "]";
    out << "], \"escaping\": " << boolean(p.escaping) << "}";

    out << ", \"enemies\": {\"active\": " << session.activeEnemyCount << ", \"list\": [";
    for (size_t k = 0; k < session.enemies.size(); ++k) {
        const Enemy& e = session.enemies[k];
        out << (k ? ", " : "") << "[" << number(e.position.x) << ", " << number(e.position.y) << ", "
            << number(e.position.z) << ", " << e.health << ", " << boolean(e.dead) << "]";
    }
    out << "]}";

    const Thunderstorm& storm = session.thunderstorm;
    out << ", \"storm\": {\"level\": " << number(storm.level) << ", \"active\": " << boolean(storm.active)
        << ", \"falling\": " << boolean(storm.falling) << ", \"flashesLeft\": " << storm.flashesLeft << "}";

    const LightCycle& light = session.lightCycle;
    out << ", \"light\": {\"index\": " << light.currentIndex << ", \"target\": " << light.targetIndex
        << ", \"colour\": " << vec3Json(session.directionalLight.lightColour) << ", \"hold\": " << light.holdTicks
        << ", \"ticks\": " << light.tickCount << "}";

    out << ", \"escapeStage\": " << session.escapeStage << ", \"message\": "
        << jsonString(windows1252ToUtf8(session.messageText)) << ", \"messageTimer\": " << number(session.messageTimer)
        << ", \"draws\": " << draws << "}";
    return out.str();
}
