#pragma once
// Optional lines of the settings file for what a player expects to choose and the
// game otherwise fixes: fullscreen, mouse sensitivity, master volume, render scale. Like the
// window_resolution= line they may stand anywhere in the file, inside a section or
// not; each is "key=value" at the start of its line, the key in any case, and the
// first line of a key counts. A missing line, or one whose value cannot be read or is
// out of range, leaves the game as it is without it.
#include <filesystem>
#include <optional>
#include <string>

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
};

PlayerOptions parsePlayerOptions(const std::string& fileText);
// Reads the file's options; a missing or unreadable file gives none.
PlayerOptions readPlayerOptions(const std::filesystem::path& settingsFile);
