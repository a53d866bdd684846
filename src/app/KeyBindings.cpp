#include "app/KeyBindings.h"

#include <optional>
#include <utility>

namespace {

struct ActionRow {
    Key key;
    SDL_Scancode usPosition;
};

// In BoundAction's order.
constexpr std::array<ActionRow, kBoundActionCount> kActions = {{
    {Key::W, SDL_SCANCODE_W},
    {Key::S, SDL_SCANCODE_S},
    {Key::A, SDL_SCANCODE_A},
    {Key::D, SDL_SCANCODE_D},
    {Key::LShift, SDL_SCANCODE_LSHIFT},
    {Key::Space, SDL_SCANCODE_SPACE},
    {Key::Q, SDL_SCANCODE_Q},
    {Key::F, SDL_SCANCODE_F},
    {Key::N, SDL_SCANCODE_N},
    {Key::M, SDL_SCANCODE_M},
}};

constexpr std::array<std::pair<SDL_Scancode, Key>, 9> kFixed = {{
    {SDL_SCANCODE_ESCAPE, Key::Escape},
    {SDL_SCANCODE_F1, Key::F1},
    {SDL_SCANCODE_F8, Key::F8},
    {SDL_SCANCODE_F12, Key::F12},
    {SDL_SCANCODE_UP, Key::Up},
    {SDL_SCANCODE_DOWN, Key::Down},
    {SDL_SCANCODE_TAB, Key::Tab},
    {SDL_SCANCODE_RETURN, Key::Return},
    {SDL_SCANCODE_KP_ENTER, Key::Return},
}};

bool isFixed(SDL_Scancode code) {
    for (const auto& [fixed, key] : kFixed)
        if (fixed == code) return true;
    return false;
}

// The line as the player wrote it, safe to print on one line.
std::string shown(const KeyBindingLine& line) {
    constexpr size_t kMaxShown = 40;
    std::string name;
    for (size_t i = 0; i < line.keyName.size() && i < kMaxShown; ++i) {
        const auto c = static_cast<unsigned char>(line.keyName[i]);
        name += c < 0x20 || c == 0x7f ? '?' : static_cast<char>(c);
    }
    if (line.keyName.size() > kMaxShown) name += "...";
    return std::string(kKeyBindingSettings[static_cast<size_t>(line.action)]) + "=" + name;
}

}  // namespace

Key keyOfAction(BoundAction action) { return kActions[static_cast<size_t>(action)].key; }

KeyBindings::KeyBindings() {
    for (size_t k = 0; k < kBoundActionCount; ++k) actionKeys[k] = kActions[k].usPosition;
    rebuild();
}

void KeyBindings::rebuild() {
    keys.fill(Key::Unknown);
    for (const auto& [code, key] : kFixed) keys[code] = key;
    for (size_t k = 0; k < kBoundActionCount; ++k) keys[actionKeys[k]] = kActions[k].key;
}

Key KeyBindings::keyOf(SDL_Scancode code) const {
    if (code < 0 || code >= SDL_NUM_SCANCODES) return Key::Unknown;
    return keys[code];
}

void KeyBindings::rebind(const std::vector<KeyBindingLine>& lines, std::vector<std::string>& complaints) {
    struct Candidate {
        const KeyBindingLine* line;
        SDL_Scancode code;
        bool accepted;
    };
    std::vector<Candidate> candidates;
    std::array<bool, kBoundActionCount> hasLine{};
    for (const KeyBindingLine& line : lines) {
        const auto action = static_cast<size_t>(line.action);
        if (action >= kBoundActionCount || hasLine[action]) continue;  // the first line of a setting counts
        const SDL_Scancode code =
            line.keyName.empty() ? SDL_SCANCODE_UNKNOWN : SDL_GetScancodeFromName(line.keyName.c_str());
        if (code == SDL_SCANCODE_UNKNOWN) {
            complaints.push_back(shown(line) + " ignored: no key has that name (SDL's key names: E, Left Ctrl, Keypad 8, ...)");
            continue;
        }
        if (isFixed(code)) {
            complaints.push_back(shown(line) + " ignored: " + SDL_GetScancodeName(code) + " is a fixed key");
            continue;
        }
        hasLine[action] = true;
        candidates.push_back({&line, code, true});
    }

    // Leaving a line out puts its action back on its own key, which may be the key an
    // accepted line took: look again until no two actions share a key.
    std::array<SDL_Scancode, kBoundActionCount> codes{};
    for (bool settled = false; !settled;) {
        std::array<std::optional<size_t>, kBoundActionCount> lineOf{};
        for (size_t k = 0; k < kBoundActionCount; ++k) codes[k] = kActions[k].usPosition;
        for (size_t i = 0; i < candidates.size(); ++i) {
            if (!candidates[i].accepted) continue;
            const auto action = static_cast<size_t>(candidates[i].line->action);
            codes[action] = candidates[i].code;
            lineOf[action] = i;
        }
        settled = true;
        for (size_t i = 0; i < candidates.size() && settled; ++i) {
            Candidate& c = candidates[i];
            if (!c.accepted) continue;
            const auto own = static_cast<size_t>(c.line->action);
            for (size_t other = 0; other < kBoundActionCount; ++other) {
                if (other == own || codes[other] != c.code) continue;
                // The other action keeps the key: it stays where it was, or asked first.
                if (lineOf[other] && *lineOf[other] > i) continue;
                c.accepted = false;
                complaints.push_back(shown(*c.line) + " ignored: " + SDL_GetScancodeName(c.code) +
                                     " is the key of " + std::string(kKeyBindingSettings[other]));
                settled = false;
                break;
            }
        }
    }
    actionKeys = codes;
    rebuild();
}
