#include <gtest/gtest.h>

#include "world/WindowSettings.h"

namespace {

// A settings file of binary bytes around the key; sized by the array, NULs included.
constexpr char kGarbage[] = "\x00\xff\x01window_resolution=\xff\xfex\x80\x81\x82\x83\x84\x85";

struct Case {
    const char* name;
    std::string file;
    int display[2];
    int expected[2];
};

TEST(WindowSettings, ChoosesConfiguredOrDisplaySize) {
    const Case cases[] = {
        {"no file", "", {1920, 1080}, {1920, 1080}},
        {"smaller than display", "window_resolution=1024x768\n", {1920, 1080}, {1024, 768}},
        {"equal to display", "window_resolution=1920x1080\n", {1920, 1080}, {1920, 1080}},
        {"larger than display", "window_resolution=2560x1440", {1920, 1080}, {1920, 1080}},
        {"one side too large", "window_resolution=1000x1080", {1920, 1080}, {1920, 1080}},
        {"crlf", "window_resolution=800x600\r\n", {1920, 1080}, {800, 600}},
        {"24 characters is too short", "window_resolution=800x60\n", {1920, 1080}, {1920, 1080}},
        {"25 characters", "window_resolution=800x600", {1920, 1080}, {800, 600}},
        {"any line, after a section", "[preferencias]\nmap_seed=5\nwindow_resolution=1280x720\n", {1920, 1080}, {1280, 720}},
        {"first occurrence wins", "window_resolution=1280x720\nwindow_resolution=640x480\n", {1920, 1080}, {1280, 720}},
        {"no x", "window_resolution=1280_720_00\n", {1920, 1080}, {1920, 1080}},
        {"no digits", "window_resolution=abcdefgx600\n", {1920, 1080}, {1920, 1080}},
        {"negative", "window_resolution=-800x600000\n", {1920, 1080}, {1920, 1080}},
        {"zero", "window_resolution=0000000x600\n", {1920, 1080}, {1920, 1080}},
        {"leading blanks", "window_resolution=  800x  600\n", {1920, 1080}, {800, 600}},
        {"overflowing digits", "window_resolution=99999999999999x600\n", {1920, 1080}, {1920, 1080}},
        {"binary garbage", std::string(kGarbage, sizeof kGarbage - 1), {1920, 1080}, {1920, 1080}},
    };
    for (const Case& c : cases) {
        int w = 0, h = 0;
        chooseWindowSize(parseWindowResolution(c.file), c.display[0], c.display[1], w, h);
        EXPECT_EQ(w, c.expected[0]) << c.name;
        EXPECT_EQ(h, c.expected[1]) << c.name;
    }
}

}  // namespace
