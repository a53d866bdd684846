// The input-script reader. No crash; a rejected script names a line that exists,
// on one line, and leaves the caller's script alone; an accepted one holds only
// events a script can express, no more than one per line; CR LF line ends read the
// same as LF; and an accepted script written out again reads back to the same events.
#include <algorithm>
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "gameplay/InputScript.h"

namespace {

const char* keyName(Key key) {
    switch (key) {
        case Key::W: return "w";
        case Key::A: return "a";
        case Key::S: return "s";
        case Key::D: return "d";
        case Key::Space: return "space";
        case Key::LShift: return "lshift";
        case Key::Q: return "q";
        case Key::F: return "f";
        case Key::N: return "n";
        case Key::M: return "m";
        case Key::F1: return "f1";
        case Key::F8: return "f8";
        case Key::F12: return "f12";
        case Key::Escape: return "escape";
        case Key::Up: return "up";
        case Key::Down: return "down";
        case Key::Tab: return "tab";
        case Key::Return: return "return";
        case Key::Unknown: break;
    }
    return nullptr;
}

// Writes the script out with its frames in ascending order.
std::string format(const InputScript& script) {
    std::string out;
    for (const auto& [frame, events] : script.frames) {
        for (const InputEvent& e : events) {
            FUZZ_CHECK(e.type != InputType::Quit);  // a script cannot express one
            out += std::to_string(frame);
            switch (e.type) {
                case InputType::KeyDown: out += std::string(" keydown ") + keyName(e.key); break;
                case InputType::KeyUp: out += std::string(" keyup ") + keyName(e.key); break;
                case InputType::MouseMotion: out += " motion " + std::to_string(e.x) + " " + std::to_string(e.y); break;
                case InputType::ButtonDown: out += e.button == MouseButton::Left ? " press left" : " press right"; break;
                case InputType::ButtonUp: out += e.button == MouseButton::Left ? " release left" : " release right"; break;
                case InputType::FocusLost: out += " focuslost"; break;
                case InputType::Quit: break;
            }
            out += '\n';
        }
    }
    return out;
}

bool sameScript(const InputScript& a, const InputScript& b) {
    if (a.frames.size() != b.frames.size()) return false;
    for (const auto& [frame, events] : a.frames) {
        const InputEvents& other = b.eventsAt(frame);
        if (other.size() != events.size()) return false;
        for (size_t i = 0; i < events.size(); ++i) {
            const InputEvent &x = events[i], &y = other[i];
            if (x.type != y.type || x.key != y.key || x.button != y.button || x.x != y.x || x.y != y.y) return false;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const size_t lineCount = static_cast<size_t>(std::count(text.begin(), text.end(), '\n')) + 1;

    InputScript script;
    script.frames[7].push_back(InputEvent::quit());  // a sentinel a rejected script must not touch
    std::string error;
    const bool ok = parseInputScript(text, script, error);

    std::string crlf;
    for (char c : text) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    InputScript fromCrlf;
    std::string crlfError;
    FUZZ_CHECK(parseInputScript(crlf, fromCrlf, crlfError) == ok);
    FUZZ_CHECK(crlfError == error);

    if (!ok) {
        FUZZ_CHECK(error.rfind("line ", 0) == 0);
        const size_t colon = error.find(": ");
        FUZZ_CHECK(colon != std::string::npos && colon + 2 < error.size());
        const unsigned long line = std::stoul(error.substr(5, colon - 5));
        FUZZ_CHECK(line >= 1 && line <= lineCount);
        FUZZ_CHECK(error.find('\n') == std::string::npos && error.find('\r') == std::string::npos);
        FUZZ_CHECK(error.size() < 200);  // tokens are shown cut and escaped
        FUZZ_CHECK(script.frames.size() == 1 && script.eventsAt(7).size() == 1);
        return 0;
    }

    FUZZ_CHECK(error.empty());
    FUZZ_CHECK(sameScript(script, fromCrlf));
    size_t events = 0;
    for (const auto& [frame, list] : script.frames) {
        FUZZ_CHECK(!list.empty());
        events += list.size();
        for (const InputEvent& e : list) {
            if (e.type == InputType::KeyDown || e.type == InputType::KeyUp) FUZZ_CHECK(keyName(e.key) != nullptr);
            if (e.type == InputType::ButtonDown || e.type == InputType::ButtonUp)
                FUZZ_CHECK(e.button == MouseButton::Left || e.button == MouseButton::Right);
        }
    }
    FUZZ_CHECK(events <= lineCount);

    InputScript again;
    FUZZ_CHECK(parseInputScript(format(script), again, error));
    FUZZ_CHECK(sameScript(script, again));
    return 0;
}
