#include "gameplay/InputScript.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <istream>
#include <string_view>
#include <utility>
#include <vector>

#include "util/Parse.h"

namespace {

struct KeyName {
    std::string_view name;
    Key key;
};

constexpr std::array<KeyName, 18> kKeys = {{
    {"w", Key::W},   {"a", Key::A},     {"s", Key::S},           {"d", Key::D},   {"space", Key::Space},
    {"lshift", Key::LShift},            {"q", Key::Q},           {"f", Key::F},   {"n", Key::N},
    {"m", Key::M},   {"f1", Key::F1},   {"f8", Key::F8},         {"f12", Key::F12},
    {"escape", Key::Escape},            {"up", Key::Up},         {"down", Key::Down},
    {"tab", Key::Tab},                  {"return", Key::Return},
}};

// A carriage return counts as a blank so CR LF scripts read like LF ones.
bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::vector<std::string_view> splitFields(std::string_view line) {
    std::vector<std::string_view> fields;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && isBlank(line[i])) ++i;
        const size_t start = i;
        while (i < line.size() && !isBlank(line[i])) ++i;
        if (i > start) fields.push_back(line.substr(start, i - start));
    }
    return fields;
}


// An optionally signed decimal integer. The magnitude saturates instead of wrapping,
// so an overlong number is reported as out of range rather than read as another one.
struct Number {
    bool negative = false;
    uint64_t magnitude = 0;
};
constexpr uint64_t kSaturated = uint64_t{1} << 40;

bool readNumber(std::string_view token, Number& n) {
    size_t i = 0;
    if (i < token.size() && (token[i] == '-' || token[i] == '+')) n.negative = token[i++] == '-';
    if (i == token.size()) return false;
    for (; i < token.size(); ++i) {
        const char c = token[i];
        if (c < '0' || c > '9') return false;
        if (n.magnitude < kSaturated) n.magnitude = n.magnitude * 10 + static_cast<uint64_t>(c - '0');
    }
    return true;
}

bool readCoordinate(std::string_view token, int32_t& value, std::string& reason) {
    Number n;
    if (!readNumber(token, n)) {
        reason = "bad number " + quotedToken(token);
        return false;
    }
    const uint64_t limit = n.negative ? uint64_t{0x80000000} : uint64_t{0x7FFFFFFF};
    if (n.magnitude > limit) {
        reason = "number out of range " + quotedToken(token);
        return false;
    }
    const auto m = static_cast<int64_t>(n.magnitude);
    value = static_cast<int32_t>(n.negative ? -m : m);
    return true;
}

// One line that is neither blank nor a comment; false with the reason when it is bad.
bool parseLine(const std::vector<std::string_view>& fields, uint32_t& frame, InputEvent& event,
               std::string& reason) {
    Number n;
    if (!readNumber(fields[0], n)) {
        reason = "bad number " + quotedToken(fields[0]);
        return false;
    }
    if (n.negative && n.magnitude != 0) {
        reason = "negative frame";
        return false;
    }
    if (n.magnitude > 0xFFFFFFFFu) {
        reason = "frame out of range " + quotedToken(fields[0]);
        return false;
    }
    frame = static_cast<uint32_t>(n.magnitude);
    if (fields.size() < 2) {
        reason = "missing event";
        return false;
    }

    const std::string_view name = fields[1];
    size_t argumentCount = 0;
    if (name == "keydown" || name == "keyup") {
        argumentCount = 1;
    } else if (name == "motion") {
        argumentCount = 2;
    } else if (name == "press" || name == "release") {
        argumentCount = 1;
    } else if (name == "focuslost") {
        argumentCount = 0;
    } else {
        reason = "unknown event " + quotedToken(name);
        return false;
    }
    if (fields.size() < 2 + argumentCount) {
        reason = "missing argument";
        return false;
    }
    if (fields.size() > 2 + argumentCount) {
        reason = "extra argument";
        return false;
    }

    if (name == "keydown" || name == "keyup") {
        for (const KeyName& k : kKeys) {
            if (k.name == fields[2]) {
                event = name == "keydown" ? InputEvent::keyDown(k.key) : InputEvent::keyUp(k.key);
                return true;
            }
        }
        reason = "unknown key " + quotedToken(fields[2]);
        return false;
    }
    if (name == "focuslost") {
        event = InputEvent::focusLost();
        return true;
    }
    if (name == "motion") {
        int32_t x = 0, y = 0;
        if (!readCoordinate(fields[2], x, reason) || !readCoordinate(fields[3], y, reason)) return false;
        event = InputEvent::motion(x, y);
        return true;
    }
    MouseButton button = MouseButton::None;
    if (fields[2] == "left") button = MouseButton::Left;
    else if (fields[2] == "right") button = MouseButton::Right;
    else {
        reason = "unknown button " + quotedToken(fields[2]);
        return false;
    }
    event = name == "press" ? InputEvent::buttonDown(button) : InputEvent::buttonUp(button);
    return true;
}

}  // namespace

const InputEvents& InputScript::eventsAt(uint32_t frame) const {
    static const InputEvents kNone;
    const auto it = frames.find(frame);
    return it == frames.end() ? kNone : it->second;
}

bool parseInputScript(const std::string& text, InputScript& out, std::string& error) {
    InputScript script;
    const std::string_view all = text;
    size_t start = 0;
    for (size_t lineNumber = 1; start < all.size(); ++lineNumber) {
        size_t end = all.find('\n', start);
        if (end == std::string_view::npos) end = all.size();
        const std::vector<std::string_view> fields = splitFields(all.substr(start, end - start));
        start = end + 1;
        if (fields.empty() || fields[0].front() == '#') continue;

        uint32_t frame = 0;
        InputEvent event;
        std::string reason;
        if (!parseLine(fields, frame, event, reason)) {
            error = "line " + std::to_string(lineNumber) + ": " + reason;
            return false;
        }
        script.frames[frame].push_back(event);
    }
    out = std::move(script);
    error.clear();
    return true;
}

namespace {

// Reads through istream::read, which turns a failing buffer (a folder opened as a
// file, a read error) into badbit instead of letting an exception escape. Stops at
// the bounds of a script.
bool readAll(std::istream& in, std::string& text, std::string& error, const char* unreadable) {
    char buffer[4096];
    size_t lines = 0;
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
        const auto n = static_cast<size_t>(in.gcount());
        lines += static_cast<size_t>(std::count(buffer, buffer + n, '\n'));
        if (text.size() + n > kMaxScriptBytes || lines > kMaxScriptLines) {
            error = "longer than a script may be (at most " + std::to_string(kMaxScriptBytes >> 20) + " MiB and " +
                    std::to_string(kMaxScriptLines) + " lines)";
            return false;
        }
        text.append(buffer, n);
    }
    if (in.bad()) {
        error = unreadable;
        return false;
    }
    return true;
}

}  // namespace

bool readInputScript(std::istream& in, InputScript& out, std::string& error) {
    std::string text;
    if (!readAll(in, text, error, "cannot read the script")) return false;
    return parseInputScript(text, out, error);
}

bool loadInputScript(const std::filesystem::path& path, InputScript& out, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    std::string text;
    if (!in) {
        error = "cannot read the file";  // the caller names the file
        return false;
    }
    if (!readAll(in, text, error, "cannot read the file")) return false;
    return parseInputScript(text, out, error);
}
