// The settings file's optional player lines: what each value gives, and that a
// missing or bad one changes nothing.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>

#include "scene/Camera.h"
#include "world/PlayerOptions.h"
#include "world/WindowSettings.h"

namespace {

TEST(PlayerOptions, EachLineReadsItsValueOrCountsAsAbsent) {
    struct Case {
        const char* name;
        std::string file;
        bool fullscreen;
        std::optional<float> sensitivity;
        std::optional<int> volume;
    } cases[] = {
        {"no lines", "[preferencias]\nmap_seed=5\nwindow_resolution=1280x720\n", false, {}, {}},
        {"all three", "fullscreen=1\nmouse_sensitivity=1.5\nmaster_volume=80\n", true, 1.5f, 80},
        {"inside a section, CR LF, blanks", "[preferencias]\r\n  Fullscreen = yes \r\nMOUSE_SENSITIVITY=\t0.5\r\n"
                                            "master_volume = 0\r\n", true, 0.5f, 0},
        {"switch words", "fullscreen=On\n", true, {}, {}},
        {"switched off", "fullscreen=false\n", false, {}, {}},
        {"first line counts", "master_volume=30\nmaster_volume=90\nfullscreen=0\nfullscreen=1\n", false, {}, 30},
        {"decimal comma", "mouse_sensitivity=2,25\n", false, 2.25f, {}},
        {"range ends", "mouse_sensitivity=10\nmaster_volume=100\n", false, 10.0f, 100},
        {"lowest sensitivity", "mouse_sensitivity=0.1\n", false, 0.1f, {}},
        {"no line feed at the end", "master_volume=55", false, {}, 55},
        // Bad values: as if the line were not there.
        {"switch gibberish", "fullscreen=2\n", false, {}, {}},
        {"empty values", "fullscreen=\nmouse_sensitivity=\nmaster_volume=\n", false, {}, {}},
        {"sensitivity zero", "mouse_sensitivity=0\n", false, {}, {}},
        {"sensitivity negative", "mouse_sensitivity=-1\n", false, {}, {}},
        {"sensitivity too large", "mouse_sensitivity=10.5\n", false, {}, {}},
        {"sensitivity not a number", "mouse_sensitivity=fast\n", false, {}, {}},
        {"sensitivity with a tail", "mouse_sensitivity=1.5x\n", false, {}, {}},
        {"sensitivity nan", "mouse_sensitivity=nan\n", false, {}, {}},
        {"sensitivity exponent", "mouse_sensitivity=1e1\n", false, {}, {}},
        {"two commas", "mouse_sensitivity=1,2,3\n", false, {}, {}},
        {"volume above 100", "master_volume=101\n", false, {}, {}},
        {"volume negative", "master_volume=-5\n", false, {}, {}},
        {"volume fraction", "master_volume=50.5\n", false, {}, {}},
        {"volume per cent sign", "master_volume=50%\n", false, {}, {}},
        {"volume overflowing", "master_volume=99999999999999999999\n", false, {}, {}},
        {"a comment is no line", "; fullscreen=1\n#master_volume=10\n", false, {}, {}},
        {"a longer key is another key", "fullscreen_mode=1\nmaster_volume_db=3\n", false, {}, {}},
        {"not at the start of a line", "x fullscreen=1\n", false, {}, {}},
    };
    for (const Case& c : cases) {
        const PlayerOptions o = parsePlayerOptions(c.file);
        EXPECT_EQ(o.fullscreen, c.fullscreen) << c.name;
        EXPECT_EQ(o.mouseSensitivity, c.sensitivity) << c.name;
        EXPECT_EQ(o.masterVolumePercent, c.volume) << c.name;
    }
}

TEST(PlayerOptions, RenderScaleIsAWholePercentFromFiftyToAHundred) {
    struct ScaleCase {
        const char* file;
        std::optional<int> percent;
    } scales[] = {
        {"render_scale=75\n", 75}, {"[preferencias]\nRender_Scale = 50\r\n", 50}, {"render_scale=100", 100},
        {"render_scale=49\n", {}}, {"render_scale=101\n", {}}, {"render_scale=0\n", {}},
        {"render_scale=75%\n", {}}, {"render_scale=62.5\n", {}}, {"render_scale=\n", {}},
        {"render_scale=60\nrender_scale=90\n", 60},
    };
    for (const ScaleCase& c : scales) EXPECT_EQ(parsePlayerOptions(c.file).renderScalePercent, c.percent) << c.file;
}

TEST(PlayerOptions, TheControlsLinesReadTheirValuesOrCountAsAbsent) {
    struct Case {
        const char* file;
        bool invertY;
        std::optional<float> stick;
        std::optional<bool> vsync;
    } cases[] = {
        {"map_seed=4\n", false, {}, {}},
        {"invert_y=1\nstick_sensitivity=2,5\nvsync=0\n", true, 2.5f, false},
        {"[preferencias]\r\nINVERT_Y = on\r\nvsync=yes\r\n", true, {}, true},
        {"invert_y=0\nvsync=off\n", false, {}, false},
        {"invert_y=2\nstick_sensitivity=11\nvsync=-1\n", false, {}, {}},
        {"stick_sensitivity=0.1\n", false, 0.1f, {}},
        {"stick_sensitivity=0\nvsync=\n", false, {}, {}},
        {"vsync=1\nvsync=0\n", false, {}, true},
    };
    for (const Case& c : cases) {
        const PlayerOptions o = parsePlayerOptions(c.file);
        EXPECT_EQ(o.invertY, c.invertY) << c.file;
        EXPECT_EQ(o.stickSensitivity, c.stick) << c.file;
        EXPECT_EQ(o.vsync, c.vsync) << c.file;
    }
}

// The key lines stay text (the game knows the keys' names), one per setting, the first
// of each, in the order of the file, so that of two lines naming one key the earlier wins.
TEST(PlayerOptions, KeyLinesAreKeptInFileOrderAsTheyStand) {
    const PlayerOptions o = parsePlayerOptions(
        "key_map=Tab\n[preferencias]\nKey_Jump =  Left Ctrl \r\nkey_map=M\nkey_forwards=W\nkey_forward=\n"
        "; key_back=S\nkey_flashlight=\xE9\n");
    ASSERT_EQ(o.keyBindings.size(), 4u);
    const std::pair<BoundAction, std::string> expected[] = {
        {BoundAction::Map, "Tab"}, {BoundAction::Jump, "Left Ctrl"}, {BoundAction::Forward, ""},
        {BoundAction::Flashlight, "\xE9"}};
    for (size_t k = 0; k < 4; ++k) {
        EXPECT_EQ(o.keyBindings[k].action, expected[k].first) << k;
        EXPECT_EQ(o.keyBindings[k].keyName, expected[k].second) << k;
    }
    EXPECT_TRUE(parsePlayerOptions("map_seed=1\n").keyBindings.empty());
}

// The new lines live beside window_resolution= and the preferences without
// disturbing how either is read.
TEST(PlayerOptions, TheWindowLineIsReadAsBefore) {
    const std::string file = "fullscreen=1\nwindow_resolution=1024x768\nmaster_volume=40\n";
    const WindowResolution size = parseWindowResolution(file);
    EXPECT_EQ(size.width, 1024);
    EXPECT_EQ(size.height, 768);
    EXPECT_TRUE(parsePlayerOptions(file).fullscreen);
}

// mouse_sensitivity= reaches the look as a factor on whichever sensitivity the scope
// has set (7 without it, 4 through it).
TEST(PlayerOptions, TheSensitivityFactorScalesEveryTurn) {
    auto yawAfter = [](float sensitivity, float factor) {
        Camera c;
        c.sensitivity = sensitivity;
        c.lookScale = factor;
        c.look(0.0, 0.0, 1.0f / 60.0f);
        c.look(12.0, 0.0, 1.0f / 60.0f);
        return std::atan2(c.front.x, -c.front.z);
    };
    for (float sensitivity : {7.0f, 4.0f}) {
        EXPECT_NEAR(yawAfter(sensitivity, 2.5f), 2.5f * yawAfter(sensitivity, 1.0f), 1e-5f) << sensitivity;
        EXPECT_NEAR(yawAfter(sensitivity, 0.5f), 0.5f * yawAfter(sensitivity, 1.0f), 1e-5f) << sensitivity;
    }
}

}  // namespace
