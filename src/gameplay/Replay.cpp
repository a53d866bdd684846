#include "gameplay/Replay.h"

#include <array>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <limits>
#include <vector>

#include "util/Parse.h"

#ifndef VELKARAN_VERSION
#define VELKARAN_VERSION "unknown"
#endif

namespace {

struct KeyName {
    std::string_view name;
    Key key;
};

// The input scripts' names, and "?" for a key the game does not react to: it still
// reaches the rules, so it is kept.
constexpr std::array<KeyName, 19> kKeys = {{
    {"w", Key::W},     {"a", Key::A},   {"s", Key::S},     {"d", Key::D},   {"space", Key::Space},
    {"lshift", Key::LShift},            {"q", Key::Q},     {"f", Key::F},   {"n", Key::N},
    {"m", Key::M},     {"f1", Key::F1}, {"f8", Key::F8},   {"f12", Key::F12},
    {"escape", Key::Escape},            {"up", Key::Up},   {"down", Key::Down},
    {"tab", Key::Tab},                  {"return", Key::Return},
    {"?", Key::Unknown},
}};

struct ButtonName {
    std::string_view name;
    MouseButton button;
};

// "other": any button but the left and the right one (the rules take it as None).
constexpr std::array<ButtonName, 3> kButtons = {{
    {"left", MouseButton::Left}, {"right", MouseButton::Right}, {"other", MouseButton::None}}};

constexpr std::array<std::string_view, 5> kEndNames = {"escape", "death", "left", "quit", "stopped"};

std::string_view keyName(Key key) {
    for (const KeyName& k : kKeys)
        if (k.key == key) return k.name;
    return "?";
}

std::string_view buttonName(MouseButton button) {
    for (const ButtonName& b : kButtons)
        if (b.button == button) return b.name;
    return "other";
}


std::vector<std::string_view> splitTokens(std::string_view line) {
    std::vector<std::string_view> tokens;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
        const size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
        if (i > start) tokens.push_back(line.substr(start, i - start));
    }
    return tokens;
}

// A whole token as a decimal integer of type T: digits only (a '-' where T is
// signed), nothing before or after, in T's range.
template <typename T>
bool readInteger(std::string_view token, T& value) {
    if (token.empty() || token[0] == '+') return false;
    const auto [end, ec] = std::from_chars(token.data(), token.data() + token.size(), value);
    return ec == std::errc() && end == token.data() + token.size();
}

// Exact: the shortest decimal that reads back as the same float (std::to_chars), so
// a varying frame time is reproduced bit for bit, and 1/60 is "0.016666668".
void appendFloat(std::string& out, float value) {
    std::array<char, 32> buffer{};
    const auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    out.append(buffer.data(), ec == std::errc() ? end : buffer.data());
}

bool readFloat(std::string_view token, float& value) {
    if (token.empty() || token[0] == '+') return false;
    const auto [end, ec] = std::from_chars(token.data(), token.data() + token.size(), value, std::chars_format::general);
    return ec == std::errc() && end == token.data() + token.size() && std::isfinite(value);
}

bool sameBits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

bool validFrameTime(float dt) { return std::isfinite(dt) && dt >= 0.0f && dt <= kReplayMaxFrameTime; }

// Text fields (the fortress name, the version): bytes outside printable ASCII, the
// blank and '%' as %XX, so a name stays one token whatever its bytes.
void appendEscaped(std::string& out, std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c > 0x20 && c < 0x7f && c != '%') {
            out += ch;
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 0xf];
        }
    }
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

