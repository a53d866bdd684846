#include "gameplay/TestAids.h"

#include <charconv>
#include <cstdio>
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
    if (ec != std::errc() || end != text.data() + text.size() || !(value > 0.0) || value > 1.0) return false;
    seconds = static_cast<float>(value);
    return true;
}

bool parseCount(std::string_view text, int64_t& value) {
    if (text.empty()) return false;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size() && value >= 0;
}

bool parseTestAids(int argc, const char* const* argv, TestAids& out, std::string& error) {
    TestAids aids;
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
        if (option == "--script") {
            if (!value(v)) return false;
            InputScript script;
            if (!loadInputScript(std::string(v), script, error)) {
                error = std::string(v) + ": " + error;
                return false;
            }
            aids.script = std::move(script);
        } else if (option == "--dt") {
            float dt = 0.0f;
            if (!value(v)) return false;
            if (!parseFrameTime(v, dt)) {
                error = "bad frame time for --dt: '" + std::string(v) + "' (seconds, above 0 and at most 1)";
                return false;
            }
            aids.fixedDelta = dt;
        } else if (option == "--trace") {
            if (!value(v)) return false;
            if (v.empty()) {
                error = "missing file name for --trace";
                return false;
            }
            aids.tracePath = std::string(v);
        } else if (option == "--trace-every" || option == "--frames" || option == "--fast-forward") {
            int64_t n = 0;
            if (!value(v)) return false;
            if (!parseCount(v, n)) {
                error = "bad count for " + std::string(option) + ": '" + std::string(v) + "'";
                return false;
            }
            if (option == "--frames") aids.frameLimit = n;
            else if (option == "--fast-forward") aids.fastForward = n;
            else aids.traceEvery = n;
        } else if (option == "--reference-drawing") {
            aids.referenceDrawing = true;
        } else if (option == "--profile") {
            aids.profile = true;
        } else {
            error = "unknown option '" + std::string(option) + "'";
            return false;
        }
    }
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
