#pragma once
// Optional lines of the settings file for what a player expects to choose and the
// game otherwise fixes: fullscreen, mouse sensitivity, master volume, render scale, the
// keys, the view's vertical sense, the game controller's look speed, vsync. Like the
// window_resolution= line they may stand anywhere in the file, inside a section or
// not; each is "key=value" at the start of its line, the key in any case, and the
// first line of a key counts. A missing line, or one whose value cannot be read or is
// out of range, leaves the game as it is without it.
#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The actions a player may move to another key, in the order of their settings lines
// (key_forward= ... key_map=). The names stay text here: what a key is called is the
// window system's business, and the game resolves them.
enum class BoundAction : uint8_t { Forward, Back, Left, Right, Run, Jump, Switch, Flashlight, Scanner, Map };
inline constexpr size_t kBoundActionCount = 10;
inline constexpr std::array<std::string_view, kBoundActionCount> kKeyBindingSettings = {
    "key_forward", "key_back",  "key_left",       "key_right",   "key_run",
    "key_jump",    "key_switch", "key_flashlight", "key_scanner", "key_map",
};

// One key_...= line as it stands: the first line of its setting, kept in file order
// so that of two lines naming the same key the earlier one wins.
struct KeyBindingLine {
    BoundAction action = BoundAction::Forward;
    std::string keyName;  // blanks around it removed; may be empty or no key at all
};

struct PlayerOptions {
    // fullscreen=1 (or yes, true, on): the window covers the display at the desktop's
    // resolution, whatever window_resolution= says.
    bool fullscreen = false;
    // mouse_sensitivity=F, 0.1 ... 10: multiplies how far the view turns for a given
    // mouse movement (1 is the game's own speed). A decimal comma is read as a point.
    std::optional<float> mouseSensitivity;
    // master_volume=P, a whole per cent 0 ... 100: scales every sound.
    std::optional<int> masterVolumePercent;
    // render_scale=P, a whole per cent 50 ... 100: the 3D scene is drawn into a picture
    // this much of the window's size and stretched over it; the HUD, text, map screen
    // and menus stay at full size. For slow machines.
    std::optional<int> renderScalePercent;
    // key_forward=NAME ... key_map=NAME: the action moves to the key of that position
    // (SDL's scancode names: "E", "Left Ctrl", "Keypad 8").
    std::vector<KeyBindingLine> keyBindings;
    // invert_y=1 (a switch like fullscreen=): moving the mouse or the right stick up
    // looks down.
    bool invertY = false;
    // stick_sensitivity=F, 0.1 ... 10: multiplies how fast the right stick turns the view.
    std::optional<float> stickSensitivity;
    // vsync=1 or 0 (a switch): wait for the display's refresh (adaptively where the
    // driver can) or never; without the line the driver's default stands.
    std::optional<bool> vsync;
};

PlayerOptions parsePlayerOptions(const std::string& fileText);
// Reads the file's options; a missing or unreadable file gives none.
PlayerOptions readPlayerOptions(const std::filesystem::path& settingsFile);