bool readEscaped(std::string_view token, size_t maxBytes, std::string& out) {
    out.clear();
    for (size_t i = 0; i < token.size(); ++i) {
        if (out.size() == maxBytes) return false;
        if (token[i] != '%') {
            out += token[i];
            continue;
        }
        if (i + 2 >= token.size()) return false;
        const int high = hexDigit(token[i + 1]);
        const int low = hexDigit(token[i + 2]);
        if (high < 0 || low < 0) return false;
        out += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return true;
}

// "W" "x" "H", each side 0 ... kReplayMaxWindowSide.
bool readWindow(std::string_view token, int32_t& width, int32_t& height) {
    const size_t x = token.find('x');
    if (x == std::string_view::npos) return false;
    return readInteger(token.substr(0, x), width) && readInteger(token.substr(x + 1), height) && width >= 0 &&
           height >= 0 && width <= kReplayMaxWindowSide && height <= kReplayMaxWindowSide;
}

// "H:M:S" as the settings file holds them: any hours, minutes and seconds 0 ... 60.
bool readRecord(std::string_view token, int32_t& h, int32_t& m, int32_t& s) {
    const size_t first = token.find(':');
    if (first == std::string_view::npos) return false;
    const size_t second = token.find(':', first + 1);
    if (second == std::string_view::npos) return false;
    return readInteger(token.substr(0, first), h) && readInteger(token.substr(first + 1, second - first - 1), m) &&
           readInteger(token.substr(second + 1), s) && m >= 0 && m <= 60 && s >= 0 && s <= 60;
}

// One event token of a frame line.
bool readEvent(std::string_view token, InputEvent& event) {
    if (token == "quit") {
        event = InputEvent::quit();
        return true;
    }
    if (token == "focuslost") {
        event = InputEvent::focusLost();
        return true;
    }
    if (token.size() >= 2 && (token[0] == '+' || token[0] == '-')) {
        const bool down = token[0] == '+';
        const std::string_view name = token.substr(1);
        for (const KeyName& k : kKeys)
            if (k.name == name) {
                event = down ? InputEvent::keyDown(k.key) : InputEvent::keyUp(k.key);
                return true;
            }
        for (const ButtonName& b : kButtons)
            if (b.name == name) {
                event = down ? InputEvent::buttonDown(b.button) : InputEvent::buttonUp(b.button);
                return true;
            }
    }
    const size_t comma = token.find(',');
    if (comma == std::string_view::npos) return false;
    int32_t x = 0, y = 0;
    if (!readInteger(token.substr(0, comma), x) || !readInteger(token.substr(comma + 1), y)) return false;
    event = InputEvent::motion(x, y);
    return true;
}

void appendEvent(std::string& out, const InputEvent& e) {
    switch (e.type) {
        case InputType::KeyDown: out += '+'; out += keyName(e.key); break;
        case InputType::KeyUp: out += '-'; out += keyName(e.key); break;
        case InputType::ButtonDown: out += '+'; out += buttonName(e.button); break;
        case InputType::ButtonUp: out += '-'; out += buttonName(e.button); break;
        case InputType::MouseMotion: out += std::to_string(e.x) + ',' + std::to_string(e.y); break;
        case InputType::Quit: out += "quit"; break;
        case InputType::FocusLost: out += "focuslost"; break;
    }
}

bool isEscapePress(const InputEvent& e) { return e.type == InputType::KeyDown && e.key == Key::Escape; }

// A frame full of events is written out at once rather than held for the second.
constexpr size_t kFlushBytes = size_t{256} << 10;

std::string lineError(int64_t line, const std::string& reason) { return "line " + std::to_string(line) + ": " + reason; }

}  // namespace

std::string_view replayGameVersion() { return VELKARAN_VERSION; }

std::string_view replayEndName(ReplayEnd end) { return kEndNames[static_cast<size_t>(end)]; }

// ---- Reading ----

bool ReplayReader::readLine(std::string& error) {
    line.clear();
    std::streambuf* buffer = in.rdbuf();
    if (!buffer) return false;
    for (;;) {
        const int c = buffer->sbumpc();
        if (c == std::char_traits<char>::eof()) return false;  // an unfinished line is left out
        if (c == '\n') break;
        if (line.size() == kReplayMaxLineBytes) {
            error = lineError(lineNumber + 1, "longer than " + std::to_string(kReplayMaxLineBytes) + " bytes");
            return false;
        }
        line += static_cast<char>(c);
    }
    ++lineNumber;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return true;
}

bool ReplayReader::readHeader(ReplayHeader& header, std::string& error) {
    error.clear();
    if (!readLine(error)) {
        if (error.empty()) error = "not a replay file (no complete first line)";
        return false;
    }
    const std::vector<std::string_view> tokens = splitTokens(line);
    if (tokens.empty() || tokens[0] != kReplayMagic) {
        error = "not a replay file (it does not begin with " + std::string(kReplayMagic) + ")";
        return false;
    }
    // The version decides what everything after it means: a later one is refused first.
    uint64_t version = 0;
    if (tokens.size() < 2 || tokens[1].empty() || tokens[1].find_first_not_of("0123456789") != std::string_view::npos) {
        error = lineError(1, "bad format version" + (tokens.size() < 2 ? std::string() : " " + quotedToken(tokens[1])));
        return false;
    }
    if (!readInteger(tokens[1], version) || version > static_cast<uint64_t>(kReplayFormatVersion)) {
        error = "replay format version " + quotedToken(tokens[1]) + " is newer than this build reads (" +
                std::to_string(kReplayFormatVersion) + ")";
        return false;
    }
    if (version == 0) {
        error = lineError(1, "bad format version " + quotedToken(tokens[1]));
        return false;
    }

    ReplayHeader read;
    constexpr std::array<std::string_view, 8> kKeysInOrder = {"game", "seed", "name", "record",
                                                              "look", "invulnerable", "window", "draws"};
    std::array<bool, kKeysInOrder.size()> seen{};
    for (size_t t = 2; t < tokens.size(); ++t) {
        const std::string_view token = tokens[t];
        const size_t equals = token.find('=');
        const std::string_view key = token.substr(0, equals);
        const std::string_view value = equals == std::string_view::npos ? std::string_view() : token.substr(equals + 1);
        size_t k = 0;
        while (k < kKeysInOrder.size() && kKeysInOrder[k] != key) ++k;
        if (equals == std::string_view::npos || k == kKeysInOrder.size()) {
            error = lineError(1, "unknown header field " + quotedToken(token));
            return false;
        }
        if (seen[k]) {
            error = lineError(1, "header field " + std::string(key) + " given twice");
            return false;
        }
        seen[k] = true;
        bool ok = false;
        switch (k) {
            case 0: ok = readEscaped(value, kReplayMaxVersionBytes, read.gameVersion) && !value.empty(); break;
            case 1: ok = readInteger(value, read.seed); break;
            case 2: ok = readEscaped(value, kReplayMaxNameBytes, read.name); break;
            case 3: ok = readRecord(value, read.recordHours, read.recordMinutes, read.recordSeconds); break;
            case 4: ok = readFloat(value, read.lookScale) && read.lookScale >= 0.1f && read.lookScale <= 10.0f; break;
            case 5:
                ok = value == "0" || value == "1";
                read.invulnerable = value == "1";
                break;
            case 6: ok = readWindow(value, read.windowWidth, read.windowHeight); break;
            case 7: ok = readInteger(value, read.drawsAtStart); break;
            default: break;
        }
        if (!ok) {
            error = lineError(1, "bad value for " + std::string(key) + ": " + quotedToken(value));
            return false;
        }
    }
    for (size_t k = 0; k < kKeysInOrder.size(); ++k)
        if (!seen[k]) {
            error = lineError(1, "header field " + std::string(kKeysInOrder[k]) + " missing");
            return false;
        }
    header = std::move(read);
    headerRead = true;
    return true;
}

bool ReplayReader::nextRecord(ReplayRecord& record, std::string& error) {
    error.clear();
    if (!headerRead) {
        error = "the header has not been read";
        return false;
    }
    if (!readLine(error)) return false;
    if (endLine) {
        error = lineError(lineNumber, "text after the end line");
        return false;
    }
    const std::vector<std::string_view> tokens = splitTokens(line);
    if (tokens.empty()) {
        error = lineError(lineNumber, "empty line");
        return false;
    }
    const std::string_view first = tokens[0];

    if (first == "end") {
        ReplayEnding ending;
        size_t r = 0;
        while (tokens.size() > 1 && r < kEndNames.size() && kEndNames[r] != tokens[1]) ++r;
        if (tokens.size() != 4 || r == kEndNames.size()) {
            error = lineError(lineNumber, "bad end line");
            return false;
        }
        ending.reason = static_cast<ReplayEnd>(r);
        if (tokens[2].substr(0, 7) != "frames=" || !readInteger(tokens[2].substr(7), ending.frames) ||
            tokens[3].substr(0, 6) != "draws=" || !readInteger(tokens[3].substr(6), ending.draws)) {
            error = lineError(lineNumber, "bad end line");
            return false;
        }
        if (ending.frames != frames) {
            error = lineError(lineNumber, "the end line counts " + std::to_string(ending.frames) + " frames, the file holds " +
                                              std::to_string(frames));
            return false;
        }
        if ((ending.reason == ReplayEnd::Left) != left) {
            error = lineError(lineNumber, left ? "the game was left by a Yes, the end line says otherwise"
                                               : "the end line says the game was left, but no Escape was answered Yes");
            return false;
        }
        endLine = ending;
        finished = true;
        if (readLine(error)) error = lineError(lineNumber, "text after the end line");
        return false;
    }

    if (finished) {
        error = lineError(lineNumber, "a frame after the game was left");
        return false;
    }
    ReplayRecord read;
    read.frame.clock = clock;
    if (first[0] == '*') {
        uint32_t count = 0;
        if (tokens.size() != 1 || !readInteger(first.substr(1), count) || count == 0 || count > kReplayMaxRun) {
            error = lineError(lineNumber, "bad run of frames " + quotedToken(first));
            return false;
        }
        if (!haveFrameTime) {
            error = lineError(lineNumber, "a run of frames before the first time step");
            return false;
        }
        read.frame.dt = frameTime;
        read.repeat = count;
    } else {
        if (first == "=") {
            if (!haveFrameTime) {
                error = lineError(lineNumber, "'=' before the first time step");
                return false;
            }
            read.frame.dt = frameTime;
        } else if (!readFloat(first, read.frame.dt) || !validFrameTime(read.frame.dt)) {
            error = lineError(lineNumber, "bad time step " + quotedToken(first) + " (0 to 1 second)");
            return false;
        }
        bool clockSet = false;
        for (size_t t = 1; t < tokens.size(); ++t) {
            const std::string_view token = tokens[t];
            if (read.frame.escapeAnsweredYes) {
                error = lineError(lineNumber, "events after a Yes");
                return false;
            }
            if (token == "yes") {
                if (read.frame.events.empty() || !isEscapePress(read.frame.events.back())) {
                    error = lineError(lineNumber, "'yes' not after an Escape press");
                    return false;
                }
                read.frame.escapeAnsweredYes = true;
                continue;
            }
            if (token[0] == '@') {
                int64_t value = 0;
                if (clockSet || !readInteger(token.substr(1), value) || value > kReplayMaxClock ||
                    value < -kReplayMaxClock) {
                    error = lineError(lineNumber, clockSet ? "two clock readings in one frame" : "bad clock " + quotedToken(token));
                    return false;
                }
                clockSet = true;
                read.frame.clock = value;
                continue;
            }
            InputEvent event;
            if (!readEvent(token, event)) {
                error = lineError(lineNumber, "bad event " + quotedToken(token));
                return false;
            }
            if (read.frame.events.size() == kReplayMaxEventsPerFrame) {
                error = lineError(lineNumber, "more than " + std::to_string(kReplayMaxEventsPerFrame) + " events");
                return false;
            }
            read.frame.events.push_back(event);
        }
    }
    if (frames + read.repeat > kReplayMaxFrames) {
        error = lineError(lineNumber, "more frames than a replay may hold");
        return false;
    }
    haveFrameTime = true;
    frameTime = read.frame.dt;
    clock = read.frame.clock;
    frames += read.repeat;
    if (read.frame.escapeAnsweredYes) finished = left = true;
    record = std::move(read);
    return true;
}

bool ReplayReader::nextFrame(ReplayFrame& frame, std::string& error) {
    error.clear();
    if (pendingLeft == 0) {
        if (!nextRecord(pending, error)) return false;
        pendingLeft = pending.repeat;
    }
    --pendingLeft;
    frame = pending.frame;
    return true;
}

// ---- Writing ----

ReplayEncoder::ReplayEncoder(const ReplayHeader& header) {
    text = std::string(kReplayMagic) + ' ' + std::to_string(kReplayFormatVersion) + " game=";
    appendEscaped(text, header.gameVersion.empty() ? std::string_view("unknown")
                                                   : std::string_view(header.gameVersion).substr(0, kReplayMaxVersionBytes));
    text += " seed=" + std::to_string(header.seed) + " name=";
    appendEscaped(text, std::string_view(header.name).substr(0, kReplayMaxNameBytes));
    text += " record=" + std::to_string(header.recordHours) + ':' + std::to_string(header.recordMinutes) + ':' +
            std::to_string(header.recordSeconds);
    text += " look=";
    appendFloat(text, header.lookScale);
    text += std::string(" invulnerable=") + (header.invulnerable ? '1' : '0');
    text += " window=" + std::to_string(header.windowWidth) + 'x' + std::to_string(header.windowHeight);
    text += " draws=" + std::to_string(header.drawsAtStart) + '\n';
}

void ReplayEncoder::frame(const ReplayFrame& f, uint32_t repeat) {
    if (repeat == 0) return;
    if (repeat > 1 && (!f.events.empty() || f.escapeAnsweredYes)) {
        // Frames with events are lines of their own.
        for (uint32_t k = 0; k < repeat; ++k) frame(f);
        return;
    }
    const bool alike = haveFrameTime && sameBits(f.dt, frameTime) && f.clock == clock && f.events.empty() &&
                       !f.escapeAnsweredYes;
    if (alike) {
        run += repeat;
        frames += repeat;
        return;
    }
    settle();
    if (haveFrameTime && sameBits(f.dt, frameTime)) {
        text += '=';
    } else {
        appendFloat(text, f.dt);
    }
    if (f.clock != clock) {
        text += " @" + std::to_string(f.clock);
    }
    for (const InputEvent& e : f.events) {
        text += ' ';
        appendEvent(text, e);
    }
    if (f.escapeAnsweredYes) text += " yes";
    text += '\n';
    haveFrameTime = true;
    frameTime = f.dt;
    clock = f.clock;
    ++frames;
    // The rest of a repeat are frames alike.
    run += repeat - 1;
    frames += repeat - 1;
}

void ReplayEncoder::settle() {
    while (run > 0) {
        const uint64_t count = run < kReplayMaxRun ? run : kReplayMaxRun;
        text += count == 1 ? std::string("=") : "*" + std::to_string(count);
        text += '\n';
        run -= count;
    }
}

void ReplayEncoder::end(ReplayEnd reason, uint64_t draws) {
    settle();
    text += "end " + std::string(replayEndName(reason)) + " frames=" + std::to_string(frames) +
            " draws=" + std::to_string(draws) + '\n';
}

std::string ReplayEncoder::take() {
    std::string out;
    out.swap(text);
    return out;
}

ReplayWriter::~ReplayWriter() {
    if (!file) return;
    flush();
    std::fclose(file);
}

bool ReplayWriter::open(const std::filesystem::path& where, const ReplayHeader& header, std::string& error) {
    if (file) {
        flush();
        std::fclose(file);
    }
    path = where;
    file = std::fopen(where.c_str(), "wb");
    if (!file) {
        error = "cannot write the replay " + where.string() + ": " + std::strerror(errno);
        return false;
    }
    encoder.emplace(header);
    unflushedTime = 0.0;
    writeFailed = false;
    stopped = false;
    if (!flush()) {
        error = "cannot write the replay " + where.string() + ": " + std::strerror(writeErrno);
        return false;
    }
    return true;
}

void ReplayWriter::frame(float dt, int64_t clock, const InputEvents& events, bool escapeAnsweredYes) {
    if (!file || stopped) return;
    ReplayFrame f;
    // What a reader takes back: a time step it accepts, a clock within its bounds, and a
    // Yes only where an Escape press asked the question. The game gives nothing else.
    f.dt = validFrameTime(dt) ? dt : (dt > kReplayMaxFrameTime ? kReplayMaxFrameTime : 0.0f);
    f.clock = clock > kReplayMaxClock ? kReplayMaxClock : (clock < -kReplayMaxClock ? -kReplayMaxClock : clock);
    const size_t count = events.size() < kReplayMaxEventsPerFrame ? events.size() : kReplayMaxEventsPerFrame;
    f.events.assign(events.begin(), events.begin() + static_cast<std::ptrdiff_t>(count));
    f.escapeAnsweredYes = escapeAnsweredYes && !f.events.empty() && isEscapePress(f.events.back());
    encoder->frame(f);
    if (f.escapeAnsweredYes) stopped = true;
    unflushedTime += static_cast<double>(f.dt);
    if (unflushedTime >= 1.0 || encoder->pendingBytes() >= kFlushBytes || f.escapeAnsweredYes) flush();
}

bool ReplayWriter::flush() {
    if (!file) return false;
    encoder->settle();
    const std::string text = encoder->take();
    unflushedTime = 0.0;
    if (writeFailed) return false;
    if ((!text.empty() && std::fwrite(text.data(), 1, text.size(), file) != text.size()) || std::fflush(file) != 0) {
        writeFailed = true;
        writeErrno = errno;
    }
    return !writeFailed;
}

bool ReplayWriter::finish(ReplayEnd reason, uint64_t draws, std::string& error) {
    if (!file) {
        error = "no replay is being written";
        return false;
    }
    encoder->end(reason, draws);
    bool ok = flush();
    if (std::fclose(file) != 0 && ok) {
        ok = false;
        writeErrno = errno;
    }
    file = nullptr;
    if (!ok) error = "cannot write the replay " + path.string() + ": " + std::strerror(writeErrno);
    return ok;
}

bool checkReplayFile(const std::filesystem::path& path, ReplayHeader& header, std::optional<ReplayEnding>& ending,
                     int64_t& frames, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = path.string() + ": cannot read the file: " + std::strerror(errno);
        return false;
    }
    ReplayReader reader(in);
    std::string why;
    bool ok = reader.readHeader(header, why);
    ReplayRecord record;
    while (ok && reader.nextRecord(record, why)) {
    }
    if (ok && !why.empty()) ok = false;
    if (ok && in.bad()) {
        why = "cannot read the file";
        ok = false;
    }
    if (!ok) {
        error = path.string() + ": " + why;
        return false;
    }
    ending = reader.ending();
    frames = reader.framesRead();
    return true;
}
